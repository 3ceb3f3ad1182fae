// The application with its real windows and menus: saving through the window and the atomic
// file writer, opening in new windows, failed saves, modes, preferences, and undo and redo
// through the Edit menu across windows.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>

#include "app/recent_files.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

using Cells = std::vector<ScoreCell>;

// Qt settings go to a folder of their own, never the user's.
class IsolatedConfig : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path()));
    }

  private:
    QTemporaryDir dir_;
};
::testing::Environment* const kIsolatedConfig =
    ::testing::AddGlobalTestEnvironment(new IsolatedConfig);

// The application started as from the desktop: one untitled score window in front.
class AppFiles : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        first_ = startWithOneWindow();
        ASSERT_NE(first_, nullptr);
    }
    ScoreWindow* newest() const { return app_->scoreWindows().last(); }

    ScoreWindow* first_ = nullptr;
};

TEST_F(AppFiles, SaveThroughTheWindowThenOpenInANewWindowGivesTheSameScore) {
    // given a score of three cells, chord text, a reference pitch and settings, all entered
    // through the window's controls
    ScoreWindow& w = *first_;
    click(w, {"pitchMtx_4", "onpMtx1_0_2", "btnUPDate",            // A1 quarter
              "pitchMtx_0", "pitchMtx_0", "pitchMtx_0",            // B1
              "onpMtx1_0_1", "btnADD", "onpMtx1_1_2", "btnADD"});  // B1 half, quarter rest
    typeInto(w, "cdText1", "C G7");
    typeInto(w, "cdText3", "F");
    typeInto(w, "A_Hz", "442");  // cdText3's editing ends
    QTest::keyClick(w.findChild<QLineEdit*>("A_Hz"), Qt::Key_Return);
    w.scoreArea()->setFocus();
    const std::pair<const char*, int> combos[] = {
        {"imgCombo", 1}, {"cmbTempo", 5}, {"cmbInKey", 2}, {"cmbBeat", 1}};
    for (auto [name, index] : combos) {
        auto* combo = w.findChild<QComboBox*>(name);
        ASSERT_GT(combo->count(), index) << name;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    // when saved through the File menu
    const QString saved = path("my song.txt");
    dialogs_.saveAnswer = saved.toStdString();
    trigger(first_, "Save");
    // then the file holds it all, and opens again in windows that show it and save it alike
    EXPECT_EQ(dialogs_.saveSuggestions, (std::vector<std::string>{"Untitled"}));
    EXPECT_EQ(readFile(saved),
              QByteArray("<,sorvel2,1,5,442,2,1\n#C G7\n#       \n#F\n17,5\n20,3\n17,17\n"));
    EXPECT_EQ(first_->windowTitle(), "my song.txt[*]");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"my song.txt"})
        << "no temporary file is left behind";

    // Opened through the system's request: a second window whose controls show the file.
    app_->delegate().openFile(saved.toStdString());
    ASSERT_EQ(app_->scoreWindows().size(), 2);
    ScoreWindow* second = newest();
    EXPECT_EQ(testing::cells(second->document()), testing::cells(first_->document()));
    EXPECT_EQ(second->windowTitle(), "my song.txt[*]");
    EXPECT_EQ(app_->delegate().rootDocument(), &second->document());
    EXPECT_EQ(second->findChild<QLineEdit*>("cdText1")->text(), "C G7");
    EXPECT_EQ(second->findChild<QLineEdit*>("cdText3")->text(), "F");
    EXPECT_EQ(second->findChild<QLineEdit*>("A_Hz")->text(), "442");
    for (auto [name, index] : combos) {
        EXPECT_EQ(second->findChild<QComboBox*>(name)->currentIndex(), index) << name;
    }
    EXPECT_EQ(labelText(*second, "allP"), "1");
    EXPECT_EQ(recentFiles(settings_).front(), saved.toStdString());

    // File > Open reaches the dialog and opens a third window.
    dialogs_.openAnswer = saved.toStdString();
    trigger(second, "Open");
    EXPECT_EQ(app_->scoreWindows().size(), 3);
    EXPECT_TRUE(alerts_.shown.empty());
}

TEST_F(AppFiles, AFailedSaveSaysSoAndWritesNothing) {
    QDir(dir_.path()).mkdir(QStringLiteral("a folder"));
    dialogs_.saveAnswer = path("a folder").toStdString();
    trigger(first_, "Save");
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_EQ(alerts_.shown[0].text, "The file could not be saved.");
    EXPECT_FALSE(alerts_.shown[0].informative.empty()) << "and why";
    EXPECT_EQ(first_->windowTitle(), "Untitled[*]");
    EXPECT_TRUE(QDir(path("a folder")).isEmpty());
}

TEST_F(AppFiles, SongAndExerciseAreARadioPairInEveryWindowsMenu) {
    trigger(first_, "New");
    ASSERT_EQ(app_->scoreWindows().size(), 2);
    auto item = [](QMainWindow* w, const char* name) { return w->findChild<QAction*>(name); };
    // The application starts in Song mode; a choice in one window shows in every window.
    for (auto [window, chosen, song] : {std::tuple{first_, "", true},
                                        {first_, "mnExercise", false},
                                        {newest(), "mnSong", true}}) {
        if (*chosen) item(window, chosen)->trigger();
        for (ScoreWindow* w : app_->scoreWindows()) {
            EXPECT_EQ(item(w, "mnSong")->isChecked(), song);
            EXPECT_EQ(item(w, "mnExercise")->isChecked(), !song);
        }
        EXPECT_EQ(app_->delegate().exerciseMode(), !song);
    }
}

TEST_F(AppFiles, PreferencesShowAndChooseTheSetFolder) {
    QMainWindow* prefs = qobject_cast<QMainWindow*>(app_->preferencesWindow());
    ASSERT_NE(prefs, nullptr);
    auto* prefURL = prefs->findChild<QLineEdit*>("prefURL");
    ASSERT_NE(prefURL, nullptr);
    EXPECT_EQ(prefURL->text().toStdString(), setFolder());
    EXPECT_FALSE(prefs->isVisible()) << "hidden at launch";
    trigger(first_, "Preferences");
    EXPECT_TRUE(prefs->isVisible());

    dialogs_.folderAnswer = dir_.path().toStdString();
    trigger(first_, "Choose Set Folder");
    EXPECT_EQ(prefURL->text(), dir_.path());
    EXPECT_EQ(app_->delegate().prefURLStr, setFolder()) << "until the next start";
    typeInto(*prefs, "prefURL", "/elsewhere");
    EXPECT_EQ(app_->delegate().prefURL, "/elsewhere");
}

using EditUndo = AppTest;

TEST_F(EditUndo, EachWindowUndoesItsOwnEditsAndAsksBeforeClosingAModifiedScore) {
    ScoreWindow* a = newWindow();
    QPointer<ScoreWindow> b = newWindow();
    ASSERT_TRUE(a && b);
    Document& da = a->document();
    Document& db = b->document();
    click(*a, {"pitchMtx_4", "onpMtx1_0_2", "btnUPDate"});
    click(*b, {"onpMtx1_0_0", "btnADD"});
    const Cells blank = {{0, 0}}, bEdited = {{0, 0}, {0, 1}};
    EXPECT_TRUE(a->isWindowModified() && b->isWindowModified());

    // The Edit menu acts on the score in front, and on nothing else.
    const struct {
        ScoreWindow* window;
        const char* item;
        Cells a, b;
    } steps[] = {
        {a, "Undo", blank, bEdited}, {b, "Undo", blank, blank}, {b, "Redo", blank, bEdited}};
    for (const auto& s : steps) {
        ASSERT_TRUE(makeKey(s.window));
        trigger(s.window, s.item);
        EXPECT_EQ(testing::cells(da), s.a);
        EXPECT_EQ(testing::cells(db), s.b);
        EXPECT_EQ(testing::staffMismatch(s.window->document()), "");
        EXPECT_EQ(s.window->isWindowModified(), testing::cells(s.window->document()) != blank);
    }

    // Closing asks; Cancel keeps the window, Don't Save closes it.
    questions_.saveAnswers = {SaveChoice::Cancel, SaveChoice::Discard};
    trigger(b, "Close");
    EXPECT_TRUE(b->isVisible());
    trigger(b, "Close");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(b.isNull());
    EXPECT_EQ(questions_.asked, (std::vector<std::string>{"Untitled 2", "Untitled 2"}));
}

}  // namespace
}  // namespace sorvel::test
