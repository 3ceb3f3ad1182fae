#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "sound/pitch_detector.h"

namespace sorvel {

// The equal-tempered pitches of the score's table, one per semitone from A0 to C2, built from
// the reference pitch (the A of octave 1) the way a score's staves build their table.
std::vector<float> semitoneTable(std::int64_t referencePitch);

// Pitch index (into the pitch tables) of semitone 0..27 above A0, spelled with a sharp.
std::int64_t semitonePitchIndex(std::int64_t semitone);

// The pitch of the table nearest to a frequency.
struct NearestPitch {
    std::int64_t pitchIndex = 0;  // sharp spelling
    float pitchFrequency = 0;     // the table's frequency of that pitch
    float cents = 0;              // how far the frequency is off it, -50..+50
};

// Nothing for a frequency more than half a semitone outside A0..C2, for a reference pitch
// that gives no table (0 or less) and for a frequency that is no number.
std::optional<NearestPitch> nearestPitch(float frequency, std::int64_t referencePitch);

// What the listening tuner shows.
struct ListenReading {
    bool hasNote = false;
    std::int64_t pitchIndex = -1;
    std::string name;     // the pitch name, e.g. "A1", "C1#"
    float frequency = 0;  // smoothed, Hz
    float cents = 0;      // -50..+50
    bool inTune = false;  // within the in-tune zone
    friend bool operator==(const ListenReading&, const ListenReading&) = default;
};

// Cents text of a reading: "+23 cents", "-7 cents", "0 cents".
std::string centsLabel(float cents);
// Frequency text with one decimal: "446.0 Hz".
std::string listenHzLabel(float frequency);

// Turns the detector's stream of estimates into a steady display: a note appears once a few
// consistent steps agree, a held note shows the median of its recent steps, a different note
// takes over as soon as it is confirmed, and silence or a doubtful signal clears the display
// after a short hold (so a note does not flicker away between two steps).
class NoteFollower {
  public:
    static constexpr float kMinConfidence = 0.85f;
    static constexpr float kMinLevelDb = -50.0f;
    static constexpr float kInTuneCents = 5.0f;
    // A new note must agree for this long before it is shown.
    static constexpr double kConfirmSeconds = 0.015;
    // A note stays this long after the last step that heard it.
    static constexpr double kReleaseSeconds = 0.12;
    // The steps of a held note the display takes the median of.
    static constexpr double kSmoothSeconds = 0.1;

    // Takes one estimate; true when the reading changed.
    bool push(const PitchEstimate& estimate, std::int64_t referencePitch);
    const ListenReading& reading() const { return reading_; }
    void reset();

  private:
    struct Step {
        double seconds;
        float frequency;
    };
    bool show(std::int64_t referencePitch, double now);

    ListenReading reading_;
    std::int64_t shownReference_ = 0;
    // Steps of the note on display.
    std::deque<Step> held_;
    // A different note waiting to be confirmed.
    std::int64_t candidate_ = -1;
    double candidateSince_ = 0;
    std::deque<Step> candidateSteps_;
    double lastHeard_ = 0;
};

}  // namespace sorvel
