#include "charts/chart_data.h"

#include "base/c_format.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace grovex::charts {
namespace {

ValueInfo volumeInfo(int equation, const GrowthModel& model) {
    const size_t e = static_cast<size_t>(equation);
    if (model.vtype == kCustomEquations) {
        return {model.volnam[e].empty() ? cformat("Volume %d", equation + 1) : model.volnam[e], "per acre"};
    }
    static constexpr std::array<const char*, 3> kCubicTitles{"Total volume o.b.", "Volume o.b. to 4 in",
                                                             "Volume to the top"};
    std::string title = kCubicTitles[e];
    std::string unit = "cu ft/acre";
    if (model.vtype == kCubicFeet && equation == 2) {
        title = cformat("Volume %s to %g in", model.voltyp == 1 ? "i.b." : "o.b.", static_cast<double>(model.voltop));
    } else if (model.vtype == kCordsAndBoardFeet && equation == 1) {
        title = "Volume to 4 in";
        unit = "cords/acre";
    } else if (model.vtype == kCordsAndBoardFeet && equation == 2) {
        title = model.voltyp == 1 ? "International" : model.voltyp == 2 ? "Doyle" : "Scribner";
        unit = "bd ft/acre";
    }
    return {title, unit};
}

// The number after `label` in a summary.
std::optional<float> summaryNumber(const std::string& summary, std::string_view label) {
    const size_t at = summary.find(label);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    return static_cast<float>(cAtof(std::string_view(summary).substr(at + label.size())));
}

void addPoint(std::vector<ChartPoint>& series, StandValue value, double age, float y) {
    if (!std::isfinite(y) || !std::isfinite(age) || (value == StandValue::HardwoodPercent && y < 0)) {
        return;
    }
    series.push_back({age, static_cast<double>(y)});
}

} // namespace

ValueInfo valueInfo(StandValue value, const GrowthModel& model) {
    switch (value) {
    case StandValue::TreesPerAcre:
        return {"Trees", "per acre"};
    case StandValue::BasalArea:
        return {"Basal area", "sq ft/acre"};
    case StandValue::QuadraticMeanDbh:
        return {"Quadratic mean DBH", "inches"};
    case StandValue::DominantHeight:
        return {"Dominant height", "feet"};
    case StandValue::AverageHeight:
        return {"Average height", "feet"};
    case StandValue::RelativeSpacing:
        return {"Relative spacing", "ratio"};
    case StandValue::CrownRatio:
        return {"Average crown ratio", "percent"};
    case StandValue::CordVolume:
        return {"Merchantable cord volume", "cords/acre"};
    case StandValue::Volume1:
        return volumeInfo(0, model);
    case StandValue::Volume2:
        return volumeInfo(1, model);
    case StandValue::Volume3:
        return volumeInfo(2, model);
    case StandValue::HardwoodPercent:
        return {"Hardwood", "percent of basal area"};
    }
    return {};
}

std::optional<StandPoint> tableStandPoint(const ResultTable& table) {
    const std::optional<float> age = summaryNumber(table.summary, "Growing Seasons Completed =");
    if (table.kind != kLiveTreeTable || !age || table.rows.empty()) {
        return std::nullopt;
    }
    const TableRow& total = table.rows.back();
    StandPoint point;
    point.age = table.age;
    const auto value = [&](std::string_view label) { return summaryNumber(table.summary, label).value_or(0.0f); };
    point.values = {total[1],
                    value("Basal Area ="),
                    value("Quadratic Mean DBH ="),
                    value("Dominant Height ="),
                    value("Average Height ="),
                    value("Relative Spacing ="),
                    value("Average Crown Ratio ="),
                    value("Merchantable Cord Volume ="),
                    total[4],
                    total[5],
                    total[6],
                    summaryNumber(table.summary, "Percent hardwood =").value_or(-1.0f)};
    return point;
}

bool SimulationSeries::empty() const {
    return std::all_of(lines.begin(), lines.end(), [](const auto& line) { return line.empty(); }) &&
           std::all_of(marks.begin(), marks.end(), [](const auto& mark) { return mark.empty(); });
}

SimulationSeries simulationSeries(const CGROVEXDoc& doc, std::string name) {
    SimulationSeries series;
    series.name = std::move(name);
    series.yearlyUnread = doc.yearlyUnread;
    for (size_t v = 0; v < kStandValueCount; ++v) {
        const auto value = static_cast<StandValue>(v);
        series.info[v] = valueInfo(value, doc.model);
        for (const StandPoint& point : doc.yearly.points()) {
            addPoint(series.lines[v], value, point.age, point.values[v]);
        }
        for (const ResultTable& table : doc.model.tables) {
            if (const std::optional<StandPoint> point = tableStandPoint(table)) {
                addPoint(series.marks[v], value, point->age, point->values[v]);
            }
        }
    }
    return series;
}

} // namespace grovex::charts
