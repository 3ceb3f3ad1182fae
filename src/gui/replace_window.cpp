#include "replace_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "staff_widget.h"

namespace sorvel::gui {

namespace {

constexpr int kStaffWidth = 60;
constexpr int kStaffHeight = 140;

}  // namespace

ReplaceWindow::ReplaceWindow(std::string setFolder, Target target, QWidget* parent)
    : QWidget(parent, Qt::Window), setFolder_(std::move(setFolder)), target_(std::move(target)) {
    setObjectName(QStringLiteral("replaceWindow"));
    setWindowTitle(tr("Replace"));
    auto* row = new QHBoxLayout(this);
    find_ = addStaffColumn(
        replacer_.gosen1, tr("Find"), QStringLiteral("rplcMtx1_"), [this](int r) { btnUpDwn1(r); },
        row);
    write_ = addStaffColumn(
        replacer_.gosen2, tr("Replace with"), QStringLiteral("rplcMtx2_"),
        [this](int r) { btnUpDwn2(r); }, row);
    auto* button = new QPushButton(tr("Replace"), this);
    button->setObjectName(QStringLiteral("btnReplace"));
    button->setToolTip(tr("Replace the found pitch in every octave throughout the score"));
    connect(button, &QPushButton::clicked, this, [this] { btnReplace(); });
    row->addWidget(button, 0, Qt::AlignBottom);
}

ReplaceWindow::~ReplaceWindow() {
    replacer_.gosen1.onNeedsDisplay = nullptr;
    replacer_.gosen2.onNeedsDisplay = nullptr;
}

StaffWidget* ReplaceWindow::addStaffColumn(GosenView& staff, const QString& title,
                                           const QString& prefix, std::function<void(int)> step,
                                           QHBoxLayout* row) {
    staff.imgFol = setFolder_;
    staff.setFrame({0, 0, static_cast<double>(kStaffWidth), static_cast<double>(kStaffHeight)});
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(title, this), 0, Qt::AlignHCenter);
    auto* widget = new StaffWidget(
        staff, [this] { return selInst_; }, this);
    widget->setFixedSize(kStaffWidth, kStaffHeight);
    staff.onNeedsDisplay = [widget](const GosenView&) { widget->update(); };
    column->addWidget(widget);
    row->addLayout(column);
    row->addLayout(pitchStepButtons(this, prefix, step));
    return widget;
}

void ReplaceWindow::setImageSet(const std::string& name) {
    selInst_ = name;
    find_->update();
    write_->update();
}

void ReplaceWindow::setSetFolder(const std::string& folder) {
    setFolder_ = folder;
    replacer_.gosen1.imgFol = folder;
    replacer_.gosen2.imgFol = folder;
    find_->update();
    write_->update();
}

void ReplaceWindow::btnUpDwn1(int row) {
    replacer_.btnUpDwn1(row);
}

void ReplaceWindow::btnUpDwn2(int row) {
    replacer_.btnUpDwn2(row);
}

void ReplaceWindow::btnReplace() {
    EditableScore* score = target_ ? target_() : nullptr;
    if (score) replacer_.btnReplace(*score);
}

}  // namespace sorvel::gui
