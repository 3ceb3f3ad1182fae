#include "app_resources.h"

#include <QFontDatabase>
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

}  // namespace sorvel::gui
