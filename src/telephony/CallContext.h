#pragma once

#include "telephony/CallPorts.h"
#include "telephony/Engine.h"
#include "telephony/PhoneState.h"

namespace orvanta {

// The shared state and the ports that the call handling classes work on.
struct CallContext {
    PhoneState& state;
    Engine& engine;
    CallView& view;
    CallSounds& sounds;
    CallTimers& timers;
    CallLogSink& callLog;
    BalanceQuery& balance;

    // Status of the selected line, kept for when it is selected again.
    void setSelectedStatus(const QString& text)
    {
        state.selected().lineStatus = text;
        view.setStatusLine(text);
    }
    void setNumber(const QString& number)
    {
        state.number = number;
        view.setNumberDisplay(number);
    }
    // Message boxes of the dial pad and call button never stack: while one
    // is open, a second is dropped.
    void showGuardedMessage(const QString& text)
    {
        if (state.messageBoxOpen) {
            return;
        }
        state.messageBoxOpen = true;
        view.showMessage(text);
        state.messageBoxOpen = false;
    }
};

namespace texts {
inline const QString readyToCall = QStringLiteral("Ready To Call...");
inline const QString calling = QStringLiteral("Calling...");
inline const QString incoming = QStringLiteral("Incoming...");
inline const QString ringing = QStringLiteral("Ringing...");
inline const QString answer = QStringLiteral("Answer...");
inline const QString connected = QStringLiteral("Connected...");
inline const QString disconnected = QStringLiteral("Disconnected...");
inline const QString missedCall = QStringLiteral("Missed Call...");
inline const QString onHold = QStringLiteral("On Hold...");
inline const QString registering = QStringLiteral("Registering...");
inline const QString readyPrefix = QStringLiteral("Ready : ");
inline const QString transferLeg = QStringLiteral("Transfering...");
inline const QString transferRequested = QStringLiteral("Transferring...");
inline const QString transferSucceeded = QStringLiteral("Transfer Succed...");
inline const QString transferFailed = QStringLiteral("Transfer Failed...");
inline const QString callTransferred = QStringLiteral("Call Transfered");
inline const QString enterTransferTarget = QStringLiteral("Enter Number + Press Call");
inline const QString dial = QStringLiteral("Dial");
inline const QString redial = QStringLiteral("ReDial");
inline const QString noInternet = QStringLiteral("! No Internet Access");
inline const QString notRegistered = QStringLiteral("You are not Registered");
inline const QString digitLimit = QStringLiteral("You can enter upto 25 digits");
inline const QString enterNumber = QStringLiteral("Please Enter Phone Number");
inline const QString invalidNumber = QStringLiteral("Please enter a valid Phone Number");
inline const QString noMicrophone =
    QStringLiteral("Call cannot be processed \nPlease connect a Microphone");
inline const QString handlerError = QStringLiteral("Error occured above updaterecentcall");
inline const QString disconnectFirst = QStringLiteral("Please disconnect call first");
inline const QString shiftTabRefused =
    QStringLiteral("Shif+Tab is not working on this registration page");
}

}
