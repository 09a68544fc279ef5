#pragma once

#include <QWidget>
#include <functional>

namespace orvanta {

class CommandTable;
class ServicesFeature;

// The account services' rows of the command table, each allowed when
// registered: "Friend List" shows the one friends window (made on first
// use), "Call Records", "Rates", "Recharge" and "SMS" each open their dialog,
// modal over the main window. owner gives the main window, or nothing while
// there is none.
void addServicesCommands(CommandTable& commands, ServicesFeature& services,
                         std::function<QWidget*()> owner);

}
