#pragma once
// What a chart shows of one simulation: for every stand value its yearly line, the values of each live-tree
// table, its title and its unit.

#include "model/stand_history.h"
#include "results/document.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace grovex::charts {

struct ChartPoint {
    double x = 0; // stand age
    double y = 0;
};

struct ValueInfo {
    std::string title;
    std::string unit;
};

// The title and unit of a stand value; the volume totals take the headings and units of the model's volume
// units.
ValueInfo valueInfo(StandValue value, const GrowthModel& model);

// The stand values a live-tree table shows (its summary, rounded as printed, and its total row); nothing for
// a thinned-tree table or a summary without the age.
std::optional<StandPoint> tableStandPoint(const ResultTable& table);

struct SimulationSeries {
    std::string name;
    std::array<std::vector<ChartPoint>, kStandValueCount> lines; // the yearly values, in the order recorded
    std::array<std::vector<ChartPoint>, kStandValueCount> marks; // the values of each live-tree table
    std::array<ValueInfo, kStandValueCount> info;
    bool yearlyUnread = false; // the document's yearly values could not be read from its file

    bool empty() const;
};

// A simulation's series; values that do not apply (the hardwood percent of a stand without hardwoods) and
// values that are not finite are left out.
SimulationSeries simulationSeries(const CGROVEXDoc& doc, std::string name);

} // namespace grovex::charts
