#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// RIFF/WAVE files: the one reader and writer of the project. No Qt, so the
// tools and the engine library can use it too.
namespace orvanta::platform {

// The 16-byte format record at the start of a "fmt " chunk.
struct WavFormat {
    std::uint16_t formatTag = 1;  // 1: PCM
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSecond = 8000;
    std::uint32_t bytesPerSecond = 16000;
    std::uint16_t blockAlign = 2;
    std::uint16_t bitsPerSample = 16;

    bool operator==(const WavFormat&) const = default;
};

inline constexpr std::size_t kWavFormatRecordBytes = 16;

// PCM at the given rate, channel count and sample width.
WavFormat pcmFormat(std::uint32_t samplesPerSecond, std::uint16_t channels,
                    std::uint16_t bitsPerSample);

// How the "fmt " chunk is laid out: the plain 16-byte record, or the 18-byte
// form that carries an extra-size field followed by that many extra bytes.
struct WavFormatChunk {
    bool withExtraSize = false;
    std::vector<char> extra;  // only with withExtraSize
};

// A complete file in memory: header, format chunk and the samples.
std::vector<char> encodeWav(const WavFormat& format, std::span<const std::int16_t> samples,
                            const WavFormatChunk& chunk = {});

// Writes a file chunk by chunk: header and format at open with both sizes
// 0, samples appended, the sizes filled in at close.
class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Creates or truncates the file. False (and nothing open) on failure.
    bool open(const std::filesystem::path& path, const WavFormat& format,
              const WavFormatChunk& chunk);
    bool isOpen() const { return out_.is_open(); }
    // Appends samples; refused once the data chunk would pass 32 bits.
    bool append(std::span<const char> bytes);
    // Fills in the sizes and closes; false when a write failed.
    bool close();

    std::uint32_t dataBytes() const { return dataBytes_; }

private:
    std::ofstream out_;
    std::uint32_t dataSizeOffset_ = 0;
    std::uint32_t dataBytes_ = 0;
    bool failed_ = false;
};

// Why a file could not be opened for reading, in the order the checks run.
enum class WavOpenResult {
    Opened,
    CannotOpen,       // no such file or unreadable
    NoWaveChunk,      // not a RIFF file of form "WAVE"
    NoFormatChunk,    // no "fmt " chunk inside it
    BadFormatRecord,  // "fmt " shorter than the 16-byte record
    FormatChunkCut,   // "fmt " runs past the end of the file
    NoDataChunk,      // no "data" chunk after the format
};

// Reads a file chunk by chunk: the format record, then the samples in
// blocks. Only the first 16 bytes of a longer format chunk are taken; the
// rest is skipped. Reads stop at the end of the data chunk or of the file,
// whichever comes first.
class WavReader {
public:
    WavOpenResult open(const std::filesystem::path& path);
    WavOpenResult open(std::unique_ptr<std::istream> in);
    void close();
    bool isOpen() const { return in_ != nullptr; }

    const WavFormat& format() const { return format_; }
    // What the data chunk declares, and what the file really holds of it.
    std::uint32_t declaredDataBytes() const { return declaredData_; }
    std::uint64_t availableDataBytes() const { return dataEnd_ - dataStart_; }

    // Up to max bytes of samples; 0 at the end of the data; nothing when the
    // file cannot be read.
    std::optional<std::size_t> read(char* into, std::size_t max);

private:
    struct Chunk {
        std::uint64_t body = 0;  // offset of the first byte after the header
        std::uint32_t size = 0;
    };
    // The first chunk with this id in [from, end).
    std::optional<Chunk> findChunk(const char* id, std::uint64_t from, std::uint64_t end);
    bool readAt(std::uint64_t offset, char* into, std::size_t size);
    WavOpenResult fail(WavOpenResult why);

    std::unique_ptr<std::istream> in_;
    std::uint64_t fileSize_ = 0;
    WavFormat format_;
    std::uint32_t declaredData_ = 0;
    std::uint64_t dataStart_ = 0;
    std::uint64_t dataEnd_ = 0;
    std::uint64_t position_ = 0;
};

// PCM samples of a whole file, ready for the sound server.
struct WavSound {
    std::uint32_t sampleRate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bitsPerSample = 0;  // 8 or 16
    std::vector<char> data;
};

// Plain PCM files of at most kMaxWavBytes with their whole data chunk;
// anything else gives nothing.
constexpr std::size_t kMaxWavBytes = 16u << 20;
std::optional<WavSound> parseWav(const std::vector<char>& bytes);
std::optional<WavSound> loadWav(const std::filesystem::path& path);

}
