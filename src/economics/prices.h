#pragma once
// Prices and costs of a stand's products and treatments: what a regime's cash flows are made of. Read from a
// JSON file whose keys are exactly those below; a key the file does not know is refused, so that a misspelt
// cost is never taken for a cost of 0.

#include <optional>
#include <string>
#include <vector>

namespace grovex::economics {

enum class ProductUnit {
    Cord,             // cords to a 4-inch top, by the stock tables' cubic feet per cord
    MbfInternational, // thousand board feet, International 1/4-inch rule
    MbfDoyle,
    MbfScribner,
    CubicFeet, // to the product's top, inside or outside bark
    Ton,       // cubic feet outside bark to the product's top times tons_per_cubic_foot
};

struct Product {
    std::string name;
    int minDbh = 0;            // DBH classes, inches, both ends included
    std::optional<int> maxDbh; // no upper end when not given
    ProductUnit unit = ProductUnit::Cord;
    float top = 0;           // inches; cubic_feet and ton
    bool insideBark = false; // cubic_feet: "inside" or "outside" bark
    double price = 0;        // currency per unit
};

struct FertilizationCosts {
    double perApplication = 0;
    double perPoundNitrogen = 0;
    double phosphorus = 0; // per application that adds phosphorus
};

// Every cost per acre; a cost left out is 0. `annual` may be negative: a yearly income such as a lease.
struct Costs {
    double establishment = 0; // at age 0, bare land only
    double annual = 0;
    double thinning = 0; // per thinning entry
    FertilizationCosts fertilization;
    double harvest = 0; // at the final harvest
};

struct Prices {
    double discountRate = 0; // real, per year
    std::string currency;
    std::optional<double> tonsPerCubicFoot;
    std::vector<Product> products;
    Costs costs;
};

// The largest prices file read: a few hundred products with long names.
inline constexpr size_t kLargestPricesFile = 1 << 20;

// Reads prices from JSON text. A refusal names the key it is about ("products[2].max_dbh: ...").
std::optional<std::string> parsePrices(const std::string& text, Prices& prices);

// Reads a prices file; a refusal starts with the file's name.
std::optional<std::string> readPrices(const std::string& path, Prices& prices);

// "cord", "mbf_doyle", ...: the unit's name in the file.
const char* unitName(ProductUnit unit);

} // namespace grovex::economics
