#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/document.h"
#include "app/recovery_store.h"
#include "scaleedit/scale_table.h"

namespace sorvel {

class Alerts;
class FileDialogs;
class Processes;
class Questions;
class Settings;
class TextFileWriter;
class WindowSystem;

inline constexpr std::string_view kOpenMainWindowFirst = "Please open the main window first";
inline constexpr std::string_view kSelectMainWindow =
    "Please open or select the main window and try again";
inline constexpr std::string_view kSaveFailedMessage = "The file could not be saved.";
// File > Open met a MusicXML file: the question, after the file's name, and its button.
inline constexpr std::string_view kOfferImportText = " is a MusicXML file, not a score file.";
inline constexpr std::string_view kOfferImportDetail =
    "Import its melody into a new score window? (File > Import does the same.)";
inline constexpr std::string_view kOfferImportButton = "Import";

// The platform services the application state works through.
struct AppPorts {
    Alerts& alerts;
    FileDialogs& dialogs;
    Settings& settings;
    WindowSystem& windows;
    TextFileWriter& writer;
    Questions& questions;
    Processes& processes;
};

// A menu item's state.
struct MenuItemState {
    bool enabled = true;
    bool on = false;
};

// Application state: set folder, modes, the score commands act on, and menu routing.
class AppDelegate {
  public:
    // appFolder: the folder that holds the application's binary; recoveryFolder: where the
    // recovery snapshots of unsaved scores go ("" for none).
    AppDelegate(AppPorts ports, std::string appFolder, std::string recoveryFolder = {});
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // Start of the application: the scale table finds the set folder (or the application
    // quits), then launch(), then the unsaved scores a copy of the application left when it
    // died are offered back, then every score file given is opened; one untitled score
    // window when nothing opened. False when the application is quitting.
    bool start(const std::vector<std::string>& files);

    void launch();
    // The application ends: the scores still open have not been asked about (a logout, a
    // signal, a lost display), so each modified one keeps its recovery snapshot for the next
    // start. Then stores the set folder and writes the pattern table back. Runs once, and only
    // after a launch (a start-up that found no set folder stores nothing).
    void quit();
    // Ctrl+Q: asks about every modified score in turn (save, don't save, cancel, or the same
    // for all that are left). False keeps every window open and the application running: the
    // user cancelled, or a save did not happen. Then the windows close without asking again.
    bool quitMayProceed();
    // The window of doc is asked to close: a modified score asks whether to save it first.
    // False keeps the window open.
    bool documentMayClose(Document& doc);

    // Runs op on the key window's document.
    void withKeyDocument(const std::function<void(Document&)>& op);
    // Runs op on the key score window's document and makes it rootDoc.
    void withScoreWindow(const std::function<void(Document&)>& op);
    // The score application-level commands act on (the phrase builder's score); never null.
    Document* rootDocument() const { return rootDoc_; }
    // A command of another window (the clipboard, the replace window) reached doc: it becomes
    // rootDoc.
    void documentReached(Document& doc) { rootDoc_ = &doc; }

    // Menu actions. Save writes the score's own file again; a score without one (or back
    // from a recovery snapshot) asks where, as Save As always does.
    void fileSave();
    void fileSaveAs();
    // False when nothing was written (cancelled or failed, with an alert saying why).
    bool saveDocument(Document& doc, bool askWhere);
    void fileOpen();
    // The system's request to open a file (command line, desktop, recent files).
    bool openFile(const std::string& path);
    // The open routine: path or "file://" URL.
    bool openScore(const std::string& text);
    // File > Import MusicXML (plain or compressed): the melody in a new score window named
    // after the file's title, else the file, with ".txt" (not yet saved), and an alert listing
    // what could not be carried over.
    bool importMusicXml(const std::string& path);
    void menuPageUp();
    void menuPageDown();
    void menuSong();
    void menuExer();
    void selectFol();
    void preferenceMenu();
    void menuAbout();
    // Undo and redo act on the history of the score in front, and on nothing else.
    void undo();
    void redo();

    // Recovery snapshots: doc changed, and its snapshot is written (or, once it is no longer
    // modified, removed) when the shell's timer calls writePendingSnapshots, a few seconds
    // after the last change. writeAllSnapshots does it for every open score at once, when the
    // session ends.
    void documentChanged(Document& doc) { pending_.insert(&doc); }
    void writePendingSnapshots();
    void writeAllSnapshots();

    // The window of doc is closing: commands must not reach it any more. A modified score
    // keeps its snapshot (it was not discarded), any other loses it.
    void documentClosed(Document* doc);

    // The set folder a new score window lists its image sets from.
    std::string documentSetFolder() const;
    bool exerciseMode() const { return mnExercise.on; }
    const std::string& appFolder() const { return appFolder_; }
    Alerts& alerts() const { return ports_.alerts; }

    std::string prefURLStr;
    // The text of the preferences window's set folder field; the widget writes it back on
    // editing.
    std::string prefURL;
    MenuItemState mnSong, mnExercise;
    // The pattern table of the scale editor.
    ScaleTable scaleTable;

  private:
    // For a MusicXML file, whether the user chose to import it; nothing for any other file.
    std::optional<bool> offerImport(const std::string& path);
    // A new score window showing the score, titled; it becomes rootDoc.
    Document* openWindow(const Score& score, const std::string& title);
    // The snapshots of copies that died, offered back; true when a window opened.
    bool restoreSnapshots();
    void writeOrRemoveSnapshot(Document& doc);

    AppPorts ports_;
    std::string appFolder_;
    // The score application-level commands act on; never null.
    Document* rootDoc_;
    // rootDoc until a command chooses a score: a document without a window.
    Document initialRootDoc_;
    RecoveryStore recovery_;
    std::set<Document*> pending_;
    bool launched_ = false;
    bool quitDone_ = false;
};

}  // namespace sorvel
