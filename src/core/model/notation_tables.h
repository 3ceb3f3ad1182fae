#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace sorvel::tables {

inline constexpr std::int64_t kPitchCount = 39;
inline constexpr std::int64_t kRootCount = 17;
inline constexpr std::int64_t kStaffPositions = 17;

// clang-format off
// Pitch tables, indexed by pitch index 0..38. The octave digit changes at A.
inline constexpr std::array<std::string_view, kPitchCount> noteArr = {
    "A0", "A0#", "B0b", "B0", "C0", "C0#", "D0b", "D0", "D0#", "E0b", "E0", "F0", "F0#",
    "G0b", "G0", "G0#", "A1b", "A1", "A1#", "B1b", "B1", "C1", "C1#", "D1b", "D1", "D1#",
    "E1b", "E1", "F1", "F1#", "G1b", "G1", "G1#", "A2b", "A2", "A2#", "B2b", "B2", "C2"};

inline constexpr std::array<std::int64_t, kPitchCount> locateArr = {
    0, 0, 1, 1, 2, 2, 3, 3, 3, 4, 4, 5, 5, 6, 6, 6, 7, 7, 7, 8,
    8, 9, 9, 10, 10, 10, 11, 11, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 16};

inline constexpr std::array<std::int64_t, kPitchCount> shflArr = {
    0, 1, -1, 0, 0, 1, -1, 0, 1, -1, 0, 0, 1, -1, 0, 1, -1, 0, 1, -1,
    0, 0, 1, -1, 0, 1, -1, 0, 0, 1, -1, 0, 1, -1, 0, 1, -1, 0, 0};

// The table's own whole-Hz roundings, not computed values.
inline constexpr std::array<float, kPitchCount> freqArr = {
    220, 233, 233, 247, 261, 277, 277, 293, 311, 311, 330, 349, 370,
    370, 392, 415, 415, 440, 466, 466, 493, 523, 554, 554, 587, 622,
    622, 659, 698, 740, 740, 784, 830, 830, 880, 932, 932, 988, 1046};

// Natural pitch index at each staff position 0..16.
inline constexpr std::array<std::int64_t, kStaffPositions> Loc2idx = {
    0, 3, 4, 7, 10, 11, 14, 17, 20, 21, 24, 27, 28, 31, 34, 37, 38};

// Chord roots: index by name, one semitone up (sharps) and down (flats).
inline constexpr std::array<std::string_view, kRootCount> codeNames = {
    "C", "C#", "Db", "D", "D#", "Eb", "E", "F", "F#", "Gb", "G", "G#", "Ab", "A", "A#", "Bb", "B"};
inline constexpr std::array<std::string_view, kRootCount> upCode = {
    "C#", "D", "D", "D#", "E", "E", "F", "F#", "G", "G", "G#", "A", "A", "A#", "B", "B", "C"};
inline constexpr std::array<std::string_view, kRootCount> dnCode = {
    "B", "C", "C", "Db", "D", "D", "Eb", "E", "F", "F", "Gb", "G", "G", "Ab", "A", "A", "Bb"};

// clang-format on

// codeDic: root name to its index, or nothing for a name that is no chord root.
std::optional<std::int64_t> codeDic(std::string_view root);

constexpr bool validPitch(std::int64_t p) {
    return p >= 0 && p < kPitchCount;
}
}  // namespace sorvel::tables
