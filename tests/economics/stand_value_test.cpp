// What a stand's trees are worth: the product each DBH class goes to, and the volumes of the model's own
// equations, worked out here from their published coefficients.

#include "economics/stand_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using grovex::economics::ClassRow;
using grovex::economics::parsePrices;
using grovex::economics::Prices;
using grovex::economics::standYields;

constexpr double kBasalAreaFactor = 0.005454;

// A class row of `trees` trees of exactly `dbh` inches and `height` feet.
ClassRow row(int cls, float dbh, float trees, float height) {
    return ClassRow{cls, trees, height, static_cast<float>(trees * kBasalAreaFactor * dbh * dbh)};
}

// Cords to a 4-inch top of one tree of an unthinned stand: total volume outside bark 0.00238 D2H + 0.21949,
// times exp(-0.78579 4^4.9206 / D^4.55878), divided by the cubic feet per cord of its class.
double cordsPerTree(double D, double H, double cubicFeetPerCord) {
    const double V = 0.00238 * D * D * H + 0.21949;
    return V * std::exp(-0.78579 * std::pow(4.0, 4.9206) / std::pow(D, 4.55878)) / cubicFeetPerCord;
}

// Doyle board feet of one tree: 0.00003386 D2H^1.5651 + 3.2492.
double doylePerTree(double D2H) {
    return 0.00003386 * std::pow(D2H, 1.5651) + 3.2492;
}

Prices pulpAndSaw() {
    Prices p;
    EXPECT_EQ(parsePrices(R"({"discount_rate": 0.05, "currency": "USD", "products": [
        {"name": "pulpwood", "min_dbh": 5, "max_dbh": 8, "unit": "cord", "price": 10},
        {"name": "sawtimber", "min_dbh": 9, "unit": "mbf_doyle", "price": 200}]})",
                          p),
              std::nullopt);
    return p;
}

TEST(StandValue, EachClassGoesToTheProductWhoseRangeHoldsItBothEndsIncluded) {
    const Prices prices = pulpAndSaw();
    const std::vector<ClassRow> rows{row(4, 4, 50, 40), row(5, 5, 100, 45), row(8, 8, 100, 60), row(9, 9, 80, 60)};
    const auto yields = standYields(prices, rows, false);
    ASSERT_EQ(yields.size(), 2u);
    // Class 4 is below every product and is worth nothing; classes 5 and 8 are pulpwood (84 and 90 cubic
    // feet per cord), class 9 is sawtimber.
    const double cords = 100 * cordsPerTree(5, 45, 84) + 100 * cordsPerTree(8, 60, 90);
    EXPECT_EQ(yields[0].product, "pulpwood");
    EXPECT_NEAR(yields[0].volume, cords, 1e-4 * cords);
    EXPECT_NEAR(yields[0].value, 10 * cords, 1e-3 * cords);
    const double mbf = 80 * doylePerTree(81.0 * 60) / 1000;
    EXPECT_EQ(yields[1].product, "sawtimber");
    EXPECT_NEAR(yields[1].volume, mbf, 1e-4 * mbf);
    EXPECT_NEAR(yields[1].value, 200 * mbf, 1e-4 * 200 * mbf);
}

TEST(StandValue, BoardFeetStartAtD2H3800AndTonsComeFromCubicFeetToTheTop) {
    Prices p;
    ASSERT_EQ(parsePrices(R"({"discount_rate": 0.05, "currency": "USD", "tons_per_cubic_foot": 0.03, "products": [
        {"name": "small", "min_dbh": 1, "max_dbh": 9, "unit": "ton", "top": 3, "price": 10},
        {"name": "saw", "min_dbh": 10, "unit": "mbf_doyle", "price": 200}]})",
                          p),
              std::nullopt);
    // A 10-inch tree 37 feet tall has D2H 3700: no board feet. The 3-inch tree has no wood above a 3-inch top.
    const auto yields = standYields(p, {row(3, 3, 100, 20), row(10, 10, 50, 37), row(6, 6, 100, 50)}, false);
    ASSERT_EQ(yields.size(), 1u);
    const double D = 6, H = 50;
    const double cubicFeet =
        (0.00238 * D * D * H + 0.21949) * std::exp(-0.78579 * std::pow(3.0, 4.9206) / std::pow(D, 4.55878));
    EXPECT_NEAR(yields[0].volume, 100 * cubicFeet * 0.03, 1e-4 * 100 * cubicFeet * 0.03);
}

TEST(StandValue, ALowThinnedStandUsesItsOwnVolumeCoefficients) {
    Prices p;
    ASSERT_EQ(parsePrices(R"({"discount_rate": 0.05, "currency": "USD", "products": [
        {"name": "cf", "min_dbh": 1, "unit": "cubic_feet", "top": 4, "bark": "inside", "price": 1}]})",
                          p),
              std::nullopt);
    // Inside bark, thinned stand: 0.00203 D2H - 0.13431, times exp(-1.24933 t^5.22906 / D^5.02295).
    const double D = 10, H = 70;
    const double thinned =
        (0.00203 * D * D * H - 0.13431) * std::exp(-1.24933 * std::pow(4.0, 5.22906) / std::pow(D, 5.02295));
    const double unthinned =
        (0.00196 * D * D * H - 0.01039) * std::exp(-0.91505 * std::pow(4.0, 4.93352) / std::pow(D, 4.60614));
    EXPECT_NEAR(standYields(p, {row(10, 10, 1, 70)}, true)[0].volume, thinned, 1e-4 * thinned);
    EXPECT_NEAR(standYields(p, {row(10, 10, 1, 70)}, false)[0].volume, unthinned, 1e-4 * unthinned);
}

} // namespace
