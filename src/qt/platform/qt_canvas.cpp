#include "qt/platform/qt_canvas.h"

#include "qt/platform/qt_text.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace grovex {
namespace {

// The family that draws `face`: the face itself when installed; else the system's own substitute for it when
// that is fixed-pitch (font configurations often map a well-known face to a twin with the same metrics); else
// the system's fixed-pitch font. Looking a face up costs more than a whole screen of text, so each answer is
// kept.
QString drawingFamily(const QString& face) {
    static QHash<QString, QString> families;
    const auto known = families.constFind(face);
    if (known != families.constEnd()) {
        return *known;
    }
    QString family;
    if (!face.isEmpty() && QFontDatabase::families().contains(face, Qt::CaseInsensitive)) {
        family = face;
    } else {
        const QFont substitute(face);
        const QFontMetrics metrics(substitute);
        family = !face.isEmpty() && metrics.horizontalAdvance(QStringLiteral("WWWW")) ==
                                        metrics.horizontalAdvance(QStringLiteral("iiii"))
                     ? QFontInfo(substitute).family()
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    }
    families.insert(face, family);
    return family;
}

QString faceName(const LogFont& font) {
    const char* end = static_cast<const char*>(std::memchr(font.faceName, '\0', sizeof font.faceName));
    const size_t length = end != nullptr ? static_cast<size_t>(end - font.faceName) : sizeof font.faceName;
    return QString::fromLatin1(font.faceName, static_cast<qsizetype>(length));
}

QRect toQRect(const Rect& rect) {
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

// Each line of a text: lines end with "\n" or "\r\n".
template <typename Visit> void forEachLine(std::string_view text, Visit visit) {
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!visit(line) || end == std::string_view::npos) {
            return;
        }
        start = end + 1;
    }
}

} // namespace

QFont toQFont(const LogFont& logFont) {
    const QString face = faceName(logFont);
    const QString family = drawingFamily(face);
    QFont font = family == face ? QFont(family) : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamily(family);
    font.setStyleHint(QFont::TypeWriter);
    if (logFont.height != 0) {
        font.setPixelSize(std::abs(logFont.height));
    }
    font.setWeight(logFont.weight <= 0 ? QFont::Normal
                                       : static_cast<QFont::Weight>(std::clamp(logFont.weight, 100, 900)));
    font.setItalic(logFont.italic != 0);
    font.setUnderline(logFont.underline != 0);
    font.setStrikeOut(logFont.strikeOut != 0);
    return font;
}

LogFont toLogFont(const QFont& font) {
    LogFont logFont;
    const QByteArray face = font.family().toLatin1().left(sizeof logFont.faceName - 1);
    std::memset(logFont.faceName, 0, sizeof logFont.faceName);
    std::memcpy(logFont.faceName, face.constData(), static_cast<size_t>(face.size()));
    logFont.height = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    logFont.weight = font.weight();
    logFont.italic = font.italic() ? 1 : 0;
    logFont.underline = font.underline() ? 1 : 0;
    logFont.strikeOut = font.strikeOut() ? 1 : 0;
    return logFont;
}

bool sameLogFont(const LogFont& a, const LogFont& b) {
    return a.charSet == b.charSet && a.clipPrecision == b.clipPrecision && a.escapement == b.escapement &&
           a.height == b.height && a.italic == b.italic && a.orientation == b.orientation &&
           a.outPrecision == b.outPrecision && a.pitchAndFamily == b.pitchAndFamily && a.quality == b.quality &&
           a.strikeOut == b.strikeOut && a.underline == b.underline && a.weight == b.weight && a.width == b.width &&
           std::strncmp(a.faceName, b.faceName, sizeof a.faceName) == 0;
}

QColor toQColor(Color color) {
    return QColor::fromRgb((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

QtCanvas::QtCanvas(QPainter& painter, const QRect& deviceClip)
    : painter_(painter), baseTransform_(painter.worldTransform()), deviceClip_(deviceClip) {}

const QFontMetrics& QtCanvas::metrics() const {
    if (!metrics_) {
        metrics_.emplace(painter_.fontMetrics());
    }
    return *metrics_;
}

Size QtCanvas::textExtent(std::string_view text) const {
    const QFontMetrics& fm = metrics();
    return {fm.horizontalAdvance(toQString(text)), fm.height()};
}

void QtCanvas::setFont(const LogFont& font) {
    painter_.setFont(toQFont(font));
    metrics_.reset();
}

void QtCanvas::setWindowOrigin(Point origin) {
    origin_ = origin;
    painter_.setWorldTransform(QTransform::fromTranslate(-origin.x, -origin.y) * baseTransform_);
}

Rect QtCanvas::clipBox() const {
    Rect box{deviceClip_.left() + origin_.x, deviceClip_.top() + origin_.y,
             deviceClip_.left() + deviceClip_.width() + origin_.x,
             deviceClip_.top() + deviceClip_.height() + origin_.y};
    if (clip_) {
        box = {std::max(box.left, clip_->left), std::max(box.top, clip_->top), std::min(box.right, clip_->right),
               std::min(box.bottom, clip_->bottom)};
    }
    return box;
}

void QtCanvas::clipTo(const Rect& rect) {
    clip_ = rect;
    painter_.setClipRect(QRect(rect.left, rect.top, rect.width(), rect.height()));
}

void QtCanvas::removeClip() {
    clip_.reset();
    painter_.setClipping(false);
}

void QtCanvas::drawLine(const QString& line, int x, int y, int width, const QRect* clip) {
    const QFontMetrics& fm = metrics();
    const QRect box(x, y, width, fm.height());
    const bool clipped = clip != nullptr && !clip->contains(box);
    if (clipped) {
        painter_.save();
        painter_.setClipRect(*clip, Qt::IntersectClip);
    }
    if (backgroundMode_ == BackgroundMode::Opaque) {
        painter_.fillRect(box, backgroundColor_);
    }
    painter_.setPen(textColor_);
    painter_.drawText(QPoint(x, y + fm.ascent()), line);
    if (clipped) {
        painter_.restore();
    }
}

void QtCanvas::drawText(std::string_view text, const Rect& rect, TextAlign align) {
    const QFontMetrics& fm = metrics();
    const QRect clip = toQRect(rect);
    int top = rect.top;
    forEachLine(text, [&](std::string_view part) {
        if (top >= rect.bottom) {
            return false; // the rest lies below the rectangle
        }
        if (part.empty()) {
            top += fm.height();
            return true;
        }
        const QString line = toQString(part);
        const int width = fm.horizontalAdvance(line);
        int left = rect.left;
        if (align == TextAlign::Center) {
            left = rect.left + (rect.width() - width) / 2;
        } else if (align == TextAlign::Right) {
            left = rect.right - width;
        }
        drawLine(line, left, top, width, &clip);
        top += fm.height();
        return true;
    });
}

void QtCanvas::textOut(Point at, std::string_view text) {
    const QString line = toQString(text);
    drawLine(line, at.x, at.y, metrics().horizontalAdvance(line), nullptr);
}

void QtCanvas::fillSolidRect(const Rect& rect, Color color) {
    painter_.fillRect(toQRect(rect), toQColor(color));
}

void QtCanvas::drawRaisedEdge(const Rect& rect) {
    // Two bevels, one pixel each: the outer light and dark shadow, the inner highlight and shadow.
    static const QColor outerLight(0xD4, 0xD4, 0xD4);
    static const QColor outerDark(0x69, 0x69, 0x69);
    static const QColor innerLight(0xFF, 0xFF, 0xFF);
    static const QColor innerDark(0xA0, 0xA0, 0xA0);
    auto bevel = [this](const QRect& r, const QColor& light, const QColor& dark) {
        if (r.width() <= 0 || r.height() <= 0) {
            return;
        }
        painter_.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), light);
        painter_.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), light);
        painter_.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), dark);
        painter_.fillRect(QRect(r.right(), r.top(), 1, r.height()), dark);
    };
    const QRect outer = toQRect(rect);
    bevel(outer, outerLight, outerDark);
    bevel(outer.adjusted(1, 1, -1, -1), innerLight, innerDark);
}

void QtCanvas::lineTo(Point to) {
    painter_.setPen(pen_);
    painter_.drawLine(current_.x, current_.y, to.x, to.y);
    current_ = to;
}

void QtCanvas::setPen(Color color, int width) {
    pen_ = QPen(toQColor(color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Lines wider than a pixel are smoothed; the thin rules of the tables stay crisp.
void QtCanvas::polyline(std::span<const Point> points) {
    if (points.empty()) {
        return;
    }
    QPolygon polygon(static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i) {
        polygon.setPoint(static_cast<int>(i), points[i].x, points[i].y);
    }
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, pen_.width() > 1);
    painter_.setPen(pen_);
    painter_.drawPolyline(polygon);
    painter_.restore();
    current_ = points.back();
}

Size QtFontMetricsSource::textExtent(const LogFont& font, std::string_view text) const {
    constexpr size_t kMaxKeptWidths = 50000;
    if (!font_ || !sameLogFont(*font_, font)) {
        const QFont qfont = toQFont(font);
        metrics_.emplace(device_ != nullptr ? QFontMetrics(qfont, device_) : QFontMetrics(qfont));
        font_ = font;
        widths_.clear();
    }
    const std::string key(text);
    auto known = widths_.find(key);
    if (known == widths_.end()) {
        if (widths_.size() >= kMaxKeptWidths) {
            widths_.clear();
        }
        known = widths_.emplace(key, metrics_->horizontalAdvance(toQString(text))).first;
    }
    return {known->second, metrics_->height()};
}

const QtFontMetricsSource& QtFontMetricsSource::screen() {
    static const QtFontMetricsSource source;
    return source;
}

} // namespace grovex
