// The note button pictures drawn at build time, the phrase builder window showing them, and the
// cache that holds pictures at the size they are drawn.
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QImage>
#include <QSet>

#include "phrase_builder_window.h"
#include "qt_canvas.h"
#include "test_support.h"

namespace sorvel {
namespace {

using gui::PhraseBuilderWindow;
using gui::PictureCache;
using phrase::Clef;

// The build writes bin/notes beside bin/set.
QString notesFolder() {
    return QDir(QString::fromStdString(test::setFolder()))
        .absoluteFilePath(QStringLiteral("../notes"));
}

QImage normalised(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Equal but for the antialiasing of a glyph, which depends on what the process drew before.
bool alike(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 16) return false;
    return true;
}

// Note button i's icon as the button would draw it at its full size.
QImage iconImage(const PhraseBuilderWindow& window, std::size_t i) {
    const std::string name = "note_" + std::string(phrase::cdArr[i]);
    auto* button = window.findChild<QPushButton*>(QString::fromStdString(name));
    EXPECT_NE(button, nullptr) << name;
    return button ? normalised(button->icon().pixmap(QSize(104, 224)).toImage()) : QImage();
}

// The file the build drew for note button i in a clef.
QString builtFile(std::size_t i, bool bass) {
    const std::string file = phrase::noteButtonImage(i, bass ? Clef::Bass : Clef::Treble);
    return QDir(notesFolder()).filePath(QString::fromStdString(file));
}

TEST(NotePictures, TheBuildDrewBothPicturesOfEveryNoteButton) {
    const QDir dir(notesFolder());
    const QStringList files = dir.entryList({QStringLiteral("*.png")}, QDir::Files);
    EXPECT_EQ(files.size(), 46) << notesFolder().toStdString();

    QSet<QByteArray> distinct;
    for (std::size_t i = 0; i < phrase::kNoteButtons; ++i) {
        for (const Clef clef : {Clef::Treble, Clef::Bass}) {
            const QString file = QString::fromStdString(phrase::noteButtonImage(i, clef));
            SCOPED_TRACE(file.toStdString());
            ASSERT_TRUE(files.contains(file));
            const QImage image = normalised(QImage(dir.filePath(file)));
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), QSize(104, 224));
            distinct.insert(QCryptographicHash::hash(
                QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()),
                QCryptographicHash::Sha1));
        }
    }
    // Every note and clef has its own picture, so none is blank or a filled square (what each
    // shows is the core's golden pictures).
    EXPECT_EQ(distinct.size(), 46);
}

// A folder lacking some pictures: those buttons are painted as the build draws them, and one
// line says so.
TEST(NotePictures, MissingOrBrokenPicturesArePaintedInstead) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QDir source(notesFolder());
    for (const QString& file : source.entryList({QStringLiteral("*.png")}, QDir::Files))
        ASSERT_TRUE(QFile::copy(source.filePath(file), temp.filePath(file)));
    ASSERT_TRUE(QFile::remove(temp.filePath(QStringLiteral("S_C0.png"))));
    test::writeFile(temp.filePath(QStringLiteral("H_D0.png")), "not a picture");

    testing::DiagCapture diagnostics;
    ScaleTable table;
    PhraseBuilder builder(table);
    testing::FakeAlerts alerts;
    PhraseBuilderWindow window(builder, alerts, nullptr, temp.path());
    ASSERT_EQ(diagnostics.lines.size(), 1u);
    EXPECT_NE(diagnostics.lines[0].find("2 of 46"), std::string::npos) << diagnostics.lines[0];

    for (const auto& [bass, i] : {std::pair{false, 0}, std::pair{true, 2}}) {
        window.toggleClef(bass);
        const QString file = builtFile(i, bass);
        EXPECT_TRUE(alike(iconImage(window, i), normalised(QImage(file)))) << file.toStdString();
    }

    // Pointed at the complete folder, every button shows its built picture, silently.
    EXPECT_EQ(window.setNotePictureFolder(notesFolder()), 0u);
    EXPECT_EQ(diagnostics.lines.size(), 1u);
    for (const bool bass : {false, true}) {
        window.toggleClef(bass);
        for (std::size_t i = 0; i < phrase::kNoteButtons; ++i) {
            const QString file = builtFile(i, bass);
            EXPECT_EQ(iconImage(window, i), normalised(QImage(file))) << file.toStdString();
        }
    }
}

QString writePng(const QTemporaryDir& dir, const QString& name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path));
    return path;
}

// Pictures are held at the size they are drawn, within a budget, whatever their files hold.
TEST(PictureCache, HoldsOnlyDrawnSizesWithinItsBudget) {
    QTemporaryDir dir;
    testing::DiagCapture diag;
    const std::vector<std::string>& diagnostics = diag.lines;
    PictureCache& cache = PictureCache::instance();

    const qint64 before = cache.heldBytes();
    const QPixmap big = cache.scaled(writePng(dir, "big.png", {3000, 2000}), {60, 60});
    EXPECT_EQ(big.size(), QSize(60, 40));
    EXPECT_LT(cache.heldBytes() - before, 60 * 60 * 4 + 1);

    // Too large to decode at all: nothing drawn, said once.
    EXPECT_TRUE(cache.scaled(writePng(dir, "wide.png", {9000, 4}), {60, 60}).isNull());
    ASSERT_EQ(diagnostics.size(), 1u);
    EXPECT_NE(diagnostics[0].find("too large"), std::string::npos);

    // A FIFO named like a picture is not opened, which would wait for a writer (printing too).
    const QString fifo = dir.filePath("fifo.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_TRUE(cache.scaled(fifo, {60, 60}).isNull());

    // Many sizes of one picture never exceed the budget.
    const QString path = dir.filePath("big.png");
    for (const int side : {1000, 1500, 2000, 2500, 3000, 3000}) {
        EXPECT_EQ(cache.scaled(path, {side, side}).width(), side);
        EXPECT_LE(cache.heldBytes(), PictureCache::kBudgetBytes);
    }
}

}  // namespace
}  // namespace sorvel
