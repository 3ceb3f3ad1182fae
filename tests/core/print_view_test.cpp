#include "view/print_view.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fakes.h"
#include "model/notation_tables.h"
#include "view/button_pictures.h"

namespace sorvel {
namespace {

struct Call {
    std::string kind;  // "line", "polyline", "curve", "text", "image"
    std::vector<Point> points;
    double width = 0;
    std::optional<Dash> dash;
    std::string text;  // text, or the picture's path
    std::string font;
    Rect rect;
};

class PageRecorder : public Canvas {
  public:
    void fillRect(const Rect&, Color) override {}
    void strokeRect(const Rect&, Color, double) override {}
    void line(Point a, Point b, double w, Color, std::optional<Dash> dash) override {
        add("line", {a, b}, w).dash = dash;
    }
    void image(const Rect& r, const std::string& path) override {
        Call& c = add("image", {}, 0);
        c.text = path;
        c.rect = r;
    }
    void text(Point at, const std::string& t, const std::string& font, double, double,
              Color) override {
        Call& c = add("text", {at}, 0);
        c.text = t;
        c.font = font;
    }
    void polyline(const std::vector<Point>& pts, double w, Color) override {
        add("polyline", pts, w);
    }
    void curve(Point a, Point c1, Point c2, Point b, double w, Color) override {
        add("curve", {a, c1, c2, b}, w);
    }
    Call& add(const char* kind, std::vector<Point> points, double width) {
        Call& c = calls.emplace_back();
        c.kind = kind;
        c.points = std::move(points);
        c.width = width;
        return c;
    }
    std::vector<Call> of(const std::string& kind) const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.kind == kind) out.push_back(c);
        return out;
    }
    // Texts in a font, only those reading `only` when it is given.
    std::vector<Call> textsIn(const std::string& font, std::optional<std::string> only = {}) const {
        std::vector<Call> out;
        for (const Call& c : of("text"))
            if (c.font == font && (!only || c.text == *only)) out.push_back(c);
        return out;
    }
    std::vector<std::string> strings(const std::string& font) const {
        std::vector<std::string> out;
        for (const Call& c : textsIn(font)) out.push_back(c.text);
        return out;
    }
    std::vector<Call> calls;
};

// A band of 200 points per staff line: staff spacing 10, a cell of a 40-cell line 10 wide.
// Staff line L has its staff base at 1064 - 232 L.
constexpr Rect kPage{10, 20, 400, 944};
constexpr double kW = 10, kHc = 5, kS = 10;
constexpr double base(int L) {
    return 1064.0 - 232.0 * L;
}
constexpr double cellX(int column) {
    return kPage.x + kW * (column - 1);
}

class PrintViewTest : public ::testing::Test {
  protected:
    testing::DiagCapture quiet;
    static PrintView viewOf(std::vector<ScoreCell> cells, std::vector<std::string> chords = {},
                            std::int64_t cellMax = 40) {
        PrintView v(Score{std::move(cells), std::move(chords), {}}, "Song", "/sets", "names");
        v.cellMax = cellMax;
        v.knowsPageRange(kPage, {420, 984});
        return v;
    }
    static PageRecorder draw(std::vector<ScoreCell> cells, std::int64_t page = 1) {
        PrintView v = viewOf(std::move(cells));
        PageRecorder rec;
        v.drawPage(rec, page);
        return rec;
    }
};

std::vector<ScoreCell> quarters(std::int64_t count) {
    return std::vector<ScoreCell>(static_cast<std::size_t>(count), ScoreCell{17, 5});
}
// Pitch index of the natural note at a staff position.
std::int64_t at(std::int64_t position) {
    return tables::Loc2idx[static_cast<std::size_t>(position)];
}

TEST_F(PrintViewTest, PageCountCoversEveryCellWithFourLinesPerPage) {
    const struct {
        std::int64_t cells, cellMax, pages;
    } cases[] = {{0, 40, 0},     {1, 40, 1}, {160, 40, 1}, {161, 40, 2},
                 {1601, 40, 11}, {9, 2, 2},  {8, 2, 1},    {5, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(viewOf(quarters(c.cells), {}, c.cellMax).pageCount(), c.pages)
            << c.cells << " cells, " << c.cellMax << " per line";
    }
}

TEST_F(PrintViewTest, SecondPageStartsAtCell161WithTheFifthChordLine) {
    std::vector<ScoreCell> cells = quarters(170);
    cells[160] = {at(12), 5};  // cell 161: first of page 2
    PrintView v = viewOf(cells, {"C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8"});
    PageRecorder rec;
    v.drawPage(rec, 2);
    const std::vector<Call> glyphs = rec.textsIn(kPrintNotationFontFamily);
    ASSERT_EQ(glyphs.size(), 10u);
    EXPECT_EQ(glyphs[0].points[0], (Point{cellX(1) + 0.5, base(1) - 6 + kS * 12 * 0.5}));
    EXPECT_EQ(rec.strings(kPrintMonoFontFamily),
              (std::vector<std::string>{"C5", "C6", "C7", "C8"}));
    EXPECT_EQ(rec.strings(kPrintTextFontFamily),
              (std::vector<std::string>{"Song", "- 2 -", printFooterLine()}));
}

TEST_F(PrintViewTest, ShortLastPageStopsTheStaffAfterTheLastCellButKeepsChordLines) {
    PrintView v = viewOf(quarters(45), {"G", "", "Am", "F"});
    PageRecorder rec;
    v.drawPage(rec, 1);
    int staffSegments[5] = {};
    for (const Call& c : rec.of("line")) {
        if (c.dash || c.width != 0.5) continue;
        for (int L = 1; L <= 4; ++L)
            staffSegments[L] +=
                c.points[0].y >= base(L) + 3 * kS && c.points[0].y <= base(L) + 7 * kS;
    }
    EXPECT_EQ(staffSegments[1], 40 * 5);
    EXPECT_EQ(staffSegments[2], 5 * 5);
    EXPECT_EQ(staffSegments[3] + staffSegments[4], 0);
    EXPECT_EQ(rec.strings(kPrintMonoFontFamily), (std::vector<std::string>{"G", "Am", "F"}));
}

TEST_F(PrintViewTest, GlyphsSubstituteTiesAndTripletsAndCarryAccidentals) {
    const struct {
        std::int64_t pitch, value;
        std::string text;  // "" when no glyph is printed
    } cases[] = {
        {17, 5, "2"},   {17, 18, "F."}, {1, 5, ".2"},  {2, 5, "/2"},  {17, 53, "0"},
        {17, 55, "2"},  {17, 60, "A"},  {17, 41, "2"}, {17, 44, "F"}, {17, 52, "N"},
        {22, 55, ".2"}, {1, 0, ""},     {17, 25, ""},  {0, 99, ""},   {-3, 5, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.pitch) + "," + std::to_string(c.value));
        const std::vector<Call> glyphs =
            draw({{c.pitch, c.value}}).textsIn(kPrintNotationFontFamily);
        if (c.text.empty()) {
            EXPECT_TRUE(glyphs.empty());
            continue;
        }
        ASSERT_EQ(glyphs.size(), 1u);
        EXPECT_EQ(glyphs[0].text, c.text);
    }
}

TEST_F(PrintViewTest, PicturesOnlyUnderPitchedCells) {
    const std::vector<Call> images =
        draw({{17, 5}, {17, 17}, {5, 55}, {17, 0}, {38, 44}, {9, 47}}).of("image");
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].text, "/sets/names/A1.png");
    EXPECT_EQ(images[1].text, "/sets/names/C0#.png");
    EXPECT_EQ(images[1].rect.x, cellX(3));
    EXPECT_EQ(images[2].text, "/sets/names/E0b.png");
    EXPECT_EQ(images[2].rect.x, cellX(6));
}

TEST_F(PrintViewTest, DashedLedgerLinesByStaffPosition) {
    const struct {
        std::int64_t pitch, value;
        std::vector<int> lines;  // staff steps of each ledger line
    } cases[] = {{0, 5, {1, 2}},  {4, 5, {1, 2}},  {7, 5, {}},  {31, 5, {}}, {34, 5, {8, 9}},
                 {38, 5, {8, 9}}, {0, 17, {1, 2}}, {0, 25, {}}, {0, 0, {}},  {38, 41, {8, 9}}};
    for (const auto& c : cases) {
        std::vector<int> got;
        for (const Call& l : draw({{c.pitch, c.value}}).of("line"))
            if (l.dash) got.push_back(static_cast<int>((l.points[0].y - base(1)) / kS + 0.5));
        EXPECT_EQ(got, c.lines) << c.pitch << "," << c.value;
    }
}

TEST_F(PrintViewTest, TripletBracketAboveOrBelowTheGroup) {
    for (const std::int64_t value : {41, 43, 44, 52}) {
        SCOPED_TRACE(value);
        const bool above = value < 44;
        // Positions 4, 6, 5 after a leading quarter: the group fills columns 2..4.
        const PageRecorder rec =
            draw({{17, 5}, {at(4), value}, {at(6), value}, {at(5), value}, {at(4), value}});
        const std::vector<Call> paths = rec.of("polyline");
        ASSERT_EQ(paths.size(), 2u);
        const std::vector<Call> digits = rec.textsIn(kPrintMonoFontFamily, "3");
        ASSERT_EQ(digits.size(), 1u);
        const double highest = base(1) + kS * 3, lowest = base(1) + kS * 2;
        for (const Call& p : paths) {
            for (const Point& pt : p.points) {
                EXPECT_GE(pt.x, cellX(2) - kW);
                EXPECT_LE(pt.x, cellX(5));
                EXPECT_TRUE(above ? pt.y > highest : pt.y < lowest) << pt.y;
            }
        }
        const Point digit = digits[0].points[0];
        EXPECT_TRUE(above ? digit.y > highest : digit.y < lowest - kS) << digit.y;
        EXPECT_TRUE(digit.x > cellX(2) && digit.x < cellX(4)) << digit.x;
    }
}

TEST_F(PrintViewTest, TripletAcrossAStaffLineIsBracketedOnBothLinesWithinThePage) {
    for (const std::int64_t value : {41, 47}) {
        const bool above = value == 41;
        std::vector<ScoreCell> cells = quarters(42);
        cells[38] = {at(4), value};  // columns 39 and 40 of line 1
        cells[39] = {at(6), value};
        cells[40] = {at(5), value};  // column 1 of line 2
        const PageRecorder rec = draw(cells);
        bool onFirst = false, onSecond = false;
        const double extreme = (above ? 6 : 4) * kS * 0.5 + (above ? 26 : -10);
        for (const Call& p : rec.of("polyline")) {
            for (const Point& pt : p.points) {
                EXPECT_GE(pt.x, kPage.x) << value;
                EXPECT_LE(pt.x, kPage.x + kPage.width) << value;
                onFirst = onFirst || pt.y == base(1) + extreme;
                onSecond = onSecond || pt.y == base(2) + extreme;
            }
        }
        EXPECT_TRUE(onFirst && onSecond) << value;
        EXPECT_EQ(rec.textsIn(kPrintMonoFontFamily, "3").size(), 1u);
    }
}

TEST_F(PrintViewTest, TieArcsAcrossBarsRestsAndStaffLines) {
    struct Arc {
        int fromColumn, toColumn;
        bool up;
    };
    const struct {
        std::string name;
        std::vector<ScoreCell> cells;
        std::vector<Arc> arcs;
    } cases[] = {
        {"tie over a bar", {{at(4), 55}, {17, 25}, {at(4), 5}}, {{1, 3, true}}},
        {"alternate form bends the other way", {{at(9), 61}, {at(9), 33}}, {{1, 2, false}}},
        {"rests and marks keep the tie",
         {{at(5), 56}, {17, 17}, {17, 27}, {at(7), 5}},
         {{1, 4, true}}},
        {"a tie on a tie continues",
         {{at(4), 61}, {at(5), 59}, {at(6), 7}},
         {{1, 2, false}, {2, 3, false}}},
        {"no tie without a tie value", {{at(4), 5}, {at(4), 5}}, {}},
        {"a tie that ends nowhere draws nothing", {{at(4), 55}, {17, 17}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Call> curves = draw(c.cells).of("curve");
        ASSERT_EQ(curves.size(), c.arcs.size());
        for (std::size_t i = 0; i < curves.size(); ++i) {
            const std::vector<Point>& p = curves[i].points;
            EXPECT_EQ(p[0].x, cellX(c.arcs[i].fromColumn) + kHc);
            EXPECT_EQ(p[3].x, cellX(c.arcs[i].toColumn) + kHc);
            EXPECT_EQ(p[1].y < p[0].y, c.arcs[i].up) << "bends toward the note head";
        }
    }

    // Across a staff line: one arc leaves the line's last note, one reaches the next line's
    // first note; each a cell long (past the staff's edge) and bending between its ends.
    std::vector<ScoreCell> cells = quarters(41);
    cells[39] = {at(6), 55};
    cells[40] = {at(6), 5};
    const std::vector<Call> curves = draw(cells).of("curve");
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_EQ(curves[0].points[0].x, cellX(40) + kHc);
    EXPECT_DOUBLE_EQ(curves[0].points[3].x, cellX(41) + kHc);
    EXPECT_DOUBLE_EQ(curves[1].points[0].x, cellX(0) + kHc);
    EXPECT_EQ(curves[1].points[3].x, cellX(1) + kHc);
    EXPECT_EQ(curves[1].points[0].y, base(2) + kS * 3 + 4);
    for (const Call& arc : curves) {
        EXPECT_TRUE(arc.points[0].x < arc.points[1].x && arc.points[1].x < arc.points[2].x &&
                    arc.points[2].x < arc.points[3].x);
    }
}

TEST_F(PrintViewTest, TiesAndTripletsDoNotRunOverAPageBreak) {
    std::vector<ScoreCell> cells = quarters(163);
    cells[159] = {at(4), 55};  // the last cell of page 1 starts a tie
    cells[158] = {at(4), 41};  // two triplet members end page 1
    cells[157] = {at(4), 41};
    cells[160] = {at(4), 41};  // the third opens page 2
    PrintView v = viewOf(cells);
    std::size_t firstCalls = 0;
    for (std::int64_t page : {1, 2, 1}) {
        PageRecorder rec;
        v.drawPage(rec, page);
        EXPECT_TRUE(rec.of("curve").empty() && rec.of("polyline").empty()) << page;
        if (page == 1 && firstCalls) {
            EXPECT_EQ(rec.calls.size(), firstCalls) << "drawn again";
        }
        if (page == 1) firstCalls = rec.calls.size();
    }
}

TEST_F(PrintViewTest, BarRepeatAndFirstEndingMarks) {
    const struct {
        std::int64_t value;
        std::vector<double> widths;  // vertical lines of the mark
        bool dots;
        bool ending;
    } cases[] = {{25, {1.5}, false, false},
                 {26, {1.5, 0.5}, true, false},
                 {27, {0.5, 1.5}, true, false},
                 {28, {}, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const PageRecorder rec = draw({{17, 5}, {0, c.value}, {17, 5}});
        std::vector<double> widths;
        for (const Call& l : rec.of("line")) {
            if (l.points[0].x != l.points[1].x) continue;
            widths.push_back(l.width);
            EXPECT_NEAR(l.points[0].x, cellX(2) + kHc, 3.0);
        }
        EXPECT_EQ(widths, c.widths);
        EXPECT_EQ(rec.textsIn(kPrintMonoFontFamily, ":").size(), c.dots ? 1u : 0u);
        EXPECT_EQ(rec.of("polyline").size(), c.ending ? 1u : 0u);
        EXPECT_EQ(rec.textsIn(kPrintNotationFontFamily).size(), 2u) << "marks print no glyph";
    }
}

// The button pictures place by the staff's geometry: a phrase builder note's head (the bottom
// of its glyph's line box) and ledger lines follow its diatonic step in either clef, and a
// note-value button puts its glyph where a staff does, scaled to the button.
TEST(ButtonPictures, NotesAndGlyphsSitWhereTheStaffPutsThem) {
    const struct {
        const char* name;
        bool bass;
        int position;  // half spaces above the lowest ledger line
        std::vector<double> ledgers;
        const char* glyph;
    } cases[] = {
        {"C0", false, 2, {14}, "2"},    {"E0", false, 4, {}, "2"},     {"B0", false, 8, {}, "B"},
        {"A1#", false, 14, {56}, ".B"}, {"C0", true, 0, {14, 7}, "2"}, {"G0", true, 4, {}, "2"},
        {"D1#", true, 8, {}, ".B"},     {"A1", true, 12, {}, "B"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.bass ? " bass" : " treble"));
        PageRecorder rec;
        drawNoteButton(rec, c.name, c.bass);
        std::vector<double> ledgers;
        for (const Call& l : rec.of("line"))  // short and level
            if (l.points[1].x - l.points[0].x < kNotePictureSize.width / 2 &&
                l.points[0].y == l.points[1].y)
                ledgers.push_back(l.points[0].y);
        EXPECT_EQ(ledgers, c.ledgers);
        const auto texts = rec.of("text");
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, c.glyph);
        EXPECT_DOUBLE_EQ(texts[0].points[0].y, 3.5 * (c.position + 2) - 20.5);
    }
    // The staff puts a quarter note at pitch 17 with its glyph box 24 below the middle line.
    PageRecorder rec;
    drawValueButton(rec, 5, {22, 30});
    ASSERT_EQ(rec.of("text").size(), 1u);
    EXPECT_DOUBLE_EQ(rec.of("text")[0].points[0].y, 15 - 24 * 4.5 / 7);
}

}  // namespace
}  // namespace sorvel
