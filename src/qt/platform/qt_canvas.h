#pragma once
// Drawing and measuring through QPainter and QFontMetrics: one Canvas for the screen, the printer, the print
// preview and images.

#include "base/platform/canvas.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QRect>
#include <QTransform>

#include <optional>
#include <string>
#include <unordered_map>

class QPainter;
class QPaintDevice;

namespace grovex {

// The font a LogFont describes: pixel size = |height| in the device's pixels, weight 400 normal and 700 bold
// (the same scale as Qt's), italic, underline, strike-out and the face. A face the system does not have
// becomes the system's fixed-pitch substitute for it, or else the system's fixed-pitch font, since every table
// is laid out in columns.
QFont toQFont(const LogFont& font);
// A LogFont with the face, pixel height, weight and style of `font` and the defaults otherwise.
LogFont toLogFont(const QFont& font);
bool sameLogFont(const LogFont& a, const LogFont& b);

QColor toQColor(Color color);

class QtCanvas : public Canvas {
public:
    // `painter` is active on its device; `deviceClip` is the part of the device that needs drawing (the paint
    // event's rectangle, or the whole page). The painter's transform at this point maps logical (0, 0), before
    // any window origin, to the device.
    QtCanvas(QPainter& painter, const QRect& deviceClip);

    Size textExtent(std::string_view text) const override;

    void setFont(const LogFont& font) override;
    void setWindowOrigin(Point origin) override;
    Rect clipBox() const override;
    void clipTo(const Rect& rect) override;
    void removeClip() override;

    void setTextColor(Color color) override { textColor_ = toQColor(color); }
    void setBackgroundColor(Color color) override { backgroundColor_ = toQColor(color); }
    void setBackgroundMode(BackgroundMode mode) override { backgroundMode_ = mode; }

    void drawText(std::string_view text, const Rect& rect, TextAlign align) override;
    void textOut(Point at, std::string_view text) override;
    void fillSolidRect(const Rect& rect, Color color) override;
    void drawRaisedEdge(const Rect& rect) override;
    void moveTo(Point at) override { current_ = at; }
    void lineTo(Point to) override;
    void setPen(Color color, int width) override;
    void polyline(std::span<const Point> points) override;

private:
    const QFontMetrics& metrics() const;
    // One line of text with its top-left corner at (x, y), clipped to `clip` when it does not fit inside it.
    void drawLine(const QString& line, int x, int y, int width, const QRect* clip);

    QPainter& painter_;
    QTransform baseTransform_;
    QRect deviceClip_;
    Point origin_;
    std::optional<Rect> clip_;
    Point current_;
    QColor textColor_{Qt::black};
    QColor backgroundColor_{Qt::white};
    QPen pen_{Qt::black, 0};
    BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
    mutable std::optional<QFontMetrics> metrics_;
};

// Measures text in any LogFont on the screen or on a printer (or any other paint device). The metrics of the
// last font asked for and the widths measured with it are kept, since a layout measures thousands of texts in
// one or two fonts.
class QtFontMetricsSource : public FontMetricsSource {
public:
    // A null device measures for the screen.
    explicit QtFontMetricsSource(const QPaintDevice* device = nullptr) : device_(device) {}

    Size textExtent(const LogFont& font, std::string_view text) const override;

    // The screen's source, for views that live as long as the application.
    static const QtFontMetricsSource& screen();

private:
    const QPaintDevice* device_;
    mutable std::optional<LogFont> font_;
    mutable std::optional<QFontMetrics> metrics_;
    // Widths in the current font by text: table cells repeat the same few numbers many times over.
    mutable std::unordered_map<std::string, int> widths_;
};

} // namespace grovex
