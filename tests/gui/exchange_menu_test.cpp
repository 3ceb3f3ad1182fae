// File > Export and File > Import MusicXML of the running application, with a scripted file
// chooser.
#include <QFile>
#include <QTemporaryDir>

#include "model/diagnostics.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

class ExchangeMenu : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(dir_.isValid());
        setDiagnosticSink([](std::string_view) {});
        app_->exchangeFileDialog = [this](bool save, const QString& filter,
                                          const QString& suggested) {
            asked << QStringLiteral("%1|%2|%3").arg(save ? "save" : "open", filter, suggested);
            return answer;
        };
        window_ = startWithOneWindow();
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        AppTest::TearDown();
        setDiagnosticSink({});
    }
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QByteArray read(const QString& p) const {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
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
    const QByteArray xml = read(answer);
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
    // Named after the title the export gave it, and said so.
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
        EXPECT_TRUE(read(answer).startsWith(c.magic)) << c.item;
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

    struct Case {
        const char* name;
        QByteArray content;
    };
    const Case cases[] = {{"not.musicxml", "plain words"},
                          {"html.xml", "<html><body/></html>"},
                          {"missing.musicxml", QByteArray()}};
    for (const Case& c : cases) {
        alerts_.shown.clear();
        answer = path(c.name);
        if (!c.content.isEmpty()) {
            QFile f(answer);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        trigger(window_, "Import MusicXML");
        ASSERT_EQ(alerts_.shown.size(), 1u) << c.name;
        EXPECT_NE(alerts_.shown.front().text.find("could not be imported"), std::string::npos);
        EXPECT_EQ(app_->scoreWindows().size(), 1) << c.name;
    }
}

TEST_F(ExchangeMenu, ImportListsWhatWasDroppedInOneAlert) {
    // A chord (two notes sounding together) and a second voice: neither fits a single line.
    const QByteArray xml = R"(<?xml version="1.0"?>
<score-partwise version="4.0"><part-list><score-part id="P1"><part-name>M</part-name></score-part></part-list>
<part id="P1"><measure number="1"><attributes><divisions>1</divisions></attributes>
<note><pitch><step>A</step><octave>4</octave></pitch><duration>1</duration><voice>1</voice><type>quarter</type></note>
<note><chord/><pitch><step>C</step><octave>5</octave></pitch><duration>1</duration><voice>1</voice><type>quarter</type></note>
<note><pitch><step>B</step><octave>4</octave></pitch><duration>1</duration><voice>2</voice><type>quarter</type></note>
</measure></part></score-partwise>)";
    answer = path("chord.musicxml");
    QFile f(answer);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(xml);
    f.close();
    trigger(window_, "Import MusicXML");
    ASSERT_EQ(app_->scoreWindows().size(), 2);
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_NE(alerts_.shown.front().text.find("could not be carried over"), std::string::npos);
    EXPECT_FALSE(alerts_.shown.front().informative.empty());
    const auto& cells = testing::cells(app_->scoreWindows().back()->document());
    ASSERT_FALSE(cells.empty());
    EXPECT_EQ(cells.front().noteIndex, 17);  // A4: the chord's lowest note stays
}

}  // namespace
}  // namespace sorvel::test
