#pragma once

#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "app/app_delegate.h"
#include "ports/window_system.h"
#include "qt_ports.h"
#include "view/print_view.h"
#include "sound/sound_preferences.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QSlider;
class QMainWindow;
class QMenu;
class QWidget;

namespace sorvel::gui {

class PhraseBuilderWindow;
class PrintDialogs;
class PrintSupport;
class ScoreWindow;
struct PhraseBuilderParts;
struct PhraseBuilderPartsDeleter {
    void operator()(PhraseBuilderParts* parts) const;
};
struct ClipboardMenuState;
struct ToolWindows;
struct HelpWindows;

// The platform services the application runs through; tests replace some of them.
struct PortOverrides {
    Alerts* alerts = nullptr;
    Questions* questions = nullptr;
    FileDialogs* dialogs = nullptr;
    Settings* settings = nullptr;
    TextFileWriter* writer = nullptr;
    PrintDialogs* printDialogs = nullptr;
    // Score windows get no sound output (tests).
    bool silent = false;
    // Where recovery snapshots go ("" for nowhere); unset: the user's application data.
    std::optional<QString> recoveryFolder;
};

// The application: its state, its windows and menus.
class SorvelApplication : public QObject, public WindowSystem {
    Q_OBJECT
  public:
    explicit SorvelApplication(const QString& appFolder, PortOverrides overrides = {});
    ~SorvelApplication() override;

    // Finds the set folder, launches and opens the files (or one new score). False when the
    // application has to end (no set folder).
    // File names as the system gives them (bytes, not necessarily UTF-8).
    bool start(const std::vector<std::string>& paths);
    // Ends nobody is asked about keep every modified score as a recovery snapshot: SIGTERM,
    // SIGHUP and SIGINT (then the application quits), the session manager's request to save
    // (it may end the session next), and an exit from inside Qt (a lost display).
    void keepScoresAtUnaskedEnds();
    // Ctrl+Q: the question for every modified score, then every window closes and the
    // application quits, unless the user cancelled.
    void requestQuit();

    AppDelegate& delegate() { return *delegate_; }
    QList<ScoreWindow*> scoreWindows() const;
    ScoreWindow* windowOf(const Document& doc) const;
    QWidget* preferencesWindow() const { return prefWindow_; }
    // The phrase builder window once Tools > Phrase Builder has shown it, else null.
    PhraseBuilderWindow* phraseBuilderWindow() const;
    // The file chooser of File > Export and Import (save: a save dialog); an empty path is a
    // cancel. Unset: the platform's dialog. Tests script it.
    std::function<QString(bool save, const QString& filter, const QString& suggested)>
        exchangeFileDialog;

    // WindowSystem
    KeyWindow keyWindow() const override;
    std::vector<Document*> documents() const override;
    Document* newScoreDocument() override;
    std::string windowTitle(const Document& doc) const override;
    void setWindowTitle(Document& doc, const std::string& title) override;
    void showTitleWindow() override;
    void closeTitleWindow() override;
    void showPreferencesWindow() override;
    void closePreferencesWindow() override;
    void applicationControlsChanged() override;
    void runAfter(double seconds, std::function<void()> callback) override;
    void addRecentFile(const std::string& path) override;
    void quit() override;

  private:
    void installMenus(QMainWindow* window);
    void installPhraseMenu(QMenu* tools);
    void showPhraseBuilder();
    void installPrintMenu(QMenu* file, QMainWindow* window);
    // The key score's printed pages.
    PrintView printView(Document& doc);
    void installPlaybackMenu(QMenu* score, QMainWindow* window);
    // The metronome switch of the Score menus and of Preferences.
    void setMetronome(bool on);
    void installExchangeMenu(QMenu* file, QMainWindow* window);
    void fillRecentMenu(QMenu* menu);
    void buildTitleWindow();
    void buildPreferencesWindow();
    // A score changed: its snapshot is written a few seconds after the last change.
    void scoreEdited(Document& doc);
    void endWithoutQuestions();

    QtAlerts qtAlerts_;
    QtQuestions qtQuestions_;
    SystemProcesses processes_;
    QtFileDialogs qtDialogs_;
    QtSettings qtSettings_;
    QtTextFileWriter qtWriter_;
    bool silent_ = false;
    // The alerts the application runs on: the user's, or a test's.
    Alerts* alerts_ = nullptr;
    // The settings the application runs on: the user's, or a test's.
    Settings& settings_;
    std::unique_ptr<AppDelegate> delegate_;
    QList<QPointer<ScoreWindow>> windows_;
    QPointer<QWidget> titleWindow_;
    QPointer<QMainWindow> prefWindow_;
    QLineEdit* prefURL_ = nullptr;
    // Volume and metronome (playback_menu.cpp, preferences_window.cpp).
    SoundPreferences soundPrefs_{settings_};
    QSlider* prefVolume_ = nullptr;
    QCheckBox* prefMetronome_ = nullptr;
    QList<QPointer<QAction>> metronomeActions_;
    QList<QPointer<QAction>> songActions_;
    QList<QPointer<QAction>> exerciseActions_;
    int untitledCount_ = 0;
    // The questions were answered (or skipped by a signal): windows close without asking.
    bool quitting_ = false;
    QTimer snapshotTimer_;
    QElapsedTimer firstPendingChange_;
    // The phrase builder (phrase_menu.cpp); declared after delegate_ so that it goes first.
    std::unique_ptr<PhraseBuilderParts, PhraseBuilderPartsDeleter> phrase_;
    // One printer set-up for every score window; shared_ptr: deleted where its type is known.
    PrintDialogs* printDialogs_ = nullptr;
    std::shared_ptr<PrintSupport> printSupport_;
    // Edit > Cut, Copy, Paste, Add (clipboard_menu.cpp); Tools > Tuner, Replace (tools_menu.cpp).
    void installClipboardMenu(QMenu* edit, QMainWindow* window);
    void installToolsMenu(QMenu* tools, QMainWindow* window);
    // Help > Keyboard, User Guide (help_menu.cpp).
    void installHelpMenu(QMenu* help);
    std::shared_ptr<HelpWindows> helpWindows_;
    std::shared_ptr<ClipboardMenuState> clipboardMenu_;
    std::shared_ptr<ToolWindows> toolWindows_;
};

}  // namespace sorvel::gui
