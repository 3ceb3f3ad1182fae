// Tools > Tuner and Tools > Replace: one tuner window and one replace window per
// application, each opened for the score window in front.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QWindow>

#include "app/document.h"
#include "replace_window.h"
#include "score_window.h"
#include "sorvel_application.h"
#include "tuner_window.h"
#include "window_placement.h"

namespace sorvel::gui {

// The application's tool windows and the score each was last opened for.
struct ToolWindows : QObject {
    ~ToolWindows() override {
        delete tuner.data();
        delete replace.data();
    }

    // The tuner listens against the reference pitch of its score: follow an edit of it
    // whenever the keyboard moves (the field's editing ends that way, and so does a move to
    // the tuner).
    void followReferencePitch() {
        if (!tuner || !tunerScore) return;
        const std::int64_t hz = tunerScore->document().score().settings.referencePitch;
        if (hz != tuner->referencePitch()) tuner->setReferencePitch(hz);
    }

    // The score window last in front: the one the Replace button acts on.
    void noteFrontWindow() {
        if (auto* w = qobject_cast<ScoreWindow*>(QApplication::activeWindow())) front = w;
    }

    QPointer<ScoreWindow> front;
    QPointer<TunerWindow> tuner;
    QPointer<ScoreWindow> tunerScore;
    QPointer<ReplaceWindow> replace;
};

namespace {

void bringToFront(QWidget* w) {
    showOnScreen(w);
}

}  // namespace

void SorvelApplication::installToolsMenu(QMenu* tools, QMainWindow* window) {
    Q_UNUSED(window);
    if (!toolWindows_) {
        toolWindows_ = std::make_shared<ToolWindows>();
        ToolWindows* t = toolWindows_.get();
        connect(qApp, &QApplication::focusChanged, t, [t] {
            t->noteFrontWindow();
            t->followReferencePitch();
        });
        connect(qApp, &QGuiApplication::focusWindowChanged, t, [t] { t->noteFrontWindow(); });
    }
    ToolWindows* t = toolWindows_.get();

    QAction* tuner = tools->addAction(tr("&Tuner"));
    tuner->setObjectName(QStringLiteral("showTuner"));
    connect(tuner, &QAction::triggered, this, [this, t] {
        delegate_->withScoreWindow([this, t](Document& doc) {
            const std::string folder = delegate_->documentSetFolder();
            if (!t->tuner) {
                Tuner::OutputFactory output;
                PitchListener::InputFactory input;
                if (silent_) {
                    // No sound device at all: the tuner says so instead of sounding.
                    output = [] { return std::unique_ptr<AudioOutput>(); };
                    input = [] { return std::unique_ptr<AudioInput>(); };
                }
                t->tuner = new TunerWindow(folder, std::move(output), std::move(input));
            } else {
                t->tuner->setSetFolder(folder);
            }
            t->tunerScore = windowOf(doc);
            t->tuner->setImageSet(doc.imageSet());
            t->tuner->setReferencePitch(doc.score().settings.referencePitch);
            bringToFront(t->tuner);
        });
    });

    QAction* replace = tools->addAction(tr("&Replace…"));
    replace->setObjectName(QStringLiteral("showRPLC"));
    connect(replace, &QAction::triggered, this, [this, t] {
        delegate_->withScoreWindow([this, t](Document& doc) {
            const std::string folder = delegate_->documentSetFolder();
            if (!t->replace) {
                // The Replace button acts on the score window last in front (the replace
                // window itself is in front while its button is pressed); it becomes the
                // score application commands act on.
                t->replace = new ReplaceWindow(folder, [this, t]() -> EditableScore* {
                    Document* target = t->front ? &t->front->document() : nullptr;
                    if (target) delegate_->documentReached(*target);
                    return target;
                });
            } else {
                t->replace->setSetFolder(folder);
            }
            t->front = windowOf(doc);
            t->replace->setImageSet(doc.imageSet());
            bringToFront(t->replace);
        });
    });
}

}  // namespace sorvel::gui
