#pragma once

#include <QByteArray>
#include <QString>
#include <filesystem>

namespace orvanta::platform {

// One argument of a desktop entry's Exec value: quoted when it holds a
// character the format reserves, with the format's escapes and "%%" for a
// literal percent sign.
QString desktopExecArgument(const QString& argument);

// The desktop session's autostart entry that starts the dialer, out of
// sight ("--minimized"), when the user logs in: $XDG_CONFIG_HOME/autostart/orvanta.desktop
// (~/.config when the variable is unset or not absolute). Failures are silent: starting with the
// session is a convenience, never a reason to bother the user.
class AutostartEntry {
public:
    explicit AutostartEntry(QString executablePath) : executablePath_(std::move(executablePath)) {}

    // Empty when neither variable gives an absolute folder.
    static std::filesystem::path entryPath();

    // The entry's text for this executable.
    QByteArray content() const;

    // Writes the entry unless it already holds exactly this content.
    void enable() const;
    void disable() const;

private:
    QString executablePath_;
};

}
