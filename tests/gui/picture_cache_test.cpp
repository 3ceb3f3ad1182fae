// Pictures are held at the size they are drawn, within a budget, whatever their files hold.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "../core/fakes.h"
#include "qt_canvas.h"

namespace sorvel::gui {
namespace {

QString writePng(const QTemporaryDir& dir, const QString& name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path));
    return path;
}

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
}  // namespace sorvel::gui
