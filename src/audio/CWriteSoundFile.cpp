#include "audio/CWriteSoundFile.h"

namespace orvanta {

CWriteSoundFile::CWriteSoundFile(std::filesystem::path file) : file_(std::move(file))
{
    loop_.start([this](WriteMessage& message) { return handle(message); });
}

CWriteSoundFile::~CWriteSoundFile()
{
    loop_.stop(RecQuit{});
}

bool CWriteSoundFile::handle(WriteMessage& message)
{
    struct Visitor {
        CWriteSoundFile& self;
        bool operator()(WriteOpen& m) const
        {
            std::error_code ignored;
            std::filesystem::create_directories(self.file_.parent_path(), ignored);
            // On failure the recording is lost, silently; data is dropped.
            self.writer_.open(self.file_, m.format, {true, std::move(m.extra)});
            return true;
        }
        bool operator()(WriteData& m) const
        {
            if (self.writer_.isOpen() && !m.buffer->data.empty()) {
                self.writer_.append(m.buffer->data);
            }
            return true;  // the buffer is freed with the message
        }
        bool operator()(WriteClose&) const
        {
            self.writer_.close();
            return true;
        }
        bool operator()(RecQuit&) const
        {
            self.writer_.close();
            return false;
        }
    };
    return std::visit(Visitor{*this}, message);
}

}
