// The phrase builder: note buttons, transposition, circle of fourths, chord symbols, the
// line sent to the score and the pattern table edits.
#include "scaleedit/phrase_builder.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "fakes.h"
#include "given.h"

namespace sorvel {
namespace {

using phrase::Clef;
using Cells = std::vector<ScoreCell>;

TEST(PhraseNoteButtons, PicturesPerClefAndTheNotesTheyAppend) {
    EXPECT_EQ(phrase::noteButtonImage(22, Clef::Bass), "H_A1#.png");
    EXPECT_EQ(phrase::noteButtonImage(23, Clef::Treble), "");  // B1 has no button
    for (std::size_t i = 0; i < phrase::kNoteButtons; ++i)
        for (Clef c : {Clef::Treble, Clef::Bass})
            EXPECT_EQ(phrase::noteFromImage(phrase::noteButtonImage(i, c)), phrase::cdArr[i]);
    for (const char* bad : {"", "S_", "S_B1.png", "S_00.png", "S_X9.png", "C0"})
        EXPECT_EQ(phrase::noteFromImage(bad), "") << bad;

    ScaleTable table;
    PhraseBuilder b(table);
    EXPECT_TRUE(b.clickNote(0));
    b.clef = Clef::Bass;
    EXPECT_TRUE(b.appendNoteFromImage(b.noteButtonImage(22)));
    EXPECT_FALSE(b.clickNote(23));
    EXPECT_FALSE(b.appendNoteFromImage("nothing"));
    EXPECT_EQ(b.phrase, ",C0,A1#");
}

TEST(PhraseTranspose, WrapsDropsAndKeepsMarks) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {",B1,00,D0b", 1, ",C0,00,D0"},
        {"C2,01,E0", 1, ",F0"},
        {",C0", -1, ",B1"},
        {",D0b,E1b,B0b", -1, ",C0,D1,A0"},  // flats come back as sharp names
        {",x,,00,, ,A1#", 1, ",00,B1"},     // garbage and empty tokens dropped
        {",c0,C0", 1, ",C0#"},              // names are case-sensitive
        {",C0,B1", 24, ",C0,B1"},           // two octaves round
        {",C0#,G1", 60, ",C1#,G0"},
        {",C0,junk", 0, ",C0,junk"},
    };
    for (const auto& [before, steps, after] : cases)
        EXPECT_EQ(phrase::transposePhrase(before, steps), after) << before << " by " << steps;
    for (std::string_view name : phrase::cdArr) {
        const std::string p = std::string(",").append(name);
        EXPECT_EQ(phrase::transposePhrase(phrase::transposePhrase(p, 1), -1), p);
    }
    ScaleTable table;
    PhraseBuilder b(table);
    b.phrase = ",B1,C2";
    b.transposeUp();
    EXPECT_EQ(b.phrase, ",C0");
    b.transposeDown();
    EXPECT_EQ(b.phrase, ",B1");
}

TEST(PhraseCircle, FullAndShortFormsAndEveryPitchClassOnce) {
    auto full = phrase::circleOfFourths(",B0", ",C0", false);
    EXPECT_EQ(full.line,
              ",B0,C0,00,F0,00,A0#,00,D1#,00,G1#,00,C0#,00,F0#,00,B0,00,E1,00,A1,00,D0,00,G0");
    EXPECT_EQ(full.phrase, ",G0");
    auto brief = phrase::circleOfFourths("", ",C0,E0", true);
    EXPECT_EQ(brief.line, ",C0,E0,00,F0,A0,00,B0,D1#,00,E1,G1#,00,A1,C0#,00,D0,F0#,00,G0,B0");
    EXPECT_EQ(brief.phrase, ",G0,B0");
    // From any single note the full form visits every pitch class once.
    for (std::string_view name : phrase::cdArr) {
        const std::string line =
            phrase::circleOfFourths("", std::string(",").append(name), false).line;
        std::multiset<std::int64_t> classes;
        std::istringstream tokens(line.substr(1));
        for (std::string t; std::getline(tokens, t, ',');)
            if (t != "00") classes.insert(*phrase::cdDic(t) % 12);
        EXPECT_EQ(classes.size(), 12u) << name;
        EXPECT_EQ(std::set<std::int64_t>(classes.begin(), classes.end()).size(), 12u) << name;
    }
}

TEST(PhraseChordSymbols, SplitRootAndSuffixAndReadOffsets) {
    // {symbol, root, suffix}
    const std::tuple<const char*, const char*, const char*> splits[] = {
        {"Ebm7", "E0b", "m7"}, {"C", "C0", ""},     {"f#", "F0#", ""},
        {"CB", "C0", "B"},     {"Hm7", "H0", "m7"}, {"#", "#0", ""}};
    for (const auto& [token, root, suffix] : splits) {
        const auto s = phrase::splitChordSymbol(token);
        ASSERT_TRUE(s) << token;
        EXPECT_EQ(s->root, root) << token;
        EXPECT_EQ(s->suffix, suffix) << token;
    }
    EXPECT_FALSE(phrase::splitChordSymbol(""));
    const std::pair<const char*, std::optional<std::int64_t>> offsets[] = {
        {"12", 12}, {"+4", 4},  {"007", 7},  {"13", {}},  {"-1", {}},
        {"+", {}},  {" 4", {}}, {"4.0", {}}, {"1e1", {}}, {"99999999999999999999999", {}}};
    for (const auto& [part, want] : offsets) EXPECT_EQ(phrase::patternOffset(part), want) << part;
}

TEST(PhraseChordSymbols, NotesFromThePatternTable) {
    const std::vector<ScaleRow> rows = {
        {"maj", "0:4:7"},         {"m7", "0:3:7:10"}, {"x", "13:-1:x:+4"}, {"dup", "0"},
        {"dup", "12", "ignored"}, {"solo"},           {"wide", "12"},      {"M7", "0:4:7:11"}};
    const std::pair<const char*, const char*> cases[] = {
        {"Ebm7", ",D0#,F0#,A0#,C1#,00"},
        {"Hm7", ""},
        {"Cx", ",E0,00"},                                  // bad offsets skipped
        {"Dm7 G7 CM7", ",D0,F0,A0,C1,00,C0,E0,G0,B0,00"},  // no row "7": G7 adds nothing
        {"  C  ", ",C0,E0,G0,00"},
        {"Cdup", ",C0,00,C1,00"},  // every row of that name, in table order
        {"Csolo", ",00"},
        {"Cbare", ""},  // "b" after the root makes it a flat: C0b is no root
        {"Bwide", ",B1,00"},
        {"0m7 00 1 #", ""},
        {"Cm", ""},  // suffixes match exactly
    };
    for (const auto& [symbols, added] : cases)
        EXPECT_EQ(phrase::chordSymbolNotes(symbols, rows), added) << symbols;

    testing::DiagCapture diag;
    ScaleTable table;
    table.defItem = {{"m7", "0:3:7:10"}};
    PhraseBuilder b(table);
    b.phrase = ",C0";
    b.chords = "Ebm7";
    EXPECT_EQ(b.applyChordSymbols(), ",D0#,F0#,A0#,C1#,00");
    EXPECT_EQ(b.phrase, ",C0,D0#,F0#,A0#,C1#,00");
    EXPECT_EQ(diag.lines, (std::vector<std::string>{"0 : D0#", "3 : F0#", "7 : A0#", "10 : C1#"}));
}

TEST(PhraseLine, CellsOfTheLine) {
    const std::tuple<const char*, Cells, std::vector<std::string>> cases[] = {
        {",C0,00,01,A0,02", {{4, 5}, {17, 25}, {17, 26}, {17, 5}, {17, 27}}, {}},
        {",,,", {}, {}},
        {",D0b,C0#,C2,B1b", {{6, 5}, {5, 5}, {38, 5}, {36, 5}}, {}},
        {",C0,zz,03, C0,E0", {{4, 5}, {10, 5}}, {"zz", "03", " C0"}},
    };
    for (const auto& [line, cells, skipped] : cases) {
        const auto r = phrase::lineCells(line);
        EXPECT_EQ(r.cells, cells) << line;
        EXPECT_EQ(r.skipped, skipped) << line;
    }
}

TEST(PhraseLine, SendingAndPlaying) {
    ScaleTable table;
    PhraseBuilder b(table);
    testing::FakePhraseScore score;
    b.phrase = ",C0,E0";
    b.addPhraseToLine();
    b.addPhraseToLine();
    b.line += ",01,typed";
    const PhraseBuilder::SendResult sent = b.sendLine(score);
    EXPECT_TRUE(sent.accepted);
    EXPECT_EQ(sent.cells, 5u);
    EXPECT_EQ(sent.skipped, std::vector<std::string>{"typed"});
    EXPECT_EQ(score.appended, (Cells{{4, 5}, {10, 5}, {4, 5}, {10, 5}, {17, 26}}));
    EXPECT_EQ(b.line, ",C0,E0,C0,E0,01,typed") << "the line stays for another send";

    score.accept = false;
    EXPECT_FALSE(b.sendLine(score).accepted);
    b.playPhrase(score);
    EXPECT_EQ(score.played, (Cells{{4, 5}, {10, 5}}));
    // An empty line still asks the score to show itself from its first line.
    b.line.clear();
    score.accept = true;
    EXPECT_EQ(b.sendLine(score).cells, 0u);
    EXPECT_EQ(score.appendCalls, 3);
}

TEST(PhraseTable, EditsAddAndDelete) {
    ScaleTable table;
    table.defItem = {{"a", "1:2", "zz"}, {"solo"}, {"m7", "0:3:7:10"}};
    PhraseBuilder b(table);
    testing::FakeAlerts alerts;
    EXPECT_EQ(b.field(1, 1), "");
    EXPECT_EQ(b.field(9, 0), "");

    EXPECT_FALSE(b.setField(0, 0, "new"));
    EXPECT_EQ(table.defItem[0], (ScaleRow{"new", "1:2"}));
    EXPECT_FALSE(b.setField(1, 1, "0:5"));
    EXPECT_EQ(table.defItem[1], (ScaleRow{"solo", "0:5"}));
    // Refused values and places leave the table alone.
    for (const char* bad : {"a,b", "x\ny", "x\r"}) EXPECT_TRUE(b.setField(2, 0, bad)) << bad;
    EXPECT_TRUE(b.setField(3, 0, "x"));
    EXPECT_TRUE(b.setField(0, 2, "x"));
    EXPECT_TRUE(b.setField(0, -1, "x"));
    EXPECT_EQ(table.defItem[2], (ScaleRow{"m7", "0:3:7:10"}));

    b.addRow();
    EXPECT_EQ(table.defItem.back(), (ScaleRow{"NEW", "NEW"}));
    EXPECT_FALSE(b.deleteRow(std::nullopt, alerts));
    EXPECT_FALSE(b.deleteRow(4, alerts));
    ASSERT_EQ(alerts.shown.size(), 2u);
    for (const testing::Alert& a : alerts.shown) {
        EXPECT_EQ(a.text, "コードエラー");
        EXPECT_EQ(a.informative, "コードを選択してください");
    }
    EXPECT_TRUE(b.deleteRow(1, alerts));
    EXPECT_EQ(table.defItem,
              (std::vector<ScaleRow>{{"new", "1:2"}, {"m7", "0:3:7:10"}, {"NEW", "NEW"}}));
    // An edited name is matched by the chord symbols at once.
    b.chords = "Cnew";
    EXPECT_EQ(b.applyChordSymbols(), ",C0#,D0,00");
}

}  // namespace
}  // namespace sorvel
