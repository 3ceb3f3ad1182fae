// File > Export and File > Import MusicXML of the running application, with a scripted file
// chooser.
#include <QFile>

#include "test_support.h"

namespace sorvel::test {
namespace {

class ExchangeMenu : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        app_->exchangeFileDialog = [this](bool save, const QString& filter,
                                          const QString& suggested) {
            asked << QStringLiteral("%1|%2|%3").arg(save ? "save" : "open", filter, suggested);
            return answer;
        };
        window_ = startWithOneWindow();
        ASSERT_NE(window_, nullptr);
    }

    QStringList asked;
    QString answer;
    ScoreWindow* window_ = nullptr;
};

const std::vector<ScoreCell> kCells = {{17, 5},  {19, 7},  {6, 8},   {17, 25}, {12, 3},
                                       {17, 19}, {17, 26}, {20, 53}, {20, 5},  {17, 27}};

TEST_F(ExchangeMenu, ExportMusicXmlWritesTheScoreInFrontAndImportOpensItAgain) {
    Document& doc = window_->document();
    testing::givenScore().cells(kCells).applyTo(doc);
    window_->setWindowTitle(QStringLiteral("Evening Song.txt"));
    // Typed and never confirmed: exported all the same.
    typeInto(*window_, "cdText1", QStringLiteral("Cmaj7  G7"));
    answer = path("song.musicxml");

    trigger(window_, "MusicXML");

    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked.front().startsWith(QStringLiteral("save|MusicXML (")));
    EXPECT_TRUE(asked.front().endsWith(QStringLiteral("Evening Song.musicxml")))
        << asked.front().toStdString();
    EXPECT_TRUE(alerts_.shown.empty());
    const QByteArray xml = readFile(answer);
    EXPECT_TRUE(xml.contains("<score-partwise")) << xml.left(200).toStdString();
    EXPECT_TRUE(xml.contains("Cmaj7") || xml.contains("major-seventh"));

    asked.clear();
    trigger(window_, "Import MusicXML");
    ASSERT_EQ(app_->scoreWindows().size(), 2);
    EXPECT_TRUE(asked.front().startsWith(QStringLiteral("open|")));
    ScoreWindow* imported = app_->scoreWindows().back();
    EXPECT_NE(imported, window_);
    EXPECT_EQ(testing::cells(imported->document()), kCells);
    ASSERT_FALSE(testing::chordLines(imported->document()).empty());
    EXPECT_EQ(testing::chordLines(imported->document()).front(), "Cmaj7  G7");
    // Named after the title the export gave it, and said so in the one alert of the import's
    // notes (what they say is the importer's).
    EXPECT_EQ(imported->windowTitle(), QStringLiteral("Evening Song.txt[*]"));
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_NE(alerts_.shown.front().informative.find("\"Evening Song\""), std::string::npos);
}

TEST_F(ExchangeMenu, MidiAndWavExportAndCancelWritesNothing) {
    testing::givenScore().cells(kCells).applyTo(window_->document());
    struct Case {
        const char* item;
        const char* file;
        const char* magic;
    };
    for (const Case& c : {Case{"MIDI", "a.mid", "MThd"}, Case{"WAV", "a.wav", "RIFF"},
                          Case{"Compressed MusicXML", "a.mxl", "PK\x03\x04"}}) {
        answer = path(c.file);
        trigger(window_, c.item);
        EXPECT_TRUE(readFile(answer).startsWith(c.magic)) << c.item;
    }
    answer.clear();  // cancelled
    trigger(window_, "MusicXML");
    EXPECT_TRUE(QDir(dir_.path()).entryList({QStringLiteral("*.musicxml")}).isEmpty());
    EXPECT_TRUE(alerts_.shown.empty());
}

TEST_F(ExchangeMenu, FailuresAreAlertsAndOpenNoWindow) {
    testing::givenScore().cells(kCells).applyTo(window_->document());
    answer = path("no/such/folder/x.musicxml");
    trigger(window_, "MusicXML");
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_NE(alerts_.shown.front().text.find("could not be exported"), std::string::npos);

    // What the importer refuses is the core's; here its refusal reaches an alert.
    alerts_.shown.clear();
    answer = path("html.xml");
    QFile f(answer);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html><body/></html>");
    f.close();
    trigger(window_, "Import MusicXML");
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_NE(alerts_.shown.front().text.find("could not be imported"), std::string::npos);
    EXPECT_EQ(app_->scoreWindows().size(), 1);
}

}  // namespace
}  // namespace sorvel::test
