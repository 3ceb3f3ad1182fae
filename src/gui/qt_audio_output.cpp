#include "qt_audio_output.h"

#include <QAudioSink>
#include <QMediaDevices>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <cstring>

#include "diagnostics.h"

namespace sorvel::gui {

namespace {
constexpr double kTargetLatencySeconds = 0.020;

void reportOnce(const std::string& line) {
    static bool said = false;
    if (said) return;
    said = true;
    diag(line);
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

BufferFeed::BufferFeed(BufferRing& queued, BufferRing& done, QAudioFormat format)
    : queued_(queued), done_(done), format_(format) {}

qint64 BufferFeed::bytesAvailable() const {
    return QIODevice::bytesAvailable() + format_.bytesForDuration(1000000);
}

qint64 BufferFeed::readData(char* data, qint64 maxSize) {
    const int bytesPerSample = format_.bytesPerSample();
    const std::size_t wanted = static_cast<std::size_t>(maxSize / bytesPerSample);
    const bool asFloat = format_.sampleFormat() == QAudioFormat::Float;
    std::size_t written = 0;
    while (written < wanted) {
        if (!current_) {
            current_ = queued_.pop();
            offset_ = 0;
            if (!current_) break;
        }
        const std::size_t n = std::min(wanted - written, current_->size() - offset_);
        const float* src = current_->data() + offset_;
        if (asFloat) {
            std::memcpy(data + written * sizeof(float), src, n * sizeof(float));
        } else {
            auto* out = reinterpret_cast<qint16*>(data) + written;
            for (std::size_t i = 0; i < n; ++i) {
                out[i] = static_cast<qint16>(std::clamp(src[i], -1.0f, 1.0f) * 32767.0f);
            }
        }
        written += n;
        offset_ += n;
        if (offset_ >= current_->size()) {
            // Freed on the main thread, never here.
            if (!done_.push(current_)) {
                // The main thread has not reclaimed for a long time; keep the memory.
            }
            current_ = nullptr;
        }
    }
    // Silence while nothing is queued keeps the stream running without a gap.
    std::memset(data + written * bytesPerSample, 0, (wanted - written) * bytesPerSample);
    return static_cast<qint64>(wanted) * bytesPerSample;
}

QtAudioOutput::QtAudioOutput() : device_(QMediaDevices::defaultAudioOutput()) {
    if (device_.isNull()) {
        reportOnce("No audio output device: sound is off");
        format_.setSampleRate(44100);
        format_.setChannelCount(2);
        format_.setSampleFormat(QAudioFormat::Float);
        failed_ = true;
        return;
    }
    format_ = device_.preferredFormat();
    format_.setSampleFormat(QAudioFormat::Float);
    if (!device_.isFormatSupported(format_)) format_.setSampleFormat(QAudioFormat::Int16);
}

QtAudioOutput::~QtAudioOutput() {
    if (thread_) {
        QMetaObject::invokeMethod(
            feed_,
            [this] {
                if (sink_) sink_->stop();
                delete sink_;
                delete feed_;
            },
            Qt::BlockingQueuedConnection);
        thread_->quit();
        thread_->wait();
    }
    reclaim();
    while (std::vector<float>* b = queued_.pop()) delete b;
}

PcmFormat QtAudioOutput::outputFormat() const {
    return {static_cast<double>(format_.sampleRate()), format_.channelCount()};
}

void QtAudioOutput::connect(const PcmFormat&) {}

void QtAudioOutput::reclaim() {
    while (std::vector<float>* b = done_.pop()) delete b;
}

void QtAudioOutput::scheduleBuffer(PcmBuffer buffer) {
    reclaim();
    if (failed_) return;
    const std::size_t channels = static_cast<std::size_t>(format_.channelCount());
    auto* interleaved = new std::vector<float>(static_cast<std::size_t>(buffer.frameLength) * channels);
    for (std::size_t c = 0; c < channels; ++c) {
        // A buffer made for fewer channels leaves the others silent.
        if (c >= buffer.channelData.size()) continue;
        const std::vector<float>& src = buffer.channelData[c];
        const std::size_t n = std::min<std::size_t>(src.size(), buffer.frameLength);
        for (std::size_t i = 0; i < n; ++i) (*interleaved)[i * channels + c] = src[i];
    }
    if (!queued_.push(interleaved)) {
        delete interleaved;
        diag("Sound queue full: a tone was dropped");
    }
}

std::optional<std::string> QtAudioOutput::start() {
    if (failed_ || started_) return std::nullopt;
    thread_ = std::make_unique<QThread>();
    thread_->setObjectName(QStringLiteral("audio"));
    thread_->start(QThread::TimeCriticalPriority);
    feed_ = new BufferFeed(queued_, done_, format_);
    feed_->moveToThread(thread_.get());
    QString error;
    QMetaObject::invokeMethod(
        feed_,
        [this, &error] {
            sink_ = new QAudioSink(device_, format_);
            sink_->setBufferSize(format_.bytesForDuration(
                static_cast<qint64>(kTargetLatencySeconds * 1e6)));
            feed_->open(QIODevice::ReadOnly);
            sink_->start(feed_);
            if (sink_->error() != QAudio::NoError) {
                error = QStringLiteral("audio output could not start (error %1)")
                            .arg(static_cast<int>(sink_->error()));
            } else {
                latencyMs_ = format_.durationForBytes(sink_->bufferSize()) / 1000.0;
            }
        },
        Qt::BlockingQueuedConnection);
    started_ = true;
    if (!error.isEmpty()) {
        failed_ = true;
        reportOnce(error.toStdString() + ": sound is off");
    }
    return std::nullopt;
}

void QtAudioOutput::play() {}

}  // namespace sorvel::gui
