#pragma once

#include "settings/CodecPage.h"
#include "settings/GeneralSettings.h"
#include "support/DataFolderFixture.h"
#include "support/TestEnvironment.h"

#include <QStringList>
#include <utility>
#include <vector>

namespace orvanta::test {

// The codec priority calls the engine received, in order.
class FakeCodecEngine : public CodecPriorityEngine {
public:
    using Call = std::pair<QByteArray, int>;
    void setCodecPriority(const QByteArray& codec, int priority) override
    {
        calls.emplace_back(codec, priority);
    }
    std::vector<Call> calls;
};

class FakeCodecCatalog : public CodecCatalog {
public:
    QStringList availableCodecs() const override { return codecs; }
    QStringList codecs;
};

class FakeRegistration : public RegistrationStatus {
public:
    bool callsAllowed() const override { return registered; }
    bool registered = false;
};

class FakeCallLog : public CallLogAdjuster {
public:
    void adjustCallLog(CallLogKind kind) override { kinds.push_back(static_cast<char>(kind)); }
    std::string kinds;
};

// A fresh data folder, configuration folder and home folder for each test,
// so that the autostart entry and the music folder are the test's own.
class SettingsFixture : public DataFolderFixture {
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        std::filesystem::create_directories(temp_ / "home");
        setenv("HOME", (temp_ / "home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (temp_ / "config").c_str(), 1);
    }

    std::filesystem::path autostartFile() const
    {
        return temp_ / "config" / "autostart" / "orvanta.desktop";
    }

    // Makes the data folder impossible to create: its parent is a file.
    void breakDataFolder()
    {
        writeFile(temp_ / "blocker", "x");
        setenv("ORVANTA_DATA_DIR", (temp_ / "blocker" / "Orvanta").c_str(), 1);
    }

    static void writeFile(const std::filesystem::path& path, const QByteArray& content)
    {
        std::filesystem::create_directories(path.parent_path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
};

// An archive string the way record files hold short ASCII texts.
inline QByteArray wide(const char* text)
{
    QByteArray bytes("\xFF\xFE\xFF", 3);
    bytes.append(static_cast<char>(qstrlen(text)));
    for (const char* c = text; *c; ++c) {
        bytes.append(*c);
        bytes.append('\0');
    }
    return bytes;
}

inline QByteArray int32le(std::int32_t value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i) {
        bytes.append(static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF));
    }
    return bytes;
}

// A codec file holding these lists.
inline QByteArray codecFileBytes(const std::vector<const char*>& enabled,
                                 const std::vector<const char*>& disabled)
{
    QByteArray bytes = int32le(static_cast<std::int32_t>(enabled.size()));
    for (const char* name : enabled) {
        bytes += wide(name);
    }
    bytes += int32le(static_cast<std::int32_t>(disabled.size()));
    for (const char* name : disabled) {
        bytes += wide(name);
    }
    return bytes;
}

}
