#pragma once

#include <QByteArray>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace orvanta {

// Writes one record file of the data folder on a thread of its own, so that
// every change reaches its file at once without the caller waiting for the
// disk. Each save hands over the file's whole new content; when saves come
// faster than the disk takes them, only the newest content is written.
class RecordFileWriter {
public:
    explicit RecordFileWriter(std::string kind);
    // Writes what is still pending, then stops.
    ~RecordFileWriter();
    RecordFileWriter(const RecordFileWriter&) = delete;
    RecordFileWriter& operator=(const RecordFileWriter&) = delete;

    void save(QByteArray bytes);
    // Waits until everything handed over is on disk (or failed); false when
    // the last write failed.
    bool waitUntilWritten();

private:
    void run();

    const std::string kind_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<QByteArray> pending_;
    bool writing_ = false;
    bool stopping_ = false;
    bool lastWriteOk_ = true;
    std::thread thread_;
};

}
