#include "mainwnd/EngineStartup.h"

#include "telephony/EngineEvents.h"
#include "telephony/EngineSetup.h"

namespace orvanta {

std::optional<ProvisioningReply> EngineStartup::StartEngine(const EngineStartupInputs& inputs)
{
    const EngineApi& api = engine_.api();
    registered_ = false;
    if (!signIn_.reSignInMode) {
        events_.attachRegistration(api);
    }
    events_.attachMessages(api);

    const std::optional<ProvisioningReply> reply =
        inputs.replyText.isEmpty() ? std::nullopt : ProvisioningReply::parse(inputs.replyText);
    if (!reply) {
        view_.showMessage(QStringLiteral("Please check your Internet and Re-login"));
        main_.reloginNeeded = true;
        return std::nullopt;
    }
    if (!reply->accepted()) {
        if (reply->status == QLatin1String("0") || reply->status == QLatin1String("2")) {
            view_.setStatusLine(QStringLiteral("Inactive Dialer"));
        } else if (reply->status == QLatin1String("3")) {
            view_.setStatusLine(QStringLiteral("Invalid Dialer"));
        }
        view_.showSignInControls();
        return std::nullopt;
    }
    view_.setBanner(reply->header);
    view_.setFooter(reply->footer);

    const EngineConfiguration config = reply->engineConfiguration();
    const bool savedAccount = inputs.recordSavePassword != 0;
    if ((!signIn_.attemptDone && (savedAccount || signIn_.restoring)) ||
        (signIn_.attemptDone && signIn_.restoring)) {
        engine_.init(config.packetTime, config.sipPort);
    }
    configureEncryption(api, config);

    if ((!signIn_.attemptDone && savedAccount) ||
        (signIn_.attemptDone && signIn_.reSignInMode && signIn_.restoring)) {
        sipPassword_ = chooseSipPassword(inputs);
        accountHandle_ = registerSipAccount(api, config, inputs.sipUser, sipPassword_);
        registered_ = true;
    }
    events_.attachCalls(api);
    ApplyCodecPriorities(api);
    return reply;
}

QString EngineStartup::chooseSipPassword(const EngineStartupInputs& inputs) const
{
    // A saved account signs in with the portal's SIP password when the portal
    // answered; the saved password only stands in for it.
    const bool portalPreferred =
        inputs.recordSavePassword != 0 || !inputs.callsAllowed || signIn_.anyFailure();
    if (portalPreferred && inputs.portalSipPassword) {
        return QString::fromUtf8(*inputs.portalSipPassword);
    }
    if (inputs.recordSavePassword != 0) {
        return inputs.recordPassword;
    }
    if (signIn_.restoring && !sipPassword_.isEmpty()) {
        return sipPassword_;
    }
    return inputs.typedPassword;
}

void ApplyCodecPriorities(const EngineApi& api)
{
    api.setCodecPriority("G729/8000/1", 255);
    api.setCodecPriority("G723/8000/1", 0);
    api.setCodecPriority("PCMU/8000/1", 0);
    api.setCodecPriority("PCMA/8000/1", 0);
}

}
