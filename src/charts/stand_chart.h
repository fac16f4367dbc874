#pragma once
// The stand development chart: one panel per chosen stand value, each with its own value axis and unit, the
// stand age along the bottom, a line per simulation through its yearly values, a mark at each table's
// values, and a legend naming the simulations by colour. Laid out for a rectangle, drawn through a Canvas
// (screen, print and image export alike), and asked what lies under a point.

#include "base/platform/canvas.h"
#include "charts/chart_data.h"
#include "charts/nice_scale.h"

#include <optional>
#include <string>
#include <vector>

namespace grovex::charts {

// One panel: a stand value against age.
struct ChartPanel {
    StandValue value = StandValue::TreesPerAcre;
    std::string title; // "Basal area (sq ft/acre)"
    Rect frame;        // the whole panel, title and tick labels included
    Rect plot;         // the area inside the axes
    AxisScale scale;
    std::vector<std::vector<Point>> lines; // per simulation, the yearly values on the device
    std::vector<std::vector<Point>> marks; // per simulation, the table values on the device
};

struct LegendEntry {
    enum class Kind { Line, Mark, Note }; // a simulation's line, the table marks, a note without a swatch
    Kind kind = Kind::Line;
    std::string text;
    Color color = kBlack;
    Rect swatch;
    Point textAt;
};

// What lies under a point: one yearly value or one table's value.
struct ChartHit {
    size_t simulation = 0;
    StandValue value = StandValue::TreesPerAcre;
    ChartPoint point;
    bool tableValue = false;
    std::string text; // "GROVEX1, age 25: Basal area 120.35 sq ft/acre (table)"
};

class StandChart {
public:
    static constexpr int kMarkSize = 7;
    static constexpr int kHitRadius = 8;
    static constexpr Color kGridColor = 0xE0E0E0;

    // The colour of the i-th simulation.
    static Color simulationColor(size_t index);

    void setSimulations(std::vector<SimulationSeries> simulations) { simulations_ = std::move(simulations); }
    void setValues(std::vector<StandValue> values) { values_ = std::move(values); }
    void setFont(const LogFont& font) { font_ = font; }
    const std::vector<SimulationSeries>& simulations() const { return simulations_; }
    const std::vector<StandValue>& values() const { return values_; }
    const LogFont& font() const { return font_; }
    // Anything to draw: a chosen value with at least one point.
    bool hasData() const;

    // Places the legend and the panels in `area` and every point on the device.
    void layout(const FontMetricsSource& metrics, const Rect& area);
    void paint(Canvas& canvas) const;
    std::optional<ChartHit> hitTest(Point at) const;

    const Rect& area() const { return area_; }
    const AxisScale& ageScale() const { return ageScale_; }
    const std::vector<ChartPanel>& panels() const { return panels_; }
    const std::vector<LegendEntry>& legend() const { return legend_; }

    // What the chart says when it has nothing to draw.
    static constexpr const char* kEmptyText =
        "Nothing to chart yet: Initialize and Project draws the stand's development here.";

private:
    int layoutLegend(const FontMetricsSource& metrics, const Rect& area);
    void layoutPanel(ChartPanel& panel, const FontMetricsSource& metrics) const;
    void paintPanel(Canvas& canvas, const ChartPanel& panel) const;
    void paintLegend(Canvas& canvas) const;

    std::vector<SimulationSeries> simulations_;
    std::vector<StandValue> values_;
    LogFont font_;
    Rect area_;
    int lineHeight_ = 0;
    AxisScale ageScale_;
    std::vector<ChartPanel> panels_;
    std::vector<LegendEntry> legend_;
};

} // namespace grovex::charts
