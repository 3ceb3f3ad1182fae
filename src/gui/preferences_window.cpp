// The preferences window: the set folder, the volume, the metronome and the language.
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "sorvel_application.h"
#include "sound_output.h"
#include "translations.h"
#include "window_placement.h"

namespace sorvel::gui {

void SorvelApplication::buildPreferencesWindow() {
    prefWindow_ = new QMainWindow;
    prefWindow_->setObjectName(QStringLiteral("prefWindow"));
    prefWindow_->setWindowTitle(tr("Preferences"));
    auto* central = new QWidget(prefWindow_);
    auto* col = new QVBoxLayout(central);
    auto* row = new QHBoxLayout;
    prefURL_ = new QLineEdit(central);
    prefURL_->setObjectName(QStringLiteral("prefURL"));
    prefURL_->setMinimumWidth(420);
    connect(prefURL_, &QLineEdit::textEdited, this,
            [this](const QString& t) { delegate_->prefURL = t.toStdString(); });
    auto* choose = new QPushButton(tr("Choose…"), central);
    choose->setObjectName(QStringLiteral("selectFol"));
    connect(choose, &QPushButton::clicked, this, [this] { delegate_->selectFol(); });
    row->addWidget(new QLabel(tr("Set folder:"), central));
    row->addWidget(prefURL_, 1);
    row->addWidget(choose);
    col->addLayout(row);
    auto* note = new QLabel(tr("The set folder holds the picture sets and scale.csv. "
                               "A new folder takes effect at the next start."),
                            central);
    note->setWordWrap(true);
    col->addWidget(note);

    auto* sound = new QHBoxLayout;
    prefVolume_ = new QSlider(Qt::Horizontal, central);
    prefVolume_->setObjectName(QStringLiteral("prefVolume"));
    prefVolume_->setRange(0, 100);
    prefVolume_->setAccessibleName(tr("Volume"));
    SoundOutput::setVolume(soundPrefs_.gain());
    prefVolume_->setValue(static_cast<int>(soundPrefs_.volume()));
    connect(prefVolume_, &QSlider::valueChanged, this, [this](int v) {
        soundPrefs_.setVolume(v);
        SoundOutput::setVolume(soundPrefs_.gain());
    });
    prefMetronome_ = new QCheckBox(tr("Metronome during playback"), central);
    prefMetronome_->setObjectName(QStringLiteral("prefMetronome"));
    prefMetronome_->setChecked(soundPrefs_.metronome());
    connect(prefMetronome_, &QCheckBox::toggled, this, [this](bool on) { setMetronome(on); });
    sound->addWidget(new QLabel(tr("Volume:"), central));
    sound->addWidget(prefVolume_, 1);
    sound->addWidget(prefMetronome_);
    col->addLayout(sound);
    col->addWidget(languageChooser(settings_, central));
    prefWindow_->setCentralWidget(central);
    installMenus(prefWindow_);
}

void SorvelApplication::showPreferencesWindow() {
    if (!prefWindow_) return;
    applicationControlsChanged();
    showOnScreen(prefWindow_);
}

void SorvelApplication::closePreferencesWindow() {
    if (prefWindow_) prefWindow_->close();
}

void SorvelApplication::applicationControlsChanged() {
    if (prefURL_ && prefURL_->text() != QString::fromStdString(delegate_->prefURL))
        prefURL_->setText(QString::fromStdString(delegate_->prefURL));
    for (const QPointer<QAction>& a : songActions_) {
        if (a) a->setChecked(delegate_->mnSong.on);
    }
    for (const QPointer<QAction>& a : exerciseActions_) {
        if (a) a->setChecked(delegate_->mnExercise.on);
    }
    const bool metronome = soundPrefs_.metronome();
    for (const QPointer<QAction>& a : metronomeActions_) {
        if (a) a->setChecked(metronome);
    }
    if (prefMetronome_ && prefMetronome_->isChecked() != metronome)
        prefMetronome_->setChecked(metronome);
}

void SorvelApplication::setMetronome(bool on) {
    if (soundPrefs_.metronome() == on) return;
    soundPrefs_.setMetronome(on);
    applicationControlsChanged();
}

}  // namespace sorvel::gui
