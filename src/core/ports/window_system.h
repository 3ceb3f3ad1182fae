#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sorvel {

class Document;

// What the key window is.
enum class KeyWindowKind {
    None,
    Score,  // a score window; document names its Document
    Other,  // preferences, title, tuner, editor ...
};

struct KeyWindow {
    KeyWindowKind kind = KeyWindowKind::None;
    Document* document = nullptr;
};

// The application's windows as the application state needs them.
class WindowSystem {
  public:
    virtual ~WindowSystem() = default;

    virtual KeyWindow keyWindow() const = 0;
    // The documents of the score windows open now, oldest first.
    virtual std::vector<Document*> documents() const = 0;
    // Creates a score document with its window, runs the window set-up, makes it key and
    // returns it (nullptr when that failed). The window owns the document.
    virtual Document* newScoreDocument() = 0;
    virtual std::string windowTitle(const Document& doc) const = 0;
    virtual void setWindowTitle(Document& doc, const std::string& title) = 0;

    virtual void showTitleWindow() = 0;
    virtual void closeTitleWindow() = 0;
    virtual void showPreferencesWindow() = 0;
    virtual void closePreferencesWindow() = 0;

    // The prefURL text or the Song/Exercise items changed: the widgets re-read them.
    virtual void applicationControlsChanged() = 0;

    // Runs callback once on the main thread after the delay.
    virtual void runAfter(double seconds, std::function<void()> callback) = 0;
    virtual void addRecentFile(const std::string& path) = 0;
    // Asks the application to end; the caller returns to the event loop.
    virtual void quit() = 0;
};

}  // namespace sorvel
