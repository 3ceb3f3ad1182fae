#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "sound/audio_output.h"
#include "view/gosen_view.h"

namespace sorvel {

// The tuner's label: the shortest decimal that reads back as the same 32-bit float, with at
// least one digit after the point, then "Hz" (440 gives "440.0Hz").
std::string frequencyLabel(float frequency);

// The tuner's steady tone: the sine of the given frequency from phase 0, without end, at
// the level and with the rise of every tone; the output renders it by its own clock.
std::shared_ptr<const PlayProgram> steadyTone(float frequency, double sampleRate);

// The tuner: one note on a one-cell staff, five pitch steps and a steady reference tone
// from the fixed table (A = 440 Hz) that sounds until it is stopped.
class Tuner {
  public:
    // Opens a sound output of the tuner's own; destroying it silences it at once.
    using OutputFactory = std::function<std::unique_ptr<AudioOutput>()>;

    explicit Tuner(OutputFactory factory);
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

    OutputFactory factory_;
    std::unique_ptr<AudioOutput> output_;
    std::string lblHz_;
    std::string status_;
};

}  // namespace sorvel
