#include "tuner_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "cents_meter.h"
#include "core_text.h"
#include "exchange/notation.h"
#include "model/diagnostics.h"
#include "qt_canvas.h"
#include "sound_input.h"
#include "sound_output.h"
#include "staff_widget.h"

namespace sorvel::gui {

namespace {

constexpr int kStaffWidth = 60;
constexpr int kStaffHeight = 140;
constexpr int kNoteImageWidth = 50;
constexpr int kNoteImageHeight = 70;

void setTextIfChanged(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

}  // namespace

const QString TunerWindow::kPlayTitle = QStringLiteral("▶︎");
const QString TunerWindow::kStopTitle = QStringLiteral("■");
const QString TunerWindow::kListenTitle = QStringLiteral(QT_TR_NOOP("Listen"));
const QString TunerWindow::kListeningTitle = QStringLiteral(QT_TR_NOOP("Listening"));

TunerWindow::TunerWindow(std::string setFolder, Tuner::OutputFactory factory,
                         PitchListener::InputFactory input, QWidget* parent)
    : QWidget(parent, Qt::Window), setFolder_(std::move(setFolder)) {
    setObjectName(QStringLiteral("tuneWindow"));
    setWindowTitle(tr("Tuner"));
    if (!factory) factory = [] { return std::make_unique<SoundOutput>(); };
    tuner_ = std::make_unique<Tuner>(std::move(factory));
    tuner_->gosen.imgFol = setFolder_;
    tuner_->gosen.setFrame(
        {0, 0, static_cast<double>(kStaffWidth), static_cast<double>(kStaffHeight)});
    tuner_->gosen.onNeedsDisplay = [this](const GosenView&) {
        if (staff_) staff_->update();
        if (lblNoteName_) showNoteName();
    };

    if (!input) input = [] { return std::make_unique<SoundInput>(); };
    listener_ = std::make_unique<PitchListener>(std::move(input));
    logReadings_ = qEnvironmentVariableIsSet("SORVEL_TUNER_LOG");

    auto* outer = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    outer->addLayout(row);
    staff_ = new StaffWidget(
        tuner_->gosen, [this] { return selInst_; }, this);
    staff_->setFixedSize(kStaffWidth, kStaffHeight);
    row->addWidget(staff_);

    row->addLayout(
        pitchStepButtons(this, QStringLiteral("tunerMtx_"), [this](int r) { UpDown(r); }));

    auto* right = new QVBoxLayout;
    btnPlay_ = new QPushButton(kPlayTitle, this);
    btnPlay_->setObjectName(QStringLiteral("btnPlay"));
    btnPlay_->setToolTip(tr("Start or stop the reference tone"));
    btnPlay_->setAccessibleName(tr("Start or stop the reference tone"));
    connect(btnPlay_, &QPushButton::clicked, this, [this] { play(); });
    // The note's name, ours first and the scientific one beside it.
    lblNoteName_ = new QLabel(this);
    lblNoteName_->setObjectName(QStringLiteral("lblNoteName"));
    lblNoteName_->setToolTip(
        tr("The note's name here, and in brackets its scientific name (A4 = 440 Hz)"));
    lblHz_ = new QLabel(this);
    lblHz_->setObjectName(QStringLiteral("lblHz"));
    lblHz_->setMinimumWidth(90);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("tunerStatus"));
    status_->setWordWrap(true);
    right->addWidget(btnPlay_);
    right->addWidget(lblNoteName_);
    right->addWidget(lblHz_);
    right->addWidget(status_);
    right->addStretch(1);
    row->addLayout(right);

    // Listening: the switch and the reference on one line, the played note below.
    auto* listenRow = new QHBoxLayout;
    btnListen_ = new QPushButton(tr(qPrintable(kListenTitle)), this);
    btnListen_->setObjectName(QStringLiteral("btnListen"));
    btnListen_->setCheckable(true);
    btnListen_->setToolTip(tr("Listen to the microphone and show the played note"));
    connect(btnListen_, &QPushButton::clicked, this, [this] { listen(); });
    lblReference_ = new QLabel(this);
    lblReference_->setObjectName(QStringLiteral("lblReference"));
    listenRow->addWidget(btnListen_);
    listenRow->addWidget(lblReference_);
    listenRow->addStretch(1);
    outer->addLayout(listenRow);

    auto* noteRow = new QHBoxLayout;
    imgListen_ = new QLabel(this);
    imgListen_->setObjectName(QStringLiteral("imgListenNote"));
    imgListen_->setFixedSize(kNoteImageWidth, kNoteImageHeight);
    imgListen_->setAlignment(Qt::AlignCenter);
    connect(&PictureCache::instance(), &PictureCache::ready, this, [this] {
        if (imgListen_->pixmap().isNull() && !picturePath_.isEmpty()) {
            showListenPicture(picturePath_);
        }
    });
    noteRow->addWidget(imgListen_);
    auto* readout = new QVBoxLayout;
    lblNote_ = new QLabel(this);
    lblNote_->setObjectName(QStringLiteral("lblListenNote"));
    QFont big = lblNote_->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    lblNote_->setFont(big);
    lblNote_->setMinimumWidth(80);
    lblListenHz_ = new QLabel(this);
    lblListenHz_->setObjectName(QStringLiteral("lblListenHz"));
    lblCents_ = new QLabel(this);
    lblCents_->setObjectName(QStringLiteral("lblCents"));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(lblNote_);
    nameRow->addWidget(lblCents_);
    nameRow->addWidget(lblListenHz_);
    nameRow->addStretch(1);
    readout->addLayout(nameRow);
    meter_ = new CentsMeter(NoteFollower::kInTuneCents, this);
    meter_->setObjectName(QStringLiteral("centsMeter"));
    meter_->setAccessibleName(tr("Tuning"));
    readout->addWidget(meter_);
    noteRow->addLayout(readout, 1);
    outer->addLayout(noteRow);
    listenStatus_ = new QLabel(this);
    listenStatus_->setObjectName(QStringLiteral("listenStatus"));
    listenStatus_->setWordWrap(true);
    outer->addWidget(listenStatus_);

    poll_ = new QTimer(this);
    poll_->setInterval(kListenPollMs);
    connect(poll_, &QTimer::timeout, this, [this] { showReading(); });
    refresh();
    refreshListen();
}

TunerWindow::~TunerWindow() {
    poll_->stop();
    // The recording thread ends before the widgets it is shown in.
    listener_.reset();
    tuner_->gosen.onNeedsDisplay = nullptr;
}

void TunerWindow::setImageSet(const std::string& name) {
    selInst_ = name;
    staff_->update();
    shownSerial_ = 0;
    picturePath_ = QStringLiteral("?");
    showReading();
}

void TunerWindow::setSetFolder(const std::string& folder) {
    setFolder_ = folder;
    tuner_->gosen.imgFol = folder;
    staff_->update();
    shownSerial_ = 0;
    picturePath_ = QStringLiteral("?");
    showReading();
}

void TunerWindow::play() {
    tuner_->play();
    refresh();
}

void TunerWindow::UpDown(int row) {
    tuner_->UpDown(row);
}

void TunerWindow::closeEvent(QCloseEvent* event) {
    // A closed tuner does not go on sounding, nor listening, unseen.
    if (tuner_->nowPlaying()) play();
    if (listener_->listening()) listen();
    event->accept();
}

void TunerWindow::setReferencePitch(std::int64_t hz) {
    listener_->setReferencePitch(hz);
    refreshListen();
}

void TunerWindow::listen() {
    listener_->listen();
    refreshListen();
}

void TunerWindow::refreshListen() {
    const bool on = listener_->listening();
    btnListen_->setChecked(on);
    btnListen_->setText(tr(qPrintable(on ? kListeningTitle : kListenTitle)));
    lblReference_->setText(tr("A = %1 Hz").arg(listener_->referencePitch()));
    if (on) {
        poll_->start();
    } else {
        poll_->stop();
    }
    shownSerial_ = 0;
    showReading();
}

void TunerWindow::showReading() {
    PitchListener::Snapshot snap = listener_->snapshot();
    if (snap.inputLost && listener_->listening()) {
        // The microphone went away (or never came): the switch goes off, the reason stays.
        listener_->listen();
        btnListen_->setChecked(false);
        btnListen_->setText(tr(qPrintable(kListenTitle)));
        poll_->stop();
        snap = listener_->snapshot();
    }
    if (snap.serial == shownSerial_ && shownSerial_ != 0) return;
    shownSerial_ = snap.serial;
    displayed_ = snap.reading;
    const ListenReading& r = displayed_;
    // A held note changes its reading with every analysis step: only what changed on the
    // screen is set, so the window repaints little.
    setTextIfChanged(listenStatus_, coreText(snap.status));
    setTextIfChanged(lblNote_, r.hasNote ? QString::fromStdString(
                                               exchange::pitchNameWithScientific(r.pitchIndex))
                                         : QStringLiteral("–"));
    setTextIfChanged(lblListenHz_,
                     QString::fromStdString(listenHzLabel(r.hasNote ? r.frequency : 0)));
    setTextIfChanged(lblCents_, r.hasNote ? coreText(centsLabel(r.cents)) : QString());
    meter_->setCents(r.hasNote ? std::optional<float>(r.cents) : std::nullopt);
    const QString path =
        r.hasNote ? QString::fromStdString(setFolder_ + "/" + selInst_ + "/" + r.name + ".png")
                  : QString();
    if (path != picturePath_) showListenPicture(path);
    const QString text = readingText();
    if (meter_->accessibleDescription() != text) {
        meter_->setAccessibleDescription(text);
        lblNote_->setAccessibleDescription(text);
        if (logReadings_) diag("tuner shows: " + text.toStdString());
    }
}

void TunerWindow::showListenPicture(const QString& path) {
    picturePath_ = path;
    // Decoded off the GUI thread; PictureCache::ready brings it back here when it lands.
    const qreal dpr = devicePixelRatioF();
    QPixmap picture = path.isEmpty()
                          ? QPixmap()
                          : PictureCache::instance()
                                .lookup(path, QSize(kNoteImageWidth, kNoteImageHeight) * dpr)
                                .picture;
    picture.setDevicePixelRatio(dpr);
    imgListen_->setPixmap(picture);
}

QString TunerWindow::readingText() const {
    const ListenReading& r = displayed_;
    if (!r.hasNote) return QStringLiteral("No note");
    return QStringLiteral("%1 %2 %3")
        .arg(QString::fromStdString(exchange::pitchNameWithScientific(r.pitchIndex)),
             QString::fromStdString(centsLabel(r.cents)),
             QString::fromStdString(listenHzLabel(r.frequency)));
}

void TunerWindow::showNoteName() {
    setTextIfChanged(lblNoteName_,
                     QString::fromStdString(exchange::pitchNameWithScientific(tuner_->note())));
}

void TunerWindow::refresh() {
    const bool sounding = tuner_->nowPlaying();
    btnPlay_->setText(sounding ? kStopTitle : kPlayTitle);
    lblHz_->setText(QString::fromStdString(tuner_->lblHz()));
    showNoteName();
    status_->setText(coreText(tuner_->status()));
}

}  // namespace sorvel::gui
