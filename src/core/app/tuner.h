#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "sound/audio_output.h"
#include "view/gosen_view.h"

namespace sorvel {

// The tuner's label: the shortest decimal that reads back as the same 32-bit float, with at
// least one digit after the point, then "Hz" (440 gives "440.0Hz").
std::string frequencyLabel(float frequency);

// Sample `frame` of the endless full-scale sine of the given frequency, phase 0 at frame 0.
// The phase is reduced exactly before the sine is taken, so frame one million is as clean
// as frame one.
float steadyToneSample(float frequency, double sampleRate, std::uint64_t frame);

// An endless sine cut into buffers that follow each other without a seam.
class SteadyTone {
  public:
    static constexpr float kChunkSeconds = 0.25f;

    SteadyTone(float frequency, PcmFormat format);
    // The next buffer of kChunkSeconds (every channel the same).
    PcmBuffer nextChunk();
    float frequency() const { return frequency_; }
    std::uint64_t framesMade() const { return nextFrame_; }
    double secondsMade() const;

  private:
    float frequency_;
    PcmFormat format_;
    std::uint32_t chunkFrames_;
    std::uint64_t nextFrame_ = 0;
};

// The tuner: one note on a one-cell staff, five pitch steps and a steady reference tone
// from the fixed table (A = 440 Hz) that sounds until it is stopped.
class Tuner {
  public:
    // Opens a sound output of the tuner's own; destroying it silences it at once.
    using OutputFactory = std::function<std::unique_ptr<AudioOutput>()>;
    // Seconds on a steady clock.
    using SecondsNow = std::function<double()>;

    // How far ahead of the clock the tone is kept scheduled.
    static constexpr double kAheadSeconds = 1.0;

    Tuner(OutputFactory factory, SecondsNow now);
    ~Tuner();
    Tuner(const Tuner&) = delete;
    Tuner& operator=(const Tuner&) = delete;

    // The tuner note and its steps (rows 0 to 4; any other row changes nothing). The label
    // and a sounding tone stay as they are until the next start.
    std::int64_t note() const { return cell_.front().noteIndex; }
    void UpDown(std::int64_t row);

    // Starts the tone when silent, stops it when sounding.
    void play();
    bool nowPlaying() const { return output_ != nullptr; }
    // Keeps a sounding tone fed; call it often (every 100 ms or so) while it sounds.
    void pump();

    // The frequency the note sounds at.
    float frequency() const;
    const std::string& lblHz() const { return lblHz_; }
    // Why the last start produced no sound (empty after a good start).
    const std::string& status() const { return status_; }

    // The one-cell staff "gosenT" showing the note.
    GosenView gosen{"gosenT"};

  private:
    std::vector<ScoreCell> cell_{ScoreCell{17, 1}};
    void startTunerTone();
    void scheduleAhead();

    OutputFactory factory_;
    SecondsNow clock_;
    std::unique_ptr<AudioOutput> output_;
    std::optional<SteadyTone> tone_;
    double startedAt_ = 0;
    std::string lblHz_;
    std::string status_;
};

}  // namespace sorvel
