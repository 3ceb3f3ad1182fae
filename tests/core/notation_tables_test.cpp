#include "model/notation_tables.h"

#include <gtest/gtest.h>

#include <string>

using namespace sorvel::tables;

TEST(NotationTables, PitchNamesAgreeWithAccidentalsAndPositions) {
    for (std::size_t i = 0; i < noteArr.size(); ++i) {
        const std::string name(noteArr[i]);
        const int expectedShfl = name.back() == '#' ? 1 : name.back() == 'b' ? -1 : 0;
        EXPECT_EQ(shflArr[i], expectedShfl) << name;
        // The natural at this staff position has the same letter.
        const auto natural = Loc2idx[static_cast<std::size_t>(locateArr[i])];
        EXPECT_EQ(noteArr[static_cast<std::size_t>(natural)].front(), name.front()) << name;
    }
    EXPECT_EQ(noteArr[17], "A1");
    EXPECT_EQ(freqArr[17], 440.0f);
    // Both names of a black key share one frequency.
    for (std::size_t i = 0; i + 1 < noteArr.size(); ++i) {
        if (shflArr[i] == 1) {
            EXPECT_EQ(freqArr[i], freqArr[i + 1]) << noteArr[i];
        }
    }
    // The table's own roundings, not computed values.
    EXPECT_EQ(freqArr[4], 261.0f);
    EXPECT_EQ(freqArr[10], 330.0f);
    EXPECT_EQ(freqArr[20], 493.0f);
    EXPECT_EQ(freqArr[37], 988.0f);
    EXPECT_EQ(freqArr[38], 1046.0f);
}

TEST(NotationTables, ValueGroupsAndDurations) {
    // Plain values are odd, the next index is the dotted form worth half as much again.
    for (int v = 1; v <= 23; v += 2) {
        EXPECT_FLOAT_EQ(tempoArr[v + 1], tempoArr[v] * 1.5f) << v;
    }
    for (int v = 13; v <= 23; v += 2) EXPECT_EQ(std::string(onpArr[v]) + ".", onpArr[v + 1]);
    EXPECT_EQ(onpArr[18], "F.");
    EXPECT_EQ(tempoArr[6], 1.5f);
    EXPECT_EQ(tempoArr[41], 0.666666f);
    EXPECT_NE(tempoArr[41], 2.0f / 3.0f);
    EXPECT_EQ(tempoArr[42], 0.333333f);
    EXPECT_EQ(tempoArr[43], 0.166666f);
    // Alternate forms last as long as their primary forms.
    for (int v = 1; v <= 12; ++v) EXPECT_EQ(tempoArr[v], tempoArr[v + 28]);
    for (int v = 41; v <= 46; ++v) EXPECT_EQ(tempoArr[v], tempoArr[v + 6]);
    for (int v = 53; v <= 58; ++v) EXPECT_EQ(tempoArr[v], tempoArr[v + 6]);
    for (int v = 25; v <= 28; ++v) EXPECT_EQ(tempoArr[v], 0.0f);
}

TEST(NotationTables, PitchedValues) {
    int count = 0;
    for (int v = -1; v <= 65; ++v) {
        const bool expected = (v >= 1 && v <= 12) || (v >= 29 && v <= 43) ||
                              (v >= 47 && v <= 49) || (v >= 53 && v <= 64);
        EXPECT_EQ(isPitched(v), expected) << v;
        count += expected;
    }
    EXPECT_EQ(count, 12 + 15 + 3 + 12);
}

TEST(NotationTables, ChordRootsWrapAndSpell) {
    EXPECT_EQ(upCode[*codeDic("B")], "C");
    EXPECT_EQ(dnCode[*codeDic("C")], "B");
    EXPECT_EQ(upCode[*codeDic("Db")], "D");
    EXPECT_EQ(upCode[*codeDic("C#")], "D");
    EXPECT_EQ(dnCode[*codeDic("D")], "Db");
    EXPECT_FALSE(codeDic("H").has_value());
    EXPECT_FALSE(codeDic("c").has_value());
    // Up spells with sharps, down with flats, both names of a black key move alike.
    for (std::size_t i = 0; i < codeNames.size(); ++i) {
        EXPECT_EQ(upCode[i].find('b'), std::string_view::npos);
        EXPECT_EQ(dnCode[i].find('#'), std::string_view::npos);
        EXPECT_TRUE(codeDic(upCode[i]).has_value());
        EXPECT_TRUE(codeDic(dnCode[i]).has_value());
    }
}
