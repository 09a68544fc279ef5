#include "audio/CRecordSound.h"

#include "audio/CPlaySound.h"
#include "audio/CWriteSoundFile.h"

namespace orvanta {

CRecordSound::CRecordSound(platform::SoundDevices& devices, SoundLevels& levels,
                           int samplesPerSecond)
        : devices_(devices), levels_(levels),
          format_(platform::pcmFormat(static_cast<std::uint32_t>(samplesPerSecond), 1, 16))
{
    loop_.start([this](RecordMessage& message) { return handle(message); });
}

CRecordSound::~CRecordSound()
{
    loop_.stop(RecQuit{});
}

bool CRecordSound::handle(RecordMessage& message)
{
    struct Visitor {
        CRecordSound& self;
        bool operator()(RecStart&) const
        {
            self.start();
            return true;
        }
        bool operator()(RecStop&) const
        {
            self.stop();
            return true;
        }
        bool operator()(RecSetPlayer& m) const
        {
            self.player_ = m.player;
            return true;
        }
        bool operator()(RecQuit&) const
        {
            self.stop();
            return false;
        }
        bool operator()(RecSetWriter& m) const
        {
            self.writer_ = m.writer;
            return true;
        }
        bool operator()(RecSetDevice& m) const
        {
            self.device_ = std::move(m.device);
            return true;
        }
        bool operator()(WimData& m) const
        {
            self.captured(std::move(m.buffer));
            return true;
        }
    };
    return std::visit(Visitor{*this}, message);
}

void CRecordSound::start()
{
    if (capturing_) {
        return;
    }
    auto opened = devices_.openCapture(
        device_, static_cast<int>(format_.samplesPerSecond),
        [this](platform::WaveBufferPtr buffer) { loop_.post(WimData{std::move(buffer)}); });
    if (!opened.device) {
        return;  // silently; the next start tries again
    }
    input_ = std::move(opened.device);
    for (int i = 0; i < kBufferCount; ++i) {
        queueFreshBuffer();
    }
    if (!input_->start()) {
        input_.reset();
        return;
    }
    capturing_ = true;
    if (player_) {
        player_->post(PlayStart{});
    }
    if (writer_) {
        writer_->post(WriteOpen{format_, {}});
    }
}

void CRecordSound::stop()
{
    if (!capturing_) {
        return;
    }
    // What the device still holds is a partial buffer and empty ones: they
    // are dropped, so files hold whole buffers and nothing reaches the next
    // recording.
    input_->reset();
    input_.reset();
    capturing_ = false;
    if (player_) {
        player_->post(PlayStop{});
    }
    if (writer_) {
        writer_->post(WriteClose{});
    }
}

void CRecordSound::captured(platform::WaveBufferPtr buffer)
{
    levels_.input = peakLevel(buffer->data);
    if (writer_) {
        auto copy = std::make_unique<platform::WaveBuffer>(buffer->capacity);
        copy->data = buffer->data;
        writer_->post(WriteData{std::move(copy)});
    }
    if (player_) {
        player_->post(PlayBuffer{std::move(buffer)});
    }
    if (capturing_) {
        queueFreshBuffer();
    }
}

void CRecordSound::queueFreshBuffer()
{
    input_->addBuffer(std::make_unique<platform::WaveBuffer>(bufferBytes()));
}

}
