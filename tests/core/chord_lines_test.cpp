#include "edit/chord_lines.h"

#include <gtest/gtest.h>

#include "edit_test_document.h"

namespace sorvel {
namespace {

using testing::DiagCapture;

struct ChordCase {
    std::string before;
    bool up;
    std::string after;
};

TEST(ChordLines, TransposeTable) {
    const ChordCase cases[] = {
        {"C G7", true, "C# G#7 "},
        {"C# G#7 ", true, "D A7  "},  // the empty last token keeps its place
        {"am7", true, "A#m7 "},
        {"bb", true, "B "},
        {"Bb7", false, "A7 "},
        {"Db", true, "D "},
        {"C", false, "B "},
        {"B", true, "C "},
        {"C/E", true, "C#/E "},  // only the root before the suffix changes
        {"E# Cb H7 N.C.", true, "E# Cb H7 N.C. "},
        {"E# Cb H7 N.C.", false, "E# Cb H7 N.C. "},
        {"     ", true, "      "},
        {"       ", false, "        "},
        {"", true, " "},
        {"C  G", true, "C#  G# "},  // two blanks give an empty token
        {" F", false, " E "},
        {"cB7", true, "C#B7 "},  // a second letter is suffix, not accidental
        {"C#b", false, "Cb "},   // only one accidental is part of the root
        {"fB", false, "EB "},    // "B" is no accidental
        {"x", true, "x "},       // no chord root: kept as typed
        {"eb", false, "D "},
        {"\xC3\xA9m C", true, "\xC3\xA9m C# "},  // a non-ASCII first character is kept
        {"\xE2\x99\xAF", true, "\xE2\x99\xAF "},
    };
    for (const ChordCase& c : cases) {
        EXPECT_EQ(transposeChordLine(c.before, c.up), c.after)
            << "\"" << c.before << "\" " << (c.up ? "up" : "down");
    }
}

TEST(ChordLines, DiagnosticLinesForTokensOfTwoOrMoreCharacters) {
    DiagCapture diag;
    transposeChordLine("am7 C Bb", true);
    EXPECT_EQ(diag.lines, (std::vector<std::string>{"am7 : A", "am7 : m7", "m7 : m", "Bb : B",
                                                    "Bb : b", "b : b"}));
}

TEST(ChordLines, EveryRootMovesToItsNeighbour) {
    // Both spellings of a black key move to the same neighbour; twelve steps come home.
    const char* sharps[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    const char* flats[] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
    for (int i = 0; i < 12; ++i) {
        const std::string upExpected = std::string(sharps[(i + 1) % 12]) + "m ";
        const std::string downExpected = std::string(flats[(i + 11) % 12]) + "m ";
        EXPECT_EQ(transposeChordLine(std::string(sharps[i]) + "m", true), upExpected);
        EXPECT_EQ(transposeChordLine(std::string(flats[i]) + "m", true), upExpected);
        EXPECT_EQ(transposeChordLine(std::string(sharps[i]) + "m", false), downExpected);
        EXPECT_EQ(transposeChordLine(std::string(flats[i]) + "m", false), downExpected);
    }
}

}  // namespace
}  // namespace sorvel
