#include "sound_output.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "model/diagnostics.h"

#if defined(SORVEL_HAVE_PULSE)
#include <pulse/error.h>
#include <pulse/simple.h>
#else
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QMetaObject>
#include <QThread>
#endif

namespace sorvel::gui {

namespace {

constexpr double kSampleRate = 48000.0;
constexpr std::int64_t kChannels = 2;
// The device is fed in chunks of 5 ms on top of a 15 ms server buffer: about 20 ms from a
// scheduled buffer to the speaker.
constexpr double kChunkSeconds = 0.005;
constexpr double kBufferSeconds = 0.015;

void reportOnce(const std::string& line) {
    static std::once_flag once;
    std::call_once(once, [&] { diag(line); });
}

}  // namespace

bool BufferRing::push(std::vector<float>* buffer) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    const std::size_t next = (tail + 1) % kCapacity;
    if (next == head_.load(std::memory_order_acquire)) return false;
    slots_[tail] = buffer;
    tail_.store(next, std::memory_order_release);
    return true;
}

std::vector<float>* BufferRing::pop() {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire)) return nullptr;
    std::vector<float>* buffer = slots_[head];
    head_.store((head + 1) % kCapacity, std::memory_order_release);
    return buffer;
}

void BufferReader::retire(std::vector<float>* buffer) {
    // Freed on the main thread; should that ring be full, the buffer is kept.
    if (buffer) done_.push(buffer);
}

void BufferReader::readQueue(float* out, std::size_t n) {
    std::size_t written = 0;
    while (written < n) {
        if (!current_) {
            current_ = queued_.pop();
            offset_ = 0;
            if (!current_) break;
            if (++popped_ <= dropThrough_.load(std::memory_order_acquire)) {
                // Dropped before it began: straight back to the main thread.
                done_.push(current_);
                current_ = nullptr;
                continue;
            }
        }
        const std::size_t k = std::min(n - written, current_->size() - offset_);
        std::memcpy(out + written, current_->data() + offset_, k * sizeof(float));
        written += k;
        offset_ += k;
        if (offset_ >= current_->size()) {
            retire(current_);
            current_ = nullptr;
        }
    }
    std::fill(out + written, out + n, 0.0f);
}

bool BufferReader::mixVoice(Voice& voice, float* out, std::size_t n) {
    if (!voice.samples) return false;
    const std::vector<float>& s = *voice.samples;
    const std::size_t totalFrames = s.size() / channels_;
    for (std::size_t i = 0; i + channels_ <= n && voice.offset < s.size(); i += channels_) {
        const std::size_t frame = voice.offset / channels_;
        // Fade over the last frames of the buffer, and over the frames after a cut.
        float gain = std::min(1.0f, static_cast<float>(totalFrames - frame) / kFadeFrames);
        if (voice.fadeLeft > 0) {
            gain = std::min(gain, static_cast<float>(voice.fadeLeft) / kFadeFrames);
        }
        for (std::size_t c = 0; c < channels_; ++c) out[i + c] += gain * s[voice.offset + c];
        voice.offset += channels_;
        if (voice.fadeLeft > 0 && --voice.fadeLeft == 0) voice.offset = s.size();
    }
    if (voice.offset < s.size()) return true;
    retire(voice.samples);
    voice = Voice{};
    return false;
}

void BufferReader::read(float* out, std::size_t n) {
    readQueue(out, n);
    // The newest voice wins; one still sounding fades out under it.
    while (std::vector<float>* next = voices_.pop()) {
        if (voice_.samples) {
            retire(fading_.samples);
            fading_ = voice_;
            fading_.fadeLeft = kFadeFrames;
        }
        voice_ = Voice{next, 0, 0};
    }
    mixVoice(fading_, out, n);
    mixVoice(voice_, out, n);
}

class SoundOutput::Backend {
  public:
    virtual ~Backend() = default;
    virtual double latencyMs() const = 0;
};

#if defined(SORVEL_HAVE_PULSE)

// A PulseAudio stream fed from its own thread; the blocking writes pace the thread.
class PulseBackend : public SoundOutput::Backend {
  public:
    PulseBackend(BufferReader& reader, PcmFormat format) : reader_(reader), format_(format) {
        thread_ = std::thread([this] { run(); });
    }
    ~PulseBackend() override {
        stop_ = true;
        thread_.join();
    }
    double latencyMs() const override { return latencyMs_.load(); }

  private:
    void run() {
        const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE,
                                          static_cast<std::uint32_t>(format_.sampleRate),
                                          static_cast<std::uint8_t>(format_.channels)};
        const std::size_t frameBytes = sizeof(float) * static_cast<std::size_t>(format_.channels);
        pa_buffer_attr attr;
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = static_cast<std::uint32_t>(format_.sampleRate * kBufferSeconds) *
                       static_cast<std::uint32_t>(frameBytes);
        attr.prebuf = static_cast<std::uint32_t>(-1);
        attr.minreq = static_cast<std::uint32_t>(-1);
        attr.fragsize = static_cast<std::uint32_t>(-1);
        int error = 0;
        pa_simple* stream = pa_simple_new(nullptr, "Sorvel Score", PA_STREAM_PLAYBACK, nullptr,
                                          "Score", &sampleFormat, nullptr, &attr, &error);
        if (!stream) {
            reportOnce(std::string("No audio output (") + pa_strerror(error) + "): sound is off");
            return;
        }
        std::vector<float> chunk(static_cast<std::size_t>(format_.sampleRate * kChunkSeconds) *
                                 static_cast<std::size_t>(format_.channels));
        while (!stop_) {
            reader_.read(chunk.data(), chunk.size());
            if (pa_simple_write(stream, chunk.data(), chunk.size() * sizeof(float), &error) < 0) {
                reportOnce(std::string("Audio output failed (") + pa_strerror(error) +
                           "): sound is off");
                break;
            }
            const pa_usec_t latency = pa_simple_get_latency(stream, &error);
            if (latency != static_cast<pa_usec_t>(-1))
                latencyMs_ = static_cast<double>(latency) / 1000.0;
        }
        pa_simple_free(stream);
    }

    BufferReader& reader_;
    PcmFormat format_;
    std::atomic<bool> stop_{false};
    std::atomic<double> latencyMs_{0.0};
    std::thread thread_;
};

#else

// Qt Multimedia's sink pulling from the queue, on a thread of its own.
class PullDevice : public QIODevice {
  public:
    PullDevice(BufferReader& reader, std::int64_t channels)
        : reader_(reader), channels_(channels) {}
    qint64 readData(char* data, qint64 maxSize) override {
        const auto frames =
            static_cast<std::size_t>(maxSize) / sizeof(float) / static_cast<std::size_t>(channels_);
        reader_.read(reinterpret_cast<float*>(data), frames * static_cast<std::size_t>(channels_));
        return static_cast<qint64>(frames * sizeof(float) * static_cast<std::size_t>(channels_));
    }
    qint64 writeData(const char*, qint64) override { return -1; }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 1 << 20; }

  private:
    BufferReader& reader_;
    std::int64_t channels_;
};

class SinkBackend : public SoundOutput::Backend {
  public:
    SinkBackend(BufferReader& reader, PcmFormat format) {
        QAudioFormat f;
        f.setSampleRate(static_cast<int>(format.sampleRate));
        f.setChannelCount(static_cast<int>(format.channels));
        f.setSampleFormat(QAudioFormat::Float);
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(f)) {
            reportOnce("No audio output device: sound is off");
            return;
        }
        thread_.start(QThread::TimeCriticalPriority);
        device_ = new PullDevice(reader, format.channels);
        device_->moveToThread(&thread_);
        QMetaObject::invokeMethod(
            device_,
            [this, device, f] {
                sink_ = new QAudioSink(device, f);
                sink_->setBufferSize(f.bytesForDuration(static_cast<qint64>(kBufferSeconds * 1e6)));
                device_->open(QIODevice::ReadOnly);
                sink_->start(device_);
                latencyMs_ = f.durationForBytes(sink_->bufferSize()) / 1000.0;
            },
            Qt::BlockingQueuedConnection);
    }
    ~SinkBackend() override {
        if (!device_) return;
        QMetaObject::invokeMethod(
            device_,
            [this] {
                sink_->stop();
                delete sink_;
                delete device_;
            },
            Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    double latencyMs() const override { return latencyMs_; }

  private:
    QThread thread_;
    PullDevice* device_ = nullptr;
    QAudioSink* sink_ = nullptr;
    double latencyMs_ = 0;
};

#endif

SoundOutput::SoundOutput()
    : format_{kSampleRate, kChannels},
      reader_(queued_, voices_, done_, static_cast<std::size_t>(kChannels)) {}

SoundOutput::~SoundOutput() {
    backend_.reset();  // the audio thread ends before the queues go
    reclaim();
    while (std::vector<float>* b = queued_.pop()) delete b;
    while (std::vector<float>* b = voices_.pop()) delete b;
}

double SoundOutput::latencyMs() const {
    return backend_ ? backend_->latencyMs() : 0.0;
}

void SoundOutput::reclaim() {
    while (std::vector<float>* b = done_.pop()) delete b;
}

std::vector<float>* SoundOutput::interleave(const PcmBuffer& buffer) const {
    const auto channels = static_cast<std::size_t>(format_.channels);
    auto* interleaved =
        new std::vector<float>(static_cast<std::size_t>(buffer.frameLength) * channels);
    for (std::size_t c = 0; c < channels && c < buffer.channelData.size(); ++c) {
        const std::vector<float>& src = buffer.channelData[c];
        const std::size_t n = std::min<std::size_t>(src.size(), buffer.frameLength);
        for (std::size_t i = 0; i < n; ++i) (*interleaved)[i * channels + c] = src[i];
    }
    return interleaved;
}

void SoundOutput::scheduleBuffer(PcmBuffer buffer) {
    reclaim();
    if (failed_) return;
    std::vector<float>* interleaved = interleave(buffer);
    if (!queued_.push(interleaved)) {
        delete interleaved;
        diag("Sound queue full: a tone was dropped");
        return;
    }
    ++pushed_;
}

bool SoundOutput::dropQueued() {
    reader_.dropThrough(pushed_);
    return true;
}

void SoundOutput::playNow(PcmBuffer buffer) {
    reclaim();
    if (failed_) return;
    std::vector<float>* interleaved = interleave(buffer);
    if (!voices_.push(interleaved)) delete interleaved;
}

std::optional<std::string> SoundOutput::start() {
    // The stream starts once and then runs, playing silence between buffers, so queued
    // buffers follow each other without a gap.
    if (!backend_ && !failed_) {
#if defined(SORVEL_HAVE_PULSE)
        backend_ = std::make_unique<PulseBackend>(reader_, format_);
#else
        backend_ = std::make_unique<SinkBackend>(reader_, format_);
#endif
    }
    return std::nullopt;
}

}  // namespace sorvel::gui
