#include "view/print_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "edit_test_document.h"
#include "model/notation_tables.h"

namespace sorvel {
namespace {

// One recorded drawing call.
struct Call {
    std::string kind;  // "line", "polyline", "curve", "text", "image", "fill", "stroke"
    std::vector<Point> points;
    double width = 0;
    std::optional<Dash> dash;
    std::string text;  // text, or the picture's path
    std::string font;
    double size = 0;
    double kerning = 0;
    Rect rect;
};

class PageRecorder : public Canvas {
  public:
    void fillRect(const Rect& r, Color) override { add("fill").rect = r; }
    void strokeRect(const Rect& r, Color, double) override { add("stroke").rect = r; }
    void line(Point a, Point b, double w, Color, std::optional<Dash> dash) override {
        Call& c = add("line");
        c.points = {a, b};
        c.width = w;
        c.dash = dash;
    }
    void image(const Rect& r, const std::string& path) override {
        Call& c = add("image");
        c.text = path;
        c.rect = r;
    }
    void text(Point at, const std::string& t, const std::string& font, double size,
              double kerning) override {
        Call& c = add("text");
        c.points = {at};
        c.text = t;
        c.font = font;
        c.size = size;
        c.kerning = kerning;
    }
    void polyline(const std::vector<Point>& pts, double w, Color) override {
        Call& c = add("polyline");
        c.points = pts;
        c.width = w;
    }
    void curve(Point a, Point c1, Point c2, Point b, double w, Color) override {
        Call& c = add("curve");
        c.points = {a, c1, c2, b};
        c.width = w;
    }

    std::vector<Call> of(const std::string& kind) const {
        std::vector<Call> out;
        for (const Call& c : calls) {
            if (c.kind == kind) out.push_back(c);
        }
        return out;
    }
    // Texts in a font, or only those reading `only` when it is given.
    std::vector<Call> textsIn(const std::string& font, std::optional<std::string> only = {}) const {
        std::vector<Call> out;
        for (const Call& c : of("text")) {
            if (c.font == font && (!only || c.text == *only)) out.push_back(c);
        }
        return out;
    }

    std::vector<Call> calls;

  private:
    Call& add(const char* kind) {
        calls.emplace_back();
        calls.back().kind = kind;
        return calls.back();
    }
};

// The page geometry every test uses: a band of 200 points per staff line, so the staff
// spacing is 10 and a cell of a 40-cell line is 10 wide. Staff line L has its band bottom at
// 964 - 232 L and its staff base 100 above that.
constexpr Rect kPage{10, 20, 400, 944};
constexpr Size kPaper{420, 984};
constexpr double kW = 10, kHc = 5, kS = 10;
constexpr double bandBottom(int L) {
    return 964.0 - 232.0 * L;
}
constexpr double base(int L) {
    return bandBottom(L) + 100.0;
}
constexpr double cellX(int column) {
    return kPage.x + kW * (column - 1);
}

class PrintViewTest : public ::testing::Test {
  protected:
    testing::DiagCapture quiet;

    static PrintView viewOf(std::vector<ScoreCell> cells, std::vector<std::string> chords = {},
                            std::int64_t cellMax = 40) {
        PrintView v(
            PrintInput{std::move(cells), std::move(chords), cellMax, "Song", "/sets", "names"});
        v.knowsPageRange(kPage, kPaper);
        return v;
    }
    static PageRecorder draw(PrintView& v, std::int64_t page) {
        PageRecorder rec;
        v.drawPage(rec, page);
        return rec;
    }
};

ScoreCell note(std::int64_t pitch, std::int64_t value) {
    return {pitch, value};
}
std::vector<ScoreCell> quarters(std::int64_t count, std::int64_t pitch = 17) {
    return std::vector<ScoreCell>(static_cast<std::size_t>(count), note(pitch, 5));
}
// Pitch index of the natural note at a staff position.
std::int64_t at(std::int64_t position) {
    return tables::Loc2idx[static_cast<std::size_t>(position)];
}

TEST_F(PrintViewTest, PageCountCoversEveryCellWithFourLinesPerPage) {
    const struct {
        std::int64_t cells, cellMax, pages;
    } cases[] = {
        {0, 40, 0},     {1, 40, 1},     {81, 40, 1}, {160, 40, 1}, {161, 40, 2},
        {1600, 40, 10}, {1601, 40, 11}, {9, 2, 2},   {8, 2, 1},    {5, 0, 0},
    };
    for (const auto& c : cases) {
        PrintView v = viewOf(quarters(c.cells), {}, c.cellMax);
        EXPECT_EQ(v.pageCount(), c.pages) << c.cells << " cells, " << c.cellMax << " per line";
        EXPECT_EQ(v.rectForPage(2), kPage);
        EXPECT_EQ(v.currentPage, 1);
    }
}

TEST_F(PrintViewTest, HeaderAndFooterOnEveryPage) {
    PrintView v = viewOf(quarters(200));
    for (std::int64_t page : {1, 2}) {
        PageRecorder rec = draw(v, page);
        std::vector<Call> texts = rec.textsIn(kPrintTextFontFamily);
        ASSERT_EQ(texts.size(), 3u) << "page " << page;
        EXPECT_EQ(texts[0].text, "Song");
        EXPECT_EQ(texts[0].points[0], (Point{30, 950}));
        EXPECT_EQ(texts[0].size, 12);
        EXPECT_EQ(texts[1].text, "- " + std::to_string(page) + " -");
        EXPECT_EQ(texts[1].points[0], (Point{350, 952}));
        EXPECT_EQ(texts[1].size, 10);
        EXPECT_EQ(texts[2].text, "Sorvel Score 0.1.0");
        EXPECT_EQ(texts[2].points[0], (Point{30, 19}));
    }
}

TEST_F(PrintViewTest, SecondPageStartsAtCell161WithTheFifthChordLine) {
    std::vector<ScoreCell> cells = quarters(170);
    cells[159] = note(at(3), 5);   // cell 160: last of page 1
    cells[160] = note(at(12), 5);  // cell 161: first of page 2
    std::vector<std::string> chords = {"C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8"};
    PrintView v = viewOf(cells, chords);

    PageRecorder rec = draw(v, 2);
    std::vector<Call> glyphs = rec.textsIn(kPrintNotationFontFamily);
    ASSERT_EQ(glyphs.size(), 10u);
    EXPECT_EQ(glyphs[0].points[0], (Point{cellX(1) + 0.5, base(1) - 11 + 5 + kS * 12 * 0.5}));
    EXPECT_EQ(glyphs[0].size, 30);
    EXPECT_EQ(glyphs[0].kerning, -5);

    const std::vector<Call> chordTexts = rec.textsIn(kPrintMonoFontFamily);
    ASSERT_EQ(chordTexts.size(), 4u);
    for (int L = 1; L <= 4; ++L) {
        EXPECT_EQ(chordTexts[L - 1].text, "C" + std::to_string(4 + L));
        EXPECT_EQ(chordTexts[L - 1].points[0], (Point{kPage.x, bandBottom(L) + 200 - 3}));
        EXPECT_EQ(chordTexts[L - 1].size, 8);
        EXPECT_DOUBLE_EQ(chordTexts[L - 1].kerning, -0.9);
    }
}

TEST_F(PrintViewTest, ShortLastPageStopsTheStaffAfterTheLastCellButKeepsChordLines) {
    PrintView v = viewOf(quarters(45), {"G", "", "Am", "F"});
    PageRecorder rec = draw(v, 1);
    int staffSegments[5] = {};
    for (const Call& c : rec.of("line")) {
        if (c.dash || c.width != 0.5) continue;
        for (int L = 1; L <= 4; ++L) {
            if (c.points[0].y >= base(L) + 3 * kS && c.points[0].y <= base(L) + 7 * kS) {
                ++staffSegments[L];
            }
        }
    }
    EXPECT_EQ(staffSegments[1], 40 * 5);
    EXPECT_EQ(staffSegments[2], 5 * 5);
    EXPECT_EQ(staffSegments[3], 0);
    EXPECT_EQ(staffSegments[4], 0);
    std::vector<std::string> chords;
    for (const Call& c : rec.textsIn(kPrintMonoFontFamily)) chords.push_back(c.text);
    EXPECT_EQ(chords, (std::vector<std::string>{"G", "Am", "F"}));
    EXPECT_EQ(rec.textsIn(kPrintNotationFontFamily).size(), 45u);
}

TEST_F(PrintViewTest, GlyphsSubstituteTiesAndTripletsAndCarryAccidentals) {
    const struct {
        std::int64_t pitch, value;
        std::string text;  // "" when no glyph is printed
    } cases[] = {
        {17, 5, "2"},  {17, 6, "8"},   {17, 18, "F."}, {1, 5, ".2"},  {2, 5, "/2"},  {17, 53, "0"},
        {17, 55, "2"}, {17, 58, "5"},  {17, 59, "0"},  {17, 60, "A"}, {17, 64, "E"}, {17, 41, "2"},
        {17, 43, "4"}, {17, 44, "F"},  {17, 46, "N"},  {17, 47, "B"}, {17, 49, "D"}, {17, 50, "F"},
        {17, 52, "N"}, {22, 55, ".2"}, {1, 0, ""},     {17, 25, ""},  {0, 99, ""},   {-3, 5, ""},
    };
    for (const auto& c : cases) {
        PrintView v = viewOf({note(c.pitch, c.value)});
        PageRecorder rec = draw(v, 1);
        std::vector<Call> glyphs = rec.textsIn(kPrintNotationFontFamily);
        if (c.text.empty()) {
            EXPECT_TRUE(glyphs.empty()) << c.pitch << "," << c.value;
            continue;
        }
        ASSERT_EQ(glyphs.size(), 1u) << c.pitch << "," << c.value;
        EXPECT_EQ(glyphs[0].text, c.text) << c.pitch << "," << c.value;
        const double pos =
            static_cast<double>(tables::locateArr[static_cast<std::size_t>(c.pitch)]);
        EXPECT_DOUBLE_EQ(glyphs[0].points[0].y, base(1) - 11 + 5 + kS * pos * 0.5);
    }
}

TEST_F(PrintViewTest, PicturesOnlyUnderPitchedCells) {
    PrintView v =
        viewOf({note(17, 5), note(17, 17), note(5, 55), note(17, 0), note(38, 44), note(9, 47)});
    PageRecorder rec = draw(v, 1);
    std::vector<Call> images = rec.of("image");
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].text, "/sets/names/A1.png");
    EXPECT_EQ(images[0].rect, (Rect{cellX(1), bandBottom(1), kW - 2, 100 - 4}));
    EXPECT_EQ(images[1].text, "/sets/names/C0#.png");
    EXPECT_EQ(images[1].rect.x, cellX(3));
    EXPECT_EQ(images[2].text, "/sets/names/E0b.png");
    EXPECT_EQ(images[2].rect.x, cellX(6));
}

TEST_F(PrintViewTest, DashedLedgerLinesByStaffPosition) {
    const struct {
        std::int64_t pitch, value;
        std::vector<int> lines;  // k of each ledger line, in drawing order
    } cases[] = {
        {0, 5, {1, 2}},  {1, 5, {1, 2}},  {4, 5, {1, 2}},   {7, 5, {}}, {31, 5, {}},
        {34, 5, {8, 9}}, {38, 5, {8, 9}}, {0, 17, {1, 2}},  {0, 0, {}}, {0, 25, {}},
        {38, 28, {}},    {0, 53, {1, 2}}, {38, 41, {8, 9}},
    };
    for (const auto& c : cases) {
        PrintView v = viewOf({note(c.pitch, c.value)});
        PageRecorder rec = draw(v, 1);
        std::vector<int> got;
        for (const Call& l : rec.of("line")) {
            if (!l.dash) continue;
            EXPECT_EQ(*l.dash, (Dash{1, 1, 0}));
            EXPECT_EQ(l.width, 0.5);
            EXPECT_EQ(l.points[0].x, cellX(1) + 1);
            EXPECT_EQ(l.points[1].x, cellX(1) + kW - 1);
            got.push_back(static_cast<int>((l.points[0].y - base(1)) / kS + 0.5));
        }
        EXPECT_EQ(got, c.lines) << c.pitch << "," << c.value;
    }
}

TEST_F(PrintViewTest, TripletBracketAboveOrBelowAtTheThirdCell) {
    const struct {
        std::int64_t value;
        bool above;
    } cases[] = {{41, true}, {42, true}, {43, true}, {44, false}, {47, false}, {52, false}};
    for (const auto& c : cases) {
        // Positions 4, 6, 5 after a leading quarter: the group fills columns 2..4.
        PrintView v = viewOf({note(17, 5), note(at(4), c.value), note(at(6), c.value),
                              note(at(5), c.value), note(at(4), c.value)});
        PageRecorder rec = draw(v, 1);
        std::vector<Call> paths = rec.of("polyline");
        ASSERT_EQ(paths.size(), 2u) << c.value;
        const double x = cellX(4);
        const std::vector<Call> digits = rec.textsIn(kPrintMonoFontFamily, "3");
        ASSERT_EQ(digits.size(), 1u);
        if (c.above) {
            const double yb = base(1) + kS * 6 * 0.5;
            EXPECT_EQ(paths[0].points,
                      (std::vector<Point>{
                          {x - 3 * kHc, yb + 23}, {x - 3 * kHc, yb + 26}, {x - 2 * kHc, yb + 26}}));
            EXPECT_EQ(
                paths[1].points,
                (std::vector<Point>{{x, yb + 26}, {x + kHc + 4, yb + 26}, {x + kHc + 4, yb + 23}}));
            EXPECT_EQ(digits[0].points[0], (Point{x - 2 * kHc + 3, yb + 20}));
        } else {
            const double yb = base(1) + kS * 4 * 0.5;
            EXPECT_EQ(paths[0].points, (std::vector<Point>{{x - 4 * kHc, yb - 7},
                                                           {x - 4 * kHc, yb - 10},
                                                           {x - 2 * kHc - 2, yb - 10}}));
            EXPECT_EQ(paths[1].points, (std::vector<Point>{{x - 2 * kHc + 7, yb - 10},
                                                           {x + kHc + 3, yb - 10},
                                                           {x + kHc + 3, yb - 7}}));
            EXPECT_EQ(digits[0].points[0], (Point{x - 2 * kHc, yb - 15}));
        }
        for (const Call& p : paths) EXPECT_EQ(p.width, 1.5);
    }
}

TEST_F(PrintViewTest, TripletAcrossAStaffLineIsBracketedOnBothLinesWithinThePage) {
    for (const std::int64_t value : {41, 47}) {
        const bool above = value == 41;
        std::vector<ScoreCell> cells = quarters(42);
        cells[38] = note(at(4), value);  // columns 39 and 40 of line 1
        cells[39] = note(at(6), value);
        cells[40] = note(at(5), value);  // column 1 of line 2
        PrintView v = viewOf(cells);
        PageRecorder rec = draw(v, 1);
        std::vector<Call> paths = rec.of("polyline");
        ASSERT_FALSE(paths.empty()) << value;
        bool onFirst = false, onSecond = false;
        const double extreme = above ? 6 : 4;
        const double yOn1 = base(1) + kS * extreme * 0.5 + (above ? 26 : -10);
        const double yOn2 = base(2) + kS * extreme * 0.5 + (above ? 26 : -10);
        for (const Call& p : paths) {
            for (const Point& pt : p.points) {
                EXPECT_GE(pt.x, kPage.x) << value;
                EXPECT_LE(pt.x, kPage.x + kPage.width) << value;
                onFirst = onFirst || pt.y == yOn1;
                onSecond = onSecond || pt.y == yOn2;
            }
        }
        EXPECT_TRUE(onFirst && onSecond) << value;
        // The first line's part starts with a hook at the group's first note.
        EXPECT_EQ(paths[0].points.front().x, cellX(39) + (above ? kHc : 0)) << value;
        const std::vector<Call> digits = rec.textsIn(kPrintMonoFontFamily, "3");
        ASSERT_EQ(digits.size(), 1u);
        EXPECT_GE(digits[0].points[0].x, kPage.x);
    }
}

TEST_F(PrintViewTest, TieArcsAcrossBarsRestsAndStaffLines) {
    struct Arc {
        Point from, to;
        double bend;
    };
    auto arc = [](int Lfrom, int cFrom, std::int64_t p0, int Lto, int cTo, std::int64_t p1,
                  bool up) {
        const double lift = up ? 4 : 12;
        return Arc{{cellX(cFrom) + kHc, base(Lfrom) + kS * static_cast<double>(p0) * 0.5 + lift},
                   {cellX(cTo) + kHc, base(Lto) + kS * static_cast<double>(p1) * 0.5 + lift},
                   up ? -4.0 : 4.0};
    };
    std::vector<ScoreCell> acrossLine = quarters(41);
    acrossLine[39] = note(at(6), 55);  // column 40 of line 1
    acrossLine[40] = note(at(6), 5);   // column 1 of line 2
    std::vector<ScoreCell> chain = {note(at(4), 61), note(at(5), 59), note(at(6), 7)};
    const struct {
        std::string name;
        std::vector<ScoreCell> cells;
        std::vector<Arc> arcs;
    } cases[] = {
        {"tie over a bar",
         {note(at(4), 55), note(17, 25), note(at(4), 5)},
         {arc(1, 1, 4, 1, 3, 4, true)}},
        {"arc above for the alternate form",
         {note(at(9), 61), note(at(9), 33)},
         {arc(1, 1, 9, 1, 2, 9, false)}},
        {"rests and marks keep the tie",
         {note(at(5), 56), note(17, 17), note(17, 27), note(at(7), 5)},
         {arc(1, 1, 5, 1, 4, 7, true)}},
        {"a tie on a tie continues",
         chain,
         {arc(1, 1, 4, 1, 2, 5, false), arc(1, 2, 5, 1, 3, 6, false)}},
        {"no tie without a tie value", {note(at(4), 5), note(at(4), 5)}, {}},
        {"a tie that ends nowhere draws nothing", {note(at(4), 55), note(17, 17)}, {}},
    };
    for (const auto& c : cases) {
        PrintView v = viewOf(c.cells);
        PageRecorder rec = draw(v, 1);
        std::vector<Call> curves = rec.of("curve");
        ASSERT_EQ(curves.size(), c.arcs.size()) << c.name;
        for (std::size_t i = 0; i < curves.size(); ++i) {
            const Arc& a = c.arcs[i];
            const std::vector<Point>& p = curves[i].points;
            EXPECT_EQ(p[0], a.from) << c.name;
            EXPECT_EQ(p[3], a.to) << c.name;
            EXPECT_DOUBLE_EQ(p[1].x, a.from.x + kW / 3) << c.name;
            EXPECT_DOUBLE_EQ(p[1].y, a.from.y + a.bend) << c.name;
            EXPECT_DOUBLE_EQ(p[2].x, a.to.x - kW / 3) << c.name;
            EXPECT_DOUBLE_EQ(p[2].y, a.to.y + a.bend) << c.name;
            EXPECT_EQ(curves[i].width, 1.5);
        }
    }

    // Across a staff line: one arc leaves the first note toward the end of its own line, one
    // arrives at the second note from the start of the next; neither runs backwards.
    PrintView v = viewOf(acrossLine);
    std::vector<Call> curves = draw(v, 1).of("curve");
    ASSERT_EQ(curves.size(), 2u);
    const double y1 = base(1) + kS * 3 + 4, y2 = base(2) + kS * 3 + 4;
    EXPECT_EQ(curves[0].points[0], (Point{cellX(40) + kHc, y1}));
    EXPECT_EQ(curves[0].points[3], (Point{kPage.x + kPage.width, y1}));
    EXPECT_EQ(curves[1].points[0], (Point{kPage.x, y2}));
    EXPECT_EQ(curves[1].points[3], (Point{cellX(1) + kHc, y2}));
    for (const Call& c : curves) EXPECT_LT(c.points[0].x, c.points[3].x);
}

TEST_F(PrintViewTest, TiesAndTripletsDoNotRunOverAPageBreak) {
    std::vector<ScoreCell> cells = quarters(163);
    cells[159] = note(at(4), 55);  // last cell of page 1 starts a tie
    cells[158] = note(at(4), 41);  // and two triplet members end page 1
    cells[157] = note(at(4), 41);
    cells[160] = note(at(4), 41);  // the third member opens page 2
    PrintView v = viewOf(cells);
    const std::size_t firstCalls = draw(v, 1).calls.size();
    for (std::int64_t page : {1, 2}) {
        PageRecorder rec = draw(v, page);
        EXPECT_TRUE(rec.of("curve").empty() && rec.of("polyline").empty()) << page;
    }
    // Drawing page 1 again after page 2 gives the same page.
    EXPECT_EQ(draw(v, 1).calls.size(), firstCalls);
}

TEST_F(PrintViewTest, BarRepeatAndFirstEndingMarks) {
    const double b = base(1), x = cellX(2), xm = x + kHc;
    struct Seg {
        double x, y0, y1, width;
    };
    const struct {
        std::int64_t value;
        std::vector<Seg> lines;  // vertical mark lines
        std::optional<Point> dots;
        std::vector<Point> path;  // first ending
    } cases[] = {
        {25, {{xm, b + 30, b + 70, 1.5}}, std::nullopt, {}},
        {26,
         {{xm - 3, b + 30, b + 70, 1.5}, {xm - 1, b + 30, b + 70, 0.5}},
         Point{x + 4.5, b + 39},
         {}},
        {27,
         {{xm - 2, b + 30, b + 70, 0.5}, {xm, b + 30, b + 70, 1.5}},
         Point{x - 3.5, b + 39},
         {}},
        {28, {}, std::nullopt, {{xm, b + 30}, {xm, b + 90}, {x + 3 * kW, b + 90}}},
    };
    for (const auto& c : cases) {
        PrintView v = viewOf({note(17, 5), note(0, c.value), note(17, 5)});
        PageRecorder rec = draw(v, 1);
        std::vector<Seg> got;
        for (const Call& l : rec.of("line")) {
            if (l.points[0].x == l.points[1].x) {
                got.push_back({l.points[0].x, l.points[0].y, l.points[1].y, l.width});
            }
        }
        ASSERT_EQ(got.size(), c.lines.size()) << c.value;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].x, c.lines[i].x) << c.value;
            EXPECT_EQ(got[i].y0, c.lines[i].y0) << c.value;
            EXPECT_EQ(got[i].y1, c.lines[i].y1) << c.value;
            EXPECT_EQ(got[i].width, c.lines[i].width) << c.value;
        }
        const std::vector<Call> colons = rec.textsIn(kPrintMonoFontFamily, ":");
        ASSERT_EQ(colons.size(), c.dots ? 1u : 0u) << c.value;
        if (c.dots) {
            EXPECT_EQ(colons[0].points[0], *c.dots);
            EXPECT_EQ(colons[0].size, 17);
        }
        std::vector<Call> paths = rec.of("polyline");
        ASSERT_EQ(paths.size(), c.path.empty() ? 0u : 1u) << c.value;
        if (!c.path.empty()) {
            EXPECT_EQ(paths[0].points, c.path);
        }
        // Marks print no glyph of their own: only the two quarters around them.
        EXPECT_EQ(rec.textsIn(kPrintNotationFontFamily).size(), 2u) << c.value;
    }
}

}  // namespace
}  // namespace sorvel
