// The notation tables' consistency, and chord lines moved a semitone.
#include "model/notation_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "edit/chord_lines.h"
#include "model/note_values.h"

namespace sorvel {
namespace {

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
    }
    // The dot pairs a plain value with its dotted form, worth half as much again, of the same
    // kind; every other value (marks, triplets, ties) is its own partner.
    for (std::int64_t v = 1; v < kValueCount; ++v) {
        const NoteValue& n = noteValue(v);
        const NoteValue& d = noteValue(n.dotToggle);
        EXPECT_EQ(d.dotToggle, v) << v;
        if (n.dotToggle == v) continue;
        EXPECT_EQ(d.kind, n.kind) << v;
        EXPECT_FLOAT_EQ(std::max(d.beats, n.beats), std::min(d.beats, n.beats) * 1.5f) << v;
    }
    for (std::int64_t v = 25; v < kValueCount; ++v) {
        if (v >= 29 && v <= 40) continue;
        EXPECT_EQ(noteValue(v).dotToggle, v) << v;
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
