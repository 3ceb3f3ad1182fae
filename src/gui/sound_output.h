#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <vector>

#include "sound/audio_output.h"

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

// Reads the queued buffers one after the other, sample-exactly, and silence while none waits.
// On top of them it mixes one voice: a buffer that sounds at once and is cut short, with a
// fade, by the next voice; each voice also fades out over its own last frames, so neither a
// cut nor an end clicks. Used on the audio thread only; the buffers it finishes go back to
// the main thread.
class BufferReader {
  public:
    static constexpr std::size_t kFadeFrames = 240;  // 5 ms at 48 kHz

    BufferReader(BufferRing& queued, BufferRing& voices, BufferRing& done, std::size_t channels)
        : queued_(queued), voices_(voices), done_(done), channels_(channels) {}
    // Fills n interleaved samples.
    void read(float* out, std::size_t n);
    // From the main thread: the first `pushed` buffers ever queued are not to sound unless they
    // have begun already; later ones play as usual.
    void dropThrough(std::uint64_t pushed) {
        dropThrough_.store(pushed, std::memory_order_release);
    }

  private:
    struct Voice {
        std::vector<float>* samples = nullptr;
        std::size_t offset = 0;    // in samples
        std::size_t fadeLeft = 0;  // frames left of a cut's fade; 0 while not cut
    };
    void readQueue(float* out, std::size_t n);
    // Adds the voice to n samples; false when it has ended.
    bool mixVoice(Voice& voice, float* out, std::size_t n);
    void retire(std::vector<float>* buffer);

    BufferRing& queued_;
    BufferRing& voices_;
    BufferRing& done_;
    std::size_t channels_;
    std::vector<float>* current_ = nullptr;
    std::size_t offset_ = 0;
    Voice voice_, fading_;
    std::uint64_t popped_ = 0;  // buffers taken from the queue so far
    std::atomic<std::uint64_t> dropThrough_{0};
};

// The platform's sound output for one score window, rendering on a thread of its own from
// complete buffers. On Linux it talks to the PulseAudio (or PipeWire) server; elsewhere it
// uses Qt Multimedia. Without an output device sound is dropped after one diagnostic line.
class SoundOutput : public AudioOutput {
  public:
    SoundOutput();
    ~SoundOutput() override;

    PcmFormat outputFormat() const override { return format_; }
    void connect(const PcmFormat&) override {}
    void scheduleBuffer(PcmBuffer buffer) override;
    void playNow(PcmBuffer buffer) override;
    std::optional<std::string> start() override;
    void play() override {}
    bool dropQueued() override;

    // Output latency of the running stream in milliseconds (0 before it runs).
    double latencyMs() const;

    class Backend;

  private:
    void reclaim();
    std::vector<float>* interleave(const PcmBuffer& buffer) const;

    PcmFormat format_;
    BufferRing queued_;
    BufferRing voices_;
    BufferRing done_;
    BufferReader reader_;
    std::uint64_t pushed_ = 0;  // buffers queued so far
    std::unique_ptr<Backend> backend_;
    bool failed_ = false;
};

}  // namespace sorvel::gui
