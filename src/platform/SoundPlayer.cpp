#include "platform/SoundPlayer.h"
#include "platform/Wav.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>

namespace orvanta::platform {

namespace {

constexpr std::size_t kChunkMs = 20;
constexpr std::chrono::milliseconds kLead{100};
constexpr std::chrono::microseconds kMaxTailWait{500000};
constexpr pa_usec_t kMaxQueued = 150000;

}

SoundPlayer::SoundPlayer() : worker_([this] { run(); }) {}

SoundPlayer::~SoundPlayer()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        ++generation_;
    }
    wake_.notify_all();
    worker_.join();
}

void SoundPlayer::play(const std::filesystem::path& wav, bool loop, const std::string& device)
{
    {
        std::lock_guard lock(mutex_);
        pending_ = Request{wav, loop, device};
        ++generation_;
    }
    wake_.notify_all();
}

void SoundPlayer::stop()
{
    {
        std::lock_guard lock(mutex_);
        pending_.reset();
        ++generation_;
    }
    wake_.notify_all();
}

bool SoundPlayer::isPlaying() const
{
    std::lock_guard lock(mutex_);
    return playing_;
}

void SoundPlayer::run()
{
    for (;;) {
        Request request;
        std::uint64_t generation = 0;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || pending_.has_value(); });
            if (quit_) {
                return;
            }
            request = std::move(*pending_);
            pending_.reset();
            generation = generation_;
        }
        playOne(request, generation);
    }
}

bool SoundPlayer::waitUntil(std::chrono::steady_clock::time_point deadline,
                            std::uint64_t generation)
{
    std::unique_lock lock(mutex_);
    return !wake_.wait_until(lock, deadline, [&] { return quit_ || generation != generation_; });
}

void SoundPlayer::playOne(const Request& request, std::uint64_t generation)
{
    using namespace std::chrono;
    const std::optional<WavSound> sound = loadWav(request.file);
    if (!sound) {
        return;
    }
    pa_sample_spec sampleFormat{};
    sampleFormat.format = sound->bitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    sampleFormat.rate = sound->sampleRate;
    sampleFormat.channels = static_cast<std::uint8_t>(sound->channels);
    const std::size_t frame = sound->channels * (sound->bitsPerSample / 8u);
    const std::size_t bytesPerSecond = frame * sound->sampleRate;
    const std::size_t chunk = bytesPerSecond * kChunkMs / 1000 / frame * frame;

    // A buffer far larger than what is kept queued (below): a write never
    // finds it full, even on sinks that take their data in large blocks.
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.tlength = static_cast<std::uint32_t>(chunk * 50);
    buffer.prebuf = static_cast<std::uint32_t>(chunk);
    buffer.minreq = static_cast<std::uint32_t>(chunk);
    buffer.fragsize = static_cast<std::uint32_t>(-1);

    int error = 0;
    auto open = [&](const char* device) {
        return pa_simple_new(nullptr, "Orvanta", PA_STREAM_PLAYBACK, device, "sound", &sampleFormat,
                             nullptr, &buffer, &error);
    };
    pa_simple* stream = request.device.empty() ? nullptr : open(request.device.c_str());
    if (!stream) {
        stream = open(nullptr);
    }
    if (!stream) {
        return;  // no sound server: stay silent
    }
    {
        std::lock_guard lock(mutex_);
        playing_ = true;
    }
    // Writes are paced by the clock, kept a little ahead of playback, so the
    // server holds little and a stop or a new sound is heard at once.
    const auto start = steady_clock::now();
    auto playedBy = [&](std::size_t bytes) {
        return start + microseconds(bytes * 1000000 / bytesPerSecond);
    };
    std::size_t written = 0;
    bool current = true;
    do {
        for (std::size_t at = 0; current && at < sound->data.size(); at += chunk) {
            if (!waitUntil(playedBy(written) - kLead, generation)) {
                current = false;
                break;
            }
            // Sinks that fall behind the clock get time to catch up.
            while (current && pa_simple_get_latency(stream, &error) > kMaxQueued) {
                current = waitUntil(steady_clock::now() + milliseconds(kChunkMs), generation);
            }
            if (!current) {
                break;
            }
            const std::size_t size = std::min(chunk, sound->data.size() - at);
            if (pa_simple_write(stream, sound->data.data() + at, size, &error) != 0) {
                current = false;
                break;
            }
            written += size;
        }
    } while (current && request.loop);
    if (current) {
        const pa_usec_t latency =
            std::min<pa_usec_t>(pa_simple_get_latency(stream, &error), kMaxTailWait.count());
        waitUntil(playedBy(written) + microseconds(latency), generation);
    }
    pa_simple_flush(stream, &error);
    pa_simple_free(stream);
    std::lock_guard lock(mutex_);
    playing_ = false;
}

}
