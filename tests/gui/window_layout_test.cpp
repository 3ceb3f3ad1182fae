// The score window on a small screen at every zoom, and the keyboard map read from the key
// logic's own table.
#include <QPushButton>
#include <set>

#include "keyboard_map_window.h"
#include "model/notation_tables.h"
#include "staff_widget.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

TEST(ScoreWindowLayout, EveryStaffAndThePageButtonsStayInsideAtEveryZoom) {
    auto [w, audio] = makeWindow();
    const QSize least = w->minimumSize();
    EXPECT_LE(least.width(), 1366);
    EXPECT_LE(least.height(), 700);
    const auto inside = [&](const QWidget* part) {
        return w->rect().contains(QRect(part->mapTo(w.get(), QPoint(0, 0)), part->size()));
    };
    for (const QSize size : {least, QSize(1366, 700)}) {
        w->resize(size);
        for (const double zoom : gui::StaffPanel::zoomSteps()) {
            w->zoomTo(zoom);
            w->resize(size);
            QApplication::processEvents();
            SCOPED_TRACE(QStringLiteral("%1x%2 at %3")
                             .arg(size.width())
                             .arg(size.height())
                             .arg(zoom)
                             .toStdString());
            for (int row = 1; row <= 3; ++row) EXPECT_TRUE(inside(w->staffWidget(row))) << row;
            for (const char* name : {"btnPageUp", "btnPageDown"}) {
                EXPECT_TRUE(inside(w->findChild<QPushButton*>(name))) << name;
            }
            // A zoom the window has room for is shown as asked, and the staff drawn at it.
            if (gui::StaffPanel::sizeAt(zoom).height() <= w->staffPanel().height() &&
                gui::StaffPanel::sizeAt(zoom).width() <= w->staffPanel().width()) {
                EXPECT_DOUBLE_EQ(w->staffPanel().scale(), zoom);
            }
            EXPECT_EQ(w->staffWidget(1)->width(),
                      qRound(w->staffPanel().scale() * ScoreLayout::kStaffWidth));
        }
    }
    // Fitting: the staves fill the panel's width or its height.
    w->resize(1366, 700);
    w->staffPanel().setFitToWindow(true);
    const QSize fitted = gui::StaffPanel::sizeAt(w->staffPanel().scale());
    EXPECT_TRUE(fitted.width() >= w->staffPanel().width() - 2 ||
                fitted.height() >= w->staffPanel().height() - 2);
}

TEST(KeyboardMap, ListsEveryPianoKeyOfTheKeyTable) {
    gui::KeyboardMapWindow map;
    std::set<std::pair<std::int64_t, QString>> shown, table;
    for (const auto& key : map.keys()) {
        if (key.hasRole && key.kind == KeyRole::Pitch) shown.insert({key.code, key.role});
    }
    for (const KeyBinding& b : keyBindings()) {
        if (b.role != KeyRole::Pitch) continue;
        const std::string_view name = tables::noteArr[static_cast<std::size_t>(b.plain)];
        table.insert({b.code, QString::fromLatin1(name.data(), static_cast<int>(name.size()))});
    }
    EXPECT_GE(table.size(), 17u) << "the home row and the row above";
    EXPECT_EQ(shown, table);
}

}  // namespace
}  // namespace sorvel::test
