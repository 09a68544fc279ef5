#pragma once

#include "history/RecentCallsView.h"

#include <QIcon>
#include <QString>

// The texts and icons the recent-calls window shows for the core's states.
namespace orvanta::call_texts {

QString groupName(CallKind kind);
QString tooltipTitle(TooltipTitle title);
// The tooltip body of a record, with the spacing of its wording.
QString details(CallDetails details, const CallLogEntry& entry);
QIcon icon(CallIcon icon);

}
