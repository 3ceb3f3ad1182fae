#include "tuner_window.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "sound_output.h"
#include "staff_widget.h"

namespace sorvel::gui {

namespace {

constexpr int kStaffWidth = 60;
constexpr int kStaffHeight = 140;
// How often the sounding tone is topped up; well inside the tuner's look-ahead.
constexpr int kFeedMs = 100;

// The five step buttons: label and tooltip.
struct StepButton {
    const char* text;
    const char* tip;
};
constexpr std::array<StepButton, 5> kSteps = {{
    {"♯ ▲", "Next pitch up, sharps and flats included"},
    {"▲", "Next natural pitch up"},
    {"▼", "Next natural pitch down"},
    {"♭ ▼", "Next pitch down, sharps and flats included"},
    {"Octave", "An octave up, or down from the top octave"},
}};

}  // namespace

const QString TunerWindow::kPlayTitle = QStringLiteral("▶︎");
const QString TunerWindow::kStopTitle = QStringLiteral("■");

TunerWindow::TunerWindow(std::string setFolder, Tuner::OutputFactory factory, QWidget* parent)
    : QWidget(parent, Qt::Window), setFolder_(std::move(setFolder)) {
    setObjectName(QStringLiteral("tuneWindow"));
    setWindowTitle(tr("Tuner"));
    if (!factory) factory = [] { return std::make_unique<SoundOutput>(); };
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    tuner_ = std::make_unique<Tuner>(
        std::move(factory), [clock] { return static_cast<double>(clock->nsecsElapsed()) / 1e9; });
    tuner_->gosen.imgFol = setFolder_;
    tuner_->gosen.setFrame(
        {0, 0, static_cast<double>(kStaffWidth), static_cast<double>(kStaffHeight)});
    tuner_->gosen.onNeedsDisplay = [this](const GosenView&) {
        if (staff_) staff_->update();
    };

    auto* row = new QHBoxLayout(this);
    staff_ = new StaffWidget(
        tuner_->gosen, [this] { return selInst_; }, this);
    staff_->setFixedSize(kStaffWidth, kStaffHeight);
    row->addWidget(staff_);

    auto* steps = new QVBoxLayout;
    steps->setSpacing(2);
    for (int r = 0; r < 5; ++r) {
        const StepButton& s = kSteps[static_cast<std::size_t>(r)];
        auto* b = new QPushButton(tr(s.text), this);
        b->setObjectName(QStringLiteral("tunerMtx_%1").arg(r));
        b->setToolTip(tr(s.tip));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, r] { UpDown(r); });
        steps->addWidget(b);
    }
    row->addLayout(steps);

    auto* right = new QVBoxLayout;
    btnPlay_ = new QPushButton(kPlayTitle, this);
    btnPlay_->setObjectName(QStringLiteral("btnPlay"));
    btnPlay_->setToolTip(tr("Start or stop the reference tone"));
    connect(btnPlay_, &QPushButton::clicked, this, [this] { play(); });
    lblHz_ = new QLabel(this);
    lblHz_->setObjectName(QStringLiteral("lblHz"));
    lblHz_->setMinimumWidth(90);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("tunerStatus"));
    status_->setWordWrap(true);
    right->addWidget(btnPlay_);
    right->addWidget(lblHz_);
    right->addWidget(status_);
    right->addStretch(1);
    row->addLayout(right);

    feed_ = new QTimer(this);
    feed_->setInterval(kFeedMs);
    connect(feed_, &QTimer::timeout, this, [this] { tuner_->pump(); });
    refresh();
}

TunerWindow::~TunerWindow() {
    feed_->stop();
    tuner_->gosen.onNeedsDisplay = nullptr;
}

void TunerWindow::setImageSet(const std::string& name) {
    selInst_ = name;
    staff_->update();
}

void TunerWindow::setSetFolder(const std::string& folder) {
    setFolder_ = folder;
    tuner_->gosen.imgFol = folder;
    staff_->update();
}

void TunerWindow::play() {
    tuner_->play();
    refresh();
}

void TunerWindow::UpDown(int row) {
    tuner_->UpDown(row);
}

void TunerWindow::closeEvent(QCloseEvent* event) {
    // A closed tuner does not go on sounding unseen.
    if (tuner_->nowPlaying()) play();
    event->accept();
}

void TunerWindow::refresh() {
    const bool sounding = tuner_->nowPlaying();
    btnPlay_->setText(sounding ? kStopTitle : kPlayTitle);
    lblHz_->setText(QString::fromStdString(tuner_->lblHz()));
    status_->setText(QString::fromStdString(tuner_->status()));
    if (sounding) {
        feed_->start();
    } else {
        feed_->stop();
    }
}

}  // namespace sorvel::gui
