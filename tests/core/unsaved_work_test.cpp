// Unsaved work: the modified state of a score, the questions before a close or a quit, and the
// recovery snapshots a copy of the application leaves when it dies.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app_test_ports.h"

namespace sorvel {
namespace {

using namespace sorvel::testing;
namespace fs = std::filesystem;

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
    std::size_t n = 0;
    for (const auto& entry : fs::directory_iterator(folder, ec)) n += entry.is_regular_file();
    return n;
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
