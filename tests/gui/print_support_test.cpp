// PDF export and the printing commands' dialogs, and what a rendered page shows.
#include "print_support.h"

#include <QImage>
#include <algorithm>
#include <vector>

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
    // The layout's geometry in points, y up; k pixels a point at 144 dpi.
    const Rect page = gui::imageableBounds(layout);
    const double top = gui::paperSizePoints(layout).height, k = 2;
    const double lineHeight = (page.height - 32 * 4) / 4 - 4, w = page.width / 40;
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
    writeFile(kept, "old");
    EXPECT_FALSE(gui::exportPdf(songInput(0), kept).ok);
    EXPECT_EQ(readFile(kept), QByteArray("old"));
}

// What the menus print and export through these is file_menu_test's; here, cancels and
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
    // one does through the menus is file_menu_test's).
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
        if (std::ranges::any_of(skip, [y](int l) { return std::abs(y - l) <= 1; })) continue;
        for (int x = x0; x <= x1; ++x) {
            const bool dark = qGray(img.pixel(x, y)) < 110;
            sum += dark ? y : 0;
            count += dark;
        }
    }
    return count ? sum / count : -1;
}

TEST_F(PrintSupportTest, RenderedPageShowsNoteHeadsOnTheirLinesAndPicturesBelow) {
    // Whole notes (no stems) in every other column, climbing the staff from A0 to C2.
    std::vector<ScoreCell> cells;
    for (std::size_t pos = 0; pos <= 16; ++pos) {
        cells.push_back({tables::Loc2idx[pos], 1});
        cells.push_back({0, 0});
    }
    const QImage img = renderPage1(cells, "heads");
    ASSERT_FALSE(img.isNull());

    // The first line's band and staff in points, and a height's image row.
    const double s = lineHeight / 20;
    const double bandBottom = page.y + page.height - (lineHeight + 32);
    const double b = bandBottom + lineHeight / 2;
    auto py = [&](double y) { return (top - y) * k; };
    auto row = [&](double y) { return static_cast<int>(py(y)); };
    std::vector<int> lines;
    for (int l = 1; l <= 9; ++l) lines.push_back(static_cast<int>(std::lround(py(b + s * l))));

    for (std::size_t i = 0; i <= 16; ++i) {  // staff position i
        const double x = page.x + w * static_cast<double>(2 * i);
        const int x0 = static_cast<int>((x + 1) * k), x1 = static_cast<int>((x + w - 1) * k);
        const double expected = py(b + s + s * static_cast<double>(i) * 0.5);
        const double head = inkRow(img, x0, x1, row(b + 10.5 * s), row(b), lines);
        EXPECT_NEAR(head, expected, s * k * 0.5) << "staff position " << i;
        // The picture of the pitch fills the band's lower half.
        const double picture = inkRow(img, x0, x1, row(b - 4), row(bandBottom), {});
        EXPECT_GT(picture, 0) << "no picture under staff position " << i;
        // The blank cell beside it shows nothing but its staff.
        const double bx = x + w;
        const int bx0 = static_cast<int>((bx + 2) * k), bx1 = static_cast<int>((bx + w - 2) * k);
        EXPECT_LT(inkRow(img, bx0, bx1, row(b + 10.5 * s), row(bandBottom), lines), 0)
            << "ink in the blank cell after staff position " << i;
    }
}

// A fault once seen on paper: a tie from a line's last note to the next line's first is an
// arc of at least a cell on each line (not two half-cell stubs), found as the ink it adds.
TEST_F(PrintSupportTest, RenderedTiesAcrossStaffLines) {
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
