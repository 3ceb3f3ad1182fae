// The application state: launch and quit, opening and saving scores, menu routing and modes;
// unsaved work: the modified state of a score, the questions before a close or a quit, and the
// recovery snapshots a copy of the application leaves when it dies.
#include "app/app_delegate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/recent_files.h"
#include "app_test_ports.h"

namespace sorvel {
namespace {

using namespace sorvel::testing;
namespace fs = std::filesystem;

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

TEST(ModifiedState, FollowsWhatASaveWritesAndUndoBringsItBack) {
    const struct {
        const char* name;
        std::function<void(Document&)> edit;
        bool modifies, undoable;
    } cases[] = {
        {"update", [](Document& d) { d.setEntryPitch(20), d.btnUPDate(); }, true, true},
        {"insert", [](Document& d) { d.btnIns(); }, true, true},
        {"delete", [](Document& d) { d.selCellTo(3, 1), d.btnDel(); }, true, true},
        {"chord field", [](Document& d) { typeChordField(d, 1, "G7"); }, true, false},
        {"tempo", [](Document& d) { setTempo(d, 140); }, true, false},
        {"key", [](Document& d) { setKey(d, "Bb"); }, true, false},
        {"beats", [](Document& d) { setBeats(d, 3); }, true, false},
        {"pictures", [](Document& d) { d.chooseImageSet(1); }, true, false},
        {"reference pitch", [](Document& d) { typeReferencePitch(d, "442"); }, true, false},
        {"transpose", [](Document& d) { d.btnAllUpDown(0); }, true, false},
        // Nothing a save writes changes, or it comes back as it was.
        {"there and back", [](Document& d) { d.chooseTempo(5), d.chooseTempo(3); }, false, false},
        {"trailing blanks", [](Document& d) { typeChordField(d, 0, "C   "); }, false, false},
        {"pages", [](Document& d) { d.btnPageDown(), d.btnPageDown(), d.btnPageUp(); }, false,
         false},
        {"entry", [](Document& d) { d.setEntryPitch(7), d.selCell(5, 2); }, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc =
            givenScore().imageSets({"a", "b"}).cells(distinctCells(90)).chordLines({"C"}).build();
        ASSERT_FALSE(doc->modified());
        c.edit(*doc);
        EXPECT_EQ(doc->modified(), c.modifies);
        if (c.undoable) {
            doc->history().undo();
            EXPECT_FALSE(doc->modified()) << "undone to the state opened";
            doc->history().redo();
            EXPECT_TRUE(doc->modified());
        }
        doc->markSaved("/x.sorvel");
        EXPECT_FALSE(doc->modified());
        EXPECT_TRUE(doc->savesInPlace());
    }
}

// A running copy of the application on fake ports, sharing a recovery folder with others.
struct Copy : FakePorts {
    explicit Copy(const std::string& name) {
        processes.self = name;
        writer.writeThrough = true;
        dir.write("app/set/scale.csv", "maj,0:4:7\n");
    }
    TempDir dir;
    std::unique_ptr<AppDelegate> app;
    AppDelegate& start(const std::string& recovery, const std::vector<std::string>& files = {}) {
        app = std::make_unique<AppDelegate>(ports(), dir.file("app"), recovery);
        EXPECT_TRUE(app->start(files));
        return *app;
    }
    Document& doc(std::size_t i) { return *windows.docs.at(i); }
    // A cell typed, and the snapshot timer run out.
    void edit(Document& d) {
        setEntry(d, {20, 3});
        d.btnADD();
        app->documentChanged(d);
        app->writePendingSnapshots();
    }
};

std::size_t filesIn(const std::string& folder) {
    std::error_code ec;
    return std::ranges::count_if(fs::directory_iterator(folder, ec),
                                 [](const fs::directory_entry& e) { return e.is_regular_file(); });
}

TEST(UnsavedWork, QuitAsksAboutEachModifiedScoreAndCancelKeepsEverything) {
    const auto save = SaveChoice::Save, discard = SaveChoice::Discard, cancel = SaveChoice::Cancel;
    const struct {
        std::vector<SaveChoice> answers;
        bool dialogAnswers;  // the save dialog of the untitled score
        bool quits;
        std::vector<std::string> asked;
        bool bSaved, cSaved;
    } cases[] = {
        {{cancel}, true, false, {"b.sorvel (several)"}, false, false},
        {{discard, save}, true, true, {"b.sorvel (several)", "Untitled"}, false, true},
        {{discard, save}, false, false, {"b.sorvel (several)", "Untitled"}, false, false},
        {{SaveChoice::SaveAll}, true, true, {"b.sorvel (several)"}, true, true},
        {{SaveChoice::DiscardAll}, true, true, {"b.sorvel (several)"}, false, false},
        {{discard, cancel}, true, false, {"b.sorvel (several)", "Untitled"}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.asked) + (c.quits ? " quits" : " stays"));
        // given a clean score, a modified one with a file and a modified untitled one, each
        // with its snapshot
        Copy copy("me");
        const std::string recovery = copy.dir.file("recovery");
        const std::string a = copy.dir.write("a.sorvel", "<,sorvel2,0,3\n1,1\n");
        const std::string b = copy.dir.write("b.sorvel", "<,sorvel2,0,3\n2,2\n");
        AppDelegate& app = copy.start(recovery, {a, b});
        copy.windows.newScoreDocument();
        copy.edit(copy.doc(1));
        copy.edit(copy.doc(2));
        ASSERT_EQ(filesIn(recovery), 2u);
        copy.questions.saveAnswers = c.answers;
        if (c.dialogAnswers) copy.dialogs.saveAnswer = copy.dir.file("c.sorvel");
        const std::string bText = saveText(copy.doc(1));

        EXPECT_EQ(app.quitMayProceed(), c.quits);
        EXPECT_EQ(copy.questions.asked, c.asked);
        // b.sorvel in place, without asking.
        EXPECT_EQ(copy.writer.files.count(b) ? copy.writer.files.at(b) : "", c.bSaved ? bText : "");
        EXPECT_EQ(copy.writer.files.count(copy.dir.file("c.sorvel")) > 0, c.cSaved);
        EXPECT_EQ(copy.dialogs.saveSuggestions.size(), c.cSaved || !c.dialogAnswers ? 1u : 0u);
        // Snapshots go only with a quit that goes on; what is saved is no longer modified.
        EXPECT_EQ(filesIn(recovery), c.quits ? 0u : 2u);
        EXPECT_EQ(copy.doc(1).modified(), !c.bSaved);
        EXPECT_EQ(copy.doc(2).modified(), !c.cSaved);
    }
}

TEST(UnsavedWork, ClosingAWindowAsksOnlyAboutAModifiedScore) {
    Copy copy("me");
    const std::string recovery = copy.dir.file("recovery");
    const std::string a = copy.dir.write("a.sorvel", "<,sorvel2,0,3\n1,1\n");
    AppDelegate& app = copy.start(recovery, {a});
    Document& doc = copy.doc(0);
    EXPECT_TRUE(app.documentMayClose(doc));
    copy.edit(doc);
    copy.questions.saveAnswers = {SaveChoice::Cancel, SaveChoice::Save};
    EXPECT_FALSE(app.documentMayClose(doc));
    EXPECT_EQ(filesIn(recovery), 1u);
    EXPECT_TRUE(app.documentMayClose(doc));
    EXPECT_EQ(copy.questions.asked, (std::vector<std::string>{"a.sorvel", "a.sorvel"}));
    EXPECT_EQ(copy.writer.files.count(a), 1u) << "its own file, without asking";
    EXPECT_EQ(filesIn(recovery), 0u);
}

TEST(UnsavedWork, SnapshotsOfACopyThatDiedComeBackToTheNextCopyOnly) {
    TempDir shared;
    const std::string recovery = shared.file("recovery");
    // given a copy with an edited score from a file, an edited untitled one and a clean one
    Copy first("first");
    const std::string tune = first.dir.write("tune.sorvel", "<,sorvel2,0,3\n#C\n5,5\n");
    AppDelegate& app = first.start(recovery, {tune});
    first.windows.newScoreDocument();
    first.windows.newScoreDocument();
    first.edit(first.doc(0));
    first.edit(first.doc(1));
    const std::string texts[] = {saveText(first.doc(0)), saveText(first.doc(1))};
    // Undone to the state opened: its snapshot goes.
    first.edit(first.doc(2));
    first.doc(2).history().undo();
    app.documentChanged(first.doc(2));
    app.writePendingSnapshots();
    ASSERT_EQ(filesIn(recovery), 2u);

    // A copy starting while the first runs leaves them alone.
    Copy second("second");
    second.processes.alive = {"first"};
    second.start(recovery);
    EXPECT_TRUE(second.questions.restoreOffers.empty());

    // when the first dies, the next copy to start offers them back, once; a damaged file is
    // set aside and named
    Copy third("third");
    third.processes.alive = {"second"};
    shared.write("recovery/gone~1.recovery", "sorvel-recovery 1\n5 0\n<,so");
    third.start(recovery);
    ASSERT_EQ(third.alerts.shown.size(), 1u);
    EXPECT_NE(third.alerts.shown[0].informative.find("gone~1.recovery.damaged"), std::string::npos);
    ASSERT_EQ(third.questions.restoreOffers,
              (std::vector<std::vector<std::string>>{{"tune.sorvel", "Untitled"}}));
    ASSERT_EQ(third.windows.docs.size(), 2u) << "the restored scores, no untitled one";
    Copy fourth("fourth");
    fourth.processes.alive = {"second", "third"};
    fourth.start(recovery);
    EXPECT_TRUE(fourth.questions.restoreOffers.empty()) << "the third copy took them";

    // then each is as it was, modified, titled as before and bound to its file, and saving
    // asks where even for the one that has a file
    for (std::size_t i = 0; i < 2; ++i) {
        Document& doc = third.doc(i);
        EXPECT_EQ(saveText(doc), texts[i]);
        EXPECT_TRUE(doc.modified());
        EXPECT_FALSE(doc.savesInPlace());
    }
    EXPECT_EQ(third.doc(0).filePath(), tune);
    EXPECT_EQ(third.windows.titles[&third.doc(0)], "tune.sorvel");
    third.windows.key = {KeyWindowKind::Score, &third.doc(0)};
    third.dialogs.saveAnswer = third.dir.file("again.sorvel");
    third.app->fileSave();
    EXPECT_EQ(third.dialogs.saveSuggestions, (std::vector<std::string>{tune}));
    EXPECT_EQ(third.writer.files.count(tune), 0u);
    EXPECT_EQ(filesIn(recovery), 2u) << "the saved one's snapshot goes, the damaged one stays";

    // A copy that ends with modified scores open (a logout) leaves their snapshots; the
    // next copy's refusal removes them.
    third.app->quit();
    EXPECT_EQ(filesIn(recovery), 2u);
    Copy fifth("fifth");
    fifth.questions.restore = false;
    fifth.start(recovery);
    EXPECT_EQ(fifth.questions.restoreOffers.size(), 1u);
    EXPECT_EQ(fifth.windows.docs.size(), 1u);
    EXPECT_FALSE(fifth.doc(0).modified());
    EXPECT_EQ(filesIn(recovery), 1u) << "the damaged one";
}

}  // namespace
}  // namespace sorvel
