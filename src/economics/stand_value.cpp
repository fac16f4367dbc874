#include "economics/stand_value.h"

#include "model/growth_model.h"
#include "model/numerics.h"
#include "model/volumes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace grovex::economics {
namespace {

using numerics::f32;

constexpr float kBasalAreaFactor = 0.005454f; // square feet per square inch of DBH
constexpr int kLargestClassRow = 40;          // the stock tables show larger trees only in the total row
constexpr float kSmallestRowTrees = 0.1f;     // a class with fewer trees per acre has no row

const Product* productOf(const Prices& prices, int dbhClass) {
    for (const Product& p : prices.products) {
        if (dbhClass >= p.minDbh && (!p.maxDbh || dbhClass <= *p.maxDbh)) {
            return &p;
        }
    }
    return nullptr;
}

// c t^e1, the part of a top ratio that depends on the top alone. A run values the same few tops for every
// class of every year, so the last few are kept, one set per thread.
double topTerm(float c, float e1, float top) {
    struct Kept {
        float c, e1, top;
        double term;
    };
    thread_local std::array<Kept, 8> kept{};
    thread_local size_t next = 0;
    for (const Kept& k : kept) {
        if (k.c == c && k.e1 == e1 && k.top == top) {
            return k.term;
        }
    }
    const double term = c * std::pow(static_cast<double>(top), static_cast<double>(e1));
    kept[next] = Kept{c, e1, top, term};
    next = (next + 1) % kept.size();
    return term;
}

// TopRatio of the volume equations, with c t^e1 kept from one class to the next: the same float result.
float topRatio(float c, float e1, float e2, float top, float dbh) {
    const float argument = f32(topTerm(c, e1, top) / std::pow(static_cast<double>(dbh), static_cast<double>(e2)));
    return f32(std::exp(static_cast<double>(argument)));
}

// Cubic feet to a top diameter, outside or inside bark; nothing for a tree no thicker than the top.
double cubicFeetToTop(const VolumeCoefficients& k, float D2H, float dbh, float top, bool insideBark) {
    if (!(dbh > top)) {
        return 0;
    }
    return insideBark
               ? static_cast<double>(TotalVolumeInside(k, D2H)) * topRatio(k.cInside, k.e1Inside, k.e2Inside, top, dbh)
               : static_cast<double>(TotalVolumeOutside(k, D2H)) *
                     topRatio(k.cOutside, k.e1Outside, k.e2Outside, top, dbh);
}

double boardFeet(int rule, float D2H) {
    return D2H >= kSmallestBoardFootD2H ? static_cast<double>(BoardFeet(rule, D2H)) : 0.0;
}

// The quadratic mean DBH of a class row.
float classDbh(const ClassRow& row) {
    return f32(std::sqrt(static_cast<double>(row.basalArea) / (static_cast<double>(row.trees) * kBasalAreaFactor)));
}

template <typename Visit>
void forEachValuedClass(const Prices& prices, const std::vector<ClassRow>& rows, bool thinnedCoefficients,
                        Visit visit) {
    for (const ClassRow& row : rows) {
        const Product* product = productOf(prices, row.dbhClass);
        if (product == nullptr || !(row.trees > 0)) {
            continue;
        }
        const double volume = row.trees * treeVolume(prices, *product, classDbh(row), row.averageHeight, row.dbhClass,
                                                     thinnedCoefficients);
        visit(*product, volume);
    }
}

} // namespace

double treeVolume(const Prices& prices, const Product& product, float dbh, float height, int dbhClass,
                  bool thinnedCoefficients) {
    const VolumeCoefficients& k = thinnedCoefficients ? kThinnedCoefficients : kUnthinnedCoefficients;
    const float D2H = f32(static_cast<double>(dbh) * dbh * height);
    double volume = 0;
    switch (product.unit) {
    case ProductUnit::Cord: {
        const int perCord = CubicFeetPerCord(dbhClass);
        volume = perCord > 0 ? cubicFeetToTop(k, D2H, dbh, 4.0f, false) / perCord : 0.0;
        break;
    }
    case ProductUnit::MbfInternational:
        volume = boardFeet(1, D2H) / 1000.0;
        break;
    case ProductUnit::MbfDoyle:
        volume = boardFeet(2, D2H) / 1000.0;
        break;
    case ProductUnit::MbfScribner:
        volume = boardFeet(3, D2H) / 1000.0;
        break;
    case ProductUnit::CubicFeet:
        volume = cubicFeetToTop(k, D2H, dbh, product.top, product.insideBark);
        break;
    case ProductUnit::Ton:
        volume = cubicFeetToTop(k, D2H, dbh, product.top, false) * prices.tonsPerCubicFoot.value_or(0);
        break;
    }
    return volume > 0 ? volume : 0.0;
}

std::vector<ClassRow> classRowsOf(const ResultTable& table) {
    std::vector<ClassRow> rows;
    for (int r = 0; r < table.lastRow(); ++r) {
        const TableRow& row = table.rows[static_cast<size_t>(r)];
        rows.push_back(ClassRow{static_cast<int>(row[0]), row[1], row[2], row[3]});
    }
    return rows;
}

int smallestProductClass(const Prices& prices) {
    int smallest = kLargestClassRow + 1;
    for (const Product& p : prices.products) {
        smallest = std::min(smallest, p.minDbh);
    }
    return smallest;
}

void liveClassRows(const GrowthModel& model, std::vector<ClassRow>& rows, int smallestClass) {
    // The thinnest tree gathered: one of the smallest class kept, and always a tree with a diameter.
    const float thinnest =
        smallestClass > 1 ? static_cast<float>(smallestClass) - 0.5f : std::numeric_limits<float>::denorm_min();
    struct Sums {
        float trees = 0;
        float heightTimesTrees = 0;
        float basalArea = 0;
    };
    std::array<Sums, kLargestClassRow + 1> classes{};
    // Records past nrec are empty: every run starts from a cleared register, and generation, extraction,
    // growth and thinning keep to the first nrec records.
    const int records = std::clamp(model.nrec, 0, kMaxRecords);
    for (int i = 1; i <= records; ++i) {
        const float d = model.dbh[static_cast<size_t>(i)];
        if (!(d >= thinnest)) {
            continue;
        }
        const int cls = numerics::dbhClass(d);
        if (cls > kLargestClassRow) {
            continue;
        }
        const float n = numerics::countedTrees(model.freq[static_cast<size_t>(i)]);
        const float ht = model.ht[static_cast<size_t>(i)];
        const float D2 = f32(static_cast<double>(d) * d);
        Sums& s = classes[static_cast<size_t>(cls)];
        s.trees = f32(static_cast<double>(s.trees) + n);
        s.heightTimesTrees = f32(s.heightTimesTrees + static_cast<double>(ht) * n);
        s.basalArea = f32(s.basalArea + static_cast<double>(f32(kBasalAreaFactor * static_cast<double>(D2))) * n);
    }
    // A class without enough trees has no row, as in the table; one without records has none at all.
    rows.clear();
    for (int c = 1; c <= kLargestClassRow; ++c) {
        const Sums& s = classes[static_cast<size_t>(c)];
        if (s.trees >= kSmallestRowTrees) {
            rows.push_back(ClassRow{c, s.trees, f32(static_cast<double>(s.heightTimesTrees) / s.trees), s.basalArea});
        }
    }
}

std::vector<ProductYield> standYields(const Prices& prices, const std::vector<ClassRow>& rows,
                                      bool thinnedCoefficients) {
    std::vector<ProductYield> yields;
    for (size_t k = 0; k < prices.products.size(); ++k) {
        yields.push_back(ProductYield{k, prices.products[k].name, 0, 0});
    }
    forEachValuedClass(prices, rows, thinnedCoefficients, [&](const Product& product, double volume) {
        ProductYield& y = yields[static_cast<size_t>(&product - prices.products.data())];
        y.volume += volume;
        y.value += volume * product.price;
    });
    std::erase_if(yields, [](const ProductYield& y) { return y.volume <= 0; });
    return yields;
}

double standValue(const Prices& prices, const std::vector<ClassRow>& rows, bool thinnedCoefficients) {
    double value = 0;
    forEachValuedClass(prices, rows, thinnedCoefficients,
                       [&](const Product& product, double volume) { value += volume * product.price; });
    return value;
}

} // namespace grovex::economics
