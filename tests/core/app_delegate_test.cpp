// The application state: launch and quit, opening and saving scores, menu routing and modes.
#include "app/app_delegate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/recent_files.h"
#include "app_test_ports.h"

namespace sorvel {
namespace {

using namespace sorvel::testing;

const std::string kScaleCsv = "maj,0:4:7\nm7,0:3:7:10\n";

// The application state on fake ports, in a temporary folder whose "app" is the application's.
struct AppUnderTest : FakePorts {
    TempDir dir;
    DiagCapture diag;
    AppDelegate app{ports(), dir.file("app")};
};

class AppDelegateTest : public ::testing::Test, protected AppUnderTest {
  protected:
    AppDelegateTest() { dir.write("app/set/scale.csv", kScaleCsv); }
    Document* firstDoc() { return windows.docs.front().get(); }
    const std::string appFolder = dir.file("app");
};

TEST(AppDelegate, LaunchAndQuitWithAndWithoutFilePass) {
    const struct {
        const char* name;
        std::string filePass;   // "" for none; relative to the temporary folder
        std::string scaleCsv;   // written at <set folder>/scale.csv
        std::string setFolder;  // the folder in use, relative to the temporary folder
        bool unreadable;
    } cases[] = {
        {"fresh", "", kScaleCsv, "app/set", false},
        {"filePass", "mine", "x,0\r\n\r\ny,1,extra\r\n", "mine", false},
        // An unreadable scale.csv is never overwritten; the folder is still remembered.
        {"not UTF-8", "", "maj,0:4:7\n\xFF\xFE\n", "app/set", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppUnderTest t;
        t.dir.write("app/set/scale.csv", kScaleCsv);  // a filePass folder wins over this one
        t.dir.write(c.setFolder + "/scale.csv", c.scaleCsv);
        if (!c.filePass.empty()) t.settings.values[kFilePassKey] = t.dir.file(c.filePass);
        ASSERT_TRUE(t.app.start({}));
        const std::string setFolder = t.dir.file(c.setFolder);
        EXPECT_EQ(t.app.prefURLStr, setFolder);
        EXPECT_EQ(t.app.prefURL, setFolder);
        EXPECT_EQ(t.app.documentSetFolder(), setFolder);
        EXPECT_FALSE(t.windows.prefsShown);
        // One untitled score window, and the title window until 2.0 seconds later.
        EXPECT_EQ(t.windows.docs.size(), 1u);
        EXPECT_TRUE(t.windows.titleShown);
        ASSERT_EQ(t.windows.scheduled.size(), 1u);
        EXPECT_EQ(t.windows.scheduled[0].first, 2.0);
        t.windows.runScheduled();
        EXPECT_FALSE(t.windows.titleShown);
        // Song mode, both items enabled.
        EXPECT_TRUE(t.app.mnSong.on && t.app.mnSong.enabled && t.app.mnExercise.enabled);
        EXPECT_FALSE(t.app.exerciseMode());
        // Only a table that could not be read is reported.
        EXPECT_EQ(t.alerts.shown.size(), c.unreadable ? 1u : 0u);

        // A table left as it was read is not written back.
        t.app.quit();
        EXPECT_EQ(t.settings.synced.at(kFilePassKey), setFolder);
        EXPECT_TRUE(t.writer.files.empty());
    }
}

TEST_F(AppDelegateTest, ChosenFolderIsStoredAtQuitAndOnlyOnce) {
    ASSERT_TRUE(app.start({}));
    dialogs.folderAnswer = dir.file("other");
    app.selectFol();
    EXPECT_EQ(dialogs.folderMessages, (std::vector<std::string>{"select \"SET\" data folder"}));
    EXPECT_EQ(app.prefURL, dir.file("other"));
    // Score windows keep listing the old folder until the next launch.
    EXPECT_EQ(app.documentSetFolder(), appFolder + "/set");
    dialogs.folderAnswer.reset();
    app.selectFol();
    EXPECT_EQ(app.prefURL, dir.file("other"));

    app.quit();
    EXPECT_EQ(settings.synced.at(kFilePassKey), dir.file("other"));
    // The new folder gets the table; the old folder's scale.csv is left as it is.
    EXPECT_EQ(writer.files.count(dir.file("other") + "/scale.csv"), 1u);
    EXPECT_EQ(writer.files.size(), 1u);
    writer.files.clear();
    settings.synced.clear();
    app.quit();
    EXPECT_TRUE(writer.files.empty());
    EXPECT_TRUE(settings.synced.empty());
}

TEST_F(AppDelegateTest, NoSetFolderQuitsWithoutStoringAnything) {
    std::filesystem::remove(appFolder + "/set/scale.csv");
    dialogs.folderAnswer = dir.file("empty");
    EXPECT_FALSE(app.start({dir.write("s.txt", "<,sorvel2,0,3\n")}));
    EXPECT_EQ(windows.quitRequests, 1);
    EXPECT_TRUE(windows.docs.empty());
    EXPECT_EQ(alerts.shown.size(), 1u);
    app.quit();
    EXPECT_TRUE(settings.values.empty());
    EXPECT_TRUE(writer.files.empty());
}

TEST_F(AppDelegateTest, ScoreFilesOpenInNewWindowsFromTheCommandLineAndTheDialog) {
    const std::string a = dir.write("a.txt", "<,sorvel2,0,3\n1,1\n");
    const std::string b = dir.write("dir/b c.txt", "<,sorvel2,0,3\n2,2\n3,3\n");
    ASSERT_TRUE(app.start({a, b}));
    ASSERT_EQ(windows.docs.size(), 2u);
    EXPECT_EQ(windows.titles[windows.docs[0].get()], "a.txt");
    EXPECT_EQ(windows.titles[windows.docs[1].get()], "b c.txt");
    EXPECT_EQ(cells(*windows.docs[1]), (std::vector<ScoreCell>{{2, 2}, {3, 3}}));
    EXPECT_EQ(app.rootDocument(), windows.docs[1].get());

    app.fileOpen();  // cancelled
    dialogs.openAnswer = dir.write("x.txt", "<,sorvel2,0,3\n#A\n5,5\n");
    app.fileOpen();
    ASSERT_EQ(windows.docs.size(), 3u);
    EXPECT_EQ(chordLines(*windows.docs.back()), (std::vector<std::string>{"A"}));
    EXPECT_EQ(dialogs.openCalls, 2);

    // Recent files are remembered by absolute path.
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    app.openFile("a.txt");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(windows.recent, (std::vector<std::string>{a, b, dir.file("x.txt"), a}));
    EXPECT_EQ(windows.docs.size(), 4u);
}

TEST_F(AppDelegateTest, RejectedFilesOpenNoWindow) {
    const std::string unknown = "認識できないファイル形式です。", cantOpen = "Can't open file \n\n";
    const struct {
        std::string text;  // handed to the open routine
        std::string alert, detail;
        bool recent;
    } cases[] = {
        // The fixed text, and below it what is wrong and where.
        {dir.write("bad.txt", "<,sorvel2,0,3\r\n17,5\r\n17,99\r\n"), unknown,
         "Line 3: cell line \"17,99\" is outside the tables.", true},
        {dir.write("notes.txt", "hello\n"), unknown, "The first line does not begin with \"<\".",
         true},
        {dir.write("latin1.txt", "<,sorvel2,0,3\n#caf\xE9\n"), cantOpen, "UTF-8", false},
        {dir.file("missing.txt"), cantOpen, "no such file", false},
        {dir.path(), cantOpen, "folder", false},
        {"/dev/zero", cantOpen, "not a regular file", false},  // never read: it has no end
        {"file://elsewhere/x.txt", cantOpen, "file://elsewhere/x.txt", false},
    };
    // A launch with only unopenable files leaves an untitled score; otherwise the alerts end
    // and a process without any window runs on.
    ASSERT_TRUE(app.start({cases[1].text, cases[3].text}));
    EXPECT_EQ(alerts.shown.size(), 2u);
    ASSERT_EQ(windows.docs.size(), 1u);
    EXPECT_EQ(windows.titles[windows.docs[0].get()], "Untitled");
    Document* rootBefore = app.rootDocument();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        alerts.shown.clear();
        windows.recent.clear();
        EXPECT_FALSE(app.openFile(c.text));
        ASSERT_EQ(alerts.shown.size(), 1u);
        const Alert& shown = alerts.shown[0];
        EXPECT_TRUE(shown.text.starts_with(c.alert)) << shown.text;
        EXPECT_NE((shown.text + shown.informative).find(c.detail), std::string::npos);
        EXPECT_EQ(windows.recent.size(), c.recent ? 1u : 0u);
        EXPECT_EQ(windows.docs.size(), 1u);
        EXPECT_EQ(app.rootDocument(), rootBefore);
    }

    // Running out of memory while opening is an alert; the open window stays.
    alerts.shown.clear();
    windows.failNextWithBadAlloc = true;
    EXPECT_FALSE(app.openFile(dir.write("big.txt", "<,sorvel2,0,3\n1,1\n")));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_NE(alerts.shown[0].informative.find("not enough memory"), std::string::npos);
    EXPECT_EQ(windows.docs.size(), 1u);
}

TEST_F(AppDelegateTest, SaveWritesTheScoreOrSaysWhyNot) {
    // given a score whose first chord field is typed, and a save dialog pointing nowhere
    ASSERT_TRUE(app.start({}));
    Document* doc = firstDoc();
    givenScore().cells({{17, 5}, {20, 3}}).applyTo(*doc);
    typeChordFields(*doc, {"C", "", ""});
    dialogs.saveAnswer = dir.file("nowhere/x.txt");
    writer.failWith = "Could not write \"x.txt\": No such file or directory";
    app.fileSave();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].text, "The file could not be saved.");
    EXPECT_EQ(alerts.shown[0].informative, *writer.failWith);
    EXPECT_EQ(windows.titles[doc], "Untitled");

    writer.failWith.reset();
    dialogs.saveAnswer = dir.file("out/tune.sorvel");
    app.fileSave();
    EXPECT_EQ(dialogs.saveSuggestions, (std::vector<std::string>{"Untitled", "Untitled"}));
    EXPECT_EQ(writer.files.at(*dialogs.saveAnswer),
              "<,sorvel2,-1,3,440,0,0\n#C\n#\n#\n17,5\n20,3\n");
    EXPECT_EQ(windows.titles[doc], "tune.sorvel");
    EXPECT_EQ(app.rootDocument(), doc);
    EXPECT_EQ(windows.recent, (std::vector<std::string>{*dialogs.saveAnswer}));
    // The next save writes the same file without asking; Save As asks, starting at the
    // file, and a cancelled dialog writes nothing.
    typeChordFields(*doc, {"D", "", ""});
    writer.files.clear();
    app.fileSave();
    EXPECT_EQ(dialogs.saveSuggestions.size(), 2u);
    EXPECT_EQ(writer.files.at(*dialogs.saveAnswer).substr(0, 26), "<,sorvel2,-1,3,440,0,0\n#D\n");
    dialogs.saveAnswer.reset();
    app.fileSaveAs();
    EXPECT_EQ(dialogs.saveSuggestions.back(), dir.file("out/tune.sorvel"));
    EXPECT_EQ(writer.files.size(), 1u);
    EXPECT_EQ(alerts.shown.size(), 1u);
}

TEST_F(AppDelegateTest, RoutingReachesTheKeyScoreUntilItsWindowClosesThenAsksForOne) {
    ASSERT_TRUE(app.start({}));
    Document* doc = firstDoc();
    givenScore().cells(std::vector<ScoreCell>(81, {17, 5})).applyTo(*doc);
    Document* initialRoot = app.rootDocument();
    app.menuPageDown();
    EXPECT_EQ(topPage(*doc), 2);
    app.menuPageUp();
    EXPECT_EQ(topPage(*doc), 1);
    EXPECT_EQ(app.rootDocument(), initialRoot);  // the key document route leaves rootDoc alone
    Document* reached = nullptr;
    app.withScoreWindow([&](Document& d) { reached = &d; });
    EXPECT_EQ(reached, doc);
    EXPECT_EQ(app.rootDocument(), doc);
    EXPECT_TRUE(alerts.shown.empty());

    // A closing window no longer receives commands through rootDoc.
    app.documentClosed(doc);
    EXPECT_EQ(app.rootDocument(), initialRoot);

    // With no score window in front, commands ask for one.
    const std::string first = "Please open the main window first";
    const std::string select = "Please open or select the main window and try again";
    const struct {
        KeyWindowKind kind;
        std::function<void(AppDelegate&)> command;
        std::string alert;
    } cases[] = {
        {KeyWindowKind::None, [](AppDelegate& a) { a.menuPageUp(); }, first},
        {KeyWindowKind::None, [](AppDelegate& a) { a.fileSave(); }, first},
        {KeyWindowKind::Other, [](AppDelegate& a) { a.menuPageDown(); }, select},
        {KeyWindowKind::None, [](AppDelegate& a) { a.withScoreWindow([](Document&) {}); }, select},
    };
    for (const auto& c : cases) {
        alerts.shown.clear();
        windows.key = {c.kind, nullptr};
        c.command(app);
        ASSERT_EQ(alerts.shown.size(), 1u);
        EXPECT_EQ(alerts.shown[0].text, c.alert);
        EXPECT_TRUE(dialogs.saveSuggestions.empty());
        EXPECT_NE(app.rootDocument(), firstDoc());
    }
}

TEST(RecentFiles, NewestFirstOnceAndAtMostTen) {
    const struct {
        std::vector<std::string> remembered;
        std::vector<std::string> expected;
    } cases[] = {
        {{"/a", "/b", "/a"}, {"/a", "/b"}},
        {{"/a", "", "/b\nc", "/d\r"}, {"/a"}},  // no empty or multi-line paths
        {{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9", "/10", "/11"},
         {"/11", "/10", "/9", "/8", "/7", "/6", "/5", "/4", "/3", "/2"}},
    };
    for (const auto& c : cases) {
        testing::FakeSettings settings;
        for (const std::string& path : c.remembered) rememberRecentFile(settings, path);
        EXPECT_EQ(recentFiles(settings), c.expected);
    }
}

}  // namespace
}  // namespace sorvel
