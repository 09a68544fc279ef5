#include "platform/AutostartEntry.h"

#include "platform/AtomicFile.h"

#include <QFile>
#include <cstdlib>
#include <system_error>

namespace orvanta::platform {

namespace {

// An entry is a few hundred bytes; a larger file is not ours to compare.
constexpr qint64 kMaxEntryBytes = 64 * 1024;

bool needsQuoting(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    for (const QChar c : argument) {
        if (reserved.contains(c)) {
            return true;
        }
    }
    return argument.isEmpty();
}

// The escapes of a string value, applied after the Exec quoting.
QString escapedAsStringValue(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            result += QLatin1String("\\\\");
            break;
        case '\n':
            result += QLatin1String("\\n");
            break;
        case '\t':
            result += QLatin1String("\\t");
            break;
        case '\r':
            result += QLatin1String("\\r");
            break;
        default:
            result += c;
        }
    }
    return result;
}

}

QString desktopExecArgument(const QString& argument)
{
    QString quoted;
    if (needsQuoting(argument)) {
        quoted += QLatin1Char('"');
        for (const QChar c : argument) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\')) {
                quoted += QLatin1Char('\\');
            }
            quoted += c;
        }
        quoted += QLatin1Char('"');
    } else {
        quoted = argument;
    }
    quoted.replace(QLatin1Char('%'), QLatin1String("%%"));
    return escapedAsStringValue(quoted);
}

std::filesystem::path AutostartEntry::entryPath()
{
    std::filesystem::path configHome;
    if (const char* value = std::getenv("XDG_CONFIG_HOME"); value && value[0] == '/') {
        configHome = value;
    } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        configHome = std::filesystem::path(home) / ".config";
    } else {
        return {};
    }
    return configHome / "autostart" / "orvanta.desktop";
}

QByteArray AutostartEntry::content() const
{
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Orvanta\n"
                                        "Comment=Softphone dialer\n"
                                        "Exec=%1 --minimized\n"
                                        "Terminal=false\n"
                                        "Hidden=false\n")
                             .arg(desktopExecArgument(executablePath_));
    return text.toUtf8();
}

void AutostartEntry::enable() const
{
    const std::filesystem::path path = entryPath();
    if (path.empty()) {
        return;
    }
    const QByteArray wanted = content();
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.read(kMaxEntryBytes + 1) == wanted) {
        return;
    }
    existing.close();
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    writeFileAtomically(path, std::string_view(wanted.constData(), size_t(wanted.size())));
}

void AutostartEntry::disable() const
{
    if (const std::filesystem::path path = entryPath(); !path.empty()) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
}

}
