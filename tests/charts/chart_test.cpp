// The stand development chart without widgets: round scales worked out by hand, the yearly values against
// the tables they must agree with, the layout on a fixed-pitch font, what is drawn and what lies under the
// mouse.

#include "charts/stand_chart.h"

#include "model/input1.h"
#include "support/fake_canvas.h"

#include <gtest/gtest.h>

#include <cmath>

namespace grovex::charts {
namespace {

using fakes::Draw;
using fakes::FakeCanvas;
using fakes::FixedPitchMetrics;

std::vector<std::string> labels(const AxisScale& scale) {
    std::vector<std::string> result;
    for (const double tick : scale.ticks()) {
        result.push_back(scale.label(tick));
    }
    return result;
}

// Range 137 rounds up to 200, 200 / 4 = 50 is already round; 0 to 137 ends on the tick after 137.
// Range 0.18 rounds to 0.2, 0.2 / 4 = 0.05; 0.43 and 0.61 widen to the ticks 0.40 and 0.65, in hundredths.
// Range 23456 rounds up to 50000, 50000 / 5 = 10000.
// An empty range at 25 widens by a tenth each way: range 5, step 5 / 4 = 1.25, rounded 1.
// A range at zero widens to -1 .. 1: step 2 / 4 = 0.5, labels in tenths, zero without a sign.
TEST(NiceScale, RoundStepsAndEndsWorkedOutByHand) {
    EXPECT_EQ(labels(niceScale(0, 137, 5)), (std::vector<std::string>{"0", "50", "100", "150"}));
    EXPECT_EQ(labels(niceScale(0.43, 0.61, 5)),
              (std::vector<std::string>{"0.40", "0.45", "0.50", "0.55", "0.60", "0.65"}));
    EXPECT_EQ(labels(niceScale(0, 23456, 6)), (std::vector<std::string>{"0", "10000", "20000", "30000"}));
    EXPECT_EQ(labels(niceScale(25, 25, 5)), (std::vector<std::string>{"22", "23", "24", "25", "26", "27", "28"}));
    EXPECT_EQ(labels(niceScale(0, 0, 5)), (std::vector<std::string>{"-1.0", "-0.5", "0.0", "0.5", "1.0"}));
    // Reversed ends are the same range; a minimum step keeps ages in whole years.
    EXPECT_EQ(labels(niceScale(137, 0, 5)), labels(niceScale(0, 137, 5)));
    EXPECT_EQ(labels(niceScale(10, 13, 10, 1)), (std::vector<std::string>{"10", "11", "12", "13"}));
}

TEST(NiceScale, FractionPlacesValuesBetweenTheEnds) {
    const AxisScale scale = niceScale(0, 137, 5); // 0 .. 150
    EXPECT_DOUBLE_EQ(scale.fraction(0), 0.0);
    EXPECT_DOUBLE_EQ(scale.fraction(75), 0.5);
    EXPECT_DOUBLE_EQ(scale.fraction(150), 1.0);
}

// A stand planted at site 60 and grown to 15, thinned from below to 60 square feet, then grown to 25, with
// the yearly values recorded as the desktop records them.
CGROVEXDoc recordedDocument() {
    CGROVEXDoc doc;
    GrowthModel& m = doc.model;
    Input1 input;
    input.target = 15;
    input.title = "Thinned at 15";
    WriteInput1(m, input);
    EXPECT_TRUE(StartRun(m));
    RecordingScope recording(m, doc.yearly);
    m.ProjectToTarget();
    m.qthin = 1;
    m.ithin = 3;
    m.tlim = 60;
    m.Thin();
    m.target = 25;
    m.ProjectToTarget();
    return doc;
}

bool agrees(const StandPoint& yearly, const StandPoint& shown) {
    if (yearly.age != shown.age) {
        return false;
    }
    for (const StandValue exact :
         {StandValue::TreesPerAcre, StandValue::Volume1, StandValue::Volume2, StandValue::Volume3}) {
        if (yearly.values[index(exact)] != shown.values[index(exact)]) {
            return false;
        }
    }
    for (size_t v = 1; v <= index(StandValue::CordVolume); ++v) {
        if (std::abs(yearly.values[v] - shown.values[v]) > 0.00501f) {
            return false;
        }
    }
    return true;
}

// The tables are: live at 15, thinned by rows, live after the row thinning, thinned from below, live after the
// low thinning, live at 25. The yearly values at the stand's ages (15 before and after the treatment, 25) are
// the values those tables show: the summary to its printed hundredth, the total row exactly. The stand passes
// the table between the two thinnings inside the treatment, so no yearly value is recorded for it.
TEST(ChartData, YearlyValuesAgreeWithTheTablesOfTheStandsAges) {
    const CGROVEXDoc doc = recordedDocument();
    const std::vector<StandPoint>& points = doc.yearly.points();
    ASSERT_EQ(doc.model.tables.size(), size_t{6});
    for (const size_t t : {0, 4, 5}) {
        const std::optional<StandPoint> shown = tableStandPoint(doc.model.tables[t]);
        ASSERT_TRUE(shown) << t;
        EXPECT_TRUE(std::any_of(points.begin(), points.end(), [&](const auto& point) { return agrees(point, *shown); }))
            << "table " << t;
    }
    EXPECT_FALSE(tableStandPoint(doc.model.tables[1]).has_value()); // a thinned-tree table
    EXPECT_TRUE(tableStandPoint(doc.model.tables[2]).has_value());
}

// The planted stand's run starts at age 8; the thinning at 15 gives two points at that age, the second with
// the basal area left (60); every other age comes once.
TEST(ChartData, AThinningIsADropAtItsAge) {
    const CGROVEXDoc doc = recordedDocument();
    const std::vector<StandPoint>& points = doc.yearly.points();
    ASSERT_EQ(points.size(), size_t{19}); // ages 8 to 25, and 15 twice
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].age, static_cast<int32_t>(i <= 7 ? 8 + i : 7 + i)) << i;
    }
    EXPECT_GT(points[7].values[index(StandValue::BasalArea)], 100.0f);
    EXPECT_NEAR(points[8].values[index(StandValue::BasalArea)], 60.0f, 0.5f);
    EXPECT_EQ(points[0].values[index(StandValue::HardwoodPercent)], -1.0f);

    const SimulationSeries series = simulationSeries(doc, "GROVEX1");
    EXPECT_EQ(series.lines[index(StandValue::BasalArea)].size(), size_t{19});
    EXPECT_TRUE(series.lines[index(StandValue::HardwoodPercent)].empty());
    EXPECT_EQ(series.marks[index(StandValue::BasalArea)].size(), size_t{4});
}

// A document without yearly values (an older file) still has its tables to mark.
TEST(ChartData, ADocumentWithoutYearlyValuesChartsItsTables) {
    CGROVEXDoc doc = recordedDocument();
    doc.yearly.clear();
    const SimulationSeries series = simulationSeries(doc, "old");
    EXPECT_FALSE(series.empty());
    EXPECT_TRUE(series.lines[index(StandValue::BasalArea)].empty());
    ASSERT_EQ(series.marks[index(StandValue::DominantHeight)].size(), size_t{4});
    EXPECT_EQ(series.marks[index(StandValue::DominantHeight)][3].x, 25.0);

    StandChart chart;
    chart.setSimulations({series});
    chart.setValues({StandValue::DominantHeight});
    EXPECT_TRUE(chart.hasData());
}

TEST(ChartData, VolumeTitlesFollowTheVolumeUnits) {
    GrowthModel model;
    model.vtype = kCordsAndBoardFeet;
    model.voltyp = 2;
    EXPECT_EQ(valueInfo(StandValue::Volume2, model).unit, "cords/acre");
    EXPECT_EQ(valueInfo(StandValue::Volume3, model).title, "Doyle");
    EXPECT_EQ(valueInfo(StandValue::Volume3, model).unit, "bd ft/acre");
    model.vtype = kCubicFeet;
    model.voltyp = 1;
    model.voltop = 6;
    EXPECT_EQ(valueInfo(StandValue::Volume3, model).title, "Volume i.b. to 6 in");
    model.vtype = kCustomEquations;
    model.volnam = {"Pulp", "", "Saw"};
    EXPECT_EQ(valueInfo(StandValue::Volume1, model).title, "Pulp");
    EXPECT_EQ(valueInfo(StandValue::Volume2, model).title, "Volume 2");
}

// One simulation, basal area only: 40, 50, 60 at ages 10 to 12, thinned to 45 at 12, then 52 at 13; the
// table at 12 showed 60.
SimulationSeries handMadeSeries(std::string name) {
    SimulationSeries series;
    series.name = std::move(name);
    series.info[index(StandValue::BasalArea)] = {"Basal area", "sq ft/acre"};
    series.lines[index(StandValue::BasalArea)] = {{10, 40}, {11, 50}, {12, 60}, {12, 45}, {13, 52}};
    series.marks[index(StandValue::BasalArea)] = {{12, 60}};
    return series;
}

// Font height 12: characters 6 wide, lines 15 high. The legend is one row (top 6, 15 high, 6 below): the
// panel starts at 27, its plot at 27 + 15 + 6 = 48 and ends at 400 - 15 - 4 - 12 = 369 (321 high). At most
// 321 / 30 = 10 ticks: 0 .. 60 by 10. Labels are at most 2 characters (12), so the plot starts at
// 6 + 12 + 6 = 24 and ends at 600 - 18 = 582 (558 wide). Ages 10 .. 13 in whole years.
class HandMadeChart : public ::testing::Test {
protected:
    void SetUp() override {
        LogFont font;
        font.height = 12;
        chart.setFont(font);
        chart.setSimulations({handMadeSeries("Sim A")});
        chart.setValues({StandValue::BasalArea});
        chart.layout(metrics, {0, 0, 600, 400});
    }
    StandChart chart;
    FixedPitchMetrics metrics;
};

TEST_F(HandMadeChart, PanelAndScalesAreLaidOutByHand) {
    ASSERT_EQ(chart.panels().size(), size_t{1});
    const ChartPanel& panel = chart.panels()[0];
    EXPECT_EQ(panel.title, "Basal area (sq ft/acre)");
    EXPECT_EQ(panel.plot.top, 48);
    EXPECT_EQ(panel.plot.bottom, 369);
    EXPECT_EQ(panel.plot.left, 24);
    EXPECT_EQ(panel.plot.right, 582);
    EXPECT_EQ(labels(panel.scale), (std::vector<std::string>{"0", "10", "20", "30", "40", "50", "60"}));
    EXPECT_EQ(labels(chart.ageScale()), (std::vector<std::string>{"10", "11", "12", "13"}));
    // Age 12 is two thirds across: 24 + 372; 60 is the top, 45 three quarters up: 369 - 240.75 rounds to 128.
    ASSERT_EQ(panel.lines[0].size(), size_t{5});
    EXPECT_EQ(panel.lines[0][2].x, 396);
    EXPECT_EQ(panel.lines[0][2].y, 48);
    EXPECT_EQ(panel.lines[0][3].x, 396);
    EXPECT_EQ(panel.lines[0][3].y, 128);
}

TEST_F(HandMadeChart, TheLineDropsStraightDownAtTheThinningAndTheTableIsMarked) {
    FakeCanvas canvas({0, 0, 600, 400});
    chart.paint(canvas);
    const Color blue = StandChart::simulationColor(0);
    std::vector<Point> line;
    for (const fakes::DrawCall& call : canvas.calls()) {
        if ((call.kind == Draw::MoveTo || call.kind == Draw::LineTo) && call.pen == blue) {
            line.push_back(call.point);
        }
    }
    ASSERT_EQ(line.size(), size_t{5});
    EXPECT_EQ(line[2].x, line[3].x);
    EXPECT_LT(line[2].y, line[3].y);
    const auto fills = canvas.callsOf(Draw::Fill);
    EXPECT_TRUE(std::any_of(fills.begin(), fills.end(), [&](const fakes::DrawCall& call) {
        return call.fill == blue && call.rect.left == 396 - 2 && call.rect.top == 48 - 2 && call.rect.width() == 5;
    }));
    const std::vector<std::string> texts = canvas.texts();
    for (const char* text : {"Sim A", "Table values", "Basal area (sq ft/acre)", "60", "13"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
    }
}

TEST_F(HandMadeChart, HitTestingFindsTheNearestValueWithinEightPixels) {
    // The table mark and the yearly value before the thinning share (396, 48); the mark wins.
    std::optional<ChartHit> hit = chart.hitTest({398, 50});
    ASSERT_TRUE(hit);
    EXPECT_TRUE(hit->tableValue);
    EXPECT_EQ(hit->text, "Sim A, age 12: Basal area 60.00 sq ft/acre (table)");
    hit = chart.hitTest({396, 130});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->text, "Sim A, age 12: Basal area 45.00 sq ft/acre");
    // Age 11 (x 210) at 50 (369 - 267.5 = 101): 8 pixels away along a diagonal is too far.
    EXPECT_TRUE(chart.hitTest({210 + 6, 101 + 6}).has_value() == false);
    EXPECT_TRUE(chart.hitTest({210 + 5, 101 + 5}).has_value());
    EXPECT_FALSE(chart.hitTest({300, 300}).has_value());
}

TEST(StandChartLayout, ManyValuesShareTheAreaInColumnsAndTheLegendWraps) {
    LogFont font;
    font.height = 12;
    StandChart chart;
    chart.setFont(font);
    std::vector<SimulationSeries> simulations;
    for (const char* name : {"First simulation", "Second simulation", "Third simulation"}) {
        SimulationSeries series = handMadeSeries(name);
        for (size_t v = 0; v < kStandValueCount; ++v) {
            series.lines[v] = series.lines[index(StandValue::BasalArea)];
        }
        simulations.push_back(series);
    }
    chart.setSimulations(simulations);
    std::vector<StandValue> all;
    for (size_t v = 0; v < kStandValueCount; ++v) {
        all.push_back(static_cast<StandValue>(v));
    }
    chart.setValues(all);
    chart.layout(FixedPitchMetrics(), {0, 0, 250, 900});
    // 12 values in 3 columns of 83 and 4 rows. A legend entry is its swatch (18 + 6), its text and 18: the
    // second simulation's 144 no longer fits after the first's 138 in 250 - 6, and so on: one entry a row.
    ASSERT_EQ(chart.panels().size(), size_t{12});
    EXPECT_EQ(chart.panels()[1].frame.left, 83);
    EXPECT_EQ(chart.panels()[3].frame.top, chart.panels()[0].frame.bottom);
    const auto& legend = chart.legend();
    ASSERT_EQ(legend.size(), size_t{5});
    EXPECT_EQ(legend[1].swatch.top, legend[0].swatch.top + 15 + 3);
    EXPECT_EQ(legend[1].color, StandChart::simulationColor(1));
    EXPECT_EQ(legend[3].kind, LegendEntry::Kind::Mark);
}

TEST(StandChartLayout, NothingToChartSaysSo) {
    StandChart chart;
    chart.setSimulations({SimulationSeries{}});
    chart.setValues({StandValue::BasalArea});
    chart.layout(FixedPitchMetrics(), {0, 0, 400, 300});
    EXPECT_FALSE(chart.hasData());
    EXPECT_TRUE(chart.panels().empty());
    FakeCanvas canvas({0, 0, 400, 300});
    chart.paint(canvas);
    EXPECT_EQ(canvas.texts(), (std::vector<std::string>{StandChart::kEmptyText}));
    EXPECT_FALSE(chart.hitTest({200, 150}).has_value());
}

} // namespace
} // namespace grovex::charts
