#include "records/RecordFileWriter.h"

#include "records/RecordFile.h"

#include <cstdio>

namespace orvanta {

RecordFileWriter::RecordFileWriter(std::string kind)
        : kind_(std::move(kind)), thread_([this] { run(); })
{
}

RecordFileWriter::~RecordFileWriter()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void RecordFileWriter::save(QByteArray bytes)
{
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(bytes);
    }
    wake_.notify_one();
}

bool RecordFileWriter::waitUntilWritten()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !pending_ && !writing_; });
    return lastWriteOk_;
}

void RecordFileWriter::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || stopping_; });
        if (!pending_) {
            return;
        }
        const QByteArray bytes = std::move(*pending_);
        pending_.reset();
        writing_ = true;
        lock.unlock();
        const bool ok = writeRecordFileBytes(kind_.c_str(), bytes);
        if (!ok) {
            std::fprintf(stderr, "orvanta: cannot write %s_Orvanta.bin\n", kind_.c_str());
        }
        lock.lock();
        writing_ = false;
        lastWriteOk_ = ok;
        if (!pending_) {
            idle_.notify_all();
        }
    }
}

}
