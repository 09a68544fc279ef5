#include "audio/SoundCardCheck.h"

namespace orvanta {

bool soundCardDetected(const platform::SoundServerView& view)
{
    return view.state == platform::SoundServerState::Ready &&
           !(view.outputs.empty() && view.inputs.empty());
}

SoundCardCheck::SoundCardCheck(platform::SoundServer& server, QObject* parent)
        : QObject(parent), server_(server)
{
    bound_.setSingleShot(true);
    bound_.setInterval(kBound);
    connect(&bound_, &QTimer::timeout, this, &SoundCardCheck::judge);
    // Emitted on the sound thread: queued to ours.
    connect(&server_, &platform::SoundServer::changed, this, &SoundCardCheck::serverChanged);
}

void SoundCardCheck::start()
{
    running_ = true;
    bound_.start();
    QTimer::singleShot(0, this, &SoundCardCheck::serverChanged);
}

void SoundCardCheck::serverChanged()
{
    if (server_.view().state != platform::SoundServerState::Connecting) {
        judge();
    }
}

void SoundCardCheck::judge()
{
    if (!running_) {
        return;
    }
    running_ = false;
    bound_.stop();
    emit checked(soundCardDetected(server_.view()));
}

}
