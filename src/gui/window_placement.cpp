#include "window_placement.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace sorvel::gui {

namespace {

// How long a window manager may take to frame a new window.
constexpr int kFramedAfterMs = 300;

QScreen* screenOf(const QWidget* window) {
    if (QScreen* s = window->screen()) return s;
    return QGuiApplication::primaryScreen();
}

// The window's frame, or before it has one that of another framed window, or a usual one.
QMargins frameMargins(const QWidget* window) {
    const auto framed = [](const QWidget* w) {
        return w && w->isVisible() && w->windowHandle() &&
               !w->windowHandle()->frameMargins().isNull();
    };
    if (framed(window)) return window->windowHandle()->frameMargins();
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (framed(other)) return other->windowHandle()->frameMargins();
    }
    return {4, 30, 4, 4};
}

QSize largestClient(const QWidget* window) {
    const QMargins f = frameMargins(window);
    return screenOf(window)->availableGeometry().size() -
           QSize(f.left() + f.right(), f.top() + f.bottom());
}

}  // namespace

void showOnScreen(QWidget* window, std::optional<QPoint> frameTopLeft) {
    // A window never sized takes its layout's size, as show() alone would give it.
    if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    window->resize(
        window->size().boundedTo(largestClient(window)).expandedTo(window->minimumSize()));
    if (frameTopLeft) window->move(*frameTopLeft);
    window->show();
    window->raise();
    window->activateWindow();
    QTimer::singleShot(kFramedAfterMs, window, [w = QPointer<QWidget>(window)] {
        if (w) keepOnScreen(w);
    });
}

void keepOnScreen(QWidget* window) {
    if (!window->isVisible() || window->isMaximized() || window->isFullScreen()) return;
    const QRect area = screenOf(window)->availableGeometry();
    const QSize client = window->size().boundedTo(largestClient(window));
    if (client != window->size()) window->resize(client.expandedTo(window->minimumSize()));
    const QMargins f = frameMargins(window);
    const QRect frame(window->frameGeometry().topLeft(),
                      client + QSize(f.left() + f.right(), f.top() + f.bottom()));
    // The title bar first: a window taller than the area keeps its top in view.
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    if (QPoint(x, y) != frame.topLeft()) window->move(x, y);
}

}  // namespace sorvel::gui
