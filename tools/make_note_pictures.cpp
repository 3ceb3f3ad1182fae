// Writes the note button pictures of the phrase builder, two per editor note name:
//   <folder>/S_<name>.png  the note on a treble staff
//   <folder>/H_<name>.png  the note on a bass staff, two octaves lower
// The pictures are drawn by the core (drawNoteButton) with the notation font, so the buttons
// look like the score; the phrase builder paints the same picture for one missing here.
//
// Usage: make_note_pictures <notation font .ttf> <output folder>

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <string>

#include "atomic_file.h"
#include "model/diagnostics.h"
#include "qt_canvas.h"
#include "scaleedit/phrase_builder.h"
#include "view/gosen_view.h"

int main(int argc, char** argv) {
    // Text needs a GUI application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 3 || args[1].startsWith('-') || args[2].startsWith('-')) {
        sorvel::diag("usage: make_note_pictures <notation font .ttf> <output folder>");
        return 2;
    }
    const int id = QFontDatabase::addApplicationFont(args[1]);
    if (id < 0 || QFontDatabase::applicationFontFamilies(id).isEmpty()) {
        sorvel::diag("make_note_pictures: cannot load the notation font " + args[1].toStdString());
        return 1;
    }
    const QString family = QString::fromLatin1(sorvel::kNotationFontFamily);
    if (QFontInfo(QFont(family)).family() != family) {
        sorvel::diag("make_note_pictures: the notation font does not resolve");
        return 1;
    }
    if (!QDir().mkpath(args[2])) {
        sorvel::diag("make_note_pictures: cannot create " + args[2].toStdString());
        return 1;
    }
    const QDir folder(args[2]);
    for (std::size_t i = 0; i < sorvel::phrase::kNoteButtons; ++i) {
        for (const auto clef : {sorvel::phrase::Clef::Treble, sorvel::phrase::Clef::Bass}) {
            const QString path =
                folder.filePath(QString::fromStdString(sorvel::phrase::noteButtonImage(i, clef)));
            const QImage image = sorvel::gui::notePicture(sorvel::phrase::cdArr[i],
                                                          clef == sorvel::phrase::Clef::Bass);
            const auto why = sorvel::gui::writeFileAtomically(
                path, [&](QIODevice& file) { return image.save(&file, "PNG"); });
            if (why) {
                sorvel::diag("make_note_pictures: cannot write " + path.toStdString() + ": " +
                             why->toStdString());
                return 1;
            }
        }
    }
    return 0;
}
