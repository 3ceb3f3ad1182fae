#include "view/print_view.h"

#include <algorithm>
#include <sstream>

#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "model/note_values.h"

#ifndef SORVEL_VERSION_STRING
#define SORVEL_VERSION_STRING "0.1.0"
#endif

namespace sorvel {

namespace {

constexpr double kStaffLineWidth = 0.5;
constexpr double kBarLineWidth = 1.5;
constexpr double kThinBarLineWidth = 0.5;
constexpr double kFirstEndingWidth = 1.0;
constexpr double kArcWidth = 1.5;
constexpr double kBracketWidth = 1.5;
constexpr double kTitleSize = 12.0;
constexpr double kPageNumberSize = 10.0;
constexpr double kChordSize = 8.0;
constexpr double kChordKerning = -0.9;
constexpr double kRepeatDotsSize = 17.0;
constexpr double kTripletDigitSize = 10.0;
// Room above each staff line's band for its chord line.
constexpr double kBandGap = 32.0;

// How a value is printed. Tied and triplet values have glyphs of their own on screen; on
// paper they are printed as their plain note or rest, and the tie arc or the triplet bracket
// is drawn as lines instead.
enum class PrintRole {
    Plain,
    TieUp,         // a tied note with its arc below the heads
    TieDown,       // a tied note with its arc above the heads
    TripletAbove,  // a triplet member whose group takes its bracket above
    TripletBelow,  // a triplet member whose group takes its bracket below
};

struct PrintGlyph {
    std::string_view glyph;
    PrintRole role = PrintRole::Plain;
};

// The tied and triplet values by family: tied notes of the first glyph family (arc below),
// of the second (arc above), triplets with their bracket above, and the rest of the triplets.
constexpr std::int64_t kTieUpFirst = 53, kTieUpLast = 58;
constexpr std::int64_t kTieDownFirst = 59, kTieDownLast = 64;
constexpr std::int64_t kTripletAboveFirst = 41, kTripletAboveLast = 43;
constexpr std::int64_t kTripletBelowFirst = 44, kTripletBelowLast = 52;

constexpr PrintGlyph printGlyphFor(std::int64_t v) {
    const NoteValue& value = noteValue(v);
    if (v >= kTieUpFirst && v <= kTieUpLast) {
        return {noteValue(value.tie).glyph, PrintRole::TieUp};
    }
    if (v >= kTieDownFirst && v <= kTieDownLast) {
        return {noteValue(value.tie).glyph, PrintRole::TieDown};
    }
    if (v >= kTripletAboveFirst && v <= kTripletBelowLast) {
        // The second family's triplet rests have no plain form of their own: they print as
        // the plain form of their first-family partner.
        const std::int64_t plain =
            value.triplet != v ? value.triplet : noteValue(value.alternate).triplet;
        return {noteValue(plain).glyph,
                v <= kTripletAboveLast ? PrintRole::TripletAbove : PrintRole::TripletBelow};
    }
    return {value.glyph, PrintRole::Plain};
}

// The printed glyphs of the tied and triplet values, in value order.
constexpr bool printsAs(std::int64_t first, std::string_view glyphs) {
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        if (printGlyphFor(first + static_cast<std::int64_t>(i)).glyph != glyphs.substr(i, 1)) {
            return false;
        }
    }
    return true;
}
static_assert(printsAs(kTieUpFirst, "012345") && printsAs(kTieDownFirst, "0ABCDE"));
static_assert(printsAs(kTripletAboveFirst, "234") && printsAs(kTripletBelowFirst, "FGNBCDFGN"));

}  // namespace

std::string printFooterLine() {
    return std::string("Sorvel Score ") + SORVEL_VERSION_STRING;
}

PrintView::PrintView(const Score& score, std::string title, std::string imgFol,
                     std::string imageSet)
    : musicData(score.musicData),
      codeData(score.codeData),
      title(std::move(title)),
      imgFol(std::move(imgFol)),
      imageSet(std::move(imageSet)) {}

std::int64_t PrintView::knowsPageRange(const Rect& imageableBounds, const Size& paper) {
    pageRect = imageableBounds;
    paperSize = paper;
    return pageCount();
}

std::int64_t PrintView::pageCount() const {
    // Counted in integers: a float quotient loses whole pages on very long scores.
    const std::int64_t perPage = cellMax * linesPerPage;
    if (perPage <= 0) return 0;
    const auto n = static_cast<std::int64_t>(musicData.size());
    return (n + perPage - 1) / perPage;
}

Rect PrintView::rectForPage(std::int64_t page) {
    currentPage = page - 1;
    return pageRect;
}

void PrintView::drawPage(Canvas& canvas, std::int64_t page) {
    rectForPage(page);
    drawRect(canvas);
}

void PrintView::drawRect(Canvas& canvas) {
    const double maxX = pageRect.x + pageRect.width;
    const double maxY = pageRect.y + pageRect.height;
    if (!title.empty()) {
        canvas.text({pageRect.x + 20, maxY - 14}, title, kPrintTextFontFamily, kTitleSize, 0);
    }
    canvas.text({maxX - 60, maxY - 12}, "- " + std::to_string(currentPage + 1) + " -",
                kPrintTextFontFamily, kPageNumberSize, 0);
    canvas.text({pageRect.x + 20, pageRect.y - 1}, printFooterLine(), kPrintTextFontFamily,
                kPageNumberSize, 0);

    if (cellMax <= 0 || linesPerPage <= 0) return;
    const auto lines = static_cast<float>(linesPerPage);
    lineHeight = static_cast<float>(
        (static_cast<float>(pageRect.height) - static_cast<float>(kBandGap) * lines) / lines -
        4.0f);
    gosenSize = {pageRect.width, lineHeight};
    w_ = pageRect.width / static_cast<double>(cellMax);
    hc_ = w_ * 0.5;
    h_ = static_cast<double>(lineHeight) * 0.5;
    s_ = h_ / 10.0;
    x0_ = static_cast<double>(static_cast<float>(pageRect.x));

    // Ties and triplets never continue onto the next page.
    pendingTie_.reset();
    triplet_.clear();

    const auto total = static_cast<std::int64_t>(musicData.size());
    const std::int64_t pageStart = cellMax * linesPerPage * currentPage;
    for (std::int64_t L = 1; L <= linesPerPage; ++L) {
        const float step = (lineHeight + static_cast<float>(kBandGap)) * static_cast<float>(L);
        LineFrame frame;
        frame.line = L;
        frame.bandBottom =
            static_cast<double>(static_cast<float>(maxY - static_cast<double>(step)));
        frame.base = frame.bandBottom + h_;

        for (std::int64_t c = 1; c <= cellMax; ++c) {
            const std::int64_t n = c + cellMax * (L - 1) + pageStart;
            if (n > total) break;
            drawCell(canvas, frame, c, n);
        }

        const std::int64_t chord = linesPerPage * currentPage + L;
        if (chord <= static_cast<std::int64_t>(codeData.size())) {
            const std::string& text = codeData[static_cast<std::size_t>(chord - 1)];
            if (!text.empty()) {
                canvas.text({x0_, frame.bandBottom + static_cast<double>(lineHeight) - 3}, text,
                            kPrintMonoFontFamily, kChordSize, kChordKerning);
            }
        }
    }
}

void PrintView::drawCell(Canvas& canvas, const LineFrame& frame, std::int64_t column,
                         std::int64_t cell) {
    const ScoreCell& sc = musicData[static_cast<std::size_t>(cell - 1)];
    // A stray index (never written by the editor) prints as a blank cell.
    const bool valid = tables::validPitch(sc.noteIndex) && validValue(sc.onpIndex);
    const std::int64_t p = valid ? sc.noteIndex : 0;
    const std::int64_t v = valid ? sc.onpIndex : 0;
    const auto pi = static_cast<std::size_t>(p);
    const std::int64_t pos = tables::locateArr[pi];
    const double b = frame.base;
    const double x = x0_ + w_ * static_cast<double>(column - 1);
    {
        std::ostringstream line;
        line << "print cell " << cell << " : " << p << "," << v;
        diag(line.str());
    }

    for (int k = 3; k <= 7; ++k) {
        const double y = b + s_ * k;
        canvas.line({x, y}, {x + w_, y}, kStaffLineWidth, Color::black(), std::nullopt);
    }

    const bool pitched = isPitched(v);
    if (pitched) {
        canvas.image({x, frame.bandBottom, w_ - 2, h_ - 4},
                     imgFol + "/" + imageSet + "/" + std::string(tables::noteArr[pi]) + ".png");
    }

    const PrintGlyph printed = printGlyphFor(v);
    const bool startsTie = printed.role == PrintRole::TieUp || printed.role == PrintRole::TieDown;
    if (printed.role == PrintRole::TripletAbove || printed.role == PrintRole::TripletBelow) {
        if (triplet_.empty()) tripletStart_ = {frame.line, column, b};
        triplet_.push_back(pos);
        if (triplet_.size() == 3) {
            const auto [lo, hi] = std::minmax_element(triplet_.begin(), triplet_.end());
            const bool above = printed.role == PrintRole::TripletAbove;
            drawTripletBracket(canvas, frame, x, above, above ? *hi : *lo);
            triplet_.clear();
        }
    }

    if (pitched) {
        if (pendingTie_) drawTie(canvas, *pendingTie_, frame, column, pos);
        if (startsTie) {
            pendingTie_ = PendingTie{column, frame.line, b, pos, printed.role == PrintRole::TieUp};
        } else {
            pendingTie_.reset();
        }
    }

    const double xm = x + hc_;
    const double bottom = b + 3 * s_, top = b + 7 * s_;
    const std::string_view glyph = printed.glyph;
    if (glyph == "(") {
        canvas.line({xm, bottom}, {xm, top}, kBarLineWidth, Color::black(), std::nullopt);
        return;
    }
    if (glyph == ")") {
        canvas.line({xm - 3, bottom}, {xm - 3, top}, kBarLineWidth, Color::black(), std::nullopt);
        canvas.line({xm - 1, bottom}, {xm - 1, top}, kThinBarLineWidth, Color::black(),
                    std::nullopt);
        canvas.text({x + 4.5, b + 4 * s_ - 1}, ":", kPrintMonoFontFamily, kRepeatDotsSize, 0);
        return;
    }
    if (glyph == "+") {
        canvas.line({xm - 2, bottom}, {xm - 2, top}, kThinBarLineWidth, Color::black(),
                    std::nullopt);
        canvas.line({xm, bottom}, {xm, top}, kBarLineWidth, Color::black(), std::nullopt);
        canvas.text({x - 3.5, b + 4 * s_ - 1}, ":", kPrintMonoFontFamily, kRepeatDotsSize, 0);
        return;
    }
    if (glyph == "-") {
        canvas.polyline({{xm, bottom}, {xm, b + 9 * s_}, {x + 3 * w_, b + 9 * s_}},
                        kFirstEndingWidth, Color::black());
        return;
    }
    // A blank cell is empty whatever its pitch: only its staff lines are printed.
    if (v == 0) return;

    const std::int64_t accidental = tables::shflArr[pi];
    std::string text = accidental == -1 ? "/" : accidental == 1 ? "." : "";
    text += glyph;
    canvas.text({x + 0.5, b - 11 + s_ * 0.5 + s_ * static_cast<double>(pos) * 0.5}, text,
                kPrintNotationFontFamily, kPrintNotationFontSize, kPrintNotationKerning);

    const Dash ledgerDash{1.0, 1.0, 0.0};
    auto ledger = [&](int k) {
        const double y = b + s_ * k;
        canvas.line({x + 1, y}, {x + w_ - 1, y}, kStaffLineWidth, Color::black(), ledgerDash);
    };
    if (pos <= 2) {
        ledger(1);
        ledger(2);
    }
    if (pos >= 14) {
        ledger(8);
        ledger(9);
    }
}

void PrintView::drawTie(Canvas& canvas, const PendingTie& from, const LineFrame& frame,
                        std::int64_t column, std::int64_t position) {
    const double x = x0_ + w_ * static_cast<double>(column - 1);
    const double lift = from.up ? 4.0 : 12.0;
    const double d = from.up ? -4.0 : 4.0;
    const double third = w_ / 3.0;
    const double y2 = frame.base + s_ * static_cast<double>(position) * 0.5 + lift;
    const double xs = x0_ + w_ * static_cast<double>(from.column - 1);
    {
        std::ostringstream line;
        line << "tie " << from.line << ":" << from.column << " -> " << frame.line << ":" << column;
        diag(line.str());
    }
    if (from.line == frame.line) {
        const double y1 = frame.base + s_ * static_cast<double>(from.position) * 0.5 + lift;
        canvas.curve({xs + hc_, y1}, {xs + hc_ + third, y1 + d}, {x + hc_ - third, y2 + d},
                     {x + hc_, y2}, kArcWidth, Color::black());
        return;
    }
    // The notes are on different staff lines: one arc leaves the first note toward the end of
    // its line, another arrives at the second note from the start of its line. Each is at
    // least a cell long, reaching past the staff's edge when its note is the outermost one,
    // and bends between its own thirds.
    auto halfArc = [&](double left, double right, double y) {
        const double part = (right - left) / 3.0;
        canvas.curve({left, y}, {left + part, y + d}, {right - part, y + d}, {right, y}, kArcWidth,
                     Color::black());
    };
    const double y1 = from.base + s_ * static_cast<double>(from.position) * 0.5 + lift;
    const double lineEnd = x0_ + w_ * static_cast<double>(cellMax);
    halfArc(xs + hc_, std::max(lineEnd, xs + hc_ + w_), y1);
    halfArc(std::min(x0_, x + hc_ - w_), x + hc_, y2);
}

void PrintView::drawTripletBracket(Canvas& canvas, const LineFrame& frame, double x, bool above,
                                   std::int64_t position) {
    const double hc = hc_;
    const double yb = frame.base + s_ * static_cast<double>(position) * 0.5;
    // The bracket's line, the tips of its hooks, its two ends and the gap left for the "3".
    const double y = above ? yb + 26 : yb - 10;
    const double tip = above ? yb + 23 : yb - 7;
    const double left = above ? x - 3 * hc : x - 4 * hc;
    const double right = above ? x + hc + 4 : x + hc + 3;
    const double gapFrom = above ? x - 2 * hc : x - 2 * hc - 2;
    const double gapTo = above ? x : x - 2 * hc + 7;
    const Point label = above ? Point{x - 2 * hc + 3, yb + 20} : Point{x - 2 * hc, yb - 15};

    if (tripletStart_.line == frame.line) {
        canvas.polyline({{left, tip}, {left, y}, {gapFrom, y}}, kBracketWidth, Color::black());
        canvas.polyline({{gapTo, y}, {right, y}, {right, tip}}, kBracketWidth, Color::black());
        canvas.text(label, "3", kPrintMonoFontFamily, kTripletDigitSize, 0);
        return;
    }
    // The group began on an earlier staff line: the bracket opens there and runs to the end of
    // that line, and continues here from the start of the line, instead of hanging off the
    // left edge of the page.
    const double ybFirst = tripletStart_.base + s_ * static_cast<double>(position) * 0.5;
    const double yFirst = above ? ybFirst + 26 : ybFirst - 10;
    const double tipFirst = above ? ybFirst + 23 : ybFirst - 7;
    const double xFirst = x0_ + w_ * static_cast<double>(tripletStart_.column - 1);
    const double hook = above ? xFirst + hc : xFirst;
    const double lineEnd = x0_ + w_ * static_cast<double>(cellMax);
    canvas.polyline({{hook, tipFirst}, {hook, yFirst}, {lineEnd, yFirst}}, kBracketWidth,
                    Color::black());
    if (gapFrom > x0_) {
        canvas.polyline({{x0_, y}, {gapFrom, y}}, kBracketWidth, Color::black());
    }
    canvas.polyline({{std::max(gapTo, x0_), y}, {right, y}, {right, tip}}, kBracketWidth,
                    Color::black());
    canvas.text({std::max(label.x, x0_), label.y}, "3", kPrintMonoFontFamily, kTripletDigitSize, 0);
}

}  // namespace sorvel
