#include "economics/prices.h"

#include "base/file_io.h"
#include "economics/json_reading.h"

#include <array>
#include <cmath>
#include <set>
#include <string_view>
#include <utility>

namespace grovex::economics {
namespace {

using namespace jsonread;

constexpr std::array<std::pair<std::string_view, ProductUnit>, 6> kUnits{{
    {"cord", ProductUnit::Cord},
    {"mbf_international", ProductUnit::MbfInternational},
    {"mbf_doyle", ProductUnit::MbfDoyle},
    {"mbf_scribner", ProductUnit::MbfScribner},
    {"cubic_feet", ProductUnit::CubicFeet},
    {"ton", ProductUnit::Ton},
}};

// The largest price or cost taken: far beyond any real one, and small enough that no sum of them overflows.
constexpr double kLargestAmount = 1e9;

double amount(const json& value, const std::string& key) {
    const double x = number(value, key);
    if (std::abs(x) > kLargestAmount) {
        refuse(key, "must be at most 1000000000 in size");
    }
    return x;
}

double nonNegative(const json& value, const std::string& key) {
    const double x = amount(value, key);
    if (x < 0) {
        refuse(key, "must not be negative");
    }
    return x;
}

// An optional cost: 0 when the key is left out.
double cost(const json& object, const std::string& where, const char* key, bool mayBeNegative = false) {
    if (!object.contains(key)) {
        return 0;
    }
    const std::string name = join(where, key);
    return mayBeNegative ? amount(object.at(key), name) : nonNegative(object.at(key), name);
}

int dbhClass(const json& value, const std::string& key) {
    const double x = number(value, key);
    if (x != std::floor(x) || x < 0 || x > 100) {
        refuse(key, "must be a whole DBH class from 0 to 100 inches");
    }
    return static_cast<int>(x);
}

std::string text(const json& value, const std::string& key) {
    if (!value.is_string()) {
        refuse(key, "must be a text in double quotes");
    }
    return value.get<std::string>();
}

ProductUnit unitOf(const json& value, const std::string& key) {
    const std::string name = text(value, key);
    for (const auto& [unitName, unit] : kUnits) {
        if (name == unitName) {
            return unit;
        }
    }
    refuse(key, "unknown unit \"" + name +
                    "\" (the units are cord, mbf_international, mbf_doyle, mbf_scribner, cubic_feet and ton)");
}

Product product(const json& object, const std::string& where) {
    if (!object.is_object()) {
        refuse(where, "must be an object with name, min_dbh, unit and price");
    }
    Product p;
    p.name = text(member(object, where, "name"), join(where, "name"));
    if (p.name.empty()) {
        refuse(join(where, "name"), "must not be empty");
    }
    p.minDbh = dbhClass(member(object, where, "min_dbh"), join(where, "min_dbh"));
    if (object.contains("max_dbh")) {
        p.maxDbh = dbhClass(object.at("max_dbh"), join(where, "max_dbh"));
        if (*p.maxDbh < p.minDbh) {
            refuse(join(where, "max_dbh"), "must not be below min_dbh");
        }
    }
    p.unit = unitOf(member(object, where, "unit"), join(where, "unit"));
    p.price = nonNegative(member(object, where, "price"), join(where, "price"));
    const bool hasTop = p.unit == ProductUnit::CubicFeet || p.unit == ProductUnit::Ton;
    if (p.unit == ProductUnit::CubicFeet) {
        onlyKnownKeys(object, where, {"name", "min_dbh", "max_dbh", "unit", "price", "top", "bark"});
        const std::string bark = text(member(object, where, "bark"), join(where, "bark"));
        if (bark != "inside" && bark != "outside") {
            refuse(join(where, "bark"), "must be \"inside\" or \"outside\"");
        }
        p.insideBark = bark == "inside";
    } else if (hasTop) {
        onlyKnownKeys(object, where, {"name", "min_dbh", "max_dbh", "unit", "price", "top"});
    } else {
        onlyKnownKeys(object, where, {"name", "min_dbh", "max_dbh", "unit", "price"});
    }
    if (hasTop) {
        p.top = static_cast<float>(number(member(object, where, "top"), join(where, "top")));
        if (!(p.top >= 1 && p.top <= 40)) {
            refuse(join(where, "top"), "must be a top diameter from 1 to 40 inches");
        }
    }
    return p;
}

bool overlap(const Product& a, const Product& b) {
    const int aHigh = a.maxDbh.value_or(INT32_MAX);
    const int bHigh = b.maxDbh.value_or(INT32_MAX);
    return a.minDbh <= bHigh && b.minDbh <= aHigh;
}

std::vector<Product> products(const json& list) {
    if (!list.is_array() || list.empty()) {
        refuse("products", "must be a list of at least one product");
    }
    std::vector<Product> result;
    std::set<std::string> names;
    for (size_t k = 0; k < list.size(); ++k) {
        const std::string where = "products[" + std::to_string(k) + "]";
        Product p = product(list[k], where);
        if (!names.insert(p.name).second) {
            refuse(where + ".name", "\"" + p.name + "\" is given twice");
        }
        for (const Product& earlier : result) {
            if (overlap(earlier, p)) {
                refuse(where + ".min_dbh", "the DBH range of \"" + p.name + "\" overlaps that of \"" + earlier.name +
                                               "\"; each DBH class belongs to at most one product");
            }
        }
        result.push_back(std::move(p));
    }
    return result;
}

Costs costs(const json& object) {
    if (!object.is_object()) {
        refuse("costs", "must be an object");
    }
    onlyKnownKeys(object, "costs", {"establishment", "annual", "thinning", "fertilization", "harvest"});
    Costs c;
    c.establishment = cost(object, "costs", "establishment");
    c.annual = cost(object, "costs", "annual", true);
    c.thinning = cost(object, "costs", "thinning");
    c.harvest = cost(object, "costs", "harvest");
    if (object.contains("fertilization")) {
        const json& fertilization = object.at("fertilization");
        if (!fertilization.is_object()) {
            refuse("costs.fertilization", "must be an object");
        }
        const std::string where = "costs.fertilization";
        onlyKnownKeys(fertilization, where, {"per_application", "per_pound_nitrogen", "phosphorus"});
        c.fertilization.perApplication = cost(fertilization, where, "per_application");
        c.fertilization.perPoundNitrogen = cost(fertilization, where, "per_pound_nitrogen");
        c.fertilization.phosphorus = cost(fertilization, where, "phosphorus");
    }
    return c;
}

Prices pricesOf(const json& root) {
    if (!root.is_object()) {
        refuse("(top level)", "must be an object with discount_rate, currency, products and costs");
    }
    onlyKnownKeys(root, "", {"discount_rate", "currency", "tons_per_cubic_foot", "products", "costs"});
    Prices p;
    p.discountRate = number(member(root, "", "discount_rate"), "discount_rate");
    if (!(p.discountRate > 0 && p.discountRate < 1)) {
        refuse("discount_rate", "must be a real rate per year above 0 and below 1 (0.05 for 5 percent)");
    }
    p.currency = text(member(root, "", "currency"), "currency");
    if (root.contains("tons_per_cubic_foot")) {
        p.tonsPerCubicFoot = number(root.at("tons_per_cubic_foot"), "tons_per_cubic_foot");
        if (!(*p.tonsPerCubicFoot > 0 && *p.tonsPerCubicFoot < 1)) {
            refuse("tons_per_cubic_foot", "must be above 0 and below 1 (green pine weighs about 0.03)");
        }
    }
    p.products = products(member(root, "", "products"));
    for (size_t k = 0; k < p.products.size(); ++k) {
        if (p.products[k].unit == ProductUnit::Ton && !p.tonsPerCubicFoot) {
            refuse("tons_per_cubic_foot",
                   "missing; products[" + std::to_string(k) + "] (" + p.products[k].name + ") is sold by the ton");
        }
    }
    if (root.contains("costs")) {
        p.costs = costs(root.at("costs"));
    }
    return p;
}

} // namespace

const char* unitName(ProductUnit unit) {
    for (const auto& [name, u] : kUnits) {
        if (u == unit) {
            return name.data();
        }
    }
    return "";
}

std::optional<std::string> parsePrices(const std::string& text, Prices& prices) {
    return parseJson(text, [&](const json& document) { prices = pricesOf(document); });
}

std::optional<std::string> readPrices(const std::string& path, Prices& prices) {
    const FileContent content = readFile(path, FileCap{"prices", kLargestPricesFile});
    if (!content.ok()) {
        return content.error;
    }
    if (auto refused = parsePrices(std::string(content.bytes.begin(), content.bytes.end()), prices)) {
        return path + ": " + *refused;
    }
    return std::nullopt;
}

} // namespace grovex::economics
