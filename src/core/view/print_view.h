#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/score.h"
#include "view/canvas.h"
#include "view/geometry.h"

namespace sorvel {

// Fonts of the printed page. The text font must show Japanese titles; the chord and mark
// font is a monospace face metric-compatible with Courier.
inline constexpr const char* kPrintTextFontFamily = "IPAGothic";
inline constexpr const char* kPrintMonoFontFamily = "Courier";
inline constexpr const char* kPrintNotationFontFamily = "Sorvel Notation";
inline constexpr double kPrintNotationFontSize = 30.0;
inline constexpr double kPrintNotationKerning = -5.0;

// The line printed at the foot of every page.
std::string printFooterLine();

// Lays a score out on printed pages of four staff lines and draws them page by page.
// Geometry is in points, y growing upward from the bottom of the paper.
class PrintView {
  public:
    // The score's cells and chord lines are copied once: the view keeps no link to it. The
    // title heads the first page; imgFol is the folder of picture sets, imageSet the set the
    // pictures come from.
    PrintView(const Score& score, std::string title, std::string imgFol, std::string imageSet);

    // Takes the page geometry from the print settings and answers the number of pages.
    std::int64_t knowsPageRange(const Rect& imageableBounds, const Size& paper);
    // Pages needed for the cells; 0 for an empty score.
    std::int64_t pageCount() const;
    // 1-based page number: makes it the page to draw and answers its rectangle.
    Rect rectForPage(std::int64_t page);
    // Draws the page chosen by rectForPage.
    void drawRect(Canvas& canvas);
    // rectForPage(page) then drawRect.
    void drawPage(Canvas& canvas, std::int64_t page);

    float lineHeight = 0;
    Rect pageRect;
    Size paperSize;
    std::int64_t linesPerPage = 4;
    std::int64_t currentPage = 0;
    std::vector<ScoreCell> musicData;
    std::vector<std::string> codeData;
    std::int64_t cellMax = 40;
    Size gosenSize;
    std::string title;
    std::string imgFol;
    std::string imageSet;

  private:
    // A tied note waiting for the next pitched note.
    struct PendingTie {
        std::int64_t column = 0;  // 1-based, on its own staff line
        std::int64_t line = 0;    // 1-based staff line of the page
        double base = 0;          // staff base of that line
        std::int64_t position = 0;
        bool up = true;
    };
    // Per-line geometry.
    struct LineFrame {
        std::int64_t line = 0;
        double bandBottom = 0;
        double base = 0;
    };

    void drawCell(Canvas& canvas, const LineFrame& frame, std::int64_t column, std::int64_t cell);
    void drawTie(Canvas& canvas, const PendingTie& from, const LineFrame& frame,
                 std::int64_t column, std::int64_t position);
    // A triplet's first cell, for a group that ends on a later staff line.
    struct TripletStart {
        std::int64_t line = 0;
        std::int64_t column = 0;
        double base = 0;
    };
    void drawTripletBracket(Canvas& canvas, const LineFrame& frame, double x, bool above,
                            std::int64_t position);

    double x0_ = 0, w_ = 0, hc_ = 0, h_ = 0, s_ = 0;
    std::optional<PendingTie> pendingTie_;
    std::vector<std::int64_t> triplet_;
    TripletStart tripletStart_;
};

}  // namespace sorvel
