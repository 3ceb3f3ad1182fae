#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sorvel {

class PlayProgram;

struct PcmFormat {
    double sampleRate = 44100.0;
    std::int64_t channels = 2;
    friend bool operator==(const PcmFormat&, const PcmFormat&) = default;
};

// A complete buffer of 32-bit float samples, one vector per channel.
struct PcmBuffer {
    PcmFormat format;
    std::uint32_t frameLength = 0;
    std::vector<std::vector<float>> channelData;
};

// Where the output has got to in the program it plays: frames of it rendered, and frames of
// it heard at the speaker by now (rendered less the output's latency). Both count on after
// the program's end (silence).
struct ProgramClock {
    const PlayProgram* program = nullptr;  // the program begun last; null before any
    std::int64_t rendered = 0;
    std::int64_t heard = 0;
};

// The sound output of a score window: buffers are scheduled and then sound one after the
// other, sample-exactly; a score plays as a program the output renders by its own clock.
class AudioOutput {
  public:
    virtual ~AudioOutput() = default;
    virtual PcmFormat outputFormat() const = 0;
    // Connects the source to the output with the given format (called before every buffer).
    virtual void connect(const PcmFormat& format) = 0;
    virtual void scheduleBuffer(PcmBuffer buffer) = 0;
    // Sounds the buffer at once, over whatever is scheduled, cutting short (with a short fade)
    // the one given before, so quick entry tones never queue up behind each other. Outputs
    // without a separate voice schedule it.
    virtual void playNow(PcmBuffer buffer) { scheduleBuffer(std::move(buffer)); }
    // Starts the output; the error text when it cannot start.
    virtual std::optional<std::string> start() = 0;
    virtual void play() = 0;
    // Drops the scheduled buffers that have not begun to sound; the one sounding ends normally.
    // False when the output cannot, and everything scheduled still plays.
    virtual bool dropQueued() { return false; }

    // False while there is no sound server to play on (it went away or never was).
    virtual bool available() const { return true; }
    // Plays the program from its frame 0 as soon as the one before has ended. Outputs that
    // cannot play programs leave the clock where it is.
    virtual void startProgram(std::shared_ptr<const PlayProgram>) {}
    // Ends the program at a frame of it (at once when that frame has been rendered).
    virtual void endProgramAt(const PlayProgram*, std::int64_t) {}
    virtual ProgramClock programClock() const { return {}; }
    // Sounds the program at once with the entry tones' short latency, over everything else,
    // in place of the one it sounded before (null: none). Outputs that cannot stay silent.
    virtual void playProgramNow(std::shared_ptr<const PlayProgram>) {}
};

}  // namespace sorvel
