// The phrase builder: note buttons, transposition, circle of fourths, chord symbols, the
// line sent to the score and the pattern table edits; scale.csv, the pattern table's file.
#include "scaleedit/phrase_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "fakes.h"
#include "scaleedit/scale_table.h"

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

// scale.csv: its rows, finding it at start-up, and writing the table back.
using namespace sorvel::testing;

class ScaleTableStartUp : public ::testing::Test {
  protected:
    bool startUp() { return table.startUp(dir.file("app"), settings, dialogs, alerts); }

    TempDir dir;
    FakeAlerts alerts;
    FakeDialogs dialogs;
    FakeSettings settings;
    FakeWriter writer;
    DiagCapture diag;
    ScaleTable table;
};

TEST_F(ScaleTableStartUp, UnusableScaleCsvIsReportedAndNeverReplaced) {
    // A folder where the file should be, a file that is not UTF-8, and tables far too large.
    std::filesystem::create_directories(dir.file("app/set/scale.csv"));
    dir.write("latin/scale.csv", "maj,0:4:7\nd\xE9\x63,0\n");
    dir.write("huge/scale.csv", std::string((4u << 20) + 1, ','));
    std::string rows;
    for (int i = 0; i <= 10000; ++i) rows += "m,0:3:7\n";
    dir.write("long/scale.csv", rows);
    const std::pair<std::string, std::string> cases[] = {
        {dir.file("app") + "/set", "folder"},
        {dir.file("latin"), "UTF-8"},
        {dir.file("huge"), "too large"},
        {dir.file("long"), "more than 10000 rows"},
    };
    for (const auto& [folder, reason] : cases) {
        settings.values[kFilePassKey] = folder;
        alerts.shown.clear();
        ASSERT_TRUE(startUp()) << folder;
        EXPECT_TRUE(table.readFailed());
        EXPECT_TRUE(table.defItem.empty());
        ASSERT_EQ(alerts.shown.size(), 1u) << folder;
        EXPECT_EQ(alerts.shown[0].text, "The pattern table could not be read.");
        EXPECT_NE(alerts.shown[0].informative.find(reason), std::string::npos)
            << alerts.shown[0].informative;
        table.defItem.push_back({"NEW", "NEW"});
        EXPECT_FALSE(table.writeBack(folder, writer, alerts));
        EXPECT_TRUE(writer.files.empty());
        EXPECT_TRUE(diag.contains("scale.csv was not read at start-up; not writing " + folder +
                                  "/scale.csv"));
    }
}

TEST_F(ScaleTableStartUp, WritesTheEditedTableBackAndSaysWhenItCannot) {
    const std::string set = dir.file("app") + "/set";
    dir.write("app/set/scale.csv", "");  // an empty table was read, not a failure
    ASSERT_TRUE(startUp());
    EXPECT_TRUE(table.canWriteBack());

    dir.write("app/set/scale.csv", "maj,0:4:7,comment\nsolo\n");
    ASSERT_TRUE(startUp());
    EXPECT_FALSE(table.writeBack(set, writer, alerts));  // unchanged: the file keeps its comment
    table.defItem.push_back({"NEW", "NEW"});
    ASSERT_TRUE(table.writeBack(set, writer, alerts));
    EXPECT_EQ(writer.files.at(set + "/scale.csv"), "maj,0:4:7\nsolo,\nNEW,NEW\n");

    // A newly chosen set folder with a table of its own keeps it; one without gets ours.
    dir.write("other/scale.csv", "m,0:3:7\n");
    EXPECT_FALSE(table.writeBack(dir.file("other"), writer, alerts));
    EXPECT_EQ(writer.files.count(dir.file("other") + "/scale.csv"), 0u);
    std::filesystem::create_directories(dir.file("empty"));
    EXPECT_TRUE(table.writeBack(dir.file("empty"), writer, alerts));
    EXPECT_EQ(writer.files.at(dir.file("empty") + "/scale.csv"), "maj,0:4:7\nsolo,\nNEW,NEW\n");

    // The set folder's table turned unreadable meanwhile: left as it is, and said.
    dir.write("app/set/scale.csv", "maj,0:4:7\n\xFF\n");
    EXPECT_FALSE(table.writeBack(set, writer, alerts));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_NE(alerts.shown[0].informative.find("not UTF-8"), std::string::npos);
    alerts.shown.clear();

    writer.failWith = "disk full";
    EXPECT_FALSE(table.writeBack(dir.file("empty"), writer, alerts));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].informative, "disk full");
    EXPECT_TRUE(diag.contains("Could not write " + dir.file("empty") + "/scale.csv: disk full"));
}

TEST_F(ScaleTableStartUp, TwoCopiesOnOneSetFolderKeepEachOthersRows) {
    const std::string set = dir.file("app") + "/set";
    dir.write("app/set/scale.csv", "maj,0:4:7\nm,0:3:7\n");
    writer.writeThrough = true;
    ScaleTable other;
    ASSERT_TRUE(startUp());
    ASSERT_TRUE(other.startUp(dir.file("app"), settings, dialogs, alerts));
    // A row added by hand while both run.
    dir.write("app/set/scale.csv", "maj,0:4:7\nm,0:3:7\nhand,0:5\n");

    table.defItem.push_back({"first", "0:2"});
    ASSERT_TRUE(table.writeBack(set, writer, alerts));
    other.defItem.erase(other.defItem.begin() + 1);
    other.defItem.push_back({"second", "0:7"});
    other.defItem.push_back({"first", "0:2"});
    ASSERT_TRUE(other.writeBack(set, writer, alerts));
    EXPECT_EQ(parseScaleRows(writer.files.at(set + "/scale.csv")),
              (std::vector<ScaleRow>{
                  {"maj", "0:4:7"}, {"second", "0:7"}, {"first", "0:2"}, {"hand", "0:5"}}));
    EXPECT_TRUE(alerts.shown.empty());
}

// Odd files: any line ends, blank lines and extra fields are read; two fields are written.
TEST(ScaleTableFile, RowsFromAnyLineEndsAndWrittenBackWithTwoFields) {
    const std::vector<ScaleRow> rows = {{"maj", "0:4:7"}, {"m7", "0:3:7:10"}, {"solo"}};
    for (const std::string sep : {"\n", "\r\n", "\r", "\n\n"}) {
        const std::string text = "maj,0:4:7" + sep + "m7,0:3:7:10,x" + sep + sep + "solo" + sep;
        EXPECT_EQ(parseScaleRows(text), rows) << sep.size();
    }
    EXPECT_EQ(parseScaleRows(",\n"), (std::vector<ScaleRow>{{"", ""}}));
    EXPECT_EQ(scaleRowsText({{"m7", "0:3:7:10", "x"}, {"solo"}}), "m7,0:3:7:10\nsolo,\n");
}

}  // namespace
}  // namespace sorvel
