#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sorvel {

class AudioOutput;

// Parses the leading decimal integer of a label or field text (0 when there is none).
std::int64_t leadingInteger(const std::string& text);

// The sound of a score window: its audio output, the reference-pitch field and the one tuning
// table that every staff and every tone of the window uses.
class WindowSound {
  public:
    explicit WindowSound(AudioOutput* output);

    AudioOutput* output() const { return output_; }
    void setOutput(AudioOutput* output) { output_ = output; }

    // The reference-pitch field as typed; apply() makes it the table's pitch.
    const std::string& referenceText() const { return referenceText_; }
    void setReferenceText(std::string text) { referenceText_ = std::move(text); }
    // The field's leading integer becomes its text and the pitch of A the table is built
    // from; returns that pitch.
    std::int64_t apply();

    // Indexed by a cell's noteIndex: the fixed whole-Hz table until a pitch is applied.
    const std::vector<float>& table() const { return table_; }
    // The table's frequency of pitch p, 0 for a pitch it does not hold.
    float frequency(std::int64_t p) const;

  private:
    AudioOutput* output_;
    std::string referenceText_;
    std::vector<float> table_;
};

}  // namespace sorvel
