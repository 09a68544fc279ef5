#pragma once

#include "telephony/Engine.h"

#include <QObject>
#include <QString>

namespace orvanta {

// Carries the engine's callbacks, which arrive on the engine's thread, over
// to the thread this object lives on (the GUI thread). Each callback becomes
// one queued signal, so its handler runs there as one unit. Strings are
// copied before the callback returns.
class EngineEvents : public QObject {
    Q_OBJECT

public:
    // At most one exists at a time: the engine's callbacks are plain
    // functions without a context pointer.
    explicit EngineEvents(QObject* parent = nullptr);
    ~EngineEvents() override;

    // The callbacks that post to the bridge; DTMF digits and hold
    // confirmations are accepted and dropped.
    static EngineCallbacks callbacks();

signals:
    void registrationState(int sipCode);
    void callState(int callId, int state);
    void incomingCall(int callId, const QString& callerUri);
    void messageReceived(const QString& senderUri, const QString& text);
};

}
