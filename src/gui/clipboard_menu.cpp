// Edit > Cut, Copy, Paste and Add: cells of the key score window through the system
// clipboard (also between running copies of the application), or the text of the field
// being edited.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <array>
#include <memory>

#include "app/clipboard_commands.h"
#include "app/document.h"
#include "qt_clipboard.h"
#include "score_window.h"
#include "sorvel_application.h"

namespace sorvel::gui {

// The commands of every window's Edit menu, and the items whose enabled state follows the
// selection, the focus and the clipboard.
struct ClipboardMenuState : QObject {
    ClipboardMenuState(AppDelegate& delegate, Alerts& alerts)
        : commands(clipboard, alerts), delegate_(delegate) {
        // The score a command reaches becomes the one application commands act on.
        commands.setScoreReached([this](EditableScore& score) {
            if (auto* doc = dynamic_cast<Document*>(&score)) delegate_.documentReached(*doc);
        });
        refreshLater_.setSingleShot(true);
        refreshLater_.setInterval(0);
        connect(&refreshLater_, &QTimer::timeout, this, [this] { refresh(); });
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
                [this] { scheduleRefresh(); });
        connect(qApp, &QApplication::focusChanged, this, [this] { scheduleRefresh(); });
        // The selection changes by clicks and keys, an undo by either: look again after them.
        qApp->installEventFilter(this);
    }
    ~ClipboardMenuState() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type t = event->type();
        if (t == QEvent::MouseButtonRelease || t == QEvent::KeyRelease ||
            t == QEvent::WindowActivate) {
            scheduleRefresh();
        }
        return false;
    }

    // What the commands act on right now; the adapters live until the next call.
    ClipTarget target() {
        QWidget* key = QApplication::activeWindow();
        return clipTargetFor(key, QApplication::focusWidget(), scoreOf_, text_);
    }

    void perform(ClipAction action) {
        const ClipTarget t = target();
        commands.perform(action, t);
        refresh();
    }

    void refresh() {
        // Closed windows' items are gone.
        windows.removeIf([](const Items& items) { return !items[0]; });
        const ClipTarget t = target();
        for (const Items& items : windows) {
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (items[i]) items[i]->setEnabled(commands.canPerform(kActions[i], t));
            }
        }
    }
    void scheduleRefresh() {
        if (!refreshLater_.isActive()) refreshLater_.start();
    }

    static constexpr std::array<ClipAction, 4> kActions = {ClipAction::Cut, ClipAction::Copy,
                                                           ClipAction::Paste, ClipAction::Add};
    using Items = std::array<QPointer<QAction>, 4>;

    QtClipboard clipboard;
    ClipboardCommands commands;
    QList<Items> windows;

  private:
    // A score window whose keyboard is not in a text field: its document.
    EditableScore* scoreOfWindow(QWidget* key, QWidget*) {
        auto* w = qobject_cast<ScoreWindow*>(key);
        return w ? &w->document() : nullptr;
    }

    AppDelegate& delegate_;
    std::unique_ptr<TextEditing> text_;
    ScoreOfWindow scoreOf_ = [this](QWidget* key, QWidget* focus) {
        return scoreOfWindow(key, focus);
    };
    QTimer refreshLater_;
};

void SorvelApplication::installClipboardMenu(QMenu* edit, QMainWindow* window) {
    if (!clipboardMenu_) {
        clipboardMenu_ = std::make_shared<ClipboardMenuState>(*delegate_, delegate_->alerts());
    }
    ClipboardMenuState* state = clipboardMenu_.get();
    edit->addSeparator();
    struct Item {
        const char* name;
        const char* text;
        QKeySequence keys;
    };
    const std::array<Item, 4> items = {{
        {"menuCut", QT_TR_NOOP("Cu&t"), QKeySequence::Cut},
        {"menuCopy", QT_TR_NOOP("&Copy"), QKeySequence::Copy},
        {"menuPaste", QT_TR_NOOP("&Paste"), QKeySequence::Paste},
        // Paste puts the cells before the selection, Add after the selected cell.
        {"menuAdd", QT_TR_NOOP("A&dd"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)},
    }};
    ClipboardMenuState::Items actions;
    for (std::size_t i = 0; i < items.size(); ++i) {
        QAction* a = edit->addAction(tr(items[i].text));
        a->setObjectName(QString::fromLatin1(items[i].name));
        a->setShortcut(items[i].keys);
        // A field being edited handles the keys itself; the window's score takes them
        // otherwise.
        a->setShortcutContext(Qt::WindowShortcut);
        const ClipAction action = ClipboardMenuState::kActions[i];
        connect(a, &QAction::triggered, state, [state, action] { state->perform(action); });
        actions[i] = a;
    }
    state->windows << actions;
    connect(edit, &QMenu::aboutToShow, state, [state] { state->refresh(); });
    Q_UNUSED(window);
    state->scheduleRefresh();
}

}  // namespace sorvel::gui
