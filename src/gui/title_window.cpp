// The title window shown at start-up, and the application's handling of it.
#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "sorvel_application.h"

namespace sorvel::gui {
namespace {

// The title window: an ordinary framed window that other windows may cover, closed by a
// click, by Escape or by its close button.
class TitleWindow : public QWidget {
  public:
    TitleWindow() : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
        setObjectName(QStringLiteral("titleWindow"));
        setWindowTitle(QApplication::applicationDisplayName());
        setStyleSheet(QStringLiteral("background: white;"));
        auto* col = new QVBoxLayout(this);
        col->setContentsMargins(36, 28, 36, 28);
        auto* icon = new QLabel(this);
        icon->setPixmap(QIcon(QStringLiteral(":/icons/sorvelscore.png")).pixmap(96, 96));
        icon->setAlignment(Qt::AlignCenter);
        auto* name = new QLabel(QStringLiteral("Sorvel Score"), this);
        QFont f = name->font();
        f.setPointSizeF(f.pointSizeF() * 2.2);
        f.setBold(true);
        name->setFont(f);
        name->setAlignment(Qt::AlignCenter);
        auto* line = new QLabel(QObject::tr("Write, hear and practise melodies.\nVersion %1")
                                    .arg(QApplication::applicationVersion()),
                                this);
        line->setAlignment(Qt::AlignCenter);
        auto* font = new QLabel(
            QObject::tr("Notation font made from Emmentaler (SIL Open Font License 1.1)."), this);
        font->setAlignment(Qt::AlignCenter);
        QFont small = font->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        font->setFont(small);
        col->addWidget(icon);
        col->addWidget(name);
        col->addWidget(line);
        col->addSpacing(8);
        col->addWidget(font);
    }

  protected:
    void mouseReleaseEvent(QMouseEvent*) override { close(); }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            close();
            return;
        }
        QWidget::keyPressEvent(event);
    }
};

}  // namespace

void SorvelApplication::buildTitleWindow() {
    titleWindow_ = new TitleWindow;
    titleWindow_->adjustSize();
}

void SorvelApplication::showTitleWindow() {
    if (!titleWindow_) return;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        titleWindow_->move(area.center() - titleWindow_->rect().center());
    }
    // At start-up it must not take the keyboard from the first score (typing starts at
    // once, and an alert about a file given at launch must keep it); opened from Help >
    // About, it takes the keyboard so that Escape closes it.
    const bool fromMenu = !scoreWindows().isEmpty();
    titleWindow_->setAttribute(Qt::WA_ShowWithoutActivating, !fromMenu);
    titleWindow_->show();
    titleWindow_->raise();
    if (fromMenu) titleWindow_->activateWindow();
}

void SorvelApplication::closeTitleWindow() {
    if (titleWindow_) titleWindow_->close();
}

}  // namespace sorvel::gui
