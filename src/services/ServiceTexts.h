#pragma once

#include "services/CallRecords.h"
#include "services/FriendList.h"
#include "services/RateLookup.h"
#include "services/RechargeForm.h"
#include "services/SmsSender.h"

#include <QString>
#include <optional>

namespace orvanta {

// The account-service windows' texts, the one place they are written.
QString openUrlFailureText(OpenUrlFailure failure);
QString friendNoticeText(FriendNotice notice);
QString deleteFriendQuestion(const QString& name);
QString callLogLabelText(CallLogLabel label);
QString ratesNoticeText(RatesNotice notice);
QString rateResultText(const std::optional<RateAnswer>& result);
QString rechargeNoticeText(RechargeNotice notice);
QString rechargeStatusText(RechargeStatus status, const QString& serverText);
QString smsNoticeText(SmsNotice notice);
QString smsStatusText(SmsStatus status, const QString& response);

}
