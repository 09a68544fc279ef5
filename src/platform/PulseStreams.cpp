#include "platform/PulseStreams.h"

#include "platform/PulseConnection.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace orvanta::platform {

namespace {

// How long opening waits for the server and then for the stream.
constexpr std::chrono::milliseconds kOpenWait{3000};
constexpr std::size_t kBytesPerSample = 2;

std::size_t bytesFor(int samplesPerSecond, int milliseconds)
{
    return static_cast<std::size_t>(samplesPerSecond) * kBytesPerSample *
           static_cast<std::size_t>(milliseconds) / 1000;
}

SoundOpenError errorFor(int code)
{
    return {code, pa_strerror(code)};
}

// One direction's stream on the server.
class PulseStream {
public:
    PulseStream(PulseConnection& connection, int samplesPerSecond, WaveBufferReturn giveBack)
            : connection_(connection), rate_(samplesPerSecond), giveBack_(std::move(giveBack))
    {
    }
    virtual ~PulseStream() = default;
    PulseStream(const PulseStream&) = delete;
    PulseStream& operator=(const PulseStream&) = delete;

    // Connects and waits for the stream; false with error() set otherwise.
    bool open(const std::string& device)
    {
        {
            PulseConnection::Lock lock(connection_);
            setPhase(Phase::Pending, true);
            if (!connectTo(device)) {
                error_ = errorFor(connection_.lastError());
                return false;
            }
        }
        Phase outcome = Phase::Pending;
        {
            std::unique_lock wait(phaseMutex_);
            phaseChanged_.wait_for(wait, kOpenWait, [this] { return phase_ != Phase::Pending; });
            outcome = phase_;
        }
        if (outcome == Phase::Ready) {
            return true;
        }
        PulseConnection::Lock lock(connection_);
        error_ = errorFor(outcome == Phase::Pending ? PA_ERR_TIMEOUT : connection_.lastError());
        destroyStream();
        setPhase(Phase::Failed, true);
        return false;
    }

    const SoundOpenError& error() const { return error_; }

protected:
    // Under the connection lock from here on.
    virtual bool connectStream(const std::string& device) = 0;
    virtual void onStreamReady() {}
    // No stream any more, and none to come.
    virtual void onDead() {}

    void close()
    {
        PulseConnection::Lock lock(connection_);
        destroyStream();
    }

    bool connectTo(const std::string& device)
    {
        pa_context* context = connection_.readyContext();
        if (!context) {
            return false;
        }
        pa_sample_spec format{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(rate_), 1};
        stream_ = pa_stream_new(context, streamName(), &format, nullptr);
        if (!stream_) {
            return false;
        }
        pa_stream_set_state_callback(stream_, &PulseStream::onState, this);
        if (!connectStream(device)) {
            destroyStream();
            return false;
        }
        return true;
    }

    void destroyStream()
    {
        if (!stream_) {
            return;
        }
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_set_read_callback(stream_, nullptr, nullptr);
        pa_stream_set_write_callback(stream_, nullptr, nullptr);
        pa_stream_set_underflow_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }

    bool live() const { return stream_ && pa_stream_get_state(stream_) == PA_STREAM_READY; }

    virtual const char* streamName() const = 0;

    PulseConnection& connection_;
    const int rate_;
    const WaveBufferReturn giveBack_;
    pa_stream* stream_ = nullptr;
    bool dead_ = false;

private:
    enum class Phase { Pending, Ready, Failed };

    static void onState(pa_stream* stream, void* self)
    {
        auto* s = static_cast<PulseStream*>(self);
        switch (pa_stream_get_state(stream)) {
        case PA_STREAM_READY:
            s->setPhase(Phase::Ready);
            s->onStreamReady();
            break;
        case PA_STREAM_FAILED:
        case PA_STREAM_TERMINATED:
            s->lost();
            break;
        default:
            break;
        }
    }

    // A device that goes away has its streams moved by the server; a stream
    // that ends anyway (the server itself went) ends for good.
    void lost()
    {
        destroyStream();
        if (!opened()) {
            setPhase(Phase::Failed);
            return;
        }
        dead_ = true;
        onDead();
    }

    // Once open, what happens to later streams is no business of the opener.
    void setPhase(Phase phase, bool opening = false)
    {
        {
            std::lock_guard lock(phaseMutex_);
            if (phase_ == Phase::Ready && !opening) {
                return;
            }
            phase_ = phase;
        }
        phaseChanged_.notify_all();
    }

    bool opened()
    {
        std::lock_guard lock(phaseMutex_);
        return phase_ == Phase::Ready;
    }

    std::mutex phaseMutex_;
    std::condition_variable phaseChanged_;
    Phase phase_ = Phase::Pending;
    SoundOpenError error_;
};

class PulseCapture final : public PulseStream, public CaptureDevice {
public:
    using PulseStream::PulseStream;
    ~PulseCapture() override { close(); }

    void addBuffer(WaveBufferPtr buffer) override
    {
        PulseConnection::Lock lock(connection_);
        queue_.push_back(std::move(buffer));
    }

    bool start() override
    {
        PulseConnection::Lock lock(connection_);
        corked_ = false;
        if (!live()) {
            return false;
        }
        pa_operation* op = pa_stream_cork(stream_, 0, nullptr, nullptr);
        if (op) {
            pa_operation_unref(op);
        }
        return op != nullptr;
    }

    std::vector<WaveBufferPtr> reset() override
    {
        PulseConnection::Lock lock(connection_);
        corked_ = true;
        if (live()) {
            for (pa_operation* op : {pa_stream_cork(stream_, 1, nullptr, nullptr),
                                     pa_stream_flush(stream_, nullptr, nullptr)}) {
                if (op) {
                    pa_operation_unref(op);
                }
            }
        }
        std::vector<WaveBufferPtr> left;
        for (auto& buffer : queue_) {
            left.push_back(std::move(buffer));
        }
        queue_.clear();
        return left;
    }

private:
    const char* streamName() const override { return "Orvanta capture"; }

    bool connectStream(const std::string& device) override
    {
        pa_stream_set_read_callback(stream_, &PulseCapture::onRead, this);
        // Small fragments give steady reads instead of a burst every ~2 s.
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.fragsize = static_cast<std::uint32_t>(bytesFor(rate_, 20));
        attr.tlength = attr.prebuf = attr.minreq = static_cast<std::uint32_t>(-1);
        auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY |
                                                    (corked_ ? PA_STREAM_START_CORKED : 0));
        return pa_stream_connect_record(stream_, device.empty() ? nullptr : device.c_str(), &attr,
                                        flags) == 0;
    }

    static void onRead(pa_stream* stream, std::size_t, void* self)
    {
        auto* s = static_cast<PulseCapture*>(self);
        const void* data = nullptr;
        std::size_t size = 0;
        while (pa_stream_peek(stream, &data, &size) == 0 && size > 0) {
            if (data) {
                s->take(static_cast<const char*>(data), size);
            }
            pa_stream_drop(stream);
        }
    }

    // Fills the queued buffers in order; with none queued the audio is lost.
    void take(const char* data, std::size_t size)
    {
        while (size > 0 && !queue_.empty()) {
            WaveBuffer& front = *queue_.front();
            const std::size_t room = front.capacity - front.data.size();
            const std::size_t part = std::min(room, size);
            front.data.insert(front.data.end(), data, data + part);
            data += part;
            size -= part;
            if (front.data.size() == front.capacity) {
                WaveBufferPtr full = std::move(queue_.front());
                queue_.pop_front();
                giveBack_(std::move(full));
            }
        }
    }

    std::deque<WaveBufferPtr> queue_;
    bool corked_ = true;
};

class PulsePlayback final : public PulseStream, public PlaybackDevice {
public:
    using PulseStream::PulseStream;
    ~PulsePlayback() override { close(); }

    void write(WaveBufferPtr buffer) override
    {
        PulseConnection::Lock lock(connection_);
        if (dead_) {
            giveBack_(std::move(buffer));
            return;
        }
        if (buffer->data.size() % kBytesPerSample != 0) {
            buffer->data.push_back(0);  // the server takes whole samples only
        }
        queue_.push_back(std::move(buffer));
        if (live()) {
            fill(pa_stream_writable_size(stream_));
        }
    }

    void reset() override
    {
        PulseConnection::Lock lock(connection_);
        if (live()) {
            if (pa_operation* op = pa_stream_flush(stream_, nullptr, nullptr)) {
                pa_operation_unref(op);
            }
        }
        giveAllBack();
        needLead_ = true;
    }

private:
    const char* streamName() const override { return "Orvanta playback"; }

    bool connectStream(const std::string& device) override
    {
        pa_stream_set_write_callback(stream_, &PulsePlayback::onWritable, this);
        pa_stream_set_underflow_callback(stream_, &PulsePlayback::onUnderflow, this);
        // The server holds little, so a stop is heard soon; playback starts
        // as soon as anything arrives.
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = static_cast<std::uint32_t>(bytesFor(rate_, 300));
        attr.prebuf = static_cast<std::uint32_t>(bytesFor(rate_, 20));
        attr.minreq = static_cast<std::uint32_t>(bytesFor(rate_, 20));
        attr.fragsize = static_cast<std::uint32_t>(-1);
        needLead_ = true;
        return pa_stream_connect_playback(stream_, device.empty() ? nullptr : device.c_str(), &attr,
                                          PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) == 0;
    }

    void onStreamReady() override { fill(pa_stream_writable_size(stream_)); }
    void onDead() override { giveAllBack(); }

    static void onWritable(pa_stream*, std::size_t bytes, void* self)
    {
        static_cast<PulsePlayback*>(self)->fill(bytes);
    }

    static void onUnderflow(pa_stream*, void* self)
    {
        static_cast<PulsePlayback*>(self)->needLead_ = true;
    }

    // Hands queued bytes to the server; a buffer fully handed over goes
    // back. After a start or an underrun a short silence leads, so buffers
    // arriving at the pace they are played do not run dry at once.
    void fill(std::size_t wanted)
    {
        if (!live() || wanted == static_cast<std::size_t>(-1)) {
            return;
        }
        if (needLead_ && !queue_.empty()) {
            const std::vector<char> silence(bytesFor(rate_, 125), 0);
            pa_stream_write(stream_, silence.data(), silence.size(), nullptr, 0, PA_SEEK_RELATIVE);
            wanted -= std::min(wanted, silence.size());
            needLead_ = false;
        }
        while (!queue_.empty()) {
            WaveBuffer& front = *queue_.front();
            const std::size_t left = front.data.size() - offset_;
            const std::size_t part = std::min(left, wanted);
            if (part > 0) {
                pa_stream_write(stream_, front.data.data() + offset_, part, nullptr, 0,
                                PA_SEEK_RELATIVE);
                offset_ += part;
                wanted -= part;
            }
            if (offset_ < front.data.size()) {
                break;
            }
            WaveBufferPtr done = std::move(queue_.front());
            queue_.pop_front();
            offset_ = 0;
            giveBack_(std::move(done));
        }
    }

    void giveAllBack()
    {
        std::deque<WaveBufferPtr> queued;
        queued.swap(queue_);
        offset_ = 0;
        for (auto& buffer : queued) {
            giveBack_(std::move(buffer));
        }
    }

    std::deque<WaveBufferPtr> queue_;
    std::size_t offset_ = 0;  // bytes of the front buffer already handed over
    bool needLead_ = true;
};

template <typename Interface, typename Stream>
SoundOpenResult<Interface> openStream(PulseConnection& connection, const std::string& device,
                                      int samplesPerSecond, WaveBufferReturn giveBack)
{
    if (!connection.waitUntilReady(kOpenWait)) {
        return {nullptr, errorFor(PA_ERR_CONNECTIONREFUSED)};
    }
    auto stream = std::make_unique<Stream>(connection, samplesPerSecond, std::move(giveBack));
    // A chosen device that has just gone: the default one serves instead.
    if (stream->open(device) || (!device.empty() && stream->open({}))) {
        return {std::move(stream), {}};
    }
    return {nullptr, stream->error()};
}

}

SoundOpenResult<CaptureDevice> PulseSoundDevices::openCapture(const std::string& device,
                                                              int samplesPerSecond,
                                                              WaveBufferReturn filled)
{
    return openStream<CaptureDevice, PulseCapture>(connection_, device, samplesPerSecond,
                                                   std::move(filled));
}

SoundOpenResult<PlaybackDevice> PulseSoundDevices::openPlayback(const std::string& device,
                                                                int samplesPerSecond,
                                                                WaveBufferReturn played)
{
    return openStream<PlaybackDevice, PulsePlayback>(connection_, device, samplesPerSecond,
                                                     std::move(played));
}

}
