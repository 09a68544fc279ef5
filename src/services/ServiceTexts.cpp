#include "services/ServiceTexts.h"

namespace orvanta {

namespace {

const char kContactSupport[] = "Request cannot be processed,Please contact support";

QString limitText(int digits)
{
    return QStringLiteral("You can enter only upto %1 digits").arg(digits);
}

}

QString openUrlFailureText(OpenUrlFailure failure)
{
    switch (failure) {
    case OpenUrlFailure::Exception:
        return QStringLiteral("Received Exception from OpenURL()");
    case OpenUrlFailure::NoFile:
        return QStringLiteral("Error in OpenURL");
    case OpenUrlFailure::None:
        break;
    }
    return {};
}

QString friendNoticeText(FriendNotice notice)
{
    switch (notice) {
    case FriendNotice::OpenUrlException:
        return openUrlFailureText(OpenUrlFailure::Exception);
    case FriendNotice::OpenUrlNoFile:
        return openUrlFailureText(OpenUrlFailure::NoFile);
    case FriendNotice::NoItemSelected:
        return QStringLiteral("No Item Selected, First Select an Item");
    case FriendNotice::DeleteFailed:
        return QStringLiteral("Server not responding, please try after some time");
    case FriendNotice::ChangeFailed:
        return QStringLiteral("Server is not responding, please try after some time");
    case FriendNotice::NameAndPhoneRequired:
        return QStringLiteral("UserName and PC phone can not be left blank");
    case FriendNotice::PhoneNotNumeric:
        return QStringLiteral("PC Phone Should be Numeric");
    case FriendNotice::SpeedDialNotNumeric:
        return QStringLiteral("Speed Dial Should be Numeric");
    case FriendNotice::SpeedDialUsed:
        return QStringLiteral("This Speed Dial already used");
    case FriendNotice::FaxNotNumeric:
        return QStringLiteral("Fax should be numeric");
    }
    return {};
}

QString deleteFriendQuestion(const QString& name)
{
    return QStringLiteral("Do you really want to delete '") + name +
           QStringLiteral("' from Friend list ?");
}

QString callLogLabelText(CallLogLabel label)
{
    return label == CallLogLabel::NotFound ? QStringLiteral("Call Log Not Found") : QString();
}

QString ratesNoticeText(RatesNotice notice)
{
    return notice == RatesNotice::NumberLimit ? limitText(25) : QLatin1String(kContactSupport);
}

QString rateResultText(const std::optional<RateAnswer>& result)
{
    if (!result) {
        return {};
    }
    switch (result->outcome) {
    case RateOutcome::InvalidRequest:
        return QStringLiteral("Invalid Request");
    case RateOutcome::ZeroMinutes:
        return QStringLiteral("Zero mins");
    case RateOutcome::Rate:
        return QStringLiteral("Rate for the given number is =") + result->rate +
               QStringLiteral(" and Duration=") + result->mins + QStringLiteral(" mins");
    }
    return {};
}

QString rechargeNoticeText(RechargeNotice notice)
{
    switch (notice) {
    case RechargeNotice::VoucherLimit:
        return limitText(15);
    case RechargeNotice::AccountLimit:
        return limitText(25);
    case RechargeNotice::AmountLimit:
        return limitText(10);
    case RechargeNotice::ContactSupport:
        return QLatin1String(kContactSupport);
    }
    return {};
}

QString rechargeStatusText(RechargeStatus status, const QString& serverText)
{
    switch (status) {
    case RechargeStatus::Blank:
        return {};
    case RechargeStatus::EnterVoucher:
        return QStringLiteral("Please enter Voucher number");
    case RechargeStatus::FieldsEmpty:
        return QStringLiteral("Account and Amount Fields should not be Empty");
    case RechargeStatus::EnterAccount:
        return QStringLiteral("Please enter Account number");
    case RechargeStatus::EnterAmount:
        return QStringLiteral("Please enter Amount");
    case RechargeStatus::AmountNotNumeric:
        return QStringLiteral("Recharge Amount should be in Numericals");
    case RechargeStatus::ServerText:
        return serverText;
    }
    return {};
}

QString smsNoticeText(SmsNotice notice)
{
    switch (notice) {
    case SmsNotice::NumberLimit:
        return limitText(25);
    case SmsNotice::TooLong:
        return QStringLiteral("Only 160 characters are allowed");
    case SmsNotice::SmsDisabled:
        return QStringLiteral("SMS feature is disabled,Please contact support");
    case SmsNotice::OpenUrlException:
        return openUrlFailureText(OpenUrlFailure::Exception);
    case SmsNotice::OpenUrlNoFile:
        return openUrlFailureText(OpenUrlFailure::NoFile);
    }
    return {};
}

QString smsStatusText(SmsStatus status, const QString& response)
{
    switch (status) {
    case SmsStatus::Blank:
        return {};
    case SmsStatus::EnterMessage:
        return QStringLiteral("Please enter your Message");
    case SmsStatus::Response:
        return response;
    }
    return {};
}

}
