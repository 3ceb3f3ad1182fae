// File > Page Setup, Print and Export PDF of the running application, through its menus, with
// dialogs that answer at once.
#include <QFile>
#include <map>

#include "test_support.h"

namespace sorvel::test {
namespace {

// The application started as from the desktop, its printing answered by scripted dialogs.
class PrintMenu : public AppTest {
  protected:
    void SetUp() override {
        printDialogs_ = &print_;
        AppTest::SetUp();
        window_ = startWithOneWindow();
        ASSERT_NE(window_, nullptr);
    }
    QAction* action(const char* name) const {
        auto* a = window_->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }

    ScriptedPrintDialogs print_;
    ScoreWindow* window_ = nullptr;
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

}  // namespace
}  // namespace sorvel::test
