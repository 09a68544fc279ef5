#pragma once

class QWidget;

namespace orvanta {

class DialerSettings;

// Keeps the window above other windows while the "always on top" option is
// on, from now on and whenever the option changes; position and size stay.
void followAlwaysOnTop(QWidget* window, const DialerSettings& settings);

}
