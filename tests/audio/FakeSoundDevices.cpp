#include "FakeSoundDevices.h"

namespace orvanta::test {

class FakeSoundDevices::Capture : public platform::CaptureDevice {
public:
    Capture(FakeSoundDevices& owner, platform::WaveBufferReturn filled)
            : owner_(owner), filled_(std::move(filled))
    {
    }
    ~Capture() override
    {
        std::lock_guard lock(owner_.mutex_);
        owner_.capture_ = nullptr;
        owner_.seen_.capturing = false;
        owner_.seen_.captureQueued = 0;
    }
    void addBuffer(platform::WaveBufferPtr buffer) override
    {
        std::lock_guard lock(owner_.mutex_);
        queue_.push_back(std::move(buffer));
        owner_.seen_.captureQueued = queue_.size();
    }
    bool start() override
    {
        std::lock_guard lock(owner_.mutex_);
        owner_.seen_.capturing = true;
        return true;
    }
    std::vector<platform::WaveBufferPtr> reset() override
    {
        std::lock_guard lock(owner_.mutex_);
        owner_.seen_.capturing = false;
        std::vector<platform::WaveBufferPtr> left;
        for (auto& b : queue_) {
            left.push_back(std::move(b));
        }
        queue_.clear();
        owner_.seen_.captureQueued = 0;
        return left;
    }

    // Under the owner's lock.
    void fill(std::size_t bytes, char value, bool complete)
    {
        if (queue_.empty()) {
            return;
        }
        platform::WaveBuffer& front = *queue_.front();
        front.data.resize(std::min(front.capacity, front.data.size() + bytes), value);
        if (complete) {
            front.data.resize(front.capacity, value);
            platform::WaveBufferPtr full = std::move(queue_.front());
            queue_.pop_front();
            owner_.seen_.captureQueued = queue_.size();
            filled_(std::move(full));
        }
    }

private:
    FakeSoundDevices& owner_;
    platform::WaveBufferReturn filled_;
    std::deque<platform::WaveBufferPtr> queue_;
};

class FakeSoundDevices::Playback : public platform::PlaybackDevice {
public:
    Playback(FakeSoundDevices& owner, platform::WaveBufferReturn played)
            : owner_(owner), played_(std::move(played))
    {
    }
    ~Playback() override
    {
        std::lock_guard lock(owner_.mutex_);
        owner_.playback_ = nullptr;
        owner_.seen_.playbackOpen = false;
        owner_.seen_.playedHeld = 0;
    }
    void write(platform::WaveBufferPtr buffer) override
    {
        std::lock_guard lock(owner_.mutex_);
        owner_.seen_.played.push_back(buffer->data);
        if (owner_.holdPlayed) {
            held_.push_back(std::move(buffer));
            owner_.seen_.playedHeld = held_.size();
        } else {
            played_(std::move(buffer));
        }
    }
    void reset() override
    {
        std::lock_guard lock(owner_.mutex_);
        ++owner_.seen_.playbackResets;
        release(held_.size());
    }
    // Under the owner's lock.
    void release(std::size_t count)
    {
        for (; count > 0 && !held_.empty(); --count) {
            platform::WaveBufferPtr done = std::move(held_.front());
            held_.pop_front();
            played_(std::move(done));
        }
        owner_.seen_.playedHeld = held_.size();
    }

private:
    FakeSoundDevices& owner_;
    platform::WaveBufferReturn played_;
    std::deque<platform::WaveBufferPtr> held_;
};

platform::SoundOpenResult<platform::CaptureDevice>
FakeSoundDevices::openCapture(const std::string& device, int, platform::WaveBufferReturn filled)
{
    std::lock_guard lock(mutex_);
    ++seen_.captureOpens;
    seen_.captureDevices.push_back(device);
    if (captureOpenFailures > 0) {
        --captureOpenFailures;
        return {nullptr, {2, "No such entity"}};
    }
    auto capture = std::make_unique<Capture>(*this, std::move(filled));
    capture_ = capture.get();
    return {std::move(capture), {}};
}

platform::SoundOpenResult<platform::PlaybackDevice>
FakeSoundDevices::openPlayback(const std::string& device, int, platform::WaveBufferReturn played)
{
    std::lock_guard lock(mutex_);
    ++seen_.playbackOpens;
    seen_.playbackDevices.push_back(device);
    if (playbackOpenFails) {
        return {nullptr, {6, "Connection refused"}};
    }
    auto playback = std::make_unique<Playback>(*this, std::move(played));
    playback_ = playback.get();
    seen_.playbackOpen = true;
    return {std::move(playback), {}};
}

void FakeSoundDevices::deliverFull(int count, char value)
{
    std::lock_guard lock(mutex_);
    for (int i = 0; i < count && capture_; ++i) {
        capture_->fill(0, value, true);
    }
}

void FakeSoundDevices::deliverPartial(std::size_t bytes, char value)
{
    std::lock_guard lock(mutex_);
    if (capture_) {
        capture_->fill(bytes, value, false);
    }
}

void FakeSoundDevices::releasePlayed(int count)
{
    std::lock_guard lock(mutex_);
    if (playback_) {
        playback_->release(static_cast<std::size_t>(count));
    }
}

FakeSoundDevices::Seen FakeSoundDevices::seen() const
{
    std::lock_guard lock(mutex_);
    return seen_;
}

}
