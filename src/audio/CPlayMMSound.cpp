#include "audio/CPlayMMSound.h"

#include "audio/CPlaySound.h"

#include <algorithm>
#include <optional>

namespace orvanta {

namespace {

std::optional<SoundProblemKind> problemOf(platform::WavOpenResult result)
{
    using platform::WavOpenResult;
    switch (result) {
    case WavOpenResult::Opened:
        return std::nullopt;
    case WavOpenResult::CannotOpen:
        return SoundProblemKind::FileNotOpened;
    case WavOpenResult::NoWaveChunk:
        return SoundProblemKind::FileNotWave;
    case WavOpenResult::NoFormatChunk:
        return SoundProblemKind::FileWithoutFormat;
    case WavOpenResult::BadFormatRecord:
        return SoundProblemKind::FileFormatUnreadable;
    case WavOpenResult::FormatChunkCut:
        return SoundProblemKind::FileFormatCut;
    case WavOpenResult::NoDataChunk:
        return SoundProblemKind::FileWithoutData;
    }
    return SoundProblemKind::FileNotOpened;
}

enum class BlockRead { Block, End, Failed };

BlockRead readBlock(platform::WavReader& file, std::size_t size, platform::WaveBufferPtr& block)
{
    block = std::make_unique<platform::WaveBuffer>(size);
    block->data.resize(size);
    const std::optional<std::size_t> got = file.read(block->data.data(), size);
    if (!got) {
        return BlockRead::Failed;
    }
    if (*got == 0) {
        return BlockRead::End;
    }
    block->data.resize(*got);
    return BlockRead::Block;
}

}

CPlayMMSound::CPlayMMSound(std::filesystem::path file, SoundProblemReport problems)
        : file_(std::move(file)), problems_(std::move(problems))
{
    loop_.start([this](FilePlayMessage& message) { return handle(message); });
}

CPlayMMSound::~CPlayMMSound()
{
    loop_.stop(FileQuit{});
}

std::size_t CPlayMMSound::blockBytes(const platform::WavFormat& format, std::uint64_t dataBytes)
{
    const std::uint64_t size =
        std::uint64_t{format.channels} * format.bitsPerSample * format.blockAlign * 100;
    return static_cast<std::size_t>(std::min<std::uint64_t>({size, dataBytes, kMaxBlockBytes}));
}

bool CPlayMMSound::handle(FilePlayMessage& message)
{
    struct Visitor {
        CPlayMMSound& self;
        bool operator()(FilePlay&) const
        {
            self.play();
            return true;
        }
        bool operator()(FileStop&) const
        {
            self.stop();
            return true;
        }
        bool operator()(FileSetPlayer& m) const
        {
            self.player_ = m.player;
            return true;
        }
        bool operator()(FileQuit&) const
        {
            self.stop();
            return false;
        }
    };
    return std::visit(Visitor{*this}, message);
}

void CPlayMMSound::play()
{
    stop();
    platform::WavReader file;
    if (const auto problem = problemOf(file.open(file_))) {
        report(*problem);
        return;
    }
    const std::size_t block = blockBytes(file.format(), file.availableDataBytes());
    if (block == 0) {
        return;  // nothing to play
    }
    reading_ = true;
    reader_ = std::jthread(
        [this, file = std::move(file), block, player = player_](std::stop_token stop) mutable {
            if (player) {
                player->post(PlayStart{});
            }
            platform::WaveBufferPtr next;
            BlockRead read = readBlock(file, block, next);
            while (read == BlockRead::Block && player && player->freeSlots().acquire(stop)) {
                player->post(PlayBuffer{std::move(next)});
                read = readBlock(file, block, next);
            }
            if (read == BlockRead::Failed) {
                report(SoundProblemKind::FileUnreadable);
            }
            reading_ = false;
        });
}

void CPlayMMSound::stop()
{
    if (reader_.joinable()) {
        reader_.request_stop();
        reader_.join();
    }
    reading_ = false;
}

void CPlayMMSound::report(SoundProblemKind kind) const
{
    if (problems_) {
        problems_({kind, {}});
    }
}

}
