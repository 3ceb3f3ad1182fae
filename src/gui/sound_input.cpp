#include "sound_input.h"

#include <string>
#include <thread>
#include <utility>
#include <vector>

#if defined(SORVEL_HAVE_PULSE)
#include <pulse/error.h>
#include <pulse/simple.h>
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

// A PulseAudio record stream read on its own thread; the blocking reads pace the thread,
// and small fragments keep both the delay and the wait at stop short.
class PulseInput : public SoundInput::Backend {
  public:
    PulseInput(AudioInput::BlockHandler onBlock, AudioInput::ErrorHandler onError)
        : onBlock_(std::move(onBlock)), onError_(std::move(onError)) {
        thread_ = std::thread([this] { run(); });
    }
    ~PulseInput() override {
        stop_ = true;
        thread_.join();
    }

  private:
    void run() {
        const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE,
                                          static_cast<std::uint32_t>(SoundInput::kSampleRate), 1};
        pa_buffer_attr attr;
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = static_cast<std::uint32_t>(-1);
        attr.prebuf = static_cast<std::uint32_t>(-1);
        attr.minreq = static_cast<std::uint32_t>(-1);
        attr.fragsize = static_cast<std::uint32_t>(SoundInput::kBlockFrames * sizeof(float));
        int error = 0;
        pa_simple* stream = pa_simple_new(nullptr, "Sorvel Score", PA_STREAM_RECORD, nullptr,
                                          "Tuner", &sampleFormat, nullptr, &attr, &error);
        if (!stream) {
            if (onError_) onError_(pa_strerror(error));
            return;
        }
        std::vector<float> block(SoundInput::kBlockFrames);
        while (!stop_) {
            if (pa_simple_read(stream, block.data(), block.size() * sizeof(float), &error) < 0) {
                if (onError_) onError_(pa_strerror(error));
                break;
            }
            if (!stop_ && onBlock_) onBlock_(block.data(), block.size());
        }
        pa_simple_free(stream);
    }

    AudioInput::BlockHandler onBlock_;
    AudioInput::ErrorHandler onError_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
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
