#pragma once

#include <QAudioDevice>
#include <QAudioFormat>
#include <QIODevice>
#include <array>
#include <atomic>
#include <memory>
#include <vector>

#include "sound/audio_output.h"

class QAudioSink;
class QThread;

namespace sorvel::gui {

// Single-producer single-consumer ring of buffer pointers: the main thread pushes, the audio
// thread pops. Neither side ever waits.
class BufferRing {
public:
    static constexpr std::size_t kCapacity = 1024;
    bool push(std::vector<float>* buffer);
    std::vector<float>* pop();

private:
    std::array<std::vector<float>*, kCapacity> slots_{};
    std::atomic<std::size_t> head_{0};  // next slot to pop
    std::atomic<std::size_t> tail_{0};  // next slot to push
};

// Pulls the queued buffers one after the other, sample-exactly, and silence when none waits.
// Runs on the audio thread; it only reads what the main thread handed over.
class BufferFeed : public QIODevice {
    Q_OBJECT
public:
    BufferFeed(BufferRing& queued, BufferRing& done, QAudioFormat format);
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }
    qint64 bytesAvailable() const override;
    bool isSequential() const override { return true; }

private:
    BufferRing& queued_;
    BufferRing& done_;
    QAudioFormat format_;
    std::vector<float>* current_ = nullptr;
    std::size_t offset_ = 0;  // in samples (interleaved)
};

// Sound output on the default audio device through QAudioSink, on a thread of its own.
// Without an audio device sound is dropped after one diagnostic line.
class QtAudioOutput : public AudioOutput {
public:
    QtAudioOutput();
    ~QtAudioOutput() override;

    PcmFormat outputFormat() const override;
    void connect(const PcmFormat& format) override;
    void scheduleBuffer(PcmBuffer buffer) override;
    std::optional<std::string> start() override;
    void play() override;

    // Output latency the sink was set up with, in milliseconds (0 without a device).
    double latencyMs() const { return latencyMs_; }

private:
    void reclaim();

    QAudioDevice device_;
    QAudioFormat format_;
    BufferRing queued_;
    BufferRing done_;
    std::unique_ptr<QThread> thread_;
    QAudioSink* sink_ = nullptr;     // lives on thread_
    BufferFeed* feed_ = nullptr;     // lives on thread_
    bool started_ = false;
    bool failed_ = false;
    double latencyMs_ = 0;
};

}  // namespace sorvel::gui
