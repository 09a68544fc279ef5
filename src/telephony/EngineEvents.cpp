#include "telephony/EngineEvents.h"

#include <QMetaObject>
#include <atomic>
#include <cassert>

namespace orvanta {

namespace {

std::atomic<EngineEvents*> current{nullptr};

// Queues emit(target) on the bridge's thread; Qt drops the call if the
// bridge is gone by then.
template <typename Emit>
int post(Emit emitOn)
{
    if (EngineEvents* target = current.load()) {
        QMetaObject::invokeMethod(
            target, [target, emitOn] { emitOn(target); }, Qt::QueuedConnection);
    }
    return 1;
}

QString text(const char* bytes)
{
    return bytes ? QString::fromUtf8(bytes) : QString();
}

int onRegistration(int, int code)
{
    return post([code](EngineEvents* target) { emit target->registrationState(code); });
}

int onCallState(int callId, int state)
{
    return post([callId, state](EngineEvents* target) { emit target->callState(callId, state); });
}

int onIncoming(int callId, const char* uri)
{
    return post([callId, caller = text(uri)](EngineEvents* target) {
        emit target->incomingCall(callId, caller);
    });
}

int onMessage(const char* sender, const char* body)
{
    return post([from = text(sender), message = text(body)](EngineEvents* target) {
        emit target->messageReceived(from, message);
    });
}

int ignoreDtmf(int, int)
{
    return 1;
}

int ignoreHoldConfirm(int)
{
    return 1;
}

}

EngineEvents::EngineEvents(QObject* parent) : QObject(parent)
{
    EngineEvents* expected = nullptr;
    const bool first = current.compare_exchange_strong(expected, this);
    assert(first && "only one EngineEvents at a time");
    (void)first;
}

EngineEvents::~EngineEvents()
{
    current.store(nullptr);
}

EngineCallbacks EngineEvents::callbacks()
{
    EngineCallbacks set;
    set.registration = onRegistration;
    set.callState = onCallState;
    set.incoming = onIncoming;
    set.dtmf = ignoreDtmf;
    set.holdConfirm = ignoreHoldConfirm;
    set.message = onMessage;
    return set;
}

}
