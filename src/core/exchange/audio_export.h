#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/score.h"
#include "sound/play_list.h"

namespace sorvel::exchange {

// Ticks per quarter note in the MIDI files we write: a multiple of 3 and of 16, so every
// note value, triplets and dotted thirty-seconds included, lands on a whole tick.
inline constexpr std::int64_t kMidiTicksPerQuarter = 480;

// One played note in ticks: what the MIDI file holds, in playback order.
struct TimedNote {
    std::int64_t startTick = 0;
    std::int64_t lengthTicks = 0;
    std::int64_t midiKey = -1;  // -1: a rest
    friend bool operator==(const TimedNote&, const TimedNote&) = default;
};

// The score as playback walks it (from the first cell, repeats expanded, tie chains joined,
// rests kept), in ticks, with the transposing key applied as semitones.
std::vector<TimedNote> playedNotes(const Score& score);

// A Standard MIDI File, format 0, one track: the title (when there is one) as track name,
// tempo, time signature beats/4, then one note per played note (channel 0, velocity 80; a note
// ends before the next begins on the same tick).
std::string writeMidi(const Score& score, std::string_view title);

struct WavOptions {
    double sampleRate = 48000.0;
    // The one-bar count-in of playback (clicks) before the notes; off by default, since a
    // recording of the melody is what a file is for.
    bool countIn = false;
    // The pitch table playback uses (the window's table after a reference pitch was applied);
    // empty means the default table.
    std::vector<float> freqArr;
};

// The play list exactly as playback builds it (tempo, key, table), rendered by the same
// synthesis as playback (its rise and fall, its level): mono, 16-bit PCM.
std::vector<PlayEntry> wavPlayList(const Score& score, const WavOptions& options);

struct WavResult {
    bool ok = false;
    std::string bytes;
    std::string error;  // why nothing was written (ok is false)
};

// A recording longer than this is refused rather than built in memory.
inline constexpr double kMaxWavSeconds = 3.0 * 3600.0;

WavResult writeWav(const Score& score, const WavOptions& options = {});

// The same file handed to `write` a piece at a time (a false return stops with an error),
// so a long recording never sits in memory whole. The reason when nothing or not all was
// written.
std::optional<std::string> streamWav(const Score& score, const WavOptions& options,
                                     const std::function<bool(std::string_view)>& write);
// Streams the file to disk at path.
std::optional<std::string> writeWavFile(const Score& score, const WavOptions& options,
                                        const std::string& path);

}  // namespace sorvel::exchange
