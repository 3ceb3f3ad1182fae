// The preferences window: the set folder.
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "sorvel_application.h"

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
    prefWindow_->setCentralWidget(central);
    installMenus(prefWindow_);
}

void SorvelApplication::showPreferencesWindow() {
    if (!prefWindow_) return;
    applicationControlsChanged();
    prefWindow_->show();
    prefWindow_->raise();
    prefWindow_->activateWindow();
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
}

}  // namespace sorvel::gui
