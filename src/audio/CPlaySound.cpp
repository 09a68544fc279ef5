#include "audio/CPlaySound.h"

namespace orvanta {

CPlaySound::CPlaySound(platform::SoundDevices& devices, SoundLevels& levels, int samplesPerSecond,
                       SoundProblemReport problems)
        : devices_(devices), levels_(levels), samplesPerSecond_(samplesPerSecond),
          problems_(std::move(problems))
{
    loop_.start([this](PlayMessage& message) { return handle(message); });
}

CPlaySound::~CPlaySound()
{
    loop_.stop(PlayQuit{});
}

bool CPlaySound::handle(PlayMessage& message)
{
    struct Visitor {
        CPlaySound& self;
        bool operator()(PlayStart&) const
        {
            self.start();
            return true;
        }
        bool operator()(PlayStop&) const
        {
            self.stop();
            return true;
        }
        bool operator()(PlayBuffer& m) const
        {
            self.play(std::move(m.buffer));
            return true;
        }
        bool operator()(PlayQuit&) const
        {
            self.stop();
            return false;
        }
        bool operator()(PlaySetDevice& m) const
        {
            self.device_ = std::move(m.device);
            return true;
        }
        bool operator()(WomDone& m) const
        {
            self.done(std::move(m.buffer));
            return true;
        }
    };
    return std::visit(Visitor{*this}, message);
}

void CPlaySound::start()
{
    if (output_) {
        return;
    }
    auto opened =
        devices_.openPlayback(device_, samplesPerSecond_, [this](platform::WaveBufferPtr buffer) {
            loop_.post(WomDone{std::move(buffer)});
        });
    if (!opened.device) {
        if (problems_) {
            problems_({SoundProblemKind::OutputNotOpened, opened.error});
        }
        return;
    }
    output_ = std::move(opened.device);
}

void CPlaySound::stop()
{
    if (!output_) {
        return;
    }
    // Buffers still queued come back as WomDone and return their slots.
    output_->reset();
    output_.reset();
}

void CPlaySound::play(platform::WaveBufferPtr buffer)
{
    if (!output_) {
        // Nothing to play it on: it is done with at once, so its memory and
        // its slot come back.
        done(std::move(buffer));
        return;
    }
    levels_.output = peakLevel(buffer->data);
    output_->write(std::move(buffer));
}

void CPlaySound::done(platform::WaveBufferPtr)
{
    freeSlots_.release();
}

}
