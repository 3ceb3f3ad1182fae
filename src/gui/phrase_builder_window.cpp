#include "phrase_builder_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core_text.h"
#include "model/diagnostics.h"
#include "ports/alerts.h"
#include "qt_canvas.h"
#include "scaleedit/phrase_score.h"
#include "view/button_pictures.h"

namespace sorvel::gui {
namespace {

QPushButton* commandButton(const QString& title, const char* objectName, QWidget* parent) {
    auto* b = new QPushButton(title, parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    return b;
}

QLineEdit* field(const char* objectName, QWidget* parent) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(QString::fromLatin1(objectName));
    return f;
}

}  // namespace

PatternTableModel::PatternTableModel(PhraseBuilder& builder, QObject* parent)
    : QAbstractTableModel(parent), builder_(builder) {}

int PatternTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(builder_.rowCount());
}

int PatternTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant PatternTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return QString::fromStdString(
        builder_.field(static_cast<std::size_t>(index.row()), index.column()));
}

bool PatternTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const auto refused = builder_.setField(static_cast<std::size_t>(index.row()), index.column(),
                                           value.toString().toStdString());
    if (refused) {
        if (onRefused) onRefused(coreText(*refused));
        return false;
    }
    // The row is now exactly its name and offsets: both cells may show something new.
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), 1));
    return true;
}

QVariant PatternTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return section == 0 ? tr("key") : tr("offsets");
}

Qt::ItemFlags PatternTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

void PatternTableModel::reload() {
    beginResetModel();
    endResetModel();
}

QIcon noteButtonIcon(std::size_t button, phrase::Clef clef) {
    if (button >= phrase::kNoteButtons) return {};
    return QIcon(
        QPixmap::fromImage(notePicture(phrase::cdArr[button], clef == phrase::Clef::Bass)));
}

QString defaultNotePictureFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/notes");
}

PhraseBuilderWindow::PhraseBuilderWindow(PhraseBuilder& builder, Alerts& alerts, QWidget* parent,
                                         const QString& notePictureFolder)
    : QWidget(parent, Qt::Window), builder_(builder), alerts_(alerts) {
    setObjectName(QStringLiteral("editWindow"));
    setWindowTitle(tr("Phrase Builder"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildLayout();
    setNotePictureFolder(notePictureFolder.isEmpty() ? defaultNotePictureFolder()
                                                     : notePictureFolder);
    refreshFields();
}

std::size_t PhraseBuilderWindow::setNotePictureFolder(const QString& folder) {
    notePictureFolder_ = folder;
    const QDir dir(folder);
    std::size_t missing = 0;
    for (std::size_t i = 0; i < phrase::kNoteButtons; ++i) {
        for (const phrase::Clef clef : {phrase::Clef::Treble, phrase::Clef::Bass}) {
            const QString file = QString::fromStdString(phrase::noteButtonImage(i, clef));
            // A file that is there but no picture counts as missing too.
            const QPixmap picture(dir.filePath(file));
            notePictures_[i][clef == phrase::Clef::Bass] =
                picture.isNull() ? QIcon() : QIcon(picture);
            if (picture.isNull()) ++missing;
        }
    }
    if (missing > 0)
        diag("Note button pictures: " + std::to_string(missing) + " of " +
             std::to_string(2 * phrase::kNoteButtons) + " missing or unreadable in " +
             QDir::toNativeSeparators(folder).toStdString() + "; painting those instead");
    toggleClef(builder_.clef == phrase::Clef::Bass);
    return missing;
}

void PhraseBuilderWindow::buildLayout() {
    auto* root = new QVBoxLayout(this);

    auto* fields = new QGridLayout;
    phraseField_ = field("editField", this);
    lineField_ = field("editLineFld", this);
    rootField_ = field("rtCD", this);
    chordField_ = field("cdFld", this);
    chordField_->setPlaceholderText(QStringLiteral("Dm7 G7 Cmaj7"));
    fields->addWidget(new QLabel(tr("Phrase"), this), 0, 0);
    fields->addWidget(phraseField_, 0, 1, 1, 3);
    fields->addWidget(new QLabel(tr("Line"), this), 1, 0);
    fields->addWidget(lineField_, 1, 1, 1, 3);
    // Alt+H reaches the chord symbols from the keyboard.
    auto* chordLabel = new QLabel(tr("C&hord symbols"), this);
    chordLabel->setBuddy(chordField_);
    fields->addWidget(chordLabel, 2, 0);
    fields->addWidget(chordField_, 2, 1);
    fields->addWidget(new QLabel(tr("Root"), this), 2, 2);
    fields->addWidget(rootField_, 2, 3);
    root->addLayout(fields);

    auto* notes = new QHBoxLayout;
    notes->setSpacing(1);
    clefToggle_ = commandButton(tr("Bass clef"), "TOonHeon", this);
    clefToggle_->setCheckable(true);
    clefToggle_->setChecked(builder_.clef == phrase::Clef::Bass);
    connect(clefToggle_, &QPushButton::toggled, this, [this](bool on) { toggleClef(on); });
    notes->addWidget(clefToggle_);
    for (std::size_t i = 0; i < phrase::kNoteButtons; ++i) {
        const QString name =
            QString::fromLatin1(phrase::cdArr[i].data(), static_cast<int>(phrase::cdArr[i].size()));
        auto* b = commandButton(QString(), "", this);
        b->setObjectName(QStringLiteral("note_") + name);
        b->setToolTip(name);
        b->setAccessibleName(name);
        b->setIconSize(QSize(kNoteButtonWidth, kNoteButtonHeight));
        b->setFixedSize(30, 62);
        connect(b, &QPushButton::clicked, this, [this, i] { clickNote(i); });
        noteButtons_[i] = b;
        notes->addWidget(b);
    }
    notes->addStretch();
    root->addLayout(notes);

    auto* commands = new QHBoxLayout;
    struct Command {
        QString title;
        const char* name;
        void (PhraseBuilderWindow::*run)();
    };
    const Command list[] = {
        {tr("&Up"), "upBtn", &PhraseBuilderWindow::transposeUp},
        {tr("&Down"), "downBtn", &PhraseBuilderWindow::transposeDown},
        {tr("&Chords"), "intScale", &PhraseBuilderWindow::applyChords},
        {tr("&Add to line"), "addBtn", &PhraseBuilderWindow::addPhrase},
        {tr("Circle of &4ths"), "circle4thBtn", nullptr},
        {tr("Circle (sh&ort)"), "circle4thKanniBtn", nullptr},
        {tr("&Play"), "soundBtn", &PhraseBuilderWindow::playPhrase},
        {tr("&Send to score"), "setMain", &PhraseBuilderWindow::sendLine},
    };
    for (const Command& c : list) {
        auto* b = commandButton(c.title, c.name, this);
        if (c.run) {
            connect(b, &QPushButton::clicked, this, c.run);
        } else {
            const bool shortForm = std::string_view(c.name) == "circle4thKanniBtn";
            connect(b, &QPushButton::clicked, this,
                    [this, shortForm] { circleOfFourths(shortForm); });
        }
        commands->addWidget(b);
    }
    root->addLayout(commands);

    model_ = new PatternTableModel(builder_, this);
    model_->onRefused = [this](const QString& why) { showMessage(why); };
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblView"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->horizontalHeader()->setStretchLastSection(true);
    root->addWidget(table_, 1);

    auto* rows = new QHBoxLayout;
    auto* add = commandButton(tr("Add pattern"), "addCode", this);
    auto* del = commandButton(tr("Delete pattern"), "delCode", this);
    connect(add, &QPushButton::clicked, this, &PhraseBuilderWindow::addPatternRow);
    connect(del, &QPushButton::clicked, this, &PhraseBuilderWindow::deletePatternRow);
    rows->addWidget(add);
    rows->addWidget(del);
    rows->addStretch();
    root->addLayout(rows);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setWordWrap(true);
    root->addWidget(message_);
}

void PhraseBuilderWindow::refreshFields() {
    auto set = [](QLineEdit* f, const std::string& text) {
        const QString t = QString::fromStdString(text);
        if (f->text() != t) f->setText(t);
    };
    // Notes show with spaces between them; the builder keeps its own form underneath.
    set(phraseField_, phrase::readableNotes(builder_.phrase));
    set(lineField_, phrase::readableNotes(builder_.line));
    set(chordField_, builder_.chords);
}

void PhraseBuilderWindow::pullFields() {
    // The user may have typed into the fields: the commands work on what they show. A field
    // left as shown leaves the builder's text exactly as it was.
    auto pull = [](const QLineEdit* f, std::string& stored) {
        const std::string shown = f->text().toStdString();
        if (shown != phrase::readableNotes(stored)) stored = phrase::storedNotes(shown);
    };
    pull(phraseField_, builder_.phrase);
    pull(lineField_, builder_.line);
    builder_.chords = chordField_->text().toStdString();
}

void PhraseBuilderWindow::showMessage(const QString& text) {
    message_->setText(text);
}

void PhraseBuilderWindow::toggleClef(bool bass) {
    builder_.clef = bass ? phrase::Clef::Bass : phrase::Clef::Treble;
    if (clefToggle_->isChecked() != bass) clefToggle_->setChecked(bass);
    clefToggle_->setText(bass ? tr("Bass clef") : tr("Treble clef"));
    for (std::size_t i = 0; i < noteButtons_.size(); ++i) {
        const QIcon& picture = notePictures_[i][bass];
        noteButtons_[i]->setIcon(picture.isNull() ? noteButtonIcon(i, builder_.clef) : picture);
        noteButtons_[i]->setProperty("image", QString::fromStdString(builder_.noteButtonImage(i)));
    }
}

void PhraseBuilderWindow::clickNote(std::size_t button) {
    pullFields();
    if (builder_.clickNote(button)) refreshFields();
}

void PhraseBuilderWindow::transposeUp() {
    pullFields();
    builder_.transposeUp();
    refreshFields();
}

void PhraseBuilderWindow::transposeDown() {
    pullFields();
    builder_.transposeDown();
    refreshFields();
}

void PhraseBuilderWindow::addPhrase() {
    pullFields();
    builder_.addPhraseToLine();
    refreshFields();
}

void PhraseBuilderWindow::circleOfFourths(bool shortForm) {
    pullFields();
    builder_.circleOfFourths(shortForm);
    refreshFields();
}

void PhraseBuilderWindow::applyChords() {
    pullFields();
    const std::string added = builder_.applyChordSymbols();
    refreshFields();
    showMessage(added.empty() ? tr("No notes: the chord symbols name no root or pattern.")
                              : QString());
}

void PhraseBuilderWindow::addPatternRow() {
    builder_.addRow();
    model_->reload();
    table_->scrollToBottom();
}

void PhraseBuilderWindow::deletePatternRow() {
    std::optional<std::size_t> selected;
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (!rows.isEmpty()) selected = static_cast<std::size_t>(rows.first().row());
    if (builder_.deleteRow(selected, alerts_)) model_->reload();
}

void PhraseBuilderWindow::sendLine() {
    pullFields();
    const PhraseBuilder::SendResult sent =
        score_ ? builder_.sendLine(*score_) : PhraseBuilder::SendResult{};
    if (!sent.accepted) {
        showMessage(
            tr("There is no score to send the line to: choose a score window and "
               "open the Phrase Builder from it again."));
        return;
    }
    if (sent.cells == 0) {
        // The window stays open, and says why nothing was added.
        QStringList skipped;
        for (const std::string& token : sent.skipped) skipped << QString::fromStdString(token);
        showMessage(skipped.isEmpty()
                        ? tr("Nothing was sent: the line is empty. Build a phrase, then press "
                             "\"Add to line\" (or type notes into the line) and send again.")
                        : tr("Nothing was sent: the line holds no note names or marks (%1).")
                              .arg(skipped.join(QStringLiteral(" "))));
        return;
    }
    showMessage(QString());
    close();
}

void PhraseBuilderWindow::playPhrase() {
    pullFields();
    if (score_) builder_.playPhrase(*score_);
}

}  // namespace sorvel::gui
