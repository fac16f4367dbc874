// The prices file: what it accepts, and that every mistake is refused with the key it is about.

#include "economics/prices.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using grovex::economics::parsePrices;
using grovex::economics::Prices;
using grovex::economics::ProductUnit;

constexpr const char* kSouthernPine = R"({
  "discount_rate": 0.05, "currency": "USD", "tons_per_cubic_foot": 0.031,
  "products": [
    {"name": "pulpwood", "min_dbh": 5, "max_dbh": 8, "unit": "ton", "top": 3, "price": 9},
    {"name": "chip-n-saw", "min_dbh": 9, "max_dbh": 11, "unit": "cubic_feet", "top": 4, "bark": "inside", "price": 0.5},
    {"name": "sawtimber", "min_dbh": 12, "unit": "mbf_scribner", "price": 250}
  ],
  "costs": {"establishment": 350, "annual": -2.5, "thinning": 15,
            "fertilization": {"per_application": 25, "per_pound_nitrogen": 0.55, "phosphorus": 40}, "harvest": 10}
})";

TEST(PricesFile, ReadsEveryKey) {
    Prices p;
    ASSERT_EQ(parsePrices(kSouthernPine, p), std::nullopt);
    EXPECT_DOUBLE_EQ(p.discountRate, 0.05);
    EXPECT_EQ(p.currency, "USD");
    EXPECT_DOUBLE_EQ(*p.tonsPerCubicFoot, 0.031);
    ASSERT_EQ(p.products.size(), 3u);
    EXPECT_EQ(p.products[0].unit, ProductUnit::Ton);
    EXPECT_EQ(*p.products[0].maxDbh, 8);
    EXPECT_FLOAT_EQ(p.products[0].top, 3.0f);
    EXPECT_TRUE(p.products[1].insideBark);
    EXPECT_EQ(p.products[2].unit, ProductUnit::MbfScribner);
    EXPECT_FALSE(p.products[2].maxDbh.has_value());
    EXPECT_DOUBLE_EQ(p.costs.annual, -2.5); // a yearly income, such as a lease
    EXPECT_DOUBLE_EQ(p.costs.fertilization.perPoundNitrogen, 0.55);
    EXPECT_DOUBLE_EQ(p.costs.harvest, 10);
}

TEST(PricesFile, CostsLeftOutAreZero) {
    Prices p;
    ASSERT_EQ(parsePrices(R"({"discount_rate": 0.04, "currency": "EUR",
                              "products": [{"name": "pulp", "min_dbh": 5, "unit": "cord", "price": 20}]})",
                          p),
              std::nullopt);
    EXPECT_EQ(p.costs.establishment, 0);
    EXPECT_EQ(p.costs.fertilization.phosphorus, 0);
}

// Each damaged file is refused with a message that starts with the key it is about.
TEST(PricesFile, RefusesWithTheKey) {
    const std::string products = R"("products": [{"name": "pulp", "min_dbh": 5, "unit": "cord", "price": 20}])";
    const std::string head = R"({"currency": "USD", )" + products;
    const std::vector<std::pair<std::string, std::string>> cases{
        {head + "}", "discount_rate: missing"},
        {head + R"(, "discount_rate": 0})", "discount_rate: must be a real rate"},
        {head + R"(, "discount_rate": 1})", "discount_rate: must be a real rate"},
        {head + R"(, "discount_rate": "5%"})", "discount_rate: must be a number"},
        {head + R"(, "discount_rate": 0.05, "discount": 0.05})", "discount: not a key of this file"},
        {head + R"(, "discount_rate": 0.05, "costs": {"establishmnet": 300}})",
         "costs.establishmnet: not a key of this file"},
        {head + R"(, "discount_rate": 0.05, "costs": {"harvest": -5}})", "costs.harvest: must not be negative"},
        {head + R"(, "discount_rate": 0.05, "costs": {"fertilization": {"per_pound": 1}}})",
         "costs.fertilization.per_pound: not a key"},
        {R"({"discount_rate": 0.05, "currency": "USD", "products": []})", "products: must be a list of at least one"},
        {R"({"discount_rate": 0.05, "currency": "USD", "products": [{"name": "pulp", "min_dbh": 5, "unit": "cords",
            "price": 20}]})",
         "products[0].unit: unknown unit \"cords\""},
        {R"({"discount_rate": 0.05, "currency": "USD", "products": [{"name": "pulp", "min_dbh": 5, "unit": "cord",
            "price": -1}]})",
         "products[0].price: must not be negative"},
        {R"({"discount_rate": 0.05, "currency": "USD", "products": [{"name": "pulp", "min_dbh": 5, "unit": "ton",
            "top": 3, "price": 9}]})",
         "tons_per_cubic_foot: missing; products[0] (pulp) is sold by the ton"},
        {R"({"discount_rate": 0.05, "currency": "USD", "products": [{"name": "cf", "min_dbh": 5, "unit": "cubic_feet",
            "top": 4, "price": 1}]})",
         "products[0].bark: missing"},
        {R"({"discount_rate": 0.05, "currency": "USD", "products": [{"name": "pulp", "min_dbh": 5, "unit": "cord",
            "top": 4, "price": 1}]})",
         "products[0].top: not a key of this file"},
        {R"({"discount_rate": 0.05, "currency": "USD", "products": [
            {"name": "pulp", "min_dbh": 5, "max_dbh": 9, "unit": "cord", "price": 20},
            {"name": "saw", "min_dbh": 9, "unit": "mbf_doyle", "price": 200}]})",
         "products[1].min_dbh: the DBH range of \"saw\" overlaps that of \"pulp\""},
        {R"({"discount_rate": 0.05, "currency": "USD", "products": [
            {"name": "pulp", "min_dbh": 9, "max_dbh": 5, "unit": "cord", "price": 20}]})",
         "products[0].max_dbh: must not be below min_dbh"},
        {R"({"discount_rate": 0.05, "currency": "USD", "products": [
            {"name": "pulp", "min_dbh": 5.5, "unit": "cord", "price": 20}]})",
         "products[0].min_dbh: must be a whole DBH class"},
        {R"({"discount_rate": 0.05, "currency": "USD", "products": [{"name": "pulp", "min_dbh": 5, "unit": "cord",
            "price": 1e12}]})",
         "products[0].price: must be at most 1000000000"},
        {R"({"discount_rate": 0.05, "currency": "USD",)", "not a JSON file: "},
        // Beyond the range of a double: the parser reports it with another kind of error than bad syntax.
        {R"({"discount_rate": 4e447})", "cannot be read: number overflow parsing '4e447'"},
    };
    for (const auto& [text, expected] : cases) {
        Prices p;
        const auto refused = parsePrices(text, p);
        ASSERT_TRUE(refused.has_value()) << text;
        EXPECT_EQ(refused->rfind(expected, 0), 0u) << "got: " << *refused << "\nfor: " << text;
    }
}

} // namespace
