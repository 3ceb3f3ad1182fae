#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view/gosen_view.h"

using namespace sorvel;

namespace {

// Records every drawing call as the core makes it.
struct RecordingCanvas : Canvas {
    struct Fill { Rect r; Color c; };
    struct Line { Point a, b; bool dashed; };
    struct Image { Rect r; std::string path; };
    struct Text { Point at; std::string text; std::string font; double size, kerning; };
    std::vector<Fill> fills;
    std::vector<Line> lines;
    std::vector<Image> images;
    std::vector<Text> texts;

    void fillRect(const Rect& r, Color c) override { fills.push_back({r, c}); }
    void strokeRect(const Rect&, Color, double) override {}
    void line(Point a, Point b, double, Color, std::optional<Dash> dash) override {
        lines.push_back({a, b, dash.has_value()});
        if (dash) {
            EXPECT_EQ(*dash, (Dash{2.0, 2.0, 0.0}));
        }
    }
    void image(const Rect& r, const std::string& path) override { images.push_back({r, path}); }
    void text(Point at, const std::string& t, const std::string& font, double size,
              double kerning) override {
        texts.push_back({at, t, font, size, kerning});
    }
};

GosenView staffOf(std::vector<ScoreCell> cells, std::int64_t cellMax = 40) {
    GosenView v("gosen1");
    v.setFrame({44, 26, 30.0 * static_cast<double>(cellMax), 140});
    v.cellMax = cellMax;
    v.resetGosen();
    v.imgFol = "/sets";
    v.musicData = std::move(cells);
    return v;
}

}  // namespace

TEST(StaffDrawing, BlankCellDrawsOnlyTheStaff) {
    RecordingCanvas c;
    staffOf({{0, 0}, {25, 0}}).draw(c, "keyboard");
    ASSERT_EQ(c.fills.size(), 2u);
    EXPECT_EQ(c.fills[1].r, (Rect{30, 0, 30, 140}));
    EXPECT_EQ(c.fills[1].c, Color::white());
    ASSERT_EQ(c.lines.size(), 18u);
    // Nine lines per cell at 7-point spacing over the upper half: k = 3..7 solid, the
    // ledger lines dashed and 5 points shorter at each end.
    for (int k = 1; k <= 9; ++k) {
        const auto& l = c.lines[static_cast<std::size_t>(k - 1)];
        EXPECT_DOUBLE_EQ(l.a.y, 70 + 7.0 * k);
        EXPECT_EQ(l.dashed, k < 3 || k > 7) << k;
        EXPECT_DOUBLE_EQ(l.a.x, l.dashed ? 5 : 0);
        EXPECT_DOUBLE_EQ(l.b.x, l.dashed ? 25 : 30);
    }
    EXPECT_TRUE(c.images.empty());
    EXPECT_EQ(c.texts[0].text, " ");
    EXPECT_EQ(c.texts[1].text, " ");
}

TEST(StaffDrawing, GlyphsWithAccidentalsAtTheirStaffPosition) {
    struct Case {
        ScoreCell cell;
        std::string glyph;
        std::int64_t position;
        bool picture;
    };
    const Case cases[] = {
        {{17, 5}, "2", 7, true},      // A1 quarter
        {{19, 5}, "/2", 8, true},     // B1b: flat prefix
        {{18, 33}, ".B", 7, true},    // A1# alternate quarter: sharp prefix
        {{2, 14}, "/=.", 1, false},   // dotted whole rest keeps its own dot after the prefix
        {{17, 17}, "F", 7, false},    // quarter rest, no picture
        {{38, 53}, "n", 16, true},    // C2 tie start
        {{17, 25}, "(", 7, false},    // bar line
        {{0, 44}, "a", 0, false},     // triplet rest
    };
    std::vector<ScoreCell> cells;
    for (const Case& k : cases) cells.push_back(k.cell);
    RecordingCanvas c;
    const GosenView v = staffOf(cells);
    v.draw(c, "names");
    ASSERT_EQ(c.texts.size(), std::size(cases));
    std::size_t image = 0;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& k = cases[i];
        const double x = 30.0 * static_cast<double>(i);
        EXPECT_EQ(c.texts[i].text, k.glyph);
        EXPECT_EQ(c.texts[i].font, kNotationFontFamily);
        EXPECT_EQ(c.texts[i].size, 44);
        EXPECT_EQ(c.texts[i].kerning, -5);
        EXPECT_DOUBLE_EQ(c.texts[i].at.x, x + 30.0 / 12);
        // Half a spacing and 17 points below the line or space of the pitch.
        const double pitchY = 70 + 7.0 + 7.0 * static_cast<double>(k.position) / 2;
        EXPECT_DOUBLE_EQ(c.texts[i].at.y, pitchY - 17 - 3.5) << k.glyph;
        if (k.picture) {
            ASSERT_LT(image, c.images.size());
            EXPECT_EQ(c.images[image].r, (Rect{x, 0, 20, 70}));
            EXPECT_EQ(c.images[image].path,
                      "/sets/names/" + std::string(k.cell.noteIndex == 17   ? "A1"
                                                   : k.cell.noteIndex == 19 ? "B1b"
                                                   : k.cell.noteIndex == 18 ? "A1#"
                                                                            : "C2") +
                          ".png");
            ++image;
        }
    }
    EXPECT_EQ(image, c.images.size());
    // Working values keep the last cell drawn.
    EXPECT_EQ(v.selIndex, 0);
    EXPECT_EQ(v.onpIndex, 44);
    EXPECT_EQ(v.selectedNote, "C2");
}

TEST(StaffDrawing, SelectionIsYellowOnlyOnAHighlightedStaff) {
    GosenView v = staffOf(std::vector<ScoreCell>(41, ScoreCell{17, 5}));
    v.selCol = 3;
    v.selColTo = 5;
    RecordingCanvas off;
    v.draw(off, "");
    for (const auto& f : off.fills) EXPECT_EQ(f.c, Color::white());

    v.selRow = 1;
    RecordingCanvas on;
    v.draw(on, "");
    for (std::size_t i = 0; i < on.fills.size(); ++i) {
        EXPECT_EQ(on.fills[i].c, i >= 2 && i <= 4 ? Color::yellow() : Color::white()) << i;
    }
}

TEST(StaffDrawing, OneCellStaffSpansTheViewAndClearingGivesOneExtraCell) {
    GosenView v = staffOf({{17, 5}}, 1);
    EXPECT_EQ(v.cellSize, (Size{30, 140}));
    v.clearGosen();
    EXPECT_EQ(v.musicData.size(), 2u);
    RecordingCanvas c;
    v.draw(c, "");
    EXPECT_EQ(c.fills[1].r.x, 30);  // the extra cell lies just past the right edge
}

TEST(StaffGeometry, ClicksFindTheirColumn) {
    const GosenView v = staffOf({});
    EXPECT_EQ(v.columnAt(44 + 1), 1);
    EXPECT_EQ(v.columnAt(44 + 4 * 30 + 29.9), 5);
    EXPECT_EQ(v.columnAt(44 + 1199), 40);
    EXPECT_EQ(v.columnAt(44 - 5), 1);  // truncation toward zero
}

TEST(StaffFrequencies, RebuiltAsEqualTemperamentFromTheReferencePitch) {
    GosenView v("gosenE");
    EXPECT_EQ(v.freqArr[4], 261.0f);  // the fixed table until the first rebuild
    v.setFreq(440);
    ASSERT_EQ(v.freqArr.size(), 51u);
    EXPECT_FLOAT_EQ(v.freqArr[0], 220.0f);
    EXPECT_FLOAT_EQ(v.freqArr[17], 440.0f);
    EXPECT_FLOAT_EQ(v.freqArr[34], 880.0f);
    EXPECT_EQ(v.freqArr[1], v.freqArr[2]);
    EXPECT_NEAR(v.freqArr[4], 261.63f, 0.01f);  // C0, computed now
    EXPECT_NEAR(v.freqArr[38], 1046.50f, 0.01f);
    v.setFreq(442);
    EXPECT_FLOAT_EQ(v.freqArr[0], 221.0f);
    EXPECT_FLOAT_EQ(v.freqArr[17], 442.0f);
}
