#include "app_resources.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QString>

#include "model/diagnostics.h"

// Resources compiled into a static library must be registered by name.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace sorvel::gui {

bool loadAppResources() {
    static const bool loaded = [] {
        initResources();
        const int id =
            QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/SorvelNotation.ttf"));
        if (id < 0) {
            diag("The notation font could not be loaded; notes are drawn with a fallback font");
        }
        return id >= 0;
    }();
    return loaded;
}

void applyPaletteChoice() {
    if (qgetenv("SORVEL_PALETTE") != "dark") return;
    QApplication::setStyle(QStringLiteral("Fusion"));
    QPalette p;
    const QColor window(45, 45, 48), base(30, 30, 32), text(230, 230, 230);
    const QColor disabled(130, 130, 130);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(60, 60, 64));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    p.setColor(QPalette::Highlight, QColor(60, 120, 200));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Mid, QColor(90, 90, 95));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, disabled);
    }
    QApplication::setPalette(p);
}

}  // namespace sorvel::gui
