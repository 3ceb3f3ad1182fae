// The application with its real windows and menus: saving a score through the window and the
// atomic file writer, opening it again in a new window, failures, modes and preferences.
#include <gtest/gtest.h>

#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "../core/app_test_ports.h"
#include "app/app_delegate.h"
#include "app/settings.h"
#include "model/score_file.h"
#include "score_window.h"
#include "sorvel_application.h"
#include "test_support.h"

using sorvel::Document;
using sorvel::ScoreCell;
using sorvel::gui::PortOverrides;
using sorvel::gui::ScoreWindow;
using sorvel::gui::SorvelApplication;
using sorvel::test::clickButton;
using sorvel::test::labelText;
using sorvel::test::menuAction;

namespace {

// Qt settings (the recent files) go to a folder of their own, never the user's.
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

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QStringList recentFiles() {
    return QSettings().value(QStringLiteral("recentFiles")).toStringList();
}

class AppFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        settings_.values[sorvel::kFilePassKey] = sorvel::test::setFolder();
        PortOverrides ports;
        ports.alerts = &alerts_;
        ports.dialogs = &dialogs_;
        ports.settings = &settings_;
        ports.silent = true;  // the writer stays the real one
        app_ = std::make_unique<SorvelApplication>(QFileInfo(q(sorvel::test::setFolder())).path(),
                                                   ports);
        ASSERT_TRUE(app_->start({}));
        ASSERT_EQ(app_->scoreWindows().size(), 1);
        first_ = app_->scoreWindows().front();
        ASSERT_TRUE(makeKey(first_));
    }
    void TearDown() override { app_.reset(); }

    static bool makeKey(QWidget* w) {
        w->activateWindow();
        return QTest::qWaitForWindowActive(w);
    }
    static void trigger(QMainWindow* w, const char* text) {
        QAction* action = menuAction(*w, QString::fromUtf8(text));
        ASSERT_NE(action, nullptr) << text;
        action->trigger();
    }
    QString path(const QString& name) const { return dir_.filePath(name); }
    ScoreWindow* newest() const { return app_->scoreWindows().last(); }

    // Enters three cells, two chord lines and the settings through the window's controls.
    static void composeThroughTheWindow(ScoreWindow& w) {
        for (const char* name : {"pitchMtx_4", "onpMtx1_0_2", "btnUPDate",  // A1 quarter
                                 "pitchMtx_0", "pitchMtx_0", "pitchMtx_0",  // B1
                                 "onpMtx1_0_1", "btnADD",                   // B1 half
                                 "onpMtx1_1_2", "btnADD"}) {                // quarter rest
            ASSERT_TRUE(clickButton(w, name)) << name;
        }
        for (auto [field, text] : {std::pair{"cdText1", "C G7"}, std::pair{"cdText3", "F"}}) {
            auto* f = w.findChild<QLineEdit*>(field);
            ASSERT_NE(f, nullptr);
            f->setFocus();
            f->selectAll();
            QTest::keyClicks(f, text);
        }
        auto* aHz = w.findChild<QLineEdit*>("A_Hz");
        aHz->setFocus();  // cdText3's editing ends
        aHz->selectAll();
        QTest::keyClicks(aHz, "442");
        QTest::keyClick(aHz, Qt::Key_Return);
        w.scoreArea()->setFocus();
        for (auto [name, index] : {std::pair{"imgCombo", 1}, std::pair{"cmbTempo", 5},
                                   std::pair{"cmbInKey", 2}, std::pair{"cmbBeat", 1}}) {
            auto* combo = w.findChild<QComboBox*>(name);
            ASSERT_GT(combo->count(), index) << name;
            combo->setCurrentIndex(index);
            emit combo->activated(index);
        }
    }

    QTemporaryDir dir_;
    sorvel::testing::FakeAlerts alerts_;
    sorvel::testing::FakeDialogs dialogs_;
    sorvel::testing::FakeSettings settings_;
    std::unique_ptr<SorvelApplication> app_;
    ScoreWindow* first_ = nullptr;
};

void expectSameScore(const Document& got, const Document& want) {
    EXPECT_EQ(got.musicData, want.musicData);
    EXPECT_EQ(got.codeData, want.codeData);
    EXPECT_EQ(got.imgCombo.selected, want.imgCombo.selected);
    EXPECT_EQ(got.cmbTempo.selected, want.cmbTempo.selected);
    EXPECT_EQ(got.cmbInKey.selected, want.cmbInKey.selected);
    EXPECT_EQ(got.cmbBeat.selected, want.cmbBeat.selected);
    EXPECT_EQ(got.A_Hz, want.A_Hz);
}

}  // namespace

TEST_F(AppFiles, SaveThroughTheWindowThenOpenInANewWindowGivesTheSameScore) {
    composeThroughTheWindow(*first_);
    ASSERT_TRUE(makeKey(first_));
    const QString saved = path(QStringLiteral("my song.txt"));
    dialogs_.saveAnswer = saved.toStdString();
    trigger(first_, "Save");

    EXPECT_TRUE(alerts_.shown.empty());
    EXPECT_EQ(dialogs_.saveSuggestions, (std::vector<std::string>{"Untitled"}));
    EXPECT_EQ(readAll(saved), QByteArray("<,sorvel2,1,5,442,2,1\n"
                                         "#C G7\n"
                                         "#       \n"
                                         "#F\n"
                                         "17,5\n"
                                         "20,3\n"
                                         "17,17\n"));
    EXPECT_EQ(first_->windowTitle(), "my song.txt");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"my song.txt"})
        << "no temporary file is left behind";

    // Opened through the system's request: a second window.
    app_->delegate().openFile(saved.toStdString());
    ASSERT_EQ(app_->scoreWindows().size(), 2);
    ScoreWindow* second = newest();
    ASSERT_NE(second, first_);
    expectSameScore(second->document(), first_->document());
    EXPECT_EQ(second->windowTitle(), "my song.txt");
    EXPECT_EQ(app_->delegate().rootDoc, &second->document());
    // Its controls show what was read.
    EXPECT_EQ(second->findChild<QLineEdit*>("cdText1")->text(), "C G7");
    EXPECT_EQ(second->findChild<QLineEdit*>("cdText3")->text(), "F");
    EXPECT_EQ(second->findChild<QLineEdit*>("A_Hz")->text(), "442");
    EXPECT_EQ(second->findChild<QComboBox*>("cmbTempo")->currentIndex(), 5);
    EXPECT_EQ(second->findChild<QComboBox*>("cmbInKey")->currentIndex(), 2);
    EXPECT_EQ(second->findChild<QComboBox*>("cmbBeat")->currentIndex(), 1);
    EXPECT_EQ(second->findChild<QComboBox*>("imgCombo")->currentIndex(), 1);
    EXPECT_EQ(labelText(*second, "pGosen1"), "1");
    EXPECT_EQ(labelText(*second, "allP"), "1");
    EXPECT_EQ(second->document().gosen1.musicData[2], (ScoreCell{17, 17}));
    EXPECT_EQ(second->document().selCol, 1);
    EXPECT_EQ(recentFiles().value(0), saved);

    // Through File > Open with the dialog answering a file URL: a third window.
    dialogs_.openAnswer = QUrl::fromLocalFile(saved).toString(QUrl::FullyEncoded).toStdString();
    ASSERT_NE(dialogs_.openAnswer->find("%20"), std::string::npos);
    trigger(second, "Open");
    ASSERT_EQ(app_->scoreWindows().size(), 3);
    ScoreWindow* third = newest();
    expectSameScore(third->document(), first_->document());
    EXPECT_EQ(third->windowTitle(), "my song.txt");

    // The reopened score saves to the same bytes.
    ASSERT_TRUE(makeKey(third));
    const QString again = path(QStringLiteral("again.txt"));
    dialogs_.saveAnswer = again.toStdString();
    trigger(third, "Save");
    EXPECT_EQ(dialogs_.saveSuggestions.back(), "my song.txt");
    EXPECT_EQ(readAll(again), readAll(saved));
    EXPECT_EQ(third->windowTitle(), "again.txt");
    EXPECT_EQ(first_->windowTitle(), "my song.txt");
    EXPECT_TRUE(alerts_.shown.empty());
}

TEST_F(AppFiles, ANewScoreSavedAtOnceKeepsTheBlanksOfItsChordFields) {
    const QString saved = path(QStringLiteral("new.txt"));
    dialogs_.saveAnswer = saved.toStdString();
    trigger(first_, "Save");
    EXPECT_EQ(readAll(saved),
              QByteArray("<,sorvel2,0,3,440,0,0\n#       \n#       \n#       \n0,0\n"));
    EXPECT_EQ(first_->windowTitle(), "new.txt");
}

TEST_F(AppFiles, AFailedSaveSaysSoAndKeepsTheTitle) {
    QDir(dir_.path()).mkdir(QStringLiteral("a folder"));
    const QString targets[] = {
        path(QStringLiteral("no such folder/score.txt")),
        path(QStringLiteral("a folder")),  // a folder, not a file
    };
    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        alerts_.shown.clear();
        dialogs_.saveAnswer = target.toStdString();
        trigger(first_, "Save");
        ASSERT_EQ(alerts_.shown.size(), 1u);
        EXPECT_EQ(alerts_.shown[0].text, "The file could not be saved.");
        EXPECT_FALSE(alerts_.shown[0].informative.empty()) << "and why";
        EXPECT_EQ(first_->windowTitle(), "Untitled");
    }
    EXPECT_FALSE(QFileInfo::exists(targets[0]));
    EXPECT_TRUE(QFileInfo(targets[1]).isDir());
    EXPECT_EQ(
        QDir(path(QStringLiteral("a folder"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
        QStringList());

    // Cancelling the dialog writes nothing and says nothing.
    alerts_.shown.clear();
    dialogs_.saveAnswer.reset();
    trigger(first_, "Save");
    EXPECT_TRUE(alerts_.shown.empty());
    EXPECT_EQ(first_->windowTitle(), "Untitled");
}

TEST_F(AppFiles, FilesThatAreNoScoreOpenNoWindow) {
    struct Case {
        const char* name;
        QByteArray bytes;
        std::string alertStart;
        bool recent;  // goes into the recent files
    };
    const std::string unknown = "認識できないファイル形式です。";
    const std::string cantOpen = "Can't open file \n\n";
    const Case cases[] = {
        {"empty", "", unknown, true},
        {"plain text", "hello\n17,5\n", unknown, true},
        {"short header", "<,sorvel2,0\n17,5\n", unknown, true},
        {"header not integer", "<,sorvel2,x,3,440,0,0\n17,5\n", unknown, true},
        {"cell with one field", "<,sorvel2,0,3,440,0,0\n#C\n17\n", unknown, true},
        {"cell not integer", "<,sorvel2,0,3,440,0,0\n17,five\n", unknown, true},
        {"pitch out of table", "<,sorvel2,0,3,440,0,0\n39,5\n", unknown, true},
        {"value out of table", "<,sorvel2,0,3,440,0,0\n17,65\n", unknown, true},
        {"not UTF-8", "<,sorvel2,0,3,440,0,0\n#\xff\xfe\n17,5\n", cantOpen, false},
    };
    const Document* rootBefore = app_->delegate().rootDoc;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QString::fromLatin1(c.name) + ".txt");
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.bytes);
        }
        alerts_.shown.clear();
        app_->delegate().openFile(file.toStdString());
        ASSERT_EQ(alerts_.shown.size(), 1u);
        EXPECT_EQ(alerts_.shown[0].text.substr(0, c.alertStart.size()), c.alertStart);
        EXPECT_EQ(app_->scoreWindows().size(), 1) << "no window";
        EXPECT_EQ(recentFiles().contains(file), c.recent);
    }
    // A file that is not there.
    alerts_.shown.clear();
    app_->delegate().openFile(path(QStringLiteral("missing.txt")).toStdString());
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_EQ(alerts_.shown[0].text.substr(0, cantOpen.size()), cantOpen);
    EXPECT_EQ(app_->scoreWindows().size(), 1);
    // The window that was open is untouched.
    EXPECT_EQ(first_->document().musicData, (std::vector<ScoreCell>{{0, 0}}));
    EXPECT_EQ(app_->delegate().rootDoc, rootBefore);
}

TEST_F(AppFiles, SongAndExerciseAreARadioPairInEveryWindowsMenu) {
    trigger(first_, "New");
    ASSERT_EQ(app_->scoreWindows().size(), 2);
    ScoreWindow* second = newest();
    auto items = [](QMainWindow* w) {
        return std::pair{w->findChild<QAction*>("mnSong"), w->findChild<QAction*>("mnExercise")};
    };
    for (ScoreWindow* w : {first_, second}) {
        auto [song, exercise] = items(w);
        ASSERT_TRUE(song && exercise);
        EXPECT_TRUE(song->isCheckable());
        ASSERT_NE(song->actionGroup(), nullptr);
        EXPECT_EQ(song->actionGroup(), exercise->actionGroup());
        EXPECT_TRUE(song->actionGroup()->isExclusive());
        EXPECT_TRUE(song->isChecked()) << "the application starts in Song mode";
        EXPECT_FALSE(exercise->isChecked());
    }
    EXPECT_TRUE(app_->delegate().mnSong.on);
    EXPECT_FALSE(app_->delegate().exerciseMode());

    items(first_).second->trigger();
    EXPECT_TRUE(app_->delegate().exerciseMode());
    EXPECT_FALSE(app_->delegate().mnSong.on);
    for (ScoreWindow* w : {first_, second}) {
        EXPECT_FALSE(items(w).first->isChecked());
        EXPECT_TRUE(items(w).second->isChecked());
    }
    items(second).first->trigger();
    EXPECT_FALSE(app_->delegate().exerciseMode());
    EXPECT_TRUE(app_->delegate().mnSong.on);
    for (ScoreWindow* w : {first_, second}) {
        EXPECT_TRUE(items(w).first->isChecked());
        EXPECT_FALSE(items(w).second->isChecked());
    }
}

TEST_F(AppFiles, PreferencesShowTheSetFolderAndAChosenOneUntilTheNextStart) {
    QMainWindow* prefs = qobject_cast<QMainWindow*>(app_->preferencesWindow());
    ASSERT_NE(prefs, nullptr);
    auto* prefURL = prefs->findChild<QLineEdit*>("prefURL");
    ASSERT_NE(prefURL, nullptr);
    EXPECT_EQ(prefURL->text(), q(sorvel::test::setFolder()));
    EXPECT_FALSE(prefs->isVisible()) << "hidden at launch";

    trigger(first_, "Preferences");
    EXPECT_TRUE(prefs->isVisible());

    dialogs_.folderAnswer = dir_.path().toStdString();
    trigger(first_, "Choose Set Folder");
    EXPECT_EQ(dialogs_.folderMessages, (std::vector<std::string>{"select \"SET\" data folder"}));
    EXPECT_EQ(prefURL->text(), dir_.path());
    EXPECT_EQ(app_->delegate().prefURL, dir_.path().toStdString());
    EXPECT_EQ(app_->delegate().prefURLStr, sorvel::test::setFolder()) << "until the next start";
    // A cancelled chooser changes nothing.
    dialogs_.folderAnswer.reset();
    trigger(first_, "Choose Set Folder");
    EXPECT_EQ(prefURL->text(), dir_.path());

    // Typed into the field.
    prefURL->setFocus();
    prefURL->selectAll();
    QTest::keyClicks(prefURL, "/elsewhere");
    EXPECT_EQ(app_->delegate().prefURL, "/elsewhere");

    // With the preferences window in front, Save finds no score and asks for none.
    ASSERT_TRUE(makeKey(prefs));
    dialogs_.saveAnswer = path(QStringLiteral("x.txt")).toStdString();
    trigger(prefs, "Save");
    EXPECT_TRUE(dialogs_.saveSuggestions.empty());
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_EQ(alerts_.shown[0].text, "Please open or select the main window and try again");
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("x.txt"))));
}
