// scale.csv: its rows, finding it at start-up, and writing the table back.
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes.h"
#include "scaleedit/scale_table.h"

namespace sorvel {
namespace {

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
