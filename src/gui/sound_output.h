#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "sound/audio_output.h"
#include "sound/play_program.h"

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

// Hands the score's programs from the main thread to the audio thread, which renders them
// one after the other (a new one begins where the one before has ended, sample-exactly), and
// tells the main thread where it has got to. The audio thread never waits, allocates or frees.
class ProgramFeed {
  public:
    explicit ProgramFeed(double sampleRate) : rate_(sampleRate) {}
    ~ProgramFeed();
    ProgramFeed(const ProgramFeed&) = delete;
    ProgramFeed& operator=(const ProgramFeed&) = delete;

    // Main thread.
    void start(std::shared_ptr<const PlayProgram> program);
    // Ends every program begun so far at once and begins this one (null: none) in their place.
    void replace(std::shared_ptr<const PlayProgram> program);
    void endAt(const PlayProgram* program, std::int64_t frame);
    ProgramClock clock() const;

    // Audio thread: renders n frames and moves on; then, once the output knows how many
    // frames it holds that have not been heard yet, tells what is heard now.
    void render(float* out, std::size_t frames, std::size_t channels, float gain);
    void heardNow(std::int64_t unheardFrames);
    // Audio thread: adds n frames of what it plays to out; nothing while it has no program.
    void mixInto(float* out, std::size_t frames, std::size_t channels, float gain);

  private:
    struct Run {
        std::shared_ptr<const PlayProgram> program;
        std::atomic<std::int64_t> end;
        std::atomic<std::int64_t> rendered{0};
    };
    void collect();

    double rate_;
    std::deque<std::unique_ptr<Run>> runs_;  // main thread: runs not yet freed, oldest first
    std::atomic<Run*> next_{nullptr};        // waits to begin after the current one
    std::atomic<Run*> current_{nullptr};     // being rendered (written by the audio thread)
    // What is heard, published by the audio thread under a sequence count.
    std::atomic<std::uint64_t> seq_{0};
    std::atomic<const PlayProgram*> heardProgram_{nullptr};
    std::atomic<std::int64_t> heardRendered_{0};
    std::atomic<std::int64_t> heardFrame_{0};
    std::atomic<std::int64_t> heardAtNs_{0};
    std::array<float, 4096> mix_{};  // audio thread: mixInto's pieces
};

// Where the process stands with its sound server.
enum class ServerState { Connecting, Ready, Gone };

// The platform's sound output for one window: entry tones, queued buffers and the tuner's
// steady tone on a stream of low latency, the score's programs on a stream with a longer buffer
// that rides out a busy machine. On Linux it talks to the PulseAudio (or PipeWire) server,
// rendering in the server's callbacks; elsewhere it uses Qt Multimedia. When the server goes away
// the output goes silent and comes back by itself with it.
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
    bool available() const override;
    void startProgram(std::shared_ptr<const PlayProgram> program) override;
    void endProgramAt(const PlayProgram* program, std::int64_t frame) override;
    ProgramClock programClock() const override { return programs_.clock(); }
    void playProgramNow(std::shared_ptr<const PlayProgram> program) override;

    // Output latency of the low-latency stream in milliseconds (0 before it runs).
    double latencyMs() const;

    // The sound server of every output of the process, and how often it has gone away.
    static ServerState serverState();
    static std::uint64_t outages();
    // The level of every output, 0 to 1 (the volume preference).
    static void setVolume(float volume);
    static float volume();

    class Backend;

  private:
    void reclaim();
    std::vector<float>* interleave(const PcmBuffer& buffer) const;

    PcmFormat format_;
    BufferRing queued_;
    BufferRing voices_;
    BufferRing done_;
    BufferReader reader_;
    ProgramFeed programs_;
    ProgramFeed voicePrograms_;  // on the low-latency stream, over the tones (the tuner)
    std::uint64_t pushed_ = 0;  // buffers queued so far
    std::unique_ptr<Backend> backend_;
};

}  // namespace sorvel::gui
