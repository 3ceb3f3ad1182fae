#include "app/app_delegate.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "app/exchange_file.h"
#include "edit/undo_history.h"
#include "model/diagnostics.h"
#include "model/score_file.h"
#include "ports/alerts.h"
#include "ports/file_dialogs.h"
#include "ports/questions.h"
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

AppDelegate::AppDelegate(AppPorts ports, std::string appFolder, std::string recoveryFolder)
    : ports_(ports),
      appFolder_(std::move(appFolder)),
      recovery_(std::move(recoveryFolder), ports.processes, ports.writer) {
    rootDoc_ = &initialRootDoc_;
}

bool AppDelegate::start(const std::vector<std::string>& files) {
    if (!scaleTable.startUp(appFolder_, ports_.settings, ports_.dialogs, ports_.alerts)) {
        ports_.windows.quit();
        return false;
    }
    launch();
    bool opened = restoreSnapshots();
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
    writeAllSnapshots();
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
    withKeyDocument([this](Document& doc) { saveDocument(doc, false); });
}

void AppDelegate::fileSaveAs() {
    withKeyDocument([this](Document& doc) { saveDocument(doc, true); });
}

bool AppDelegate::saveDocument(Document& doc, bool askWhere) {
    rootDoc_ = &doc;
    std::string path = doc.filePath();
    if (askWhere || !doc.savesInPlace()) {
        const auto chosen =
            ports_.dialogs.saveFile(path.empty() ? ports_.windows.windowTitle(doc) : path);
        if (!chosen) return false;
        path = absolutePath(*chosen);
    }
    const std::string text = scoreFileText(doc.snapshot().score);
    if (const auto error = ports_.writer.writeFile(path, text)) {
        ports_.alerts.showAlert(std::string(kSaveFailedMessage), *error);
        return false;
    }
    diag("save successed");
    doc.markSaved(path);
    recovery_.remove(&doc);
    ports_.windows.setWindowTitle(doc, lastPathComponent(path));
    ports_.windows.addRecentFile(path);
    return true;
}

bool AppDelegate::documentMayClose(Document& doc) {
    if (!doc.modified()) return true;
    switch (ports_.questions.askToSave(ports_.windows.windowTitle(doc), false)) {
        case SaveChoice::Save:
        case SaveChoice::SaveAll:
            return saveDocument(doc, false);
        case SaveChoice::Discard:
        case SaveChoice::DiscardAll:
            recovery_.remove(&doc);
            return true;
        case SaveChoice::Cancel:
            break;
    }
    return false;
}

bool AppDelegate::quitMayProceed() {
    std::vector<Document*> modified;
    for (Document* doc : ports_.windows.documents()) {
        if (doc->modified()) modified.push_back(doc);
    }
    std::optional<SaveChoice> forAll;
    std::vector<Document*> discarded;
    for (std::size_t i = 0; i < modified.size(); ++i) {
        Document& doc = *modified[i];
        SaveChoice choice = forAll ? *forAll
                                   : ports_.questions.askToSave(ports_.windows.windowTitle(doc),
                                                                i + 1 < modified.size());
        if (choice == SaveChoice::SaveAll) forAll = choice = SaveChoice::Save;
        if (choice == SaveChoice::DiscardAll) forAll = choice = SaveChoice::Discard;
        if (choice == SaveChoice::Cancel) return false;
        if (choice == SaveChoice::Save && !saveDocument(doc, false)) return false;
        if (choice == SaveChoice::Discard) discarded.push_back(&doc);
    }
    // Only now: a quit cancelled later leaves every snapshot where it was.
    for (Document* doc : discarded) recovery_.remove(doc);
    return true;
}

void AppDelegate::fileOpen() {
    if (const auto chosen = ports_.dialogs.openFile()) openScore(*chosen);
}

bool AppDelegate::openFile(const std::string& path) {
    // Open Recent lists imported MusicXML files too.
    const Result<std::string> resolved = resolveOpenText(path);
    const auto format = resolved ? exchange::exportFormatOf(resolved.value()) : std::nullopt;
    if (format == exchange::ExportFormat::MusicXml ||
        format == exchange::ExportFormat::CompressedMusicXml) {
        return importMusicXml(resolved.value());
    }
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

        Document* doc = openWindow(*result.score, lastPathComponent(path));
        if (!doc) return false;
        doc->markSaved(absolutePath(path));
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
    ports_.windows.addRecentFile(absolutePath(path));
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

bool AppDelegate::restoreSnapshots() {
    const RecoveryStore::Orphans found = recovery_.claimOrphans();
    if (!found.damaged.empty()) {
        std::string files;
        for (const std::string& file : found.damaged) files += file + "\n";
        ports_.alerts.showAlert("Unsaved scores left by an earlier session could not be read.",
                                "They are kept as:\n" + files);
    }
    if (found.scores.empty()) return false;
    std::vector<std::string> titles;
    for (const auto& orphan : found.scores) titles.push_back(orphan.title);
    if (!ports_.questions.askToRestore(titles)) {
        for (const auto& orphan : found.scores) recovery_.discard(orphan.file);
        return false;
    }
    bool opened = false;
    for (const auto& orphan : found.scores) {
        // A window that cannot open leaves its file to the next start.
        Document* doc = openWindow(orphan.score, orphan.title);
        if (!doc) continue;
        doc->markRestored(orphan.path);
        recovery_.adopt(doc, orphan.file);
        opened = true;
    }
    return opened;
}

void AppDelegate::writeOrRemoveSnapshot(Document& doc) {
    if (!doc.modified()) {
        recovery_.remove(&doc);
        return;
    }
    recovery_.write(&doc, {doc.filePath(), ports_.windows.windowTitle(doc),
                           scoreFileText(doc.snapshot().score)});
}

void AppDelegate::writePendingSnapshots() {
    const auto due = std::move(pending_);
    pending_.clear();
    for (Document* doc : due) writeOrRemoveSnapshot(*doc);
}

void AppDelegate::writeAllSnapshots() {
    pending_.clear();
    for (Document* doc : ports_.windows.documents()) writeOrRemoveSnapshot(*doc);
}

void AppDelegate::undo() {
    const KeyWindow key = ports_.windows.keyWindow();
    if (key.kind == KeyWindowKind::Score && key.document) key.document->history().undo();
}

void AppDelegate::redo() {
    const KeyWindow key = ports_.windows.keyWindow();
    if (key.kind == KeyWindowKind::Score && key.document) key.document->history().redo();
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
    pending_.erase(doc);
    if (doc->modified()) {
        recovery_.release(doc);
    } else {
        recovery_.remove(doc);
    }
}

std::string AppDelegate::documentSetFolder() const {
    return ports_.settings.has(kFilePassKey) ? ports_.settings.get(kFilePassKey)
                                             : appFolder_ + "/set";
}

}  // namespace sorvel
