// Printed pages: how many, and every kind of cell as a golden page of drawing calls; the
// pictures of the note-value and phrase builder buttons; the notation tables they draw from,
// and chord lines moved a semitone.
#include "view/print_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "edit/chord_lines.h"
#include "fakes.h"
#include "golden.h"
#include "model/notation_tables.h"
#include "model/note_values.h"
#include "scaleedit/phrase_builder.h"
#include "view/button_pictures.h"

namespace sorvel {
namespace {

using testing::RecordingCanvas;

// A band of 200 points per staff line: staff spacing 10, a cell of a 40-cell line 10 wide.
constexpr Rect kPage{10, 20, 400, 944};

PrintView viewOf(std::vector<ScoreCell> cells, std::vector<std::string> chords = {},
                 std::int64_t cellMax = 40) {
    PrintView v(Score{std::move(cells), std::move(chords), {}}, "Song", "/sets", "names");
    v.cellMax = cellMax;
    v.knowsPageRange(kPage, {420, 984});
    return v;
}

// Pitch index of the natural note at a staff position.
std::int64_t at(std::int64_t position) {
    return tables::Loc2idx[static_cast<std::size_t>(position)];
}

TEST(PrintView, PageCountCoversEveryCellWithFourLinesPerPage) {
    const struct {
        std::int64_t cells, cellMax, pages;
    } cases[] = {{0, 40, 0},     {1, 40, 1}, {160, 40, 1}, {161, 40, 2},
                 {1601, 40, 11}, {9, 2, 2},  {8, 2, 1},    {5, 0, 0}};
    for (const auto& c : cases) {
        const std::vector<ScoreCell> cells(static_cast<std::size_t>(c.cells), ScoreCell{17, 5});
        EXPECT_EQ(viewOf(cells, {}, c.cellMax).pageCount(), c.pages)
            << c.cells << " cells, " << c.cellMax << " per line";
    }
}

// Two pages of every kind of cell: glyphs with their accidentals and pictures, ledger lines,
// marks, triplets above and below (one across a staff line), ties over bars, rests and staff
// lines, a tie and a triplet cut by the page break, the short last page with its chord lines.
TEST(PrintView, EveryKindOfCellAsTheGoldenPages) {
    const ScoreCell pad{17, 5};
    // clang-format off
    std::vector<ScoreCell> cells = {
        // glyphs substituted for ties and triplets, accidentals, blanks and strays
        {17, 5}, {17, 18}, {1, 5}, {2, 5}, {17, 53}, {17, 55}, {17, 60}, {17, 41}, {17, 44},
        {17, 52}, {22, 55}, {1, 0}, {17, 25}, {0, 99}, {-3, 5},
        // ledger lines by position
        {0, 5}, {4, 5}, {7, 5}, {31, 5}, {34, 5}, {38, 5}, {0, 17}, {0, 25}, {0, 0},
        // bar, repeats, first ending
        {0, 25}, {0, 26}, {0, 27}, {0, 28},
        // triplets above and below
        {at(4), 43}, {at(6), 43}, {at(5), 43}, {at(4), 52}, {at(6), 52}, {at(5), 52},
        // a tie over a bar
        {at(4), 55}, {17, 25}, {at(4), 5}, pad,
        // a triplet from the end of line 1 into line 2
        {at(4), 47}, {at(6), 47}, {at(5), 47},
        // the other form bends the other way; rests and marks keep a tie; a tie on a tie; no
        // tie without a tie value; a tie that ends nowhere
        {at(9), 61}, {at(9), 33}, {at(5), 56}, {17, 17}, {17, 27}, {at(7), 5}, {at(4), 61},
        {at(5), 59}, {at(6), 7}, {at(4), 5}, {at(4), 5}, {at(4), 55}, {17, 17}, {at(4), 44},
        {at(6), 44}, {at(5), 44}, {at(4), 41}, {at(6), 41}, {at(5), 41}
    };
    // clang-format on
    // a tie into line 4 from the third cell before the line's end, over a rest and a bar
    cells.resize(117, pad);
    cells.insert(cells.end(), {{at(6), 55}, {17, 17}, {0, 25}, {at(6), 5}});
    cells.resize(157, pad);
    cells.insert(cells.end(), {{at(4), 41}, {at(4), 41}, {at(4), 55}, {at(4), 41}});
    cells.resize(170, pad);
    PrintView v = viewOf(cells, {"C1", "", "C3", "C4", "C5", "C6", "C7", "C8"});
    ASSERT_EQ(v.pageCount(), 2);
    std::string pages;
    for (std::int64_t page : {1, 2}) {
        RecordingCanvas canvas;
        v.drawPage(canvas, page);
        pages += "page " + std::to_string(page) + "\n" + canvas.recorded();
    }
    testing::expectGolden("print_pages.txt", pages);
    // Drawn again, page 1 is the same: nothing carries over from the page drawn before.
    RecordingCanvas again;
    v.drawPage(again, 1);
    EXPECT_EQ("page 1\n" + again.recorded(), pages.substr(0, pages.find("page 2\n")));
}

// Every phrase builder note in both clefs and every note-value button, on the staves'
// geometry.
TEST(ButtonPictures, NotesAndGlyphsAsTheGoldenPictures) {
    RecordingCanvas canvas;
    for (const bool bass : {false, true}) {
        for (std::size_t i = 0; i < phrase::kNoteButtons; ++i) {
            canvas.lines.push_back(std::string(phrase::cdArr[i]) + (bass ? " bass" : " treble"));
            drawNoteButton(canvas, phrase::cdArr[i], bass);
        }
    }
    for (std::int64_t v = 0; v < kValueCount; ++v) {
        canvas.lines.push_back("value " + std::to_string(v));
        drawValueButton(canvas, v, {22, 30});
    }
    testing::expectGolden("buttons.txt", canvas.recorded());
}

// The notation tables' consistency, and chord lines moved a semitone.
using namespace sorvel::tables;

TEST(NotationTables, PitchNamesAgreeWithAccidentalsPositionsAndFrequencies) {
    for (std::size_t i = 0; i < noteArr.size(); ++i) {
        const std::string name(noteArr[i]);
        EXPECT_EQ(shflArr[i], name.back() == '#' ? 1 : name.back() == 'b' ? -1 : 0) << name;
        // The natural at this staff position has the same letter.
        const auto natural = Loc2idx[static_cast<std::size_t>(locateArr[i])];
        EXPECT_EQ(noteArr[static_cast<std::size_t>(natural)].front(), name.front()) << name;
        // Both names of a black key share one frequency; otherwise pitches rise.
        if (i > 0) {
            EXPECT_EQ(freqArr[i] == freqArr[i - 1], shflArr[i] == -1) << name;
            EXPECT_GE(freqArr[i], freqArr[i - 1]) << name;
        }
    }
    EXPECT_EQ(freqArr[17], 440.0f);
    EXPECT_EQ(noteArr[17], "A1");
}

TEST(NoteValues, PartnersPairUpAndKeepLengthAndKind) {
    for (std::int64_t v = 0; v < kValueCount; ++v) {
        const NoteValue& n = noteValue(v);
        for (std::int64_t partner : {n.dotToggle, n.triplet, n.tie, n.alternate})
            ASSERT_TRUE(validValue(partner)) << v;
        // Every form swaps back to where it came from.
        EXPECT_EQ(noteValue(n.triplet).triplet, v) << v;
        EXPECT_EQ(noteValue(n.tie).tie, v) << v;
        EXPECT_EQ(noteValue(n.alternate).alternate, v) << v;
        // Alternates and ties are the same length and kind; a triplet keeps its kind.
        EXPECT_EQ(noteValue(n.alternate).beats, n.beats) << v;
        EXPECT_EQ(noteValue(n.alternate).kind, n.kind) << v;
        EXPECT_EQ(noteValue(n.tie).kind, n.kind) << v;
        EXPECT_EQ(noteValue(n.triplet).kind, n.kind) << v;
        if (n.tie != v) {
            EXPECT_EQ(noteValue(n.tie).beats, n.beats) << v;
        }
        // The dot pairs a plain value with its dotted form, worth half as much again, of the
        // same kind; every other value (marks, triplets, ties) is its own partner.
        const NoteValue& d = noteValue(n.dotToggle);
        EXPECT_EQ(d.dotToggle, v) << v;
        if (v >= 25 && (v < 29 || v > 40)) {
            EXPECT_EQ(n.dotToggle, v) << v;
        }
        if (n.dotToggle == v) continue;
        EXPECT_EQ(d.kind, n.kind) << v;
        EXPECT_FLOAT_EQ(std::max(d.beats, n.beats), std::min(d.beats, n.beats) * 1.5f) << v;
    }
    for (int v = 13; v <= 23; v += 2)
        EXPECT_EQ(std::string(noteValue(v).glyph) + ".", noteValue(v + 1).glyph);
    EXPECT_EQ(noteValue(-1).kind, NoteKind::Blank);
}

TEST(ChordLines, TransposeTable) {
    // {line, up, the line moved}
    const std::tuple<std::string, bool, std::string> cases[] = {
        {"C G7", true, "C# G#7 "},
        {"C# G#7 ", true, "D A7  "},  // the empty last token keeps its place
        {"am7", true, "A#m7 "},
        {"Bb7", false, "A7 "},
        {"B", true, "C "},
        {"C/E", true, "C#/E "},  // only the root before the suffix changes
        {"E# Cb H7 N.C.", true, "E# Cb H7 N.C. "},
        {"     ", true, "      "},
        {"", true, " "},
        {"C  G", true, "C#  G# "},               // two blanks give an empty token
        {"cB7", true, "C#B7 "},                  // a second letter is suffix, not accidental
        {"C#b", false, "Cb "},                   // only one accidental is part of the root
        {"fB", false, "EB "},                    // "B" is no accidental
        {"x", true, "x "},                       // no chord root: kept as typed
        {"\xC3\xA9m C", true, "\xC3\xA9m C# "},  // a non-ASCII first character is kept
    };
    for (const auto& [before, up, after] : cases)
        EXPECT_EQ(transposeChordLine(before, up), after)
            << "\"" << before << "\" " << (up ? "up" : "down");
    // Both spellings of a black key move to the same neighbour: up with sharps, down with flats.
    const char* sharps[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    const char* flats[] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
    for (int i = 0; i < 12; ++i) {
        for (const char* root : {sharps[i], flats[i]}) {
            EXPECT_EQ(transposeChordLine(std::string(root) + "m", true),
                      std::string(sharps[(i + 1) % 12]) + "m ");
            EXPECT_EQ(transposeChordLine(std::string(root) + "m", false),
                      std::string(flats[(i + 11) % 12]) + "m ");
        }
    }
}

}  // namespace
}  // namespace sorvel
