#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/play_list.h"

namespace sorvel {

// Count-in and metronome clicks: the first beat of the bar, then the others.
inline constexpr float kFirstBeatClickHz = 1880.0f;
inline constexpr float kBeatClickHz = 1250.0f;

// Everything a start of playback sounds, on one timeline of frames: a bar of count-in clicks,
// then the play list's entries back to back (once, or over and over), and with the metronome
// a click on every beat of the entries. Built once at the start and never changed, so the
// audio thread renders from it while the window only reads where it has got to.
class PlayProgram {
  public:
    struct Options {
        double sampleRate = 48000.0;
        std::int64_t tempo = 120;
        std::int64_t beats = 4;  // count-in clicks, and beats to the metronome's bar
        bool countIn = true;
        bool loop = false;
        bool metronome = false;
        // The last entry sounds on without end, its phase running on: a steady tone.
        bool sustain = false;
    };
    // The entries' cells, when given, tell the sounding cell (entryCells[i] for entry i).
    PlayProgram(const std::vector<PlayEntry>& entries, const Options& options,
                std::vector<std::int64_t> entryCells = {});

    double sampleRate() const { return options_.sampleRate; }
    std::int64_t beatFrames() const { return beatFrames_; }
    std::int64_t countInFrames() const { return countIn_; }
    // Frames of one pass through the entries.
    std::int64_t passFrames() const { return pass_; }
    bool loops() const { return loops_; }
    // Frames of the whole program; a loop never ends.
    std::int64_t length() const;
    std::size_t entryCount() const { return starts_.size(); }
    // Where entry i begins in the first pass.
    std::int64_t entryStart(std::size_t i) const { return countIn_ + starts_[i]; }

    // The entry sounding at a frame (-1 in the count-in, before 0 and after the end), and
    // its cell (-1 when unknown).
    std::int64_t entryAt(std::int64_t frame) const;
    std::int64_t cellAt(std::int64_t frame) const;
    // The count-in beat sounding at a frame (0 for the first), -1 outside the count-in.
    std::int64_t countInBeatAt(std::int64_t frame) const;
    // Where the sound going on at a frame ends: the end of its count-in beat or entry (the
    // end of the program from there on). A stop lets the sound run up to it.
    std::int64_t endOfSoundAt(std::int64_t frame) const;
    // The last frame any sound of a program stopped at `end` reaches (a metronome click
    // begun before it runs to its own end).
    std::int64_t tailAfter(std::int64_t end) const;

    // Writes frames [from, from + count) into the interleaved out (every channel the same) at
    // the given gain, with nothing from `end` on except the rest of a click begun before it.
    // Allocates nothing and takes no lock: the audio thread renders with it.
    void render(std::int64_t from, float* out, std::size_t count, std::size_t channels,
                std::int64_t end, float gain = 1.0f) const;

  private:
    void addClicks(std::int64_t from, float* out, std::size_t count, std::size_t channels,
                   std::int64_t end, float gain) const;
    void addEntries(std::int64_t passFrom, std::int64_t frameFrom, float* out, std::size_t count,
                    std::size_t channels, std::int64_t end, float gain) const;
    // The frame within a pass, or -1 before the entries or after the last pass.
    std::int64_t passFrame(std::int64_t frame) const;

    Options options_;
    std::int64_t beatFrames_ = 0;
    std::int64_t clickFrames_ = 0;
    std::int64_t countIn_ = 0;
    std::int64_t pass_ = 0;
    bool loops_ = false;
    std::vector<std::int64_t> starts_;  // within a pass
    std::vector<std::int64_t> frames_;
    std::vector<float> frequencies_;
    std::vector<std::int64_t> cells_;
};

}  // namespace sorvel
