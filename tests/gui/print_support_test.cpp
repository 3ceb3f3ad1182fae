#include "print_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

using gui::ExportResult;
using gui::PrintSupport;

PrintView songView(std::vector<ScoreCell> cells) {
    return PrintView(Score{std::move(cells), {}, {}}, "Evening Song", setFolder(), "names");
}
PrintView songInput(std::int64_t cells) {
    return songView(std::vector<ScoreCell>(static_cast<std::size_t>(cells), {17, 5}));
}

class PrintSupportTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Page 1 of the score on A4, as poppler rasterises it at 144 dpi.
    QImage renderPage1(std::vector<ScoreCell> cells, const QString& name) {
        EXPECT_TRUE(gui::exportPdf(songView(std::move(cells)), path("p.pdf"), layout).ok);
        runTool("pdftoppm", {"-r", "144", "-f", "1", "-l", "1", "-png", "-singlefile",
                             path("p.pdf"), dir.filePath(name)});
        return QImage(dir.filePath(name + ".png"));
    }
    const QPageLayout layout = gui::defaultPageLayout(gui::Paper::A4);
    testing::DiagCapture quiet;
    QTemporaryDir dir;
};

TEST_F(PrintSupportTest, ExportFailuresLeaveNoFileAndSayWhy) {
    const struct {
        std::string name;
        std::int64_t cells;
        QString path;
    } cases[] = {
        {"empty score", 0, path("empty.pdf")},
        {"missing folder", 5, path("no/such/dir/x.pdf")},
        {"a folder as the file", 5, dir.path()},
    };
    for (const auto& c : cases) {
        ExportResult r = gui::exportPdf(songInput(c.cells), c.path);
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(r.pages, 0) << c.name;
        EXPECT_FALSE(r.error.isEmpty()) << c.name;
    }
    EXPECT_FALSE(QFile::exists(path("empty.pdf")));
    // A failed export keeps an existing file as it was.
    const QString kept = path("kept.pdf");
    {
        QFile f(kept);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    EXPECT_FALSE(gui::exportPdf(songInput(0), kept).ok);
    QFile f(kept);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
}

// What the menus print and export through these is print_menu_test's; here, cancels and
// failures.
TEST_F(PrintSupportTest, MenuCommandsGoThroughTheDialogs) {
    ScriptedPrintDialogs dialogs;
    PrintSupport support(&dialogs);

    // Export PDF: cancelled, failed, written.
    dialogs.answerPath.clear();
    EXPECT_FALSE(support.exportPdfWithDialog(songInput(3), nullptr, "Song.pdf").ok);
    EXPECT_EQ(dialogs.suggestedSeen, QStringLiteral("Song.pdf"));
    EXPECT_TRUE(dialogs.errors.isEmpty());
    dialogs.answerPath = path("missing/dir/a.pdf");
    EXPECT_FALSE(support.exportPdfWithDialog(songInput(3), nullptr).ok);
    EXPECT_EQ(dialogs.errors.size(), 1);
    // A refused Page Setup keeps the paper; a cancelled print prints nothing (what an accepted
    // one does through the menus is print_menu_test's).
    dialogs.acceptPageSetup = false;
    EXPECT_FALSE(support.pageSetup(nullptr));
    EXPECT_EQ(support.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_FALSE(support.print(songInput(3), nullptr));
}

// Mean row of the dark pixels in a column band, leaving out the rows of staff and ledger
// lines; -1 when there are none.
double inkRow(const QImage& img, int x0, int x1, int yLo, int yHi, const std::vector<int>& skip) {
    double sum = 0;
    int count = 0;
    for (int y = yLo; y <= yHi; ++y) {
        bool onLine = false;
        for (int l : skip) onLine = onLine || std::abs(y - l) <= 1;
        if (onLine) continue;
        for (int x = x0; x <= x1; ++x) {
            if (qGray(img.pixel(x, y)) < 110) {
                sum += y;
                ++count;
            }
        }
    }
    return count ? sum / count : -1;
}

TEST_F(PrintSupportTest, RenderedPageShowsNoteHeadsOnTheirLinesAndPicturesBelow) {
    // Whole notes (no stems) in every other column, climbing the staff from A0 to C2.
    std::vector<ScoreCell> cells;
    std::vector<std::int64_t> positions;
    for (std::int64_t pos = 0; pos <= 16; ++pos) {
        cells.push_back({tables::Loc2idx[static_cast<std::size_t>(pos)], 1});
        cells.push_back({0, 0});
        positions.push_back(pos);
    }
    const QImage img = renderPage1(cells, "heads");
    ASSERT_FALSE(img.isNull());

    // The layout's geometry, in points with y up, then in image pixels.
    const Rect page = gui::imageableBounds(layout);
    const double paperH = gui::paperSizePoints(layout).height;
    const double k = 2;  // 144 dpi
    const double lineHeight = (page.height - 32 * 4) / 4 - 4;
    const double w = page.width / 40, s = lineHeight / 20;
    const double bandBottom = page.y + page.height - (lineHeight + 32);
    const double b = bandBottom + lineHeight / 2;
    auto py = [&](double y) { return (paperH - y) * k; };
    std::vector<int> lines;
    for (int l = 1; l <= 9; ++l) lines.push_back(static_cast<int>(std::lround(py(b + s * l))));

    for (std::size_t i = 0; i < positions.size(); ++i) {
        const double x = page.x + w * static_cast<double>(2 * i);
        const int x0 = static_cast<int>((x + 1) * k), x1 = static_cast<int>((x + w - 1) * k);
        const double expected = py(b + s + s * static_cast<double>(positions[i]) * 0.5);
        const double head =
            inkRow(img, x0, x1, static_cast<int>(py(b + 10.5 * s)), static_cast<int>(py(b)), lines);
        EXPECT_NEAR(head, expected, s * k * 0.5) << "staff position " << positions[i];
        // The picture of the pitch fills the band's lower half.
        const double picture =
            inkRow(img, x0, x1, static_cast<int>(py(b - 4)), static_cast<int>(py(bandBottom)), {});
        EXPECT_GT(picture, 0) << "no picture under staff position " << positions[i];
        // The blank cell beside it shows nothing but its staff.
        const double bx = x + w;
        EXPECT_LT(
            inkRow(img, static_cast<int>((bx + 2) * k), static_cast<int>((bx + w - 2) * k),
                   static_cast<int>(py(b + 10.5 * s)), static_cast<int>(py(bandBottom)), lines),
            0)
            << "ink in the blank cell after staff position " << positions[i];
    }
}

// A fault once seen on paper: a tie from a line's last note to the next line's first is an
// arc of at least a cell on each line (not two half-cell stubs), found as the ink it adds.
TEST_F(PrintSupportTest, RenderedTiesAcrossStaffLines) {
    const Rect page = gui::imageableBounds(layout);
    const double k = 2, top = gui::paperSizePoints(layout).height;  // 144 dpi
    const double lineHeight = (page.height - 32 * 4) / 4 - 4, w = page.width / 40;
    // The width of the ink `with` adds to `without` over the staff of a line.
    auto added = [&](const QImage& with, const QImage& without, int line) {
        const double staffTop = page.y + page.height - (lineHeight + 32) * line + lineHeight;
        QRect box;
        for (int y = int((top - staffTop) * k); y < int((top - staffTop + lineHeight / 2) * k); ++y)
            for (int x = 0; x < int((page.x * 2 + page.width) * k); ++x)
                if (qGray(with.pixel(x, y)) < 128 && qGray(without.pixel(x, y)) >= 128)
                    box |= QRect(x, y, 1, 1);
        return box.width();
    };
    std::vector<ScoreCell> untied(41, ScoreCell{0, 0});
    untied[39] = untied[40] = {24, 1};  // whole notes, no stems
    std::vector<ScoreCell> tied = untied;
    tied[39] = {24, 53};
    const QImage c = renderPage1(tied, "tied"), d = renderPage1(untied, "untied");
    for (int line : {1, 2}) EXPECT_GE(added(c, d, line), w * k * 0.9) << line;
}

}  // namespace
}  // namespace sorvel::test
