#include "score_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "edit/chord_lines.h"
#include "key_mapping.h"
#include "model/note_values.h"
#include "model/score_file.h"
#include "qt_canvas.h"
#include "score_playback.h"
#include "sound/audio_output.h"
#include "staff_widget.h"
#include "view/button_pictures.h"

namespace sorvel::gui {

namespace {

QPushButton* makeButton(const QString& text, const QString& name, const QString& tip,
                        QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    // Buttons never take the keyboard away from the score.
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// A titled column of controls: the widget and its layout, title already in place.
std::pair<QWidget*, QVBoxLayout*> titledColumn(const QString& title, const QString& name,
                                               QWidget* parent) {
    auto* w = new QWidget(parent);
    if (!name.isEmpty()) w->setObjectName(name);
    auto* col = new QVBoxLayout(w);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(2);
    col->addWidget(new QLabel(title, w), 0, Qt::AlignHCenter);
    return {w, col};
}

QLabel* makeLabel(const QString& name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

void setComboItems(QComboBox* combo, const std::vector<std::string>& choices,
                   std::int64_t selected) {
    QStringList items;
    for (const auto& item : choices) items << QString::fromStdString(item);
    bool same = combo->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = combo->itemText(i) == items[i];
    if (!same) {
        combo->clear();
        combo->addItems(items);
    }
    if (combo->currentIndex() != selected) combo->setCurrentIndex(static_cast<int>(selected));
}

// A button picture of a note value, at the screen's resolution.
QIcon glyphIcon(std::int64_t value, QSize size) {
    const qreal dpr = qApp->devicePixelRatio();
    const Size points{static_cast<double>(size.width()), static_cast<double>(size.height())};
    QPixmap pm = QPixmap::fromImage(
        drawnImage(size * dpr, points, [&](Canvas& c) { drawValueButton(c, value, points); }));
    pm.setDevicePixelRatio(dpr);
    return QIcon(pm);
}

void setTextIfChanged(QLabel* label, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (label->text() != t) label->setText(t);
}

void setTextIfChanged(QLineEdit* field, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (field->text() != t) field->setText(t);
}

}  // namespace

ScoreWindow::ScoreWindow(std::unique_ptr<Document> doc, const std::string& setFolder,
                         std::unique_ptr<AudioOutput> audio, QWidget* parent)
    : QMainWindow(parent),
      audio_(std::move(audio)),
      doc_(std::move(doc)),
      ctl_(std::make_unique<winCTL>(*doc_)) {
    setObjectName(QStringLiteral("winCTL"));
    setWindowTitle(tr("Untitled") + QStringLiteral("[*]"));
    doc_->setAudioOutput(audio_.get());

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(10, 8, 10, 8);
    column->setSpacing(8);
    column->addWidget(buildControls());
    column->addWidget(buildStaffPanel(), 0, Qt::AlignLeft);

    auto* bottom = new QHBoxLayout;
    auto* pageUp = makeButton(tr("▲ Page up"), QStringLiteral("btnPageUp"),
                              tr("Show the previous line on top (Page Up)"), central);
    auto* pageDown = makeButton(tr("▼ Page down"), QStringLiteral("btnPageDown"),
                                tr("Show the next line on top (Page Down)"), central);
    connect(pageUp, &QPushButton::clicked, this, [this] { doc_->btnPageUp(); });
    connect(pageDown, &QPushButton::clicked, this, [this] { doc_->btnPageDown(); });
    allP_ = makeLabel(QStringLiteral("allP"), central);
    bottom->addWidget(pageUp);
    bottom->addWidget(pageDown);
    bottom->addSpacing(12);
    bottom->addWidget(new QLabel(tr("Lines in score:"), central));
    bottom->addWidget(allP_);
    bottom->addStretch(1);
    column->addLayout(bottom);
    column->addStretch(1);
    setCentralWidget(central);
    // Messages that need no answer, such as a refused chord edit, show at the bottom.
    statusBar()->setSizeGripEnabled(false);

    doc_->setObserver(this);
    // A staff's frame is its band, below the widget's headroom.
    const auto frameOf = [](const QWidget* w) {
        return Rect{
            static_cast<double>(w->x()), static_cast<double>(w->y() + ScoreLayout::kStaffHeadroom),
            static_cast<double>(w->width()), static_cast<double>(ScoreLayout::kStaffHeight)};
    };
    DocumentLayout layout{frameOf(staves_[1]),
                          frameOf(staves_[2]),
                          frameOf(staves_[3]),
                          {0, 0, static_cast<double>(staves_[0]->width()),
                           static_cast<double>(ScoreLayout::kStaffHeight)}};
    doc_->windowControllerDidLoadNib(layout, setFolder);
    playback_ = std::make_unique<ScorePlayback>(audio_.get(), playBtn_, playMessage_);
    playback_->setSoundingCellHandler([this](std::int64_t cell) { doc_->showSounding(cell); });
    ctl_->playPressed = [this] { togglePlayback(); };
    syncControls();
    scoreArea_->setFocus();

    // Every key release of the window goes through the key logic, whoever has the focus.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
    installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() == this) ctl_->makeFirstResponder(qobject_cast<QLineEdit*>(now));
    });
}

ScoreWindow::~ScoreWindow() {
    // Hidden while the document still exists: hiding ends a chord field's editing, which the
    // base class destructor would otherwise do after the document is gone.
    hide();
    announceClosing();
    doc_->setObserver(nullptr);
}

void ScoreWindow::announceClosing() {
    if (closingAnnounced_) return;
    closingAnnounced_ = true;
    emit closing(doc_.get());
}

QWidget* ScoreWindow::buildControls() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);

    // The entry cell.
    auto* entry = new QVBoxLayout;
    entry->setSpacing(2);
    staves_[0] = new StaffWidget(
        doc_->entry().staff(), [this] { return doc_->imageSet(); }, box,
        ScoreLayout::kStaffHeadroom);
    staves_[0]->setFixedSize(ScoreLayout::kEntryWidth,
                             ScoreLayout::kStaffHeadroom + ScoreLayout::kStaffHeight);
    connect(staves_[0], &StaffWidget::clicked, this,
            [this](double x, bool shift) { staffClicked(0, x, shift); });
    entry->addWidget(new QLabel(tr("Entry"), box), 0, Qt::AlignHCenter);
    entry->addWidget(staves_[0]);
    entry->addStretch(1);
    row->addLayout(entry);

    // Pitch steps of the entry cell.
    auto [pitch, pitchCol] = titledColumn(tr("Pitch"), QStringLiteral("pitchMtx"), box);
    const std::array<std::pair<QString, QString>, 5> pitchRows = {{
        {tr("♯ ▲"), tr("Next pitch up, sharps and flats included (Shift+Up)")},
        {tr("▲"), tr("Next natural pitch up (Up)")},
        {tr("▼"), tr("Next natural pitch down (Down)")},
        {tr("♭ ▼"), tr("Next pitch down, sharps and flats included (Shift+Down)")},
        {tr("Octave"), tr("An octave up, or down from the top octave (])")},
    }};
    for (int r = 0; r < 5; ++r) {
        auto* b = makeButton(pitchRows[static_cast<std::size_t>(r)].first,
                             QStringLiteral("pitchMtx_%1").arg(r),
                             pitchRows[static_cast<std::size_t>(r)].second, pitch);
        connect(b, &QPushButton::clicked, this, [this, r] { doc_->stepEntryPitch(r); });
        pitchCol->addWidget(b);
    }
    row->addWidget(pitch);

    // Note values, rests and marks.
    auto* values = new QWidget(box);
    values->setObjectName(QStringLiteral("onpMtx1"));
    auto* grid = new QGridLayout(values);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    const QString sizes[6] = {tr("1"), tr("1/2"), tr("1/4"), tr("1/8"), tr("1/16"), tr("1/32")};
    const QString sizeNames[6] = {tr("whole"),  tr("half"),      tr("quarter"),
                                  tr("eighth"), tr("sixteenth"), tr("thirty-second")};
    const std::array<std::pair<QString, QString>, 6> marks = {{
        {tr("Blank"), tr("Empty cell (0)")},
        {tr("Dot"), tr("Dotted or not (.)")},
        {tr("Bar"), tr("Bar line (-)")},
        {tr("|:"), tr("Repeat start (=)")},
        {tr(":|"), tr("Repeat end (` or, on JIS keyboards, ¥)")},
        {tr("1."), tr("First ending (Shift+=)")},
    }};
    grid->addWidget(new QLabel(tr("Notes"), values), 0, 0, 1, 6, Qt::AlignHCenter);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 6; ++c) {
            QString text;
            QString tip;
            if (r == 0) {
                text = sizes[c];
                tip = tr("%1 note (%2)").arg(sizeNames[c]).arg(c + 1);
            } else if (r == 1) {
                text = tr("%1 rest").arg(sizes[c]);
                tip = tr("%1 rest (Shift+%2)").arg(sizeNames[c]).arg(c + 1);
            } else {
                text = marks[static_cast<std::size_t>(c)].first;
                tip = marks[static_cast<std::size_t>(c)].second;
            }
            auto* b = makeButton(text, QStringLiteral("onpMtx1_%1_%2").arg(r).arg(c), tip, values);
            // Notes, rests and marks show their own glyph; blank and dot keep their words.
            if (const auto v = matrixValue(r, c)) {
                b->setText(QString());
                b->setIcon(glyphIcon(*v, {22, 30}));
                b->setIconSize({22, 30});
            }
            b->setFixedSize(48, 36);
            connect(b, &QPushButton::clicked, this, [this, r, c] { doc_->setEntryValue(r, c); });
            grid->addWidget(b, r + 1, c);
        }
    }
    auto* triplet =
        makeButton(tr("Triplet"), QStringLiteral("Triplet"), tr("Triplet or not (9)"), values);
    auto* tie = makeButton(tr("Tie"), QStringLiteral("tie"), tr("Tied to the next note or not (8)"),
                           values);
    connect(triplet, &QPushButton::clicked, this, [this] { doc_->toggleTriplet(); });
    connect(tie, &QPushButton::clicked, this, [this] { doc_->toggleTie(); });
    grid->addWidget(triplet, 4, 0, 1, 3);
    grid->addWidget(tie, 4, 3, 1, 3);
    row->addWidget(values);

    // Writing the entry cell into the score.
    auto [edit, editCol] = titledColumn(tr("Score"), QString(), box);
    const std::array<std::tuple<QString, QString, QString>, 4> editButtons = {{
        {tr("Update"), QStringLiteral("btnUPDate"),
         tr("Write the entry over the selected cell (Return)")},
        {tr("Insert"), QStringLiteral("btnIns"),
         tr("Insert the entry before the selected cell (/)")},
        {tr("Add"), QStringLiteral("btnADD"),
         tr("Insert the entry after the selected cell (, or, on JIS keyboards, _)")},
        {tr("Delete"), QStringLiteral("btnDel"), tr("Delete the selected cells (Backspace)")},
    }};
    for (int i = 0; i < 4; ++i) {
        const auto& [text, name, tip] = editButtons[static_cast<std::size_t>(i)];
        auto* b = makeButton(text, name, tip, edit);
        connect(b, &QPushButton::clicked, this, [this, i] {
            switch (i) {
                case 0:
                    doc_->btnUPDate();
                    break;
                case 1:
                    doc_->btnIns();
                    break;
                case 2:
                    doc_->btnADD();
                    break;
                default:
                    doc_->btnDel();
                    break;
            }
        });
        editCol->addWidget(b);
    }
    editCol->addStretch(1);
    row->addWidget(edit);

    // Transposition.
    auto [transpose, trCol] = titledColumn(tr("Transpose"), QStringLiteral("transposeMtx"), box);
    auto* up =
        makeButton(tr("Semitone ▲"), QStringLiteral("transposeMtx_0"),
                   tr("Transpose the score, or the selected cells, a semitone up"), transpose);
    auto* down =
        makeButton(tr("Semitone ▼"), QStringLiteral("transposeMtx_1"),
                   tr("Transpose the score, or the selected cells, a semitone down"), transpose);
    connect(up, &QPushButton::clicked, this, [this] { doc_->btnAllUpDown(0); });
    connect(down, &QPushButton::clicked, this, [this] { doc_->btnAllUpDown(1); });
    withCode_ = new QCheckBox(tr("Chords too"), transpose);
    withCode_->setObjectName(QStringLiteral("withCode"));
    withCode_->setToolTip(tr("Transposing the whole score also transposes the chord symbols"));
    withCode_->setFocusPolicy(Qt::NoFocus);
    connect(withCode_, &QCheckBox::toggled, this, [this](bool on) { doc_->setWithCode(on); });
    trCol->addWidget(up);
    trCol->addWidget(down);
    trCol->addWidget(withCode_);
    trCol->addStretch(1);
    row->addWidget(transpose);

    // Playback settings.
    auto* play = new QWidget(box);
    auto* form = new QGridLayout(play);
    form->setContentsMargins(0, 0, 0, 0);
    form->setHorizontalSpacing(6);
    form->setVerticalSpacing(3);
    playBtn_ =
        makeButton(QString::fromUtf8(kPlayTitle.data(), static_cast<qsizetype>(kPlayTitle.size())),
                   QStringLiteral("playBtn"),
                   tr("Play the score from the selected cell, or stop (Space)"), play);
    playBtn_->setMinimumHeight(34);
    QFont big = playBtn_->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    playBtn_->setFont(big);
    form->addWidget(playBtn_, 0, 0, 1, 2);
    auto addCombo = [&](int r, const QString& label, const QString& name) {
        auto* combo = new QComboBox(play);
        combo->setObjectName(name);
        form->addWidget(new QLabel(label, play), r, 0);
        form->addWidget(combo, r, 1);
        return combo;
    };
    cmbTempo_ = addCombo(1, tr("Tempo"), QStringLiteral("cmbTempo"));
    cmbInKey_ = addCombo(2, tr("Instrument in"), QStringLiteral("cmbInKey"));
    cmbBeat_ = addCombo(3, tr("Beats"), QStringLiteral("cmbBeat"));
    imgCombo_ = addCombo(4, tr("Pictures"), QStringLiteral("imgCombo"));
    aHz_ = new QLineEdit(play);
    aHz_->setObjectName(QStringLiteral("A_Hz"));
    aHz_->setToolTip(tr("Concert pitch of A in Hz; press Return to apply"));
    aHz_->setMaximumWidth(70);
    form->addWidget(new QLabel(tr("A = Hz"), play), 5, 0);
    form->addWidget(aHz_, 5, 1);
    // Why playback did not start, when it did not; hidden otherwise.
    playMessage_ = new QLabel(play);
    playMessage_->setObjectName(QStringLiteral("playMessage"));
    playMessage_->setWordWrap(true);
    form->addWidget(playMessage_, 6, 0, 1, 2);
    connect(playBtn_, &QPushButton::clicked, this, [this] { togglePlayback(); });
    connect(cmbTempo_, &QComboBox::activated, this, [this](int i) {
        doc_->chooseTempo(i);
        playback_->tempoChanged(doc_->score().settings.tempoText());
    });
    connect(cmbInKey_, &QComboBox::activated, this, [this](int i) { doc_->chooseKey(i); });
    connect(cmbBeat_, &QComboBox::activated, this, [this](int i) { doc_->chooseBeat(i); });
    connect(imgCombo_, &QComboBox::activated, this, [this](int i) {
        doc_->chooseImageSet(i);
        doc_->cmbImage();
    });
    // After a choice the keyboard goes back to the score: the arrow keys would otherwise
    // go on changing the combo box while the user means to step the entry pitch.
    for (QComboBox* combo : {cmbTempo_, cmbInKey_, cmbBeat_, imgCombo_}) {
        connect(combo, &QComboBox::activated, this, [this] { scoreArea_->setFocus(); });
    }
    connect(aHz_, &QLineEdit::textEdited, this,
            [this](const QString& t) { doc_->setReferencePitchText(t.toStdString()); });
    // Applied on Return and when the field loses the keyboard, so the pitch shown is the
    // pitch sounding.
    connect(aHz_, &QLineEdit::editingFinished, this, [this] { doc_->chgFreq(); });
    row->addWidget(play);

    // Pointer and selection end.
    auto* where = new QWidget(box);
    auto* whereGrid = new QGridLayout(where);
    whereGrid->setContentsMargins(0, 0, 0, 0);
    whereGrid->addWidget(new QLabel(tr("Selection"), where), 0, 0, 1, 3, Qt::AlignHCenter);
    whereGrid->addWidget(new QLabel(tr("Row"), where), 1, 1);
    whereGrid->addWidget(new QLabel(tr("Column"), where), 1, 2);
    whereGrid->addWidget(new QLabel(tr("From"), where), 2, 0);
    whereGrid->addWidget(new QLabel(tr("To"), where), 3, 0);
    gosenRaw_ = makeLabel(QStringLiteral("gosenRaw"), where);
    gosenCol_ = makeLabel(QStringLiteral("gosenCol"), where);
    gosenRawTo_ = makeLabel(QStringLiteral("gosenRawTo"), where);
    gosenColTo_ = makeLabel(QStringLiteral("gosenColTo"), where);
    whereGrid->addWidget(gosenRaw_, 2, 1);
    whereGrid->addWidget(gosenCol_, 2, 2);
    whereGrid->addWidget(gosenRawTo_, 3, 1);
    whereGrid->addWidget(gosenColTo_, 3, 2);
    whereGrid->setRowStretch(4, 1);
    row->addWidget(where);
    row->addStretch(1);
    return box;
}

QWidget* ScoreWindow::buildStaffPanel() {
    scoreArea_ = new QWidget(this);
    scoreArea_->setObjectName(QStringLiteral("scoreArea"));
    scoreArea_->setFocusPolicy(Qt::StrongFocus);
    scoreArea_->installEventFilter(this);
    const int width = ScoreLayout::kLabelColumn + ScoreLayout::kStaffWidth;
    scoreArea_->setFixedSize(width, ScoreLayout::rowTop(4) - ScoreLayout::kRowGap);
    for (int r = 1; r <= 3; ++r) {
        const int top = ScoreLayout::rowTop(r);
        auto* field = new QLineEdit(scoreArea_);
        field->setObjectName(QStringLiteral("cdText%1").arg(r));
        field->setPlaceholderText(tr("Chords"));
        // Room for any chord line a file may hold (a character can take two QChars), and a
        // bound on what a paste hands the field; longer edits are refused below.
        field->setMaxLength(static_cast<int>(2 * kMaxChordLineFileChars + 1));
        field->setGeometry(ScoreLayout::kLabelColumn, top, ScoreLayout::kStaffWidth,
                           ScoreLayout::kChordHeight - 3);
        field->installEventFilter(this);
        const std::size_t i = static_cast<std::size_t>(r - 1);
        connect(field, &QLineEdit::textEdited, this, [this, i, field](const QString& t) {
            // A pasted line break would split the chord line in the saved file.
            const std::string text = chordTextOnOneLine(t.toStdString());
            if (chordEditTooLong(doc_->pages().chordFields()[i], text)) {
                refuseChordEdit(i, t.size());
                return;
            }
            const QString shown = QString::fromStdString(text);
            if (shown != t) {
                const int cursor = field->cursorPosition();
                field->setText(shown);
                field->setCursorPosition(std::min(cursor, static_cast<int>(shown.size())));
            }
            doc_->setChordField(i, text);
        });
        connect(field, &QLineEdit::editingFinished, this,
                [this] { doc_->controlTextDidEndEditing(); });
        cdText_[i] = field;

        auto* label = makeLabel(QStringLiteral("pGosen%1").arg(r), scoreArea_);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(0, top + ScoreLayout::kBandOffset, ScoreLayout::kLabelColumn - 8,
                           ScoreLayout::kStaffHeight / 2);
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
        pageLabels_[i] = label;

        const GosenView& staff = doc_->pages().staff(r);
        auto* w = new StaffWidget(
            staff, [this] { return doc_->imageSet(); }, scoreArea_, ScoreLayout::kStaffHeadroom);
        w->setGeometry(ScoreLayout::kLabelColumn, top + ScoreLayout::kChordHeight,
                       ScoreLayout::kStaffWidth,
                       ScoreLayout::kStaffHeadroom + ScoreLayout::kStaffHeight);
        connect(w, &StaffWidget::clicked, this,
                [this, r](double x, bool shift) { staffClicked(r, x, shift); });
        staves_[static_cast<std::size_t>(r)] = w;
    }
    pointer_ = new PointerWidget(scoreArea_);
    pointer_->raise();
    return scoreArea_;
}

void ScoreWindow::refuseChordEdit(std::size_t field, qsizetype editedLength) {
    // The field goes back to the line it held, the cursor to where the edit began, and the
    // typed or pasted text stays wherever it came from.
    QLineEdit* edit = cdText_[field];
    const QString before = QString::fromStdString(doc_->pages().chordFields()[field]);
    const qsizetype cursor = edit->cursorPosition() - (editedLength - before.size());
    edit->setText(before);
    edit->setCursorPosition(static_cast<int>(std::clamp<qsizetype>(cursor, 0, before.size())));
    statusBar()->showMessage(
        tr("A chord line holds at most %1 characters: the text that would make line %2 longer "
           "was not taken.")
            .arg(kMaxChordLineChars)
            .arg(doc_->pages().topPage() + static_cast<std::int64_t>(field)),
        15000);
}

void ScoreWindow::staffClicked(int row, double x, bool shift) {
    if (row == 0) {
        ctl_->staffMouseUp(0, 1, shift);
        return;
    }
    ctl_->staffMouseUp(row, doc_->pages().staff(row).columnAt(x), shift);
}

void ScoreWindow::staffNeedsDisplay(const GosenView& staff) {
    for (StaffWidget* w : staves_) {
        if (w && &w->staff() == &staff) w->update();
    }
}

void ScoreWindow::controlsChanged() {
    if (!syncing_) syncControls();
}

void ScoreWindow::scoreChanged() {
    setWindowModified(doc_->modified());
    emit edited(doc_.get());
}

void ScoreWindow::syncControls() {
    if (!scoreArea_) return;
    syncing_ = true;
    const Document& d = *doc_;
    const StaffPages& pages = d.pages();
    // Page and selection labels are formatted from the document's integers here.
    for (std::size_t i = 0; i < 3; ++i) {
        setTextIfChanged(pageLabels_[i],
                         std::to_string(pages.topPage() + static_cast<std::int64_t>(i)));
        setTextIfChanged(cdText_[i], pages.chordFields()[i]);
    }
    setTextIfChanged(allP_, std::to_string(pages.pageCount()));
    const Selection sel = pages.selection();
    setTextIfChanged(gosenRaw_, std::to_string(sel.row));
    setTextIfChanged(gosenCol_, std::to_string(sel.column));
    setTextIfChanged(gosenRawTo_, std::to_string(sel.rowTo));
    setTextIfChanged(gosenColTo_, std::to_string(sel.columnTo));
    setTextIfChanged(aHz_, d.sound().referenceText());
    const ScoreSettings& set = d.score().settings;
    setComboItems(imgCombo_, d.imageSets(), set.imageSet);
    setComboItems(cmbTempo_, tempoItems(), set.tempo);
    setComboItems(cmbInKey_, inKeyItems(), set.key);
    setComboItems(cmbBeat_, beatItems(), set.beat);
    if (withCode_->isChecked() != d.withCode()) withCode_->setChecked(d.withCode());
    // The pointer frames the whole cell, its headroom included.
    const Rect p = pages.pointer();
    const QRect frame(qRound(p.x), qRound(p.y) - ScoreLayout::kStaffHeadroom, qRound(p.width),
                      qRound(p.height) + ScoreLayout::kStaffHeadroom);
    if (pointer_->geometry() != frame) pointer_->setGeometry(frame);
    // No frame while the staves show lines without the selection (they follow playback).
    pointer_->setVisible(p.width > 0);
    syncing_ = false;
}

void ScoreWindow::endEditing() {
    // Any control of the window gives the keyboard back: a field ends its editing, a combo
    // box stops taking the arrow keys.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus != scoreArea_ && isAncestorOf(focus)) scoreArea_->setFocus();
}

FocusKind ScoreWindow::focusKind() const {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus == scoreArea_ || focus == this || focus->window() != this) {
        return FocusKind::Window;
    }
    if (qobject_cast<QLineEdit*>(focus)) return FocusKind::TextField;
    return FocusKind::OtherControl;
}

bool ScoreWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // Keys held when the window loses the keyboard are released elsewhere.
    if (type == QEvent::WindowDeactivate && watched == this) pressedHere_.clear();
    if (type == QEvent::KeyRelease || type == QEvent::KeyPress ||
        type == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const std::optional<std::int64_t> code = macKeyCode(*key);
        if (type != QEvent::KeyRelease) {
            // Keys pressed with Ctrl, Alt or Meta stay shortcut keys until released.
            if (code && !key->isAutoRepeat()) {
                ctl_->keyDown(*code, keyModifiers(*key));
                if (type == QEvent::KeyPress) pressedHere_.insert(*code);
            }
            return false;
        }
        // Only a key pressed in this window acts on release: the Return that closed a save
        // dialog or a letter that chose a menu item must not edit the score.
        if (!key->isAutoRepeat() && code && pressedHere_.erase(*code) > 0) {
            QWidget* focus = QApplication::focusWidget();
            const char* focusClass = focus ? focus->metaObject()->className() : "";
            ctl_->keyUp(*code, keyModifiers(*key), focusKind(), focusClass);
        }
        // Handled once here, not again by the parents.
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void ScoreWindow::mouseReleaseEvent(QMouseEvent* event) {
    ctl_->mouseUp();
    QMainWindow::mouseReleaseEvent(event);
}

void ScoreWindow::togglePlayback() {
    playback_->toggle(doc_->playRequest(playback_->exerciseMode()));
}

void ScoreWindow::setPlaybackContext(Alerts* alerts, std::function<bool()> exerciseMode) {
    playback_->setContext(alerts, std::move(exerciseMode));
}

void ScoreWindow::closeEvent(QCloseEvent* event) {
    // Cancelled: the window stays, and goes on playing.
    if (mayClose_ && !mayClose_()) {
        event->ignore();
        return;
    }
    playback_->stop();
    announceClosing();
    event->accept();
}

}  // namespace sorvel::gui
