#include "platform/Wav.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <sstream>

namespace orvanta::platform {

namespace {

constexpr std::uint64_t kChunkHeaderBytes = 8;
constexpr std::uint64_t kRiffHeaderBytes = 12;  // "RIFF", size, "WAVE"
constexpr std::uint64_t kMaxChunkBytes = std::numeric_limits<std::uint32_t>::max();

void put(std::vector<char>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

void putTag(std::vector<char>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

std::uint32_t get(const char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

std::uint32_t formatChunkSize(const WavFormatChunk& chunk)
{
    return chunk.withExtraSize
               ? static_cast<std::uint32_t>(kWavFormatRecordBytes + 2 + chunk.extra.size())
               : static_cast<std::uint32_t>(kWavFormatRecordBytes);
}

// Everything before the samples; riffSize and dataBytes as given.
std::vector<char> headerBytes(const WavFormat& f, const WavFormatChunk& chunk,
                              std::uint32_t riffSize, std::uint32_t dataBytes)
{
    std::vector<char> out;
    putTag(out, "RIFF");
    put(out, riffSize, 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    const std::uint32_t fmtSize = formatChunkSize(chunk);
    put(out, fmtSize, 4);
    put(out, f.formatTag, 2);
    put(out, f.channels, 2);
    put(out, f.samplesPerSecond, 4);
    put(out, f.bytesPerSecond, 4);
    put(out, f.blockAlign, 2);
    put(out, f.bitsPerSample, 2);
    if (chunk.withExtraSize) {
        put(out, static_cast<std::uint32_t>(chunk.extra.size()), 2);
        out.insert(out.end(), chunk.extra.begin(), chunk.extra.end());
    }
    if (fmtSize & 1) {
        out.push_back(0);  // chunks are padded to even sizes
    }
    putTag(out, "data");
    put(out, dataBytes, 4);
    return out;
}

// RIFF size for this header length (which ends with the data chunk's
// header) and this many sample bytes.
std::uint32_t riffSizeFor(std::size_t headerLength, std::uint32_t dataBytes)
{
    const std::uint64_t size = headerLength - kChunkHeaderBytes + dataBytes + (dataBytes & 1);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(size, kMaxChunkBytes));
}

bool usableExtra(const WavFormatChunk& chunk)
{
    return chunk.extra.size() <= std::numeric_limits<std::uint16_t>::max() &&
           (chunk.withExtraSize || chunk.extra.empty());
}

}

WavFormat pcmFormat(std::uint32_t samplesPerSecond, std::uint16_t channels,
                    std::uint16_t bitsPerSample)
{
    WavFormat f;
    f.formatTag = 1;
    f.channels = channels;
    f.samplesPerSecond = samplesPerSecond;
    f.blockAlign = static_cast<std::uint16_t>(channels * bitsPerSample / 8);
    f.bytesPerSecond = samplesPerSecond * f.blockAlign;
    f.bitsPerSample = bitsPerSample;
    return f;
}

std::vector<char> encodeWav(const WavFormat& format, std::span<const std::int16_t> samples,
                            const WavFormatChunk& chunk)
{
    if (!usableExtra(chunk)) {
        return {};
    }
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<char> out = headerBytes(format, chunk, 0, dataBytes);
    const std::uint32_t riffSize = riffSizeFor(out.size(), dataBytes);
    for (int i = 0; i < 4; ++i) {
        out[4 + static_cast<std::size_t>(i)] = static_cast<char>((riffSize >> (8 * i)) & 0xFF);
    }
    out.reserve(out.size() + dataBytes);
    for (std::int16_t s : samples) {
        put(out, static_cast<std::uint16_t>(s), 2);
    }
    return out;
}

WavWriter::~WavWriter()
{
    close();
}

bool WavWriter::open(const std::filesystem::path& path, const WavFormat& format,
                     const WavFormatChunk& chunk)
{
    close();
    if (!usableExtra(chunk)) {
        return false;
    }
    out_.open(path, std::ios::binary | std::ios::trunc);
    if (!out_) {
        out_.close();
        return false;
    }
    const std::vector<char> header = headerBytes(format, chunk, 0, 0);
    out_.write(header.data(), static_cast<std::streamsize>(header.size()));
    if (!out_) {
        out_.close();
        return false;
    }
    dataSizeOffset_ = static_cast<std::uint32_t>(header.size() - 4);
    dataBytes_ = 0;
    failed_ = false;
    return true;
}

bool WavWriter::append(std::span<const char> bytes)
{
    if (!isOpen() || failed_) {
        return false;
    }
    const std::uint64_t room = kMaxChunkBytes - dataSizeOffset_ - 4 - dataBytes_ - 1;
    if (bytes.size() > room) {
        return false;
    }
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out_) {
        failed_ = true;
        return false;
    }
    dataBytes_ += static_cast<std::uint32_t>(bytes.size());
    return true;
}

bool WavWriter::close()
{
    if (!isOpen()) {
        return false;
    }
    if (dataBytes_ & 1) {
        out_.put(0);
    }
    auto patch = [this](std::uint32_t offset, std::uint32_t value) {
        std::vector<char> bytes;
        put(bytes, value, 4);
        out_.seekp(offset);
        out_.write(bytes.data(), 4);
    };
    patch(4, riffSizeFor(dataSizeOffset_ + 4, dataBytes_));
    patch(dataSizeOffset_, dataBytes_);
    const bool ok = !failed_ && static_cast<bool>(out_);
    out_.close();
    return ok && !out_.fail();
}

WavOpenResult WavReader::open(const std::filesystem::path& path)
{
    auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!*file) {
        close();
        return WavOpenResult::CannotOpen;
    }
    return open(std::move(file));
}

WavOpenResult WavReader::open(std::unique_ptr<std::istream> in)
{
    close();
    if (!in || !*in) {
        return WavOpenResult::CannotOpen;
    }
    in_ = std::move(in);
    in_->seekg(0, std::ios::end);
    const std::streamoff end = in_->tellg();
    if (end < 0) {
        return fail(WavOpenResult::CannotOpen);
    }
    fileSize_ = static_cast<std::uint64_t>(end);

    char riff[kRiffHeaderBytes];
    if (!readAt(0, riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0) {
        return fail(WavOpenResult::NoWaveChunk);
    }
    // A file cut short still reads up to its real end, and so does one whose
    // writer never got to fill in the sizes (left 0).
    const std::uint32_t riffSize = get(riff + 4, 4);
    const std::uint64_t riffEnd =
        riffSize == 0 ? fileSize_
                      : std::min<std::uint64_t>(kChunkHeaderBytes + riffSize, fileSize_);

    const std::optional<Chunk> fmt = findChunk("fmt ", kRiffHeaderBytes, riffEnd);
    if (!fmt) {
        return fail(WavOpenResult::NoFormatChunk);
    }
    char record[kWavFormatRecordBytes];
    if (fmt->size < kWavFormatRecordBytes || !readAt(fmt->body, record, sizeof record)) {
        return fail(WavOpenResult::BadFormatRecord);
    }
    format_.formatTag = static_cast<std::uint16_t>(get(record, 2));
    format_.channels = static_cast<std::uint16_t>(get(record + 2, 2));
    format_.samplesPerSecond = get(record + 4, 4);
    format_.bytesPerSecond = get(record + 8, 4);
    format_.blockAlign = static_cast<std::uint16_t>(get(record + 12, 2));
    format_.bitsPerSample = static_cast<std::uint16_t>(get(record + 14, 2));
    const std::uint64_t afterFormat = fmt->body + fmt->size + (fmt->size & 1);
    if (fmt->body + fmt->size > riffEnd) {
        return fail(WavOpenResult::FormatChunkCut);
    }

    const std::optional<Chunk> data = findChunk("data", afterFormat, riffEnd);
    if (!data) {
        return fail(WavOpenResult::NoDataChunk);
    }
    declaredData_ = data->size;
    dataStart_ = data->body;
    dataEnd_ =
        data->size == 0 ? riffEnd : std::min<std::uint64_t>(data->body + data->size, riffEnd);
    position_ = dataStart_;
    return WavOpenResult::Opened;
}

void WavReader::close()
{
    in_.reset();
    fileSize_ = 0;
    format_ = {};
    declaredData_ = 0;
    dataStart_ = dataEnd_ = position_ = 0;
}

std::optional<std::size_t> WavReader::read(char* into, std::size_t max)
{
    if (!in_) {
        return std::nullopt;
    }
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(max, dataEnd_ - position_));
    if (count == 0) {
        return 0;
    }
    if (!readAt(position_, into, count)) {
        return std::nullopt;
    }
    position_ += count;
    return count;
}

std::optional<WavReader::Chunk> WavReader::findChunk(const char* id, std::uint64_t from,
                                                     std::uint64_t end)
{
    std::uint64_t at = from;
    while (at + kChunkHeaderBytes <= end) {
        char header[kChunkHeaderBytes];
        if (!readAt(at, header, sizeof header)) {
            return std::nullopt;
        }
        const Chunk chunk{at + kChunkHeaderBytes, get(header + 4, 4)};
        if (std::memcmp(header, id, 4) == 0) {
            return chunk;
        }
        at = chunk.body + chunk.size + (chunk.size & 1);
    }
    return std::nullopt;
}

bool WavReader::readAt(std::uint64_t offset, char* into, std::size_t size)
{
    if (offset + size > fileSize_) {
        return false;
    }
    in_->clear();
    in_->seekg(static_cast<std::streamoff>(offset));
    in_->read(into, static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(in_->gcount()) == size;
}

WavOpenResult WavReader::fail(WavOpenResult why)
{
    close();
    return why;
}

namespace {

std::optional<WavSound> readWholeSound(WavReader& reader)
{
    const WavFormat& f = reader.format();
    const bool usable = f.formatTag == 1 && (f.channels == 1 || f.channels == 2) &&
                        (f.bitsPerSample == 8 || f.bitsPerSample == 16) &&
                        f.samplesPerSecond >= 1000 && f.samplesPerSecond <= 192000 &&
                        reader.declaredDataBytes() > 0 &&
                        reader.declaredDataBytes() <= kMaxWavBytes &&
                        reader.availableDataBytes() == reader.declaredDataBytes();
    if (!usable) {
        return std::nullopt;
    }
    WavSound sound;
    sound.sampleRate = f.samplesPerSecond;
    sound.channels = f.channels;
    sound.bitsPerSample = f.bitsPerSample;
    sound.data.resize(reader.declaredDataBytes());
    if (reader.read(sound.data.data(), sound.data.size()) != sound.data.size()) {
        return std::nullopt;
    }
    return sound;
}

}

std::optional<WavSound> parseWav(const std::vector<char>& bytes)
{
    if (bytes.size() > kMaxWavBytes) {
        return std::nullopt;
    }
    WavReader reader;
    if (reader.open(std::make_unique<std::istringstream>(
            std::string(bytes.begin(), bytes.end()))) != WavOpenResult::Opened) {
        return std::nullopt;
    }
    return readWholeSound(reader);
}

std::optional<WavSound> loadWav(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxWavBytes) {
        return std::nullopt;
    }
    WavReader reader;
    if (reader.open(path) != WavOpenResult::Opened) {
        return std::nullopt;
    }
    return readWholeSound(reader);
}

}
