#pragma once
// Drawing in logical units: text extents, text in rectangles, filled rectangles, edges and lines. The screen,
// the printer and the print preview all draw through this interface with one routine.

#include <cstdint>
#include <span>
#include <string_view>

namespace grovex {

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool intersects(const Rect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// 0x00RRGGBB
using Color = uint32_t;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;

enum class TextAlign { Left, Center, Right };
enum class BackgroundMode { Transparent, Opaque };

// A font as the results view describes it: the fields of the 60-byte font record.
struct LogFont {
    uint8_t charSet = 0;
    uint8_t clipPrecision = 0;
    int32_t escapement = 0;
    int32_t height = 18; // character height in logical units (pixels on the screen)
    uint8_t italic = 0;
    int32_t orientation = 0;
    uint8_t outPrecision = 4;
    uint8_t pitchAndFamily = 53;
    uint8_t quality = 2;
    uint8_t strikeOut = 0;
    uint8_t underline = 0;
    int32_t weight = 400;
    int32_t width = 0;
    char faceName[32] = "Courier New";
};

class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    // Width and height of one line of text in the current font.
    virtual Size textExtent(std::string_view text) const = 0;
};

// Measures text in any font (the screen's or the printer's).
class FontMetricsSource {
public:
    virtual ~FontMetricsSource() = default;
    virtual Size textExtent(const LogFont& font, std::string_view text) const = 0;
};

class Canvas : public TextMetrics {
public:
    virtual void setFont(const LogFont& font) = 0;
    // Logical point that appears at the device's top-left corner.
    virtual void setWindowOrigin(Point origin) = 0;
    // The part of the logical plane that needs drawing; drawing outside it may be skipped.
    virtual Rect clipBox() const = 0;
    // Limits drawing to a logical rectangle (also narrowing clipBox) until removeClip.
    virtual void clipTo(const Rect& rect) = 0;
    virtual void removeClip() = 0;

    virtual void setTextColor(Color color) = 0;
    virtual void setBackgroundColor(Color color) = 0;
    virtual void setBackgroundMode(BackgroundMode mode) = 0;

    // Text inside a rectangle; lines separated by "\r\n" or "\n" are drawn one under the other from the top.
    virtual void drawText(std::string_view text, const Rect& rect, TextAlign align) = 0;
    virtual void textOut(Point at, std::string_view text) = 0;
    virtual void fillSolidRect(const Rect& rect, Color color) = 0;
    // A raised frame with a double (outer and inner) edge.
    virtual void drawRaisedEdge(const Rect& rect) = 0;
    virtual void moveTo(Point at) = 0;
    virtual void lineTo(Point to) = 0;

    // The colour and width of the lines drawn from now on (width 0: the thinnest the device draws). Lines are
    // black and thin until this is called.
    virtual void setPen(Color color, int width) {
        (void)color;
        (void)width;
    }
    // Connected lines through the points, in the current pen.
    virtual void polyline(std::span<const Point> points) {
        if (points.empty()) {
            return;
        }
        moveTo(points.front());
        for (const Point& point : points.subspan(1)) {
            lineTo(point);
        }
    }
};

} // namespace grovex
