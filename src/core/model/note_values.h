#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace sorvel {

// What a note value is: the kinds playback, printing and drawing tell apart.
enum class NoteKind { Blank, Note, Rest, BarLine, RepeatStart, RepeatEnd, FirstEnding };

// How a note or rest is written beside the size of its head or symbol.
enum class NoteForm { Plain, Dotted, Triplet, Tied };

// One note value (the second index of a score cell): the glyph of the notation font, its
// length in quarter-note beats, how it is written and its partners. A value without a
// partner names itself.
struct NoteValue {
    std::string_view glyph;
    float beats;
    NoteKind kind;
    // Notes and rests: 0 whole, 1 half, 2 quarter, 3 eighth, 4 sixteenth, 5 thirty-second.
    std::int8_t size;
    NoteForm form;
    // The Dot button's partner: the dotted form of a plain note or rest, and back. Marks,
    // triplets and tied notes have no dotted form and name themselves.
    std::int64_t dotToggle;
    std::int64_t triplet;    // the triplet form of a note or rest, and back
    std::int64_t tie;        // the tied form of a note, and back
    std::int64_t alternate;  // the other glyph family of a note, triplet or tie
};

inline constexpr std::int64_t kValueCount = 65;

// clang-format off
// Triplet lengths are six-digit decimals on purpose: score files and playback use these.
inline constexpr std::array<NoteValue, kValueCount> noteValues = [] {
    using K = NoteKind;
    using F = NoteForm;
    return std::array<NoteValue, kValueCount>{{
    //  glyph  beats      kind            size form        dot trip tie alt
        {" ",   0.0f,      K::Blank,       0, F::Plain,     0,  0,  0,  0},  // 0
        {"0",   4.0f,      K::Note,        0, F::Plain,     2,  1, 53, 29},  // 1
        {"6",   6.0f,      K::Note,        0, F::Dotted,    1,  2,  2, 30},  // 2
        {"1",   2.0f,      K::Note,        1, F::Plain,     4,  3, 54, 31},  // 3
        {"7",   3.0f,      K::Note,        1, F::Dotted,    3,  4,  4, 32},  // 4
        {"2",   1.0f,      K::Note,        2, F::Plain,     6, 41, 55, 33},  // 5
        {"8",   1.5f,      K::Note,        2, F::Dotted,    5,  6,  6, 34},  // 6
        {"3",   0.5f,      K::Note,        3, F::Plain,     8, 42, 56, 35},  // 7
        {"9",   0.75f,     K::Note,        3, F::Dotted,    7,  8,  8, 36},  // 8
        {"4",   0.25f,     K::Note,        4, F::Plain,    10, 43, 57, 37},  // 9
        {":",   0.375f,    K::Note,        4, F::Dotted,    9, 10, 10, 38},  // 10
        {"5",   0.125f,    K::Note,        5, F::Plain,    12, 11, 58, 39},  // 11
        {";",   0.1875f,   K::Note,        5, F::Dotted,   11, 12, 12, 40},  // 12
        {"=",   4.0f,      K::Rest,        0, F::Plain,    14, 13, 13, 13},  // 13
        {"=.",  6.0f,      K::Rest,        0, F::Dotted,   13, 14, 14, 14},  // 14
        {"?",   2.0f,      K::Rest,        1, F::Plain,    16, 15, 15, 15},  // 15
        {"?.",  3.0f,      K::Rest,        1, F::Dotted,   15, 16, 16, 16},  // 16
        {"F",   1.0f,      K::Rest,        2, F::Plain,    18, 44, 17, 17},  // 17
        {"F.",  1.5f,      K::Rest,        2, F::Dotted,   17, 18, 18, 18},  // 18
        {"G",   0.5f,      K::Rest,        3, F::Plain,    20, 45, 19, 19},  // 19
        {"G.",  0.75f,     K::Rest,        3, F::Dotted,   19, 20, 20, 20},  // 20
        {"N",   0.25f,     K::Rest,        4, F::Plain,    22, 46, 21, 21},  // 21
        {"N.",  0.375f,    K::Rest,        4, F::Dotted,   21, 22, 22, 22},  // 22
        {"O",   0.125f,    K::Rest,        5, F::Plain,    24, 23, 23, 23},  // 23
        {"O.",  0.1875f,   K::Rest,        5, F::Dotted,   23, 24, 24, 24},  // 24
        {"(",   0.0f,      K::BarLine,     0, F::Plain,    25, 25, 25, 25},  // 25
        {")",   0.0f,      K::RepeatStart, 0, F::Plain,    26, 26, 26, 26},  // 26
        {"+",   0.0f,      K::RepeatEnd,   0, F::Plain,    27, 27, 27, 27},  // 27
        {"-",   0.0f,      K::FirstEnding, 0, F::Plain,    28, 28, 28, 28},  // 28
        {"0",   4.0f,      K::Note,        0, F::Plain,    30, 29, 59,  1},  // 29
        {"6",   6.0f,      K::Note,        0, F::Dotted,   29, 30, 30,  2},  // 30
        {"A",   2.0f,      K::Note,        1, F::Plain,    32, 31, 60,  3},  // 31
        {"I",   3.0f,      K::Note,        1, F::Dotted,   31, 32, 32,  4},  // 32
        {"B",   1.0f,      K::Note,        2, F::Plain,    34, 47, 61,  5},  // 33
        {"J",   1.5f,      K::Note,        2, F::Dotted,   33, 34, 34,  6},  // 34
        {"C",   0.5f,      K::Note,        3, F::Plain,    36, 48, 62,  7},  // 35
        {"K",   0.75f,     K::Note,        3, F::Dotted,   35, 36, 36,  8},  // 36
        {"D",   0.25f,     K::Note,        4, F::Plain,    38, 49, 63,  9},  // 37
        {"L",   0.375f,    K::Note,        4, F::Dotted,   37, 38, 38, 10},  // 38
        {"E",   0.125f,    K::Note,        5, F::Plain,    40, 39, 64, 11},  // 39
        {"M",   0.1875f,   K::Note,        5, F::Dotted,   39, 40, 40, 12},  // 40
        {"X",   0.666666f, K::Note,        2, F::Triplet,  41,  5, 41, 47},  // 41
        {"Y",   0.333333f, K::Note,        3, F::Triplet,  42,  7, 42, 48},  // 42
        {"Z",   0.166666f, K::Note,        4, F::Triplet,  43,  9, 43, 49},  // 43
        {"a",   0.666666f, K::Rest,        2, F::Triplet,  44, 17, 44, 50},  // 44
        {"b",   0.333333f, K::Rest,        3, F::Triplet,  45, 19, 45, 51},  // 45
        {"c",   0.166666f, K::Rest,        4, F::Triplet,  46, 21, 46, 52},  // 46
        {"d",   0.666666f, K::Note,        2, F::Triplet,  47, 33, 47, 41},  // 47
        {"e",   0.333333f, K::Note,        3, F::Triplet,  48, 35, 48, 42},  // 48
        {"f",   0.166666f, K::Note,        4, F::Triplet,  49, 37, 49, 43},  // 49
        {"g",   0.666666f, K::Rest,        2, F::Triplet,  50, 50, 50, 44},  // 50
        {"h",   0.333333f, K::Rest,        3, F::Triplet,  51, 51, 51, 45},  // 51
        {"i",   0.166666f, K::Rest,        4, F::Triplet,  52, 52, 52, 46},  // 52
        {"n",   4.0f,      K::Note,        0, F::Tied,     53, 53,  1, 59},  // 53
        {"o",   2.0f,      K::Note,        1, F::Tied,     54, 54,  3, 60},  // 54
        {"p",   1.0f,      K::Note,        2, F::Tied,     55, 55,  5, 61},  // 55
        {"q",   0.5f,      K::Note,        3, F::Tied,     56, 56,  7, 62},  // 56
        {"r",   0.25f,     K::Note,        4, F::Tied,     57, 57,  9, 63},  // 57
        {"s",   0.125f,    K::Note,        5, F::Tied,     58, 58, 11, 64},  // 58
        {"t",   4.0f,      K::Note,        0, F::Tied,     59, 59, 29, 53},  // 59
        {"u",   2.0f,      K::Note,        1, F::Tied,     60, 60, 31, 54},  // 60
        {"v",   1.0f,      K::Note,        2, F::Tied,     61, 61, 33, 55},  // 61
        {"w",   0.5f,      K::Note,        3, F::Tied,     62, 62, 35, 56},  // 62
        {"x",   0.25f,     K::Note,        4, F::Tied,     63, 63, 37, 57},  // 63
        {"y",   0.125f,    K::Note,        5, F::Tied,     64, 64, 39, 58},  // 64
    }};
}();
// clang-format on

constexpr bool validValue(std::int64_t v) {
    return v >= 0 && v < kValueCount;
}

// The value at v; a stray index reads as the blank value.
constexpr const NoteValue& noteValue(std::int64_t v) {
    return noteValues[static_cast<std::size_t>(validValue(v) ? v : 0)];
}

// True for the values of the other glyph family (stems down, triplet brackets below): the
// table lists each value of the first family before its partner.
constexpr bool secondFamily(std::int64_t v) {
    return validValue(v) && noteValue(v).alternate < v;
}

// The note or rest written so: kind Note or Rest, size, form and family; nothing when the
// table has none (a tied rest, a thirty-second triplet). Plain and dotted rests have one
// family, which serves for both.
constexpr std::optional<std::int64_t> writtenValue(NoteKind kind, int size, NoteForm form,
                                                   bool second) {
    std::optional<std::int64_t> found;
    for (std::int64_t v = 1; v < kValueCount; ++v) {
        const NoteValue& n = noteValue(v);
        if (n.kind != kind || n.size != size || n.form != form) continue;
        if (secondFamily(v) == second) return v;
        if (!found && noteValue(v).alternate == v) found = v;
    }
    return found;
}

// True for the note values that show a note head at the cell's pitch.
constexpr bool isPitched(std::int64_t v) {
    return validValue(v) && noteValue(v).kind == NoteKind::Note;
}

// The note-value buttons of the score window: row 0 notes and row 1 rests, whole to
// thirty-second; row 2 blank, dot, bar line, repeat start, repeat end, first ending. The
// value a button sets, or nothing for the blank and dot buttons (which change the value in
// place) and positions off the matrix.
inline constexpr std::int64_t kValueRows = 3;
inline constexpr std::int64_t kValueColumns = 6;
constexpr std::optional<std::int64_t> matrixValue(std::int64_t row, std::int64_t column) {
    if (column < 0 || column >= kValueColumns) return std::nullopt;
    if (row == 0) return 2 * column + 1;
    if (row == 1) return 2 * column + 13;
    if (row == 2 && column >= 2) return column + 23;
    return std::nullopt;
}

}  // namespace sorvel
