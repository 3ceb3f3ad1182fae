#include "sound_input.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#if defined(SORVEL_HAVE_PULSE)
#include "pulse_server.h"
#else
#include <QAudioSource>
#include <QIODevice>
#include <QMediaDevices>
#include <QMetaObject>
#include <QThread>
#endif

namespace sorvel::gui {

class SoundInput::Backend {
  public:
    virtual ~Backend() = default;
};

#if defined(SORVEL_HAVE_PULSE)

// A record stream on the input's server connection, read in the server's callbacks on that
// connection's own thread. When the server goes away the input waits for it and records on
// once it is back; only a server that never answered is reported as an error.
class PulseInput : public SoundInput::Backend, public PulseClient {
  public:
    PulseInput(AudioInput::BlockHandler onBlock, AudioInput::ErrorHandler onError)
        : onBlock_(std::move(onBlock)),
          onError_(std::move(onError)),
          block_(SoundInput::kBlockFrames) {
        PulseServer::Lock lock(server_);
        server_.add(this);
        if (server_.state() == ServerState::Gone) serverGone();
    }
    ~PulseInput() override {
        // Callbacks run with the lock held: once it is ours none runs, and none follows.
        PulseServer::Lock lock(server_);
        server_.remove(this);
        close();
    }

    void serverReady(pa_context* context) override {
        everReady_ = true;
        const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE,
                                          static_cast<std::uint32_t>(SoundInput::kSampleRate), 1};
        stream_ = pa_stream_new(context, "Tuner", &sampleFormat, nullptr);
        if (!stream_) return;
        pa_buffer_attr attr;
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = static_cast<std::uint32_t>(-1);
        attr.prebuf = static_cast<std::uint32_t>(-1);
        attr.minreq = static_cast<std::uint32_t>(-1);
        attr.fragsize = static_cast<std::uint32_t>(SoundInput::kBlockFrames * sizeof(float));
        pa_stream_set_read_callback(stream_, &PulseInput::onRead, this);
        if (pa_stream_connect_record(stream_, nullptr, &attr, PA_STREAM_ADJUST_LATENCY) < 0)
            close();
    }
    void serverGone() override {
        close();
        filled_ = 0;
        if (!everReady_ && !reported_ && onError_) {
            reported_ = true;
            onError_("no sound server");
        }
    }

  private:
    void close() {
        if (!stream_) return;
        pa_stream_set_read_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }

    static void onRead(pa_stream* stream, std::size_t, void* userdata) {
        makeThisThreadRealtime();
        auto& self = *static_cast<PulseInput*>(userdata);
        while (pa_stream_readable_size(stream) > 0) {
            const void* data = nullptr;
            std::size_t bytes = 0;
            if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) return;
            if (data && !self.reported_)
                self.take(static_cast<const float*>(data), bytes / sizeof(float));
            pa_stream_drop(stream);
        }
    }

    // Hands the samples on in whole blocks.
    void take(const float* samples, std::size_t count) {
        while (count > 0) {
            const std::size_t n = std::min(count, block_.size() - filled_);
            std::copy(samples, samples + n, block_.begin() + static_cast<std::ptrdiff_t>(filled_));
            filled_ += n;
            samples += n;
            count -= n;
            if (filled_ == block_.size()) {
                if (onBlock_) onBlock_(block_.data(), block_.size());
                filled_ = 0;
            }
        }
    }

    PulseServer& server_ = PulseServer::input();
    AudioInput::BlockHandler onBlock_;
    AudioInput::ErrorHandler onError_;
    pa_stream* stream_ = nullptr;
    std::vector<float> block_;
    std::size_t filled_ = 0;
    bool everReady_ = false;
    bool reported_ = false;
};

#else

// Qt Multimedia's source pushing into a device that hands the samples on, on a thread of
// its own.
class PushDevice : public QIODevice {
  public:
    explicit PushDevice(AudioInput::BlockHandler onBlock) : onBlock_(std::move(onBlock)) {}
    qint64 readData(char*, qint64) override { return 0; }
    qint64 writeData(const char* data, qint64 size) override {
        const auto n = static_cast<std::size_t>(size) / sizeof(float);
        if (onBlock_ && n > 0) onBlock_(reinterpret_cast<const float*>(data), n);
        return size;
    }

  private:
    AudioInput::BlockHandler onBlock_;
};

class QtInput : public SoundInput::Backend {
  public:
    QtInput(AudioInput::BlockHandler onBlock, AudioInput::ErrorHandler onError) {
        thread_.start();
        device_ = new PushDevice(std::move(onBlock));
        device_->moveToThread(&thread_);
        QMetaObject::invokeMethod(
            device_,
            [this, onError] {
                QAudioFormat f;
                f.setSampleRate(static_cast<int>(SoundInput::kSampleRate));
                f.setChannelCount(1);
                f.setSampleFormat(QAudioFormat::Float);
                const QAudioDevice device = QMediaDevices::defaultAudioInput();
                if (device.isNull() || !device.isFormatSupported(f)) {
                    if (onError) onError("no input device for 48 kHz mono float");
                    return;
                }
                source_ = new QAudioSource(device, f);
                source_->setBufferSize(
                    static_cast<qsizetype>(SoundInput::kBlockFrames * sizeof(float) * 2));
                device_->open(QIODevice::WriteOnly);
                source_->start(device_);
            },
            Qt::QueuedConnection);
    }
    ~QtInput() override {
        QMetaObject::invokeMethod(
            device_,
            [this] {
                if (source_) source_->stop();
                delete source_;
                delete device_;
            },
            Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }

  private:
    QThread thread_;
    PushDevice* device_ = nullptr;
    QAudioSource* source_ = nullptr;
};

#endif

SoundInput::SoundInput() = default;

SoundInput::~SoundInput() {
    stop();
}

std::optional<std::string> SoundInput::start(BlockHandler onBlock, ErrorHandler onError) {
    if (backend_) return "already recording";
#if defined(SORVEL_HAVE_PULSE)
    backend_ = std::make_unique<PulseInput>(std::move(onBlock), std::move(onError));
#else
    backend_ = std::make_unique<QtInput>(std::move(onBlock), std::move(onError));
#endif
    return std::nullopt;
}

void SoundInput::stop() {
    // The backend's thread ends before this returns: no handler runs afterwards.
    backend_.reset();
}

}  // namespace sorvel::gui
