#include "score_window.h"

#include <QAction>
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
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "edit/chord_lines.h"
#include "flow_layout.h"
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
    // A button that shows only a symbol is named by its tip for screen readers.
    if (!text.contains(QRegularExpression(QStringLiteral("\\p{L}")))) b->setAccessibleName(tip);
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

// A button picture of a note value, at the screen's resolution, inked in the given colour.
QIcon glyphIcon(std::int64_t value, QSize size, const QColor& ink) {
    const qreal dpr = qApp->devicePixelRatio();
    const Size points{static_cast<double>(size.width()), static_cast<double>(size.height())};
    QPixmap pm = QPixmap::fromImage(valuePicture(value, size * dpr, points, ink));
    pm.setDevicePixelRatio(dpr);
    return QIcon(pm);
}

// The property a note-value button keeps its value in.
constexpr const char* kGlyphValue = "glyphValue";
constexpr QSize kGlyphSize{22, 30};
// The entry cell is drawn a little smaller than the staves at their full size.
constexpr double kEntryScale = 0.8;
// The narrowest the window gets: the controls then take two rows.
constexpr int kMinWindowWidth = 960;

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
    column->setContentsMargins(8, 6, 8, 4);
    column->setSpacing(6);
    column->addWidget(buildControls());
    column->addWidget(buildStaffPanel(), 1);
    setCentralWidget(central);
    buildStatusBar();

    doc_->setObserver(this);
    // The core knows the staves at scale 1; the panel scales the drawing and the clicks.
    DocumentLayout layout{StaffPanel::coreFrame(1),
                          StaffPanel::coreFrame(2),
                          StaffPanel::coreFrame(3),
                          {0, 0, static_cast<double>(ScoreLayout::kEntryWidth),
                           static_cast<double>(ScoreLayout::kStaffHeight)}};
    doc_->windowControllerDidLoadNib(layout, setFolder);
    playback_ = std::make_unique<ScorePlayback>(audio_.get(), playBtn_, playMessage_);
    playback_->setSoundingCellHandler([this](std::int64_t cell) { doc_->showSounding(cell); });
    ctl_->playPressed = [this] { togglePlayback(); };
    syncControls();
    scoreArea_->setFocus();
    buildZoomActions();
    // Opens at full size; whoever shows the window fits it to the screen.
    resize(sizeHint());
    updateMinimumSize();

    // Every key release of the window goes through the key logic, whoever has the focus.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
    installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() == this) ctl_->makeFirstResponder(qobject_cast<QLineEdit*>(now));
        showKeyHint();
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
    // The groups of controls carry on in a second row where the window is narrow.
    auto* row = new FlowLayout(box, 12);
    controls_ = row;

    // The entry cell, a little smaller than the staves at their full size.
    auto [entry, entryCol] = titledColumn(tr("Entry"), QString(), box);
    staves_[0] = new StaffWidget(
        doc_->entry().staff(), [this] { return doc_->imageSet(); }, entry,
        ScoreLayout::kStaffHeadroom);
    staves_[0]->setScale(kEntryScale);
    staves_[0]->setFixedSize(
        qRound(kEntryScale * ScoreLayout::kEntryWidth),
        qRound(kEntryScale * (ScoreLayout::kStaffHeadroom + ScoreLayout::kStaffHeight)));
    staves_[0]->setToolTip(
        tr("The entry cell: the note you are writing. Piano keys (A S D F … and W R T …) set "
           "its pitch, 1–6 its note value; Return writes it over the selected cell."));
    staves_[0]->setAccessibleName(tr("Entry cell"));
    connect(staves_[0], &StaffWidget::clicked, this,
            [this](double x, bool shift) { staffClicked(0, x, shift); });
    entryCol->addWidget(staves_[0], 0, Qt::AlignHCenter);
    entryCol->addStretch(1);
    row->addWidget(entry);

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
    const std::array<std::tuple<QString, QString, QString>, 6> marks = {{
        {tr("Blank"), tr("Empty cell"), tr("0")},
        {tr("Dot"), tr("Dotted or not"), tr(".")},
        {tr("Bar"), tr("Bar line"), tr("-")},
        {tr("|:"), tr("Repeat start"), tr("=")},
        {tr(":|"), tr("Repeat end"), tr("` or, on JIS keyboards, ¥")},
        {tr("1."), tr("First ending"), tr("Shift+=")},
    }};
    grid->addWidget(new QLabel(tr("Notes"), values), 0, 0, 1, 6, Qt::AlignHCenter);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 6; ++c) {
            QString text;
            QString name;
            QString key;
            if (r == 0) {
                text = sizes[c];
                name = tr("%1 note").arg(sizeNames[c]);
                key = QString::number(c + 1);
            } else if (r == 1) {
                text = tr("%1 rest").arg(sizes[c]);
                name = tr("%1 rest").arg(sizeNames[c]);
                key = tr("Shift+%1").arg(c + 1);
            } else {
                std::tie(text, name, key) = marks[static_cast<std::size_t>(c)];
            }
            auto* b = makeButton(text, QStringLiteral("onpMtx1_%1_%2").arg(r).arg(c),
                                 tr("%1 (%2)").arg(name, key), values);
            b->setAccessibleName(name);
            // Notes, rests and marks show their own glyph, in the button's text colour;
            // blank and dot keep their words.
            if (const auto v = matrixValue(r, c)) {
                b->setText(QString());
                b->setProperty(kGlyphValue, QVariant::fromValue<qint64>(*v));
                b->setIconSize(kGlyphSize);
            }
            b->setFixedSize(46, 34);
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
    paintGlyphs(values);

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
    form->addWidget(playBtn_, 0, 0, 1, 4);
    // Two columns of settings under the play button, so that the controls stay low.
    auto addCombo = [&](int r, int c, const QString& label, const QString& name) {
        auto* combo = new QComboBox(play);
        combo->setObjectName(name);
        form->addWidget(new QLabel(label, play), r, 2 * c);
        form->addWidget(combo, r, 2 * c + 1);
        return combo;
    };
    cmbTempo_ = addCombo(1, 0, tr("Tempo"), QStringLiteral("cmbTempo"));
    cmbInKey_ = addCombo(1, 1, tr("Instrument in"), QStringLiteral("cmbInKey"));
    cmbBeat_ = addCombo(2, 0, tr("Beats"), QStringLiteral("cmbBeat"));
    imgCombo_ = addCombo(2, 1, tr("Pictures"), QStringLiteral("imgCombo"));
    aHz_ = new QLineEdit(play);
    aHz_->setObjectName(QStringLiteral("A_Hz"));
    aHz_->setToolTip(tr("Concert pitch of A in Hz; press Return to apply"));
    aHz_->setMaximumWidth(70);
    form->addWidget(new QLabel(tr("A = Hz"), play), 3, 0);
    form->addWidget(aHz_, 3, 1);
    // Why playback did not start, when it did not; hidden otherwise.
    playMessage_ = new QLabel(play);
    playMessage_->setObjectName(QStringLiteral("playMessage"));
    playMessage_->setWordWrap(true);
    form->addWidget(playMessage_, 3, 2, 1, 2);
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
    return box;
}

QWidget* ScoreWindow::buildStaffPanel() {
    panel_ = new StaffPanel(this);
    scoreArea_ = panel_;
    scoreArea_->setObjectName(QStringLiteral("scoreArea"));
    scoreArea_->setFocusPolicy(Qt::StrongFocus);
    scoreArea_->installEventFilter(this);
    for (int r = 1; r <= 3; ++r) {
        auto* field = new QLineEdit(scoreArea_);
        field->setObjectName(QStringLiteral("cdText%1").arg(r));
        field->setPlaceholderText(tr("Chords"));
        // Room for any chord line a file may hold (a character can take two QChars), and a
        // bound on what a paste hands the field; longer edits are refused below.
        field->setMaxLength(static_cast<int>(2 * kMaxChordLineFileChars + 1));
        field->setToolTip(
            tr("Chord symbols of the line below, typed where they belong "
               "(Escape gives the keys back to the score)"));
        field->setAccessibleName(tr("Chord symbols of line %1").arg(r));
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
        label->setToolTip(tr("The line of the score this staff shows"));
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
        pageLabels_[i] = label;

        const GosenView& staff = doc_->pages().staff(r);
        auto* w = new StaffWidget(
            staff, [this] { return doc_->imageSet(); }, scoreArea_, ScoreLayout::kStaffHeadroom);
        w->setToolTip(
            tr("Click a cell to select it, Shift+click to select up to it. The arrow "
               "keys move the selection; Return writes the entry cell over it."));
        w->setAccessibleName(tr("Staff of line %1").arg(r));
        connect(w, &StaffWidget::clicked, this,
                [this, r](double x, bool shift) { staffClicked(r, x, shift); });
        staves_[static_cast<std::size_t>(r)] = w;
        panel_->setRow(r, field, label, w);
    }
    pointer_ = new PointerWidget(scoreArea_);
    panel_->setPointer(pointer_);
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
    // The pointer frames the whole cell, its headroom included, at the staves' scale; none
    // while the staves show lines without the selection (they follow playback).
    panel_->placePointer(pages.pointer());
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

void ScoreWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    // Messages that need no answer, such as a refused chord edit, show there for a while; the
    // hint on the keys shows whenever there is none.
    bar->setSizeGripEnabled(false);
    keyHint_ = makeLabel(QStringLiteral("keyHint"), bar);
    bar->addWidget(keyHint_, 1);
    // The page buttons and the zoom stay in view at the bottom right.
    auto* pageUp = makeButton(tr("▲ Page up"), QStringLiteral("btnPageUp"),
                              tr("Show the previous line on top (Page Up)"), bar);
    auto* pageDown = makeButton(tr("▼ Page down"), QStringLiteral("btnPageDown"),
                                tr("Show the next line on top (Page Down)"), bar);
    connect(pageUp, &QPushButton::clicked, this, [this] { doc_->btnPageUp(); });
    connect(pageDown, &QPushButton::clicked, this, [this] { doc_->btnPageDown(); });
    allP_ = makeLabel(QStringLiteral("allP"), bar);
    zoomLabel_ = makeLabel(QStringLiteral("zoomLabel"), bar);
    zoomLabel_->setToolTip(tr("The staves' size: View > Zoom In, Zoom Out, Actual Size, Fit"));
    for (QWidget* w : std::initializer_list<QWidget*>{
             pageUp, pageDown, new QLabel(tr("Lines in score:"), bar), allP_, zoomLabel_}) {
        bar->addPermanentWidget(w);
    }
    showKeyHint();
}

void ScoreWindow::showKeyHint() {
    if (!keyHint_) return;
    QString hint;
    switch (focusKind()) {
        case FocusKind::Window:
            hint =
                tr("The home row from A is a piano (the row above: black keys, Shift: an "
                   "octave up) · 1–6 note values · Return writes the entry · F1: all keys");
            break;
        case FocusKind::TextField:
            hint = tr("Typing into a field · Escape gives the keys back to the score");
            break;
        case FocusKind::OtherControl:
            hint = tr("Escape gives the keys back to the score");
            break;
    }
    keyHint_->setText(hint);
}

void ScoreWindow::buildZoomActions() {
    auto action = [this](const QString& text, const char* name, QList<QKeySequence> keys,
                         auto run) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcuts(keys);
        // The window's own shortcuts: they work whether the menu bar shows them or not.
        addAction(a);
        connect(a, &QAction::triggered, this, run);
        zoomActions_ << a;
        return a;
    };
    action(tr("Zoom &In"), "zoomIn", {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
           [this] { zoomTo(panel_->nextZoom(+1)); });
    action(tr("Zoom &Out"), "zoomOut", {QKeySequence::ZoomOut},
           [this] { zoomTo(panel_->nextZoom(-1)); });
    action(tr("&Actual Size"), "zoomActual", {QKeySequence(Qt::CTRL | Qt::Key_0)},
           [this] { zoomTo(1.0); });
    QAction* fit = action(tr("&Fit to Window"), "zoomFit", {QKeySequence(Qt::CTRL | Qt::Key_9)},
                          [this](bool on) { panel_->setFitToWindow(on); });
    fit->setCheckable(true);
    connect(panel_, &StaffPanel::scaleChanged, this, [this] { showZoom(); });
    showZoom();
}

void ScoreWindow::zoomTo(double zoom) {
    panel_->setZoom(zoom);
    // The window grows for the staves where the screen has room; beyond that they fit it.
    const QSize want = StaffPanel::sizeAt(panel_->zoom());
    const QSize grow(std::max(0, want.width() - panel_->width()),
                     std::max(0, want.height() - panel_->height()));
    if (grow.width() > 0 || grow.height() > 0) {
        QSize size = this->size() + grow;
        if (const QScreen* s = screen()) {
            const QSize frame = frameGeometry().size() - this->size();
            size = size.boundedTo(s->availableGeometry().size() - frame);
        }
        resize(size.expandedTo(minimumSize()));
    }
    showZoom();
}

void ScoreWindow::showZoom() {
    if (!zoomLabel_) return;
    const int percent = qRound(panel_->scale() * 100);
    zoomLabel_->setText(panel_->fitsToWindow() ? tr("Fit (%1 %)").arg(percent)
                                               : tr("%1 %").arg(percent));
    for (QAction* a : zoomActions_) {
        if (a->isCheckable()) a->setChecked(panel_->fitsToWindow());
    }
}

void ScoreWindow::updateMinimumSize() {
    // Narrowest: the controls in two rows above the staves at their smallest.
    const QMargins m = centralWidget()->layout()->contentsMargins();
    const int inner = kMinWindowWidth - m.left() - m.right();
    const int height = menuBar()->sizeHint().height() + statusBar()->sizeHint().height() + m.top() +
                       m.bottom() + centralWidget()->layout()->spacing() +
                       controls_->heightForWidth(inner) + panel_->minimumSizeHint().height();
    setMinimumSize(kMinWindowWidth, height);
}

void ScoreWindow::paintGlyphs(QWidget* buttons) {
    const QColor ink = palette().color(QPalette::ButtonText);
    for (auto* b : buttons->findChildren<QPushButton*>()) {
        const QVariant v = b->property(kGlyphValue);
        if (v.isValid()) b->setIcon(glyphIcon(v.toLongLong(), kGlyphSize, ink));
    }
}

void ScoreWindow::changeEvent(QEvent* event) {
    // A new desktop theme: the note-value glyphs take its text colour.
    if (event->type() == QEvent::PaletteChange) paintGlyphs(this);
    QMainWindow::changeEvent(event);
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
