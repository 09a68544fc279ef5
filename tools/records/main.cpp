// orvanta-records: prints the decoded content of a record file as JSON.
#include "audio/AudioDeviceRecord.h"
#include "contacts/ContactBook.h"
#include "history/CallLog.h"
#include "platform/AtomicFile.h"
#include "records/RecordDump.h"
#include "records/RecordFile.h"
#include "records/SignInRecords.h"
#include "services/SmsLog.h"
#include "settings/SettingsRecords.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <cstdio>

namespace {

// Every kind of record file the dialer keeps; each subsystem that owns one
// adds its list here.
std::vector<orvanta::RecordKind> allRecordKinds()
{
    std::vector<orvanta::RecordKind> kinds;
    for (auto&& list : {orvanta::signInRecordKinds(), orvanta::contactRecordKinds(),
                        orvanta::callLogRecordKinds(), orvanta::settingsRecordKinds(),
                        orvanta::smsLogRecordKinds(), orvanta::audioRecordKinds()}) {
        kinds.insert(kinds.end(), list.begin(), list.end());
    }
    return kinds;
}

constexpr int kDecodedCompletely = 0;
constexpr int kStoppedEarly = 1;
constexpr int kUsageError = 2;

int usage()
{
    std::fprintf(
        stderr,
        "usage: orvanta-records show FILE\n"
        "       orvanta-records write-signin FILE USER PASSWORD\n"
        "show prints the decoded record file as JSON; the kind comes from the file name:\n");
    for (const orvanta::RecordKind& kind : allRecordKinds()) {
        std::fprintf(stderr, "  %s\n", qPrintable(kind.fileName));
    }
    std::fprintf(stderr,
                 "Exit status: 0 decoded completely, 1 decoding stopped early, 2 usage.\n"
                 "write-signin writes a sign-in record that signs USER in automatically.\n");
    return kUsageError;
}

// A sign-in record with "Save Password" ticked, for demos and support.
int writeSignIn(const char* path, const char* user, const char* password)
{
    const orvanta::SignInRecord record{1, QString(), QString::fromLocal8Bit(user),
                                       QString::fromLocal8Bit(password)};
    const QByteArray bytes = orvanta::encodeRecord(record);
    if (!orvanta::platform::writeFileAtomically(
            path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))) {
        std::fprintf(stderr, "orvanta-records: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

}

int main(int argc, char** argv)
{
    if (argc == 5 && QByteArray(argv[1]) == "write-signin") {
        return writeSignIn(argv[2], argv[3], argv[4]);
    }
    if (argc != 3 || QByteArray(argv[1]) != "show") {
        return usage();
    }
    const QString path = QString::fromLocal8Bit(argv[2]);
    const QString fileName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "orvanta-records: cannot open %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return kUsageError;
    }
    const std::optional<orvanta::RecordDump> dump = orvanta::dumpRecordFile(
        allRecordKinds(), fileName, file.read(orvanta::kMaxRecordFileBytes));
    if (!dump) {
        std::fprintf(stderr, "orvanta-records: unknown record file name %s\n",
                     qPrintable(fileName));
        return usage();
    }
    std::fputs(QJsonDocument(dump->json).toJson(QJsonDocument::Indented).constData(), stdout);
    return dump->complete ? kDecodedCompletely : kStoppedEarly;
}
