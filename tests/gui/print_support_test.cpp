#include "print_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "model/note_values.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

using gui::ExportResult;
using gui::PrintSupport;

int pdfPages(const QString& pdf) {
    return pdfInfo(pdf, "Pages").toInt();
}
QString pdfPageSize(const QString& pdf) {
    return pdfInfo(pdf, "Page size").section(" pts", 0, 0);
}

PrintInput songInput(std::int64_t cells) {
    PrintInput in;
    for (std::int64_t i = 0; i < cells; ++i) in.musicData.push_back({17, 5});
    in.codeData = {"Cmaj7", "Am7", "Dm7", "G7sus4", "Fmaj7", "Bb13"};
    in.cellMax = 40;
    in.title = "Evening Song";
    in.imgFol = setFolder();
    in.imageSet = "names";
    return in;
}

class PrintSupportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setDiagnosticSink([](std::string_view) {});
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override { setDiagnosticSink({}); }
    QTemporaryDir dir;

  public:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_F(PrintSupportTest, ExportedPdfHasThePagesTextAndPaper) {
    const struct {
        std::int64_t cells;
        gui::Paper paper;
        int pages;
        QString size;
        QStringList texts;
    } cases[] = {
        {1, gui::Paper::A4, 1, "595 x 842", {"Evening Song", "- 1 -", "Cmaj7", "G7sus4"}},
        {170,
         gui::Paper::A4,
         2,
         "595 x 842",
         {"- 1 -", "- 2 -", "Fmaj7", "Bb13", "Sorvel Score 0.1.0"}},
        {161, gui::Paper::Letter, 2, "612 x 792", {"Evening Song", "- 2 -", "Am7"}},
    };
    for (const auto& c : cases) {
        const QString pdf = path("song.pdf");
        ExportResult r = gui::exportPdf(songInput(c.cells), pdf, gui::defaultPageLayout(c.paper));
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.pages, c.pages);
        EXPECT_EQ(pdfPages(pdf), c.pages) << c.cells;
        EXPECT_EQ(pdfPageSize(pdf), c.size) << c.cells;
        const QString text = runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        for (const QString& t : c.texts) EXPECT_TRUE(text.contains(t)) << t.toStdString();
    }
}

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

// Dialogs that answer at once.
class ScriptedDialogs : public gui::PrintDialogs {
  public:
    bool print(QPrinter& printer, QWidget*, const std::function<void(QPrinter&)>& paint) override {
        ++printCalls;
        if (printTo.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printTo);
        paint(printer);
        return true;
    }
    bool pageSetup(QPrinter& printer, QWidget*) override {
        if (!acceptPageSetup) return false;
        printer.setPageSize(QPageSize(QPageSize::Letter));
        return true;
    }
    QString pdfPath(QWidget*, const QString& suggested) override {
        suggestedSeen = suggested;
        return answerPath;
    }
    void showError(QWidget*, const QString& text) override { errors << text; }

    QString printTo, answerPath, suggestedSeen;
    bool acceptPageSetup = true;
    int printCalls = 0;
    QStringList errors;
};

// What the menus print and export through these is print_menu_test's; here, cancels and
// failures.
TEST_F(PrintSupportTest, MenuCommandsGoThroughTheDialogs) {
    ScriptedDialogs dialogs;
    PrintSupport support(&dialogs);

    // Export PDF: cancelled, failed, written.
    dialogs.answerPath.clear();
    EXPECT_FALSE(support.exportPdfWithDialog(songInput(3), nullptr, "Song.pdf").ok);
    EXPECT_EQ(dialogs.suggestedSeen, QStringLiteral("Song.pdf"));
    EXPECT_TRUE(dialogs.errors.isEmpty());
    dialogs.answerPath = path("missing/dir/a.pdf");
    EXPECT_FALSE(support.exportPdfWithDialog(songInput(3), nullptr).ok);
    EXPECT_EQ(dialogs.errors.size(), 1);
    // Page Setup: a refused dialog keeps the paper, an accepted one changes it for what follows.
    dialogs.acceptPageSetup = false;
    EXPECT_FALSE(support.pageSetup(nullptr));
    EXPECT_EQ(support.pageLayout().pageSize().id(), QPageSize::A4);
    dialogs.acceptPageSetup = true;
    EXPECT_TRUE(support.pageSetup(nullptr));
    EXPECT_EQ(support.pageLayout().pageSize().id(), QPageSize::Letter);
    // Print: cancelled prints nothing; otherwise every page reaches the printer chosen.
    EXPECT_FALSE(support.print(songInput(3), nullptr));
    dialogs.printTo = path("printed.pdf");
    EXPECT_TRUE(support.print(songInput(200), nullptr));
    EXPECT_EQ(dialogs.printCalls, 2);
    EXPECT_EQ(pdfPages(path("printed.pdf")), 2);
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

// The first staff lines of an A4 page as rendered by pdftoppm: the layout's geometry in points
// (y up) and its place in the picture.
struct RenderedPage {
    static constexpr int kDpi = 144;
    QImage img;
    const QPageLayout layout = gui::defaultPageLayout(gui::Paper::A4);
    const Rect page = gui::imageableBounds(layout);
    const double k = kDpi / 72.0;
    const double lineHeight = (page.height - 32 * 4) / 4 - 4;
    const double w = page.width / 40, s = lineHeight / 20;
    double bandBottom(int line) const { return page.y + page.height - (lineHeight + 32) * line; }
    double base(int line) const { return bandBottom(line) + lineHeight / 2; }
    double cellX(int column) const { return page.x + w * (column - 1); }
    int px(double x) const { return static_cast<int>(std::lround(x * k)); }
    int py(double y) const {
        return static_cast<int>(std::lround((gui::paperSizePoints(layout).height - y) * k));
    }
};

RenderedPage render(PrintSupportTest& t, std::vector<ScoreCell> cells, const char* name) {
    PrintInput in = songInput(0);
    in.codeData.clear();
    in.musicData = std::move(cells);
    RenderedPage r;
    const QString pdf = t.path(name) + QStringLiteral(".pdf");
    EXPECT_TRUE(gui::exportPdf(in, pdf, r.layout).ok);
    runTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(RenderedPage::kDpi), QStringLiteral("-f"),
             QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), pdf, t.path(name)});
    r.img = QImage(t.path(name) + QStringLiteral(".png"));
    EXPECT_FALSE(r.img.isNull());
    return r;
}

// The bounding box (image pixels) of the ink that `with` adds to `without` in a region.
QRect addedInk(const QImage& with, const QImage& without, const QRect& region) {
    QRect box;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (qGray(with.pixel(x, y)) < 128 && qGray(without.pixel(x, y)) >= 128)
                box |= QRect(x, y, 1, 1);
    return box;
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
    const RenderedPage r = render(*this, cells, "heads");
    const QImage& img = r.img;
    const double b = r.base(1), s = r.s, w = r.w, k = r.k;
    auto py = [&](double y) { return r.py(y); };
    std::vector<int> lines;
    for (int l = 1; l <= 9; ++l) lines.push_back(py(b + s * l));

    for (std::size_t i = 0; i < positions.size(); ++i) {
        const double x = r.cellX(static_cast<int>(2 * i + 1));
        const int x0 = static_cast<int>((x + 1) * k), x1 = static_cast<int>((x + w - 1) * k);
        const double expected = py(b + s + s * static_cast<double>(positions[i]) * 0.5);
        const double head = inkRow(img, x0, x1, py(b + 10.5 * s), py(b), lines);
        EXPECT_NEAR(head, expected, s * k * 0.5) << "staff position " << positions[i];
        // The picture of the pitch fills the band's lower half.
        const double picture = inkRow(img, x0, x1, py(b - 4), py(r.bandBottom(1)), {});
        EXPECT_GT(picture, 0) << "no picture under staff position " << positions[i];
        // The blank cell beside it shows nothing but its staff.
        const double bx = x + w;
        EXPECT_LT(inkRow(img, static_cast<int>((bx + 2) * k), static_cast<int>((bx + w - 2) * k),
                         py(b + 10.5 * s), py(r.bandBottom(1)), lines),
                  0)
            << "ink in the blank cell after staff position " << positions[i];
    }
}

// A dotted rest prints its rest and a dot after it: what the dot adds is no taller or wider
// than half a staff space (a sharp would be three spaces tall).
TEST_F(PrintSupportTest, RenderedDottedRestsShowTheirDot) {
    const std::int64_t dotted[] = {14, 16, 18, 20, 22, 24};
    std::vector<ScoreCell> plain, withDot;
    for (std::int64_t v : dotted) {
        plain.insert(plain.end(), {{17, noteValue(v).dotToggle}, {0, 0}});
        withDot.insert(withDot.end(), {{17, v}, {0, 0}});
    }
    const RenderedPage a = render(*this, withDot, "dotted"), b = render(*this, plain, "plain");
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(noteValue(dotted[i]).glyph);
        const double x = a.cellX(2 * i + 1);
        const QRect dot = addedInk(a.img, b.img,
                                   QRect(QPoint(a.px(x), a.py(a.base(1) + 10 * a.s)),
                                         QPoint(a.px(x + 2 * a.w), a.py(a.base(1)))));
        ASSERT_FALSE(dot.isEmpty());
        EXPECT_LE(dot.height(), a.s * a.k * 0.6);
        EXPECT_LE(dot.width(), a.s * a.k * 0.6);
    }
}

// A tie from the last note of a staff line to the first of the next prints as two arcs, each
// about a cell long and bowing away from its ends.
TEST_F(PrintSupportTest, RenderedTieAcrossStaffLinesIsTwoArcs) {
    std::vector<ScoreCell> untied(41, ScoreCell{0, 0});
    untied[39] = untied[40] = {24, 1};  // whole notes, no stems
    std::vector<ScoreCell> tied = untied;
    tied[39] = {24, 53};
    const RenderedPage a = render(*this, tied, "tied"), b = render(*this, untied, "untied");
    const int width = static_cast<int>(a.img.width()) - 1;
    for (int line : {1, 2}) {
        SCOPED_TRACE(line);
        const QRect arc = addedInk(a.img, b.img,
                                   QRect(QPoint(0, a.py(a.base(line) + 10 * a.s)),
                                         QPoint(width, a.py(a.bandBottom(line)))));
        ASSERT_FALSE(arc.isEmpty());
        EXPECT_GE(arc.width(), a.w * a.k * 0.9);
        // The arc's middle lies below its two ends.
        auto lowest = [&](int x) {
            int y = arc.top();
            for (int yy = arc.top(); yy <= arc.bottom(); ++yy)
                if (qGray(a.img.pixel(x, yy)) < 128 && qGray(b.img.pixel(x, yy)) >= 128) y = yy;
            return y;
        };
        const int middle = lowest(arc.center().x());
        EXPECT_GT(middle, lowest(arc.left() + 1) + a.k);
        EXPECT_GT(middle, lowest(arc.right() - 1) + a.k);
    }
}

}  // namespace
}  // namespace sorvel::test
