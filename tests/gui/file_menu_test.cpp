// File > Page Setup, Print, Export PDF, the other exports and Import MusicXML of the running
// application, through its menus, with dialogs and a file chooser that answer at once.
#include <map>

#include "test_support.h"

namespace sorvel::test {
namespace {

// The application started as from the desktop, its printing answered by scripted dialogs.
class PrintMenu : public AppWithWindow {
  protected:
    void SetUp() override {
        printDialogs_ = &print_;
        AppWithWindow::SetUp();
    }
    QAction* action(const char* name) const { return AppTest::action(window_, name); }

    ScriptedPrintDialogs print_;
};

TEST_F(PrintMenu, ExportPdfWritesTheKeyWindowsScoreWithItsTitleAndUnstoredChordText) {
    // 170 cells of 40 a line make five staff lines: two pages of four.
    Document& doc = window_->document();
    testing::givenScore().cells(std::vector<ScoreCell>(170, {17, 5})).applyTo(doc);
    window_->setWindowTitle(QStringLiteral("Evening Song.txt"));
    // Typed into the chord field and never confirmed: still printed.
    typeInto(*window_, "cdText1", QStringLiteral("Cmaj7 G7sus4"));
    print_.answerPath = path("song.pdf");

    QAction* exportPdf = action("exportPdfAction");
    ASSERT_NE(exportPdf, nullptr);
    exportPdf->trigger();

    EXPECT_TRUE(alerts_.shown.empty());
    EXPECT_TRUE(print_.errors.isEmpty()) << print_.errors.join(' ').toStdString();
    EXPECT_TRUE(print_.suggestedSeen.endsWith(QStringLiteral("Evening Song.pdf")))
        << print_.suggestedSeen.toStdString();
    ASSERT_TRUE(QFile::exists(path("song.pdf")));
    EXPECT_EQ(pdfInfo(path("song.pdf"), "Pages"), QStringLiteral("2"));
    EXPECT_EQ(pdfInfo(path("song.pdf"), "Title"), QStringLiteral("Evening Song.txt"));
    const QString text =
        runTool(QStringLiteral("pdftotext"), {path("song.pdf"), QStringLiteral("-")});
    EXPECT_TRUE(text.contains("Evening Song.txt") && text.contains("Cmaj7 G7sus4"));
}

TEST_F(PrintMenu, PageSetupThroughTheMenuChangesThePaperOfPrintAndExport) {
    testing::givenScore().cells(std::vector<ScoreCell>(3, {17, 5})).applyTo(window_->document());
    print_.answerPath = path("a4.pdf");
    action("exportPdfAction")->trigger();
    EXPECT_EQ(pdfInfo(path("a4.pdf"), "Page size").left(9), QStringLiteral("595 x 842"));

    action("pageSetupAction")->trigger();
    print_.answerPath = path("letter.pdf");
    action("exportPdfAction")->trigger();
    EXPECT_EQ(pdfInfo(path("letter.pdf"), "Page size").left(9), QStringLiteral("612 x 792"));

    print_.printTo = path("printed.pdf");
    action("printAction")->trigger();
    EXPECT_EQ(pdfInfo(path("printed.pdf"), "Pages"), QStringLiteral("1"));
    EXPECT_EQ(pdfInfo(path("printed.pdf"), "Page size").left(9), QStringLiteral("612 x 792"));
    EXPECT_EQ(action("printAction")->shortcut(), QKeySequence(QKeySequence::Print));
}

TEST_F(PrintMenu, FileMenuHasThePrintItemsAfterSaveWithAccessKeysOfTheirOwn) {
    auto* file = window_->findChild<QMenu*>(QStringLiteral("fileMenu"));
    ASSERT_NE(file, nullptr);
    QStringList order, plain;
    std::map<QChar, QString> keys;
    for (QAction* a : file->actions()) {
        if (a->isSeparator()) continue;
        order << a->objectName();
        const QString text = a->text();
        plain << QString(text).remove(QLatin1Char('&')).remove(QChar(0x2026));
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (amp < 0 || amp + 1 >= text.size()) continue;
        // Two items on one key make the key cycle between them instead of choosing one.
        const auto [it, fresh] = keys.emplace(text.at(amp + 1).toLower(), text);
        EXPECT_TRUE(fresh) << text.toStdString() << " and " << it->second.toStdString();
    }
    const qsizetype setup = order.indexOf(QStringLiteral("pageSetupAction"));
    ASSERT_GE(setup, 1);
    EXPECT_EQ(plain.at(setup - 1), QStringLiteral("Save As"));
    EXPECT_EQ(order.mid(setup, 3),
              (QStringList{QStringLiteral("pageSetupAction"), QStringLiteral("printAction"),
                           QStringLiteral("exportPdfAction")}));
}

TEST_F(PrintMenu, WithNoScoreWindowInFrontEveryPrintItemAsksForTheMainWindow) {
    app_->showPreferencesWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app_->preferencesWindow()));
    testing::givenScore().cells(std::vector<ScoreCell>(3, {17, 5})).applyTo(window_->document());
    print_.answerPath = path("never.pdf");
    print_.printTo = path("never-printed.pdf");
    for (const char* name : {"pageSetupAction", "printAction", "exportPdfAction"}) {
        alerts_.shown.clear();
        action(name)->trigger();
        ASSERT_EQ(alerts_.shown.size(), 1u) << name;
        EXPECT_EQ(alerts_.shown.front().text, kSelectMainWindow) << name;
    }
    EXPECT_EQ(print_.calls, 0);
    EXPECT_FALSE(QFile::exists(path("never.pdf")));
    EXPECT_FALSE(QFile::exists(path("never-printed.pdf")));
}

// The exports and the import, with a scripted file chooser.
class ExchangeMenu : public AppWithWindow {
  protected:
    void SetUp() override {
        AppWithWindow::SetUp();
        app_->exchangeFileDialog = [this](bool save, const QString& filter,
                                          const QString& suggested) {
            asked << QStringLiteral("%1|%2|%3").arg(save ? "save" : "open", filter, suggested);
            return answer;
        };
    }

    QStringList asked;
    QString answer;
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

TEST_F(ExchangeMenu, MidiWavAndMxlExportCancelWritesNothingAndFailuresAreAlerts) {
    testing::givenScore().cells(kCells).applyTo(window_->document());
    for (auto [item, file, magic] : {std::tuple{"MIDI", "a.mid", "MThd"},
                                     {"WAV", "a.wav", "RIFF"},
                                     {"Compressed MusicXML", "a.mxl", "PK\x03\x04"}}) {
        answer = path(file);
        trigger(window_, item);
        EXPECT_TRUE(readFile(answer).startsWith(magic)) << item;
    }
    answer.clear();  // cancelled
    trigger(window_, "MusicXML");
    EXPECT_TRUE(QDir(dir_.path()).entryList({QStringLiteral("*.musicxml")}).isEmpty());
    EXPECT_TRUE(alerts_.shown.empty());

    // Failures are alerts and open no window.
    answer = path("no/such/folder/x.musicxml");
    trigger(window_, "MusicXML");
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_NE(alerts_.shown.front().text.find("could not be exported"), std::string::npos);

    // What the importer refuses is the core's; here its refusal reaches an alert.
    alerts_.shown.clear();
    answer = path("html.xml");
    writeFile(answer, "<html><body/></html>");
    trigger(window_, "Import MusicXML");
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_NE(alerts_.shown.front().text.find("could not be imported"), std::string::npos);
    EXPECT_EQ(app_->scoreWindows().size(), 1);
}

}  // namespace
}  // namespace sorvel::test
