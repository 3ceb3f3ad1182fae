#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "view/geometry.h"

namespace sorvel {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    friend bool operator==(const Color&, const Color&) = default;

    static constexpr Color white() { return {255, 255, 255, 255}; }
    static constexpr Color yellow() { return {255, 255, 0, 255}; }
    static constexpr Color black() { return {0, 0, 0, 255}; }
    static constexpr Color red() { return {255, 0, 0, 255}; }
};

struct Dash {
    double on = 0;
    double off = 0;
    double phase = 0;
    friend bool operator==(const Dash&, const Dash&) = default;
};

// Where the drawing of the core lands: the screen, a printer, or a recording in tests.
// Coordinates are those of an unflipped view (y up, origin bottom-left).
class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void fillRect(const Rect& r, Color c) = 0;
    virtual void strokeRect(const Rect& r, Color c, double lineWidth) = 0;
    // A filled ellipse inside r (a note's augmentation dot). Canvases that draw no curves
    // fill the rectangle.
    virtual void fillEllipse(const Rect& r, Color c) { fillRect(r, c); }
    virtual void line(Point from, Point to, double lineWidth, Color c,
                      std::optional<Dash> dash) = 0;
    // Draws the picture at path scaled to fit into r; a missing or undecodable file draws
    // nothing. Implementations decode each file once.
    virtual void image(const Rect& r, const std::string& path) = 0;
    // Text whose line box has its bottom-left corner at `at`, with `kerning` added after
    // every character.
    virtual void text(Point at, const std::string& text, const std::string& fontFamily, double size,
                      double kerning, Color c = Color::black()) = 0;
    // The rectangle the ink of a text call would cover, relative to its `at`. Canvases that
    // cannot measure text return an empty rectangle.
    virtual Rect textInk(const std::string& /*text*/, const std::string& /*fontFamily*/,
                         double /*size*/, double /*kerning*/) const {
        return {};
    }

    // A connected path through the points, stroked with joined corners. The default strokes
    // each segment on its own.
    virtual void polyline(const std::vector<Point>& points, double lineWidth, Color c) {
        for (std::size_t i = 1; i < points.size(); ++i) {
            line(points[i - 1], points[i], lineWidth, c, std::nullopt);
        }
    }
    // A cubic Bezier curve from `from` to `to`, stroked. The default strokes it as short
    // straight segments.
    virtual void curve(Point from, Point control1, Point control2, Point to, double lineWidth,
                       Color c) {
        constexpr int kSteps = 16;
        Point prev = from;
        for (int i = 1; i <= kSteps; ++i) {
            const double t = static_cast<double>(i) / kSteps;
            const double u = 1 - t;
            const double a = u * u * u, b = 3 * u * u * t, d = 3 * u * t * t, e = t * t * t;
            const Point next{a * from.x + b * control1.x + d * control2.x + e * to.x,
                             a * from.y + b * control1.y + d * control2.y + e * to.y};
            line(prev, next, lineWidth, c, std::nullopt);
            prev = next;
        }
    }
};

}  // namespace sorvel
