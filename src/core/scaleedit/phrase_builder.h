#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/score_cell.h"
#include "scaleedit/scale_table.h"

namespace sorvel {

class Alerts;
class PhraseScore;

namespace phrase {

// Editor note names count octaves from C: "C0" is the score's pitch 4 (C0, 261 Hz).
inline constexpr std::int64_t kSemitones = 24;
// clang-format off
inline constexpr std::array<std::string_view, kSemitones> cdArr = {
    "C0", "C0#", "D0", "D0#", "E0", "F0", "F0#", "G0", "G0#", "A0", "A0#", "B0",
    "C1", "C1#", "D1", "D1#", "E1", "F1", "F1#", "G1", "G1#", "A1", "A1#", "B1"};
// clang-format on

// Marks between groups of a phrase or line.
inline constexpr std::string_view kGroupMark = "00";
inline constexpr std::string_view kRepeatStart = "01";
inline constexpr std::string_view kRepeatEnd = "02";

// The pitch index and note value every mark cell carries; notes become quarter notes.
inline constexpr std::int64_t kMarkPitch = 17;
inline constexpr std::int64_t kQuarterNote = 5;

// Editor note name (sharp or flat) to semitone above C0; "00" gives -99.
std::optional<std::int64_t> cdDic(std::string_view name);
// Editor note name or mark code to the score's pitch index.
std::optional<std::int64_t> cdDic2(std::string_view name);

// Note buttons: one per name of cdArr except "B1".
inline constexpr std::size_t kNoteButtons = 23;

enum class Clef { Treble, Bass };

// Picture name of note button i for a clef: "S_" (treble) or "H_" (bass) + name + ".png";
// empty for a button that does not exist.
std::string noteButtonImage(std::size_t button, Clef clef);
// The note a button picture stands for: the name without its two-character clef prefix
// and its ".png". Empty when the picture is no note button's.
std::string noteFromImage(std::string_view image);

// The phrase moved by whole semitone steps, up (steps > 0) or down, one step at a time:
// each step drops the tokens that are no note names, keeps "00", and gives sharp names
// wrapped within C0 ... B1. Zero steps leave the phrase as it is.
std::string transposePhrase(std::string_view phrase, int steps);

// The line after the circle of fourths, and the phrase as the last key leaves it.
struct CircleResult {
    std::string line;
    std::string phrase;
};
// All twelve keys (short = false), or the start key and those reached after 1, 7, 8, 9,
// 10 and 11 fourths (short = true), each behind a "00" mark.
CircleResult circleOfFourths(std::string_view line, std::string_view phrase, bool shortForm);

// A chord symbol split into its root ("E0b") and suffix ("m7"); nothing for an empty token.
struct ChordSymbol {
    std::string root;
    std::string suffix;
};
std::optional<ChordSymbol> splitChordSymbol(std::string_view token);

// An offset of a pattern row: a decimal integer 0..12 with an optional sign.
std::optional<std::int64_t> patternOffset(std::string_view part);

// What the chord symbols (separated by spaces) append to a phrase: per symbol and per
// matching row in table order, its notes and a "00" mark.
std::string chordSymbolNotes(std::string_view symbols, const std::vector<ScaleRow>& rows);

// The cells a line becomes: notes as quarter notes, marks as (17, 25/26/27). Tokens that
// are neither are skipped and listed.
struct LineCells {
    std::vector<ScoreCell> cells;
    std::vector<std::string> skipped;
};
LineCells lineCells(std::string_view line);

// A phrase or line as the window shows it, "C0 E0 | G0": the tokens apart by spaces, the marks
// as "|" (group), "|:" and ":|" (repeats). storedNotes turns such a text (spaces or commas
// apart) back into the stored form, ",C0,E0,00,G0".
std::string readableNotes(std::string_view stored);
std::string storedNotes(std::string_view readable);

}  // namespace phrase

// The phrase builder: a phrase and a line of note names, built from note buttons, chord
// symbols and the circle of fourths, and the pattern table the chord symbols read.
class PhraseBuilder {
  public:
    static constexpr std::string_view kNoRowTitle = "コードエラー";
    static constexpr std::string_view kNoRowText = "コードを選択してください";
    static constexpr std::string_view kNewRowName = "NEW";

    explicit PhraseBuilder(ScaleTable& table) : table_(table) {}

    // The texts of the window's fields; the user may also type into them.
    std::string phrase;
    std::string line;
    std::string chords;

    phrase::Clef clef = phrase::Clef::Treble;
    std::string noteButtonImage(std::size_t button) const {
        return phrase::noteButtonImage(button, clef);
    }

    // A click on note button i appends its note to the phrase; false for no such button.
    bool clickNote(std::size_t button);
    // Appends the note a button picture stands for; false (nothing added) for any other.
    bool appendNoteFromImage(std::string_view image);

    void transposeUp() { phrase = phrase::transposePhrase(phrase, 1); }
    void transposeDown() { phrase = phrase::transposePhrase(phrase, -1); }
    void addPhraseToLine() { line += phrase; }
    void circleOfFourths(bool shortForm);
    // Appends the notes of the chord symbols to the phrase; returns what was appended.
    std::string applyChordSymbols();

    // Sends the line to the score; the line and phrase stay. Not accepted when the score
    // could not take it (the window then stays open); cells: how many were sent, skipped: the
    // tokens left out.
    struct SendResult {
        bool accepted = false;
        std::size_t cells = 0;
        std::vector<std::string> skipped;
    };
    SendResult sendLine(PhraseScore& score) const;
    // Plays the phrase as quarter notes.
    void playPhrase(PhraseScore& score) const;

    // The pattern table, kept for writing back at quit.
    const std::vector<ScaleRow>& rows() const { return table_.defItem; }
    std::size_t rowCount() const { return table_.defItem.size(); }
    // Field 0 (column 0) or field 1 (column 1) of a row; empty when the row lacks it.
    std::string field(std::size_t row, int column) const;
    // Editing a cell leaves the row with exactly its name and offsets. A value holding a
    // comma or a line break would not read back from scale.csv the same, so it is refused:
    // the message says why; nothing changes.
    std::optional<std::string> setField(std::size_t row, int column, const std::string& value);
    void addRow();
    // Removes the selected row; with none (or one out of range) shows the alert and keeps
    // the table.
    bool deleteRow(std::optional<std::size_t> selected, Alerts& alerts);

  private:
    ScaleTable& table_;
};

}  // namespace sorvel
