// The Score menu's Play / Stop and Metronome items of a score window.
#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include "score_playback.h"
#include "score_window.h"
#include "sorvel_application.h"

namespace sorvel::gui {

void SorvelApplication::installPlaybackMenu(QMenu* score, QMainWindow* window) {
    auto* scoreWindow = qobject_cast<ScoreWindow*>(window);
    if (!scoreWindow) return;
    score->addSeparator();
    // Space is the window's own key (released over the score, not in a chord field), so it is
    // only shown here: as a shortcut it would also fire while a chord field is edited.
    QAction* play = score->addAction(tr("Play") + QLatin1Char('\t') + tr("Space"));
    play->setObjectName(QStringLiteral("mnPlay"));
    connect(play, &QAction::triggered, scoreWindow,
            [scoreWindow] { scoreWindow->togglePlayback(); });
    connect(score, &QMenu::aboutToShow, play, [play, scoreWindow] {
        const QString text = scoreWindow->playback().playing() ? tr("Stop") : tr("Play");
        play->setText(text + QLatin1Char('\t') + tr("Space"));
    });
    QAction* metronome = score->addAction(tr("&Metronome"));
    metronome->setObjectName(QStringLiteral("mnMetronome"));
    metronome->setCheckable(true);
    metronome->setChecked(soundPrefs_.metronome());
    connect(metronome, &QAction::toggled, this, [this](bool on) { setMetronome(on); });
    metronomeActions_ << metronome;
    scoreWindow->playback().setMetronome([this] { return soundPrefs_.metronome(); });
}

}  // namespace sorvel::gui
