// The menu bar every window of the application carries, and its recent-files menu.
#include <QAction>
#include <QApplication>
#include <QActionGroup>
#include <QFileInfo>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>

#include "app/recent_files.h"
#include "score_window.h"
#include "sorvel_application.h"

namespace sorvel::gui {

void SorvelApplication::addRecentFile(const std::string& path) {
    rememberRecentFile(settings_, path);
}

void SorvelApplication::fillRecentMenu(QMenu* menu) {
    menu->clear();
    const std::vector<std::string> recent = recentFiles(settings_);
    for (const std::string& file : recent) {
        const QString path = QString::fromStdString(file);
        QAction* a = menu->addAction(QFileInfo(path).fileName());
        a->setToolTip(path);
        connect(a, &QAction::triggered, this,
                [this, path] { delegate_->openFile(path.toStdString()); });
    }
    if (recent.empty()) menu->addAction(tr("No recent scores"))->setEnabled(false);
}

void SorvelApplication::installMenus(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    auto add = [&](QMenu* menu, const QString& text, const QKeySequence& keys, auto slot) {
        QAction* a = menu->addAction(text);
        a->setShortcut(keys);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    QMenu* file = bar->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    add(file, tr("&New"), QKeySequence::New, [this] { newScoreDocument(); });
    add(file, tr("&Open…"), QKeySequence::Open, [this] { delegate_->fileOpen(); });
    QMenu* recent = file->addMenu(tr("Open &Recent"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { fillRecentMenu(recent); });
    fillRecentMenu(recent);
    add(file, tr("&Save"), QKeySequence::Save, [this] { delegate_->fileSave(); });
    add(file, tr("Save &As…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
        [this] { delegate_->fileSaveAs(); });
    installPrintMenu(file, window);
    installExchangeMenu(file, window);
    add(file, tr("&Close"), QKeySequence::Close, [window] { window->close(); });
    file->addSeparator();
    // Not every platform names a preferences key; Ctrl+, is the usual one then.
    QKeySequence preferencesKeys(QKeySequence::Preferences);
    if (preferencesKeys.isEmpty()) preferencesKeys = QKeySequence(Qt::CTRL | Qt::Key_Comma);
    add(file, tr("&Preferences…"), preferencesKeys, [this] { delegate_->preferenceMenu(); });
    add(file, tr("Choose Set &Folder…"), QKeySequence(), [this] { delegate_->selectFol(); });
    file->addSeparator();
    QAction* quitAction = add(file, tr("&Quit"), QKeySequence::Quit, [this] { requestQuit(); });
    quitAction->setMenuRole(QAction::QuitRole);

    QMenu* edit = bar->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("editMenu"));
    add(edit, tr("&Undo"), QKeySequence::Undo, [this] { delegate_->undo(); });
    add(edit, tr("&Redo"), QKeySequence::Redo, [this] { delegate_->redo(); });
    installClipboardMenu(edit, window);

    QMenu* score = bar->addMenu(tr("&Score"));
    score->setObjectName(QStringLiteral("scoreMenu"));
    add(score, tr("Page &Up"), QKeySequence(Qt::Key_PageUp), [this] { delegate_->menuPageUp(); });
    add(score, tr("Page &Down"), QKeySequence(Qt::Key_PageDown),
        [this] { delegate_->menuPageDown(); });
    score->addSeparator();
    auto* modes = new QActionGroup(window);
    QAction* song = add(score, tr("&Song"), QKeySequence(), [this] { delegate_->menuSong(); });
    QAction* exercise =
        add(score, tr("&Exercise"), QKeySequence(), [this] { delegate_->menuExer(); });
    for (QAction* a : {song, exercise}) {
        a->setCheckable(true);
        modes->addAction(a);
    }
    song->setObjectName(QStringLiteral("mnSong"));
    exercise->setObjectName(QStringLiteral("mnExercise"));
    song->setChecked(delegate_->mnSong.on);
    exercise->setChecked(delegate_->mnExercise.on);
    songActions_ << song;
    exerciseActions_ << exercise;
    installPlaybackMenu(score, window);

    if (auto* scoreWindow = qobject_cast<ScoreWindow*>(window)) {
        QMenu* view = bar->addMenu(tr("&View"));
        view->setObjectName(QStringLiteral("viewMenu"));
        view->addActions(scoreWindow->zoomActions());
    }

    QMenu* tools = bar->addMenu(tr("&Tools"));
    tools->setObjectName(QStringLiteral("toolsMenu"));
    // Each feature adds its own items below, from its own file.
    installPhraseMenu(tools);
    installToolsMenu(tools, window);

    QMenu* help = bar->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    installHelpMenu(help);
    add(help, tr("&About Sorvel Score"), QKeySequence(), [this] {
        delegate_->menuAbout();
    })->setMenuRole(QAction::AboutRole);
}

}  // namespace sorvel::gui
