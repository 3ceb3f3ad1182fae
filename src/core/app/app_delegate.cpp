#include "app/app_delegate.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "app/exchange_file.h"
#include "model/diagnostics.h"
#include "model/score_file.h"
#include "ports/alerts.h"
#include "ports/file_dialogs.h"
#include "ports/settings.h"
#include "ports/text_file_writer.h"
#include "ports/window_system.h"

namespace sorvel {
namespace {

// Recent files are remembered by absolute path.
std::string absolutePath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path abs = std::filesystem::absolute(path, ec);
    return ec ? path : abs.lexically_normal().string();
}

}  // namespace

AppDelegate::AppDelegate(AppPorts ports, std::string appFolder)
    : ports_(ports), appFolder_(std::move(appFolder)), initialRootDoc_(&udMngr) {
    rootDoc_ = &initialRootDoc_;
}

bool AppDelegate::start(const std::vector<std::string>& files) {
    if (!scaleTable.startUp(appFolder_, ports_.settings, ports_.dialogs, ports_.alerts)) {
        ports_.windows.quit();
        return false;
    }
    launch();
    bool opened = false;
    for (const std::string& file : files) opened = openFile(file) || opened;
    // Files that could not be opened have had their alerts; the user still gets a window.
    if (!opened) ports_.windows.newScoreDocument();
    return true;
}

void AppDelegate::launch() {
    prefURLStr =
        ports_.settings.has(kFilePassKey) ? ports_.settings.get(kFilePassKey) : appFolder_ + "/set";
    prefURL = prefURLStr;
    scaleTable.filePath = prefURLStr;

    ports_.windows.closePreferencesWindow();

    const KeyWindow key = ports_.windows.keyWindow();
    if (key.kind == KeyWindowKind::Score && key.document) key.document->endEditing();

    ports_.windows.showTitleWindow();
    mnSong = {true, true};
    mnExercise = {true, false};
    ports_.windows.applicationControlsChanged();
    ports_.windows.runAfter(2.0, [this] { ports_.windows.closeTitleWindow(); });
    launched_ = true;
}

void AppDelegate::quit() {
    if (!launched_ || quitDone_) return;
    quitDone_ = true;
    ports_.settings.set(kFilePassKey, prefURL);
    ports_.settings.sync();
    scaleTable.writeBack(prefURL, ports_.writer, ports_.alerts);
}

void AppDelegate::withKeyDocument(const std::function<void(Document&)>& op) {
    const KeyWindow key = ports_.windows.keyWindow();
    if (key.kind == KeyWindowKind::None) {
        ports_.alerts.showAlert(std::string(kOpenMainWindowFirst));
        return;
    }
    if (key.kind != KeyWindowKind::Score || !key.document) {
        ports_.alerts.showAlert(std::string(kSelectMainWindow));
        return;
    }
    op(*key.document);
}

void AppDelegate::withScoreWindow(const std::function<void(Document&)>& op) {
    const KeyWindow key = ports_.windows.keyWindow();
    if (key.kind != KeyWindowKind::Score || !key.document) {
        ports_.alerts.showAlert(std::string(kSelectMainWindow));
        return;
    }
    rootDoc_ = key.document;
    op(*key.document);
}

void AppDelegate::fileSave() {
    withKeyDocument([this](Document& doc) {
        rootDoc_ = &doc;
        const std::optional<std::string> path =
            ports_.dialogs.saveFile(ports_.windows.windowTitle(doc));
        if (!path) return;
        const std::string text = scoreFileText(doc.snapshot().score);
        if (const auto error = ports_.writer.writeFile(*path, text)) {
            ports_.alerts.showAlert(std::string(kSaveFailedMessage), *error);
            return;
        }
        diag("save successed");
        ports_.windows.setWindowTitle(doc, lastPathComponent(*path));
    });
}

void AppDelegate::fileOpen() {
    if (const auto chosen = ports_.dialogs.openFile()) openScore(*chosen);
}

bool AppDelegate::openFile(const std::string& path) {
    return openScore(path);
}

bool AppDelegate::openScore(const std::string& text) {
    const Result<std::string> resolved = resolveOpenText(text);
    if (!resolved) {
        ports_.alerts.showAlert(std::string(kCantOpenFilePrefix) + "\n\n" + resolved.reason());
        return false;
    }
    const std::string& path = resolved.value();
    // Running out of memory on one file is that file's failure; the open windows stay.
    try {
        const ScoreParseResult result = loadScoreFile(path);
        // A MusicXML file (plain, or compressed and so no text at all) is no score file, but
        // the user most likely means its melody.
        if (!result.score) {
            if (const std::optional<bool> import = offerImport(path)) {
                return *import && importMusicXml(path);
            }
        }
        if (result.rejection == ScoreRejection::CannotOpen) {
            ports_.alerts.showAlert(rejectionMessage(result));
            return false;
        }
        if (result.rejection == ScoreRejection::UnknownFormat) {
            diag(path + ": " + result.error);
            ports_.alerts.showAlert(rejectionMessage(result), rejectionDetail(result));
            ports_.windows.addRecentFile(absolutePath(path));
            return false;
        }

        if (!openWindow(*result.score, lastPathComponent(path))) return false;
        ports_.windows.addRecentFile(absolutePath(path));
        return true;
    } catch (const std::bad_alloc&) {
        ports_.alerts.showAlert(std::string(kCantOpenFilePrefix) + lastPathComponent(path),
                                "There is not enough memory to open this file. The other "
                                "windows are not affected.");
        return false;
    }
}

bool AppDelegate::importMusicXml(const std::string& path) {
    const std::string name = lastPathComponent(path);
    const std::string cannot = "The file " + name + " could not be imported.";
    const Result<std::string> bytes = readFileBytes(path);
    if (!bytes) {
        ports_.alerts.showAlert(cannot, bytes.reason());
        return false;
    }
    Result<exchange::ImportedScore> imported = exchange::importScore(bytes.value());
    if (!imported) {
        ports_.alerts.showAlert(cannot, imported.reason());
        return false;
    }
    exchange::ImportedScore score = std::move(imported).value();
    // A score file named after the title, else the file, not yet saved: Save asks where it goes.
    std::string title = exchange::fileNameOfTitle(score.title);
    if (title.empty()) {
        title = name.substr(0, name.rfind('.')) + ".txt";
    } else {
        score.notes.push_back("The title \"" + score.title + "\" is used as the file name " +
                              title + ".");
    }
    if (!openWindow(score.score, title)) return false;
    if (!score.notes.empty()) {
        ports_.alerts.showAlert("Some of " + name + " could not be carried over:",
                                exchange::importNotesText(score.notes));
    }
    return true;
}

std::optional<bool> AppDelegate::offerImport(const std::string& path) {
    const Result<std::string> bytes = readFileBytes(path);
    if (!bytes || !exchange::isMusicXml(bytes.value())) return std::nullopt;
    return ports_.alerts.confirm(lastPathComponent(path) + std::string(kOfferImportText),
                                 std::string(kOfferImportDetail), std::string(kOfferImportButton));
}

Document* AppDelegate::openWindow(const Score& score, const std::string& title) {
    Document* doc = ports_.windows.newScoreDocument();
    if (!doc) return nullptr;
    rootDoc_ = doc;
    doc->open(score);
    ports_.windows.setWindowTitle(*doc, title);
    return doc;
}

void AppDelegate::menuPageUp() {
    withKeyDocument([](Document& doc) { doc.btnPageUp(); });
}

void AppDelegate::menuPageDown() {
    withKeyDocument([](Document& doc) { doc.btnPageDown(); });
}

void AppDelegate::menuSong() {
    mnSong.on = true;
    mnExercise.on = false;
    ports_.windows.applicationControlsChanged();
}

void AppDelegate::menuExer() {
    mnSong.on = false;
    mnExercise.on = true;
    ports_.windows.applicationControlsChanged();
}

void AppDelegate::selectFol() {
    if (const auto folder = ports_.dialogs.chooseFolder(std::string(kChooseSetFolderMessage))) {
        prefURL = *folder;
        ports_.windows.applicationControlsChanged();
    }
}

void AppDelegate::preferenceMenu() {
    ports_.windows.showPreferencesWindow();
}

void AppDelegate::menuAbout() {
    ports_.windows.showTitleWindow();
}

void AppDelegate::documentClosed(Document* doc) {
    if (!doc) return;
    if (rootDoc_ == doc) rootDoc_ = &initialRootDoc_;
    // Its steps go at once: an undo must never reach a closed window.
    udMngr.removeAllActions(doc);
}

std::string AppDelegate::documentSetFolder() const {
    return ports_.settings.has(kFilePassKey) ? ports_.settings.get(kFilePassKey)
                                             : appFolder_ + "/set";
}

}  // namespace sorvel
