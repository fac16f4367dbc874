#include "charts/stand_chart.h"

#include "base/c_format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace grovex::charts {
namespace {

constexpr int kGap = 6;
constexpr int kSwatchWidth = 18;
constexpr int kTickLength = 4;
constexpr int kMinTickSpacing = 44; // device units between age ticks at the least

struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void add(double value) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
    bool empty() const { return low > high; }
};

template <typename Visit> void forEachPoint(const SimulationSeries& series, StandValue value, Visit visit) {
    for (const auto* points : {&series.lines[index(value)], &series.marks[index(value)]}) {
        for (const ChartPoint& point : *points) {
            visit(point);
        }
    }
}

int toDevice(double fraction, int from, int length) {
    return from + static_cast<int>(std::lround(fraction * length));
}

std::vector<Point> devicePoints(const std::vector<ChartPoint>& points, const AxisScale& ages, const AxisScale& scale,
                                const Rect& plot) {
    std::vector<Point> result;
    result.reserve(points.size());
    for (const ChartPoint& point : points) {
        result.push_back({toDevice(ages.fraction(point.x), plot.left, plot.width()),
                          toDevice(-scale.fraction(point.y), plot.bottom, plot.height())});
    }
    return result;
}

Rect grown(const Rect& rect, int by) {
    return {rect.left - by, rect.top - by, rect.right + by, rect.bottom + by};
}

bool contains(const Rect& rect, Point at) {
    return at.x >= rect.left && at.x < rect.right && at.y >= rect.top && at.y < rect.bottom;
}

void fillSquare(Canvas& canvas, Point centre, int size, Color color) {
    const int half = size / 2;
    canvas.fillSolidRect({centre.x - half, centre.y - half, centre.x - half + size, centre.y - half + size}, color);
}

} // namespace

Color StandChart::simulationColor(size_t index) {
    static constexpr std::array<Color, 8> kPalette{0x1F77B4, 0xD62728, 0x2CA02C, 0x9467BD,
                                                   0xFF7F0E, 0x8C564B, 0xE377C2, 0x17BECF};
    return kPalette[index % kPalette.size()];
}

bool StandChart::hasData() const {
    return std::any_of(values_.begin(), values_.end(), [this](StandValue value) {
        return std::any_of(simulations_.begin(), simulations_.end(), [value](const SimulationSeries& series) {
            return !series.lines[index(value)].empty() || !series.marks[index(value)].empty();
        });
    });
}

void StandChart::layout(const FontMetricsSource& metrics, const Rect& area) {
    area_ = area;
    panels_.clear();
    legend_.clear();
    lineHeight_ = metrics.textExtent(font_, "0").height;
    if (!hasData()) {
        return;
    }
    const int top = layoutLegend(metrics, area);

    Range ages;
    for (const StandValue value : values_) {
        for (const SimulationSeries& series : simulations_) {
            forEachPoint(series, value, [&ages](const ChartPoint& point) { ages.add(point.x); });
        }
    }
    const int count = static_cast<int>(values_.size());
    const int columns = count <= 3 ? 1 : count <= 8 ? 2 : 3;
    const int rows = (count + columns - 1) / columns;
    const int cellWidth = area.width() / columns;
    const int cellHeight = std::max(1, (area.bottom - top) / rows);
    ageScale_ = niceScale(ages.low, ages.high, std::max(3, cellWidth / kMinTickSpacing), 1.0);

    for (int i = 0; i < count; ++i) {
        ChartPanel& panel = panels_.emplace_back();
        panel.value = values_[static_cast<size_t>(i)];
        const int left = area.left + (i % columns) * cellWidth;
        const int cellTop = top + (i / columns) * cellHeight;
        panel.frame = {left, cellTop, left + cellWidth, cellTop + cellHeight};
        layoutPanel(panel, metrics);
    }
}

int StandChart::layoutLegend(const FontMetricsSource& metrics, const Rect& area) {
    for (size_t s = 0; s < simulations_.size(); ++s) {
        const SimulationSeries& series = simulations_[s];
        legend_.push_back({LegendEntry::Kind::Line,
                           series.name + (series.yearlyUnread ? " (yearly values not read)" : ""),
                           simulationColor(s),
                           {},
                           {}});
    }
    legend_.push_back({LegendEntry::Kind::Mark, "Table values", kBlack, {}, {}});
    legend_.push_back({LegendEntry::Kind::Note, "Along the bottom: stand age, years", kBlack, {}, {}});

    int x = area.left + kGap;
    int y = area.top + kGap;
    for (LegendEntry& entry : legend_) {
        const int swatch = entry.kind == LegendEntry::Kind::Note ? 0 : kSwatchWidth + kGap;
        const int width = swatch + metrics.textExtent(font_, entry.text).width + 3 * kGap;
        if (x > area.left + kGap && x + width > area.right - kGap) {
            x = area.left + kGap;
            y += lineHeight_ + kGap / 2;
        }
        entry.swatch = {x, y, x + kSwatchWidth, y + lineHeight_};
        entry.textAt = {x + swatch, y};
        x += width;
    }
    return y + lineHeight_ + kGap;
}

void StandChart::layoutPanel(ChartPanel& panel, const FontMetricsSource& metrics) const {
    const ValueInfo& info = simulations_.front().info[index(panel.value)];
    panel.title = info.title + " (" + info.unit + ")";
    Range values;
    for (const SimulationSeries& series : simulations_) {
        forEachPoint(series, panel.value, [&values](const ChartPoint& point) { values.add(point.y); });
    }
    if (values.empty()) {
        values.add(0);
    }
    panel.plot.top = panel.frame.top + lineHeight_ + kGap;
    panel.plot.bottom = panel.frame.bottom - lineHeight_ - kTickLength - 2 * kGap;
    const int maxTicks = std::max(2, (panel.plot.bottom - panel.plot.top) / (2 * lineHeight_));
    panel.scale = niceScale(std::min(0.0, values.low), values.high, maxTicks);

    int labelWidth = 0;
    for (const double tick : panel.scale.ticks()) {
        labelWidth = std::max(labelWidth, metrics.textExtent(font_, panel.scale.label(tick)).width);
    }
    panel.plot.left = panel.frame.left + kGap + labelWidth + kGap;
    panel.plot.right = panel.frame.right - 3 * kGap;
    for (const SimulationSeries& series : simulations_) {
        panel.lines.push_back(devicePoints(series.lines[index(panel.value)], ageScale_, panel.scale, panel.plot));
        panel.marks.push_back(devicePoints(series.marks[index(panel.value)], ageScale_, panel.scale, panel.plot));
    }
}

void StandChart::paint(Canvas& canvas) const {
    canvas.setFont(font_);
    canvas.fillSolidRect(area_, kWhite);
    canvas.setBackgroundMode(BackgroundMode::Transparent);
    canvas.setTextColor(kBlack);
    if (panels_.empty()) {
        const int middle = (area_.top + area_.bottom - lineHeight_) / 2;
        canvas.drawText(kEmptyText, {area_.left, middle, area_.right, middle + lineHeight_}, TextAlign::Center);
        return;
    }
    paintLegend(canvas);
    for (const ChartPanel& panel : panels_) {
        paintPanel(canvas, panel);
    }
    canvas.setPen(kBlack, 0);
}

void StandChart::paintLegend(Canvas& canvas) const {
    for (const LegendEntry& entry : legend_) {
        const Point centre{(entry.swatch.left + entry.swatch.right) / 2, (entry.swatch.top + entry.swatch.bottom) / 2};
        if (entry.kind == LegendEntry::Kind::Mark) {
            fillSquare(canvas, centre, kMarkSize, kBlack);
        } else if (entry.kind == LegendEntry::Kind::Line) {
            canvas.fillSolidRect({entry.swatch.left, centre.y - 1, entry.swatch.right, centre.y + 2}, entry.color);
        }
        canvas.textOut(entry.textAt, entry.text);
    }
}

void StandChart::paintPanel(Canvas& canvas, const ChartPanel& panel) const {
    const Rect& plot = panel.plot;
    canvas.clipTo({panel.frame.left, panel.frame.top, panel.frame.right - kGap, panel.frame.bottom});
    canvas.textOut({panel.frame.left + kGap, panel.frame.top}, panel.title);
    canvas.removeClip();
    for (const double tick : panel.scale.ticks()) {
        const int y = toDevice(-panel.scale.fraction(tick), plot.bottom, plot.height());
        canvas.fillSolidRect({plot.left, y, plot.right, y + 1}, kGridColor);
        canvas.drawText(panel.scale.label(tick),
                        {panel.frame.left, y - lineHeight_ / 2, plot.left - kGap, y + lineHeight_}, TextAlign::Right);
    }
    for (const double tick : ageScale_.ticks()) {
        const int x = toDevice(ageScale_.fraction(tick), plot.left, plot.width());
        canvas.fillSolidRect({x, plot.top, x + 1, plot.bottom}, kGridColor);
        canvas.fillSolidRect({x, plot.bottom, x + 1, plot.bottom + kTickLength}, kBlack);
        const int top = plot.bottom + kTickLength + 1;
        canvas.drawText(ageScale_.label(tick),
                        {x - kMinTickSpacing / 2, top, x + kMinTickSpacing / 2, top + lineHeight_}, TextAlign::Center);
    }
    canvas.setPen(kBlack, 1);
    const std::array<Point, 3> axes{Point{plot.left, plot.top}, Point{plot.left, plot.bottom},
                                    Point{plot.right, plot.bottom}};
    canvas.polyline(axes);
    for (size_t s = 0; s < panel.lines.size(); ++s) {
        canvas.setPen(simulationColor(s), 2);
        canvas.polyline(panel.lines[s]);
    }
    for (size_t s = 0; s < panel.marks.size(); ++s) {
        for (const Point& mark : panel.marks[s]) {
            fillSquare(canvas, mark, kMarkSize, kBlack);
            fillSquare(canvas, mark, kMarkSize - 2, simulationColor(s));
        }
    }
}

std::optional<ChartHit> StandChart::hitTest(Point at) const {
    std::optional<ChartHit> best;
    int bestDistance = kHitRadius * kHitRadius + 1;
    for (const ChartPanel& panel : panels_) {
        if (!contains(grown(panel.plot, kHitRadius), at)) {
            continue;
        }
        for (size_t s = 0; s < simulations_.size(); ++s) {
            for (const bool table : {true, false}) {
                const std::vector<Point>& points = table ? panel.marks[s] : panel.lines[s];
                for (size_t k = 0; k < points.size(); ++k) {
                    const int dx = points[k].x - at.x;
                    const int dy = points[k].y - at.y;
                    if (dx * dx + dy * dy < bestDistance) {
                        bestDistance = dx * dx + dy * dy;
                        const auto& source = table ? simulations_[s].marks : simulations_[s].lines;
                        best = ChartHit{s, panel.value, source[index(panel.value)][k], table, {}};
                    }
                }
            }
        }
    }
    if (best) {
        const SimulationSeries& series = simulations_[best->simulation];
        const ValueInfo& info = series.info[index(best->value)];
        best->text = cformat("%s, age %.0f: %s %.2f %s%s", series.name.c_str(), best->point.x, info.title.c_str(),
                             best->point.y, info.unit.c_str(), best->tableValue ? " (table)" : "");
    }
    return best;
}

} // namespace grovex::charts
