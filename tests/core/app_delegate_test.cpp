#include "app/app_delegate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app_test_ports.h"
#include "model/score_file.h"

namespace sorvel {
namespace {

using namespace sorvel::testing;

const std::string kScaleCsv = "maj,0:4:7\nm7,0:3:7:10\n";

class AppDelegateTest : public ::testing::Test {
  protected:
    AppDelegateTest() {
        dir.write("app/set/scale.csv", kScaleCsv);
        appFolder = dir.file("app");
    }

    AppDelegate& app() {
        if (!delegate_) {
            delegate_ = std::make_unique<AppDelegate>(
                AppPorts{alerts, dialogs, settings, windows, writer}, appFolder);
        }
        return *delegate_;
    }

    std::vector<std::string> alertTexts() const {
        std::vector<std::string> texts;
        for (const auto& a : alerts.shown) texts.push_back(a.text);
        return texts;
    }

    TempDir dir;
    std::string appFolder;
    FakeAlerts alerts;
    FakeDialogs dialogs;
    FakeSettings settings;
    FakeWindows windows;
    FakeWriter writer;
    DiagnosticCapture diag;

  private:
    std::unique_ptr<AppDelegate> delegate_;
};

TEST_F(AppDelegateTest, FreshStartUsesTheSetFolderBesideTheApplication) {
    ASSERT_TRUE(app().start({}));
    const std::string setFolder = appFolder + "/set";
    EXPECT_EQ(app().prefURLStr, setFolder);
    EXPECT_EQ(app().prefURL, setFolder);
    EXPECT_EQ(app().documentSetFolder(), setFolder);
    EXPECT_EQ(app().scaleTable.defItem.size(), 2u);
    EXPECT_FALSE(windows.prefsShown);

    // One untitled score window, and the title window until 2.0 seconds later.
    EXPECT_EQ(windows.docs.size(), 1u);
    EXPECT_TRUE(windows.titleShown);
    ASSERT_EQ(windows.scheduled.size(), 1u);
    EXPECT_EQ(windows.scheduled[0].first, 2.0);
    windows.runScheduled();
    EXPECT_FALSE(windows.titleShown);

    // Song mode, both items enabled.
    EXPECT_TRUE(app().mnSong.on && app().mnSong.enabled);
    EXPECT_TRUE(!app().mnExercise.on && app().mnExercise.enabled);
    EXPECT_FALSE(app().exerciseMode());
    EXPECT_TRUE(alerts.shown.empty());

    app().quit();
    EXPECT_EQ(settings.synced.at(kFilePassKey), setFolder);
    EXPECT_EQ(writer.files.at(setFolder + "/scale.csv"), kScaleCsv);
}

TEST_F(AppDelegateTest, StartWithFilePassUsesIt) {
    dir.write("mine/scale.csv", "x,0\r\n\r\ny,1,extra\r\n");
    const std::string mine = dir.file("mine");
    settings.values[kFilePassKey] = mine;
    ASSERT_TRUE(app().start({}));
    EXPECT_EQ(app().prefURL, mine);
    EXPECT_EQ(app().documentSetFolder(), mine);
    app().quit();
    EXPECT_EQ(settings.synced.at(kFilePassKey), mine);
    EXPECT_EQ(writer.files.at(mine + "/scale.csv"), "x,0\ny,1\n");
    EXPECT_EQ(writer.files.size(), 1u);
}

TEST_F(AppDelegateTest, ChosenFolderIsStoredAtQuitAndOnlyOnce) {
    ASSERT_TRUE(app().start({}));
    dialogs.folderAnswer = dir.file("other");
    app().selectFol();
    EXPECT_EQ(dialogs.folderMessages, (std::vector<std::string>{"select \"SET\" data folder"}));
    EXPECT_EQ(app().prefURL, dir.file("other"));
    // Score windows keep listing the old folder until the next launch.
    EXPECT_EQ(app().documentSetFolder(), appFolder + "/set");

    dialogs.folderAnswer.reset();
    app().selectFol();
    EXPECT_EQ(app().prefURL, dir.file("other"));

    app().quit();
    EXPECT_EQ(settings.synced.at(kFilePassKey), dir.file("other"));
    EXPECT_EQ(writer.files.count(dir.file("other") + "/scale.csv"), 1u);

    writer.files.clear();
    settings.synced.clear();
    app().quit();
    EXPECT_TRUE(writer.files.empty());
    EXPECT_TRUE(settings.synced.empty());
}

TEST_F(AppDelegateTest, NoSetFolderQuitsWithoutStoringAnything) {
    std::filesystem::remove(appFolder + "/set/scale.csv");
    dialogs.folderAnswer = dir.file("empty");
    EXPECT_FALSE(app().start({dir.write("s.txt", "<,sorvel2,0,3\n")}));
    EXPECT_EQ(windows.quitRequests, 1);
    EXPECT_TRUE(windows.docs.empty());
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].text,
              "Can't find \"SET\" data .\n\nPlease check the location of the \"set\" folder "
              "\nand launch Sorvel Score again .\n\nBye!");
    app().quit();
    EXPECT_TRUE(settings.values.empty());
    EXPECT_TRUE(writer.files.empty());
}

TEST_F(AppDelegateTest, UnreadableScaleCsvIsNotOverwrittenAtQuit) {
    dir.write("app/set/scale.csv", "maj,0:4:7\n\xFF\xFE\n");
    ASSERT_TRUE(app().start({}));
    EXPECT_TRUE(app().scaleTable.defItem.empty());
    app().quit();
    EXPECT_EQ(settings.synced.at(kFilePassKey), appFolder + "/set");
    EXPECT_TRUE(writer.files.empty());
}

TEST_F(AppDelegateTest, FailedScaleWriteAtQuitIsReported) {
    ASSERT_TRUE(app().start({}));
    writer.failWith = "Permission denied";
    app().quit();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].informative, "Permission denied");
    EXPECT_TRUE(
        diag.contains("Could not write " + appFolder + "/set/scale.csv: Permission denied"));
}

TEST_F(AppDelegateTest, ScoreFilesGivenAtStartOpenEach) {
    const std::string a = dir.write("a.txt", "<,sorvel2,0,3\n1,1\n");
    const std::string b = dir.write("dir/b c.txt", "<,sorvel2,0,3\n2,2\n3,3\n");
    ASSERT_TRUE(app().start({a, b}));
    ASSERT_EQ(windows.docs.size(), 2u);
    EXPECT_EQ(windows.titles[windows.docs[0].get()], "a.txt");
    EXPECT_EQ(windows.titles[windows.docs[1].get()], "b c.txt");
    EXPECT_EQ(windows.docs[1]->musicData.size(), 2u);
    EXPECT_EQ(app().rootDoc, windows.docs[1].get());
    EXPECT_EQ(windows.recent, (std::vector<std::string>{a, b}));
}

TEST_F(AppDelegateTest, RoutingWithoutAScoreWindowInFront) {
    const std::string first = "Please open the main window first";
    const std::string select = "Please open or select the main window and try again";
    struct Case {
        KeyWindowKind kind;
        std::function<void(AppDelegate&)> command;
        std::string alert;
    };
    const Case cases[] = {
        {KeyWindowKind::None, [](AppDelegate& a) { a.menuPageDown(); }, first},
        {KeyWindowKind::None, [](AppDelegate& a) { a.menuPageUp(); }, first},
        {KeyWindowKind::None, [](AppDelegate& a) { a.fileSave(); }, first},
        {KeyWindowKind::Other, [](AppDelegate& a) { a.menuPageDown(); }, select},
        {KeyWindowKind::Other, [](AppDelegate& a) { a.fileSave(); }, select},
        {KeyWindowKind::None, [](AppDelegate& a) { a.withScoreWindow([](Document&) {}); }, select},
        {KeyWindowKind::Other, [](AppDelegate& a) { a.withScoreWindow([](Document&) {}); }, select},
    };
    ASSERT_TRUE(app().start({}));
    Document* untitled = windows.docs.front().get();
    for (const Case& c : cases) {
        alerts.shown.clear();
        windows.key = {c.kind, nullptr};
        c.command(app());
        EXPECT_EQ(alertTexts(), (std::vector<std::string>{c.alert}));
        EXPECT_TRUE(dialogs.saveSuggestions.empty());
        EXPECT_NE(app().rootDoc, untitled);
    }
}

TEST_F(AppDelegateTest, RoutingReachesTheKeyScore) {
    ASSERT_TRUE(app().start({}));
    Document* doc = windows.docs.front().get();
    doc->musicData.assign(81, ScoreCell{17, 5});
    doc->showPage(1);
    Document* initialRoot = app().rootDoc;

    app().menuPageDown();
    EXPECT_EQ(doc->pGosen1, "2");
    app().menuPageUp();
    EXPECT_EQ(doc->pGosen1, "1");
    EXPECT_EQ(app().rootDoc, initialRoot);  // the key document route leaves rootDoc alone

    Document* reached = nullptr;
    app().withScoreWindow([&](Document& d) { reached = &d; });
    EXPECT_EQ(reached, doc);
    EXPECT_EQ(app().rootDoc, doc);
    EXPECT_TRUE(alerts.shown.empty());

    // A closing window no longer receives commands through rootDoc, nor undo steps.
    app().undoHistory().registerUndo(doc, [] { FAIL() << "a closed document's step ran"; });
    ASSERT_TRUE(app().undoHistory().canUndo());
    app().documentClosed(doc);
    EXPECT_EQ(app().rootDoc, initialRoot);
    EXPECT_FALSE(app().undoHistory().canUndo());
}

TEST_F(AppDelegateTest, ModesAndWindows) {
    ASSERT_TRUE(app().start({}));
    const int changes = windows.controlsChanges;
    app().menuExer();
    EXPECT_TRUE(app().exerciseMode());
    EXPECT_FALSE(app().mnSong.on);
    app().menuSong();
    EXPECT_TRUE(app().mnSong.on);
    EXPECT_FALSE(app().mnExercise.on);
    EXPECT_EQ(windows.controlsChanges, changes + 2);

    windows.runScheduled();
    app().menuAbout();
    EXPECT_TRUE(windows.titleShown);
    app().preferenceMenu();
    EXPECT_TRUE(windows.prefsShown);
}

TEST_F(AppDelegateTest, SaveWritesTheScoreAndRetitlesTheWindow) {
    ASSERT_TRUE(app().start({}));
    Document* doc = windows.docs.front().get();
    doc->musicData = {{17, 5}, {20, 3}};
    doc->cdText = {"C", "", ""};
    const std::string path = dir.file("out/tune.sorvel");
    dialogs.saveAnswer = path;

    app().fileSave();
    EXPECT_EQ(dialogs.saveSuggestions, (std::vector<std::string>{"Untitled"}));
    EXPECT_EQ(writer.files.at(path), "<,sorvel2,-1,3,440,0,0\n#C\n#\n#\n17,5\n20,3\n");
    EXPECT_EQ(windows.titles[doc], "tune.sorvel");
    EXPECT_TRUE(diag.contains("save successed"));
    EXPECT_EQ(app().rootDoc, doc);

    // The next save suggests the new title.
    dialogs.saveAnswer.reset();
    app().fileSave();
    EXPECT_EQ(dialogs.saveSuggestions.back(), "tune.sorvel");
    EXPECT_EQ(writer.files.size(), 1u);
}

TEST_F(AppDelegateTest, FailedSaveTellsTheUserAndKeepsTheTitle) {
    ASSERT_TRUE(app().start({}));
    Document* doc = windows.docs.front().get();
    dialogs.saveAnswer = dir.file("nowhere/x.txt");
    writer.failWith = "Could not write \"x.txt\": No such file or directory";
    app().fileSave();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].text, "The file could not be saved.");
    EXPECT_EQ(alerts.shown[0].informative, *writer.failWith);
    EXPECT_EQ(windows.titles[doc], "Untitled");
    EXPECT_FALSE(diag.contains("save successed"));
}

TEST_F(AppDelegateTest, SavedScoreOpensInANewWindowUnchanged) {
    ASSERT_TRUE(app().start({}));
    Document* doc = windows.docs.front().get();
    doc->musicData.clear();
    for (std::int64_t i = 0; i < 130; ++i) doc->musicData.push_back({i % 39, 1 + i % 12});
    doc->cmbTempo.select(5);
    doc->cmbBeat.select(1);
    doc->A_Hz = "442";
    doc->cdText = {"Dm7", "G7", "C"};
    dialogs.saveAnswer = dir.file("round trip.txt");
    app().fileSave();
    const std::string saved = writer.files.at(*dialogs.saveAnswer);
    dir.write("round trip.txt", saved);

    app().openFile("file://" + dir.path() + "/round%20trip.txt");
    ASSERT_EQ(windows.docs.size(), 2u);
    Document* opened = windows.docs.back().get();
    EXPECT_EQ(opened->musicData, doc->musicData);
    EXPECT_EQ(opened->cmbTempo.selected, 5);
    EXPECT_EQ(opened->A_Hz, "442");
    EXPECT_EQ(windows.titles[opened], "round trip.txt");
    EXPECT_EQ(app().rootDoc, opened);
    EXPECT_EQ(saveScore(*opened), saved);
}

TEST_F(AppDelegateTest, RejectedFilesOpenNoWindow) {
    ASSERT_TRUE(app().start({}));
    const std::size_t windowsBefore = windows.docs.size();
    Document* rootBefore = app().rootDoc;
    struct Case {
        std::string text;  // handed to the open routine
        std::string alertPrefix;
        bool recent;
    };
    const std::string bad = dir.write("bad.txt", "<,sorvel2,0,3\n17,5\n17,99\n");
    const std::string notScore = dir.write("notes.txt", "hello\n");
    const std::string latin1 = dir.write("latin1.txt", "<,sorvel2,0,3\n#caf\xE9\n");
    const Case cases[] = {
        {bad, "認識できないファイル形式です。", true},
        {notScore, "認識できないファイル形式です。", true},
        {latin1, "Can't open file \n\n", false},
        {dir.file("missing.txt"), "Can't open file \n\n", false},
        {dir.path(), "Can't open file \n\n", false},
        {"file://elsewhere/x.txt", "Can't open file \n\n", false},
    };
    for (const Case& c : cases) {
        alerts.shown.clear();
        windows.recent.clear();
        EXPECT_TRUE(app().openFile(c.text));
        ASSERT_EQ(alerts.shown.size(), 1u) << c.text;
        EXPECT_EQ(alerts.shown[0].text.rfind(c.alertPrefix, 0), 0u) << alerts.shown[0].text;
        // The error description follows the two line feeds.
        if (c.alertPrefix.front() == 'C') {
            EXPECT_GT(alerts.shown[0].text.size(), 20u);
        }
        EXPECT_EQ(windows.recent.size(), c.recent ? 1u : 0u) << c.text;
        EXPECT_EQ(windows.docs.size(), windowsBefore) << c.text;
        EXPECT_EQ(app().rootDoc, rootBefore);
    }
}

TEST_F(AppDelegateTest, OpenDialog) {
    ASSERT_TRUE(app().start({}));
    app().fileOpen();
    EXPECT_EQ(windows.docs.size(), 1u);
    dialogs.openAnswer = dir.write("x.txt", "<,sorvel2,0,3\n#A\n5,5\n");
    app().fileOpen();
    ASSERT_EQ(windows.docs.size(), 2u);
    EXPECT_EQ(windows.docs.back()->codeData, (std::vector<std::string>{"A"}));
    EXPECT_EQ(dialogs.openCalls, 2);
}

TEST_F(AppDelegateTest, RelativePathsAreRememberedAbsolute) {
    ASSERT_TRUE(app().start({}));
    dir.write("rel.txt", "<,sorvel2,0,3\n");
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    app().openFile("rel.txt");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(windows.recent, (std::vector<std::string>{dir.file("rel.txt")}));
    EXPECT_EQ(windows.docs.size(), 2u);
}

}  // namespace
}  // namespace sorvel
