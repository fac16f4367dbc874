#pragma once
// What a stand's trees are worth: each one-inch DBH class goes to the product whose DBH range holds it, with
// the product's volume from the model's own volume equations for a tree of the class's quadratic mean DBH
// and average height. The same class values are read from a stock table's rows and from the live trees of
// a growing stand, so a stand valued at a table's age is worth what the table is worth.

#include "economics/prices.h"
#include "model/result_table.h"

#include <vector>

namespace grovex {
class GrowthModel;
}

namespace grovex::economics {

// One DBH class as a stock table row holds it, per acre.
struct ClassRow {
    int dbhClass = 0;
    float trees = 0;
    float averageHeight = 0; // feet
    float basalArea = 0;     // square feet
};

// The class rows of a table (its total row left out).
std::vector<ClassRow> classRowsOf(const ResultTable& table);

// The class rows a live-tree table of the stand would hold now, summed as the table sums them; classes below
// `smallestClass` are left out (a valuation passes its smallest product's class: the trees below are worth
// nothing).
void liveClassRows(const GrowthModel& model, std::vector<ClassRow>& rows, int smallestClass = 1);

// The smallest DBH class any product takes.
int smallestProductClass(const Prices& prices);

// What one product of a stand yields.
struct ProductYield {
    size_t productIndex = 0; // in the prices file's list
    std::string product;
    double volume = 0; // in the product's unit, per acre
    double value = 0;  // currency per acre
};

// The yields by product (in the order of the prices file, products without volume left out).
// `thinnedCoefficients`: the volume equations of a low-thinned stand.
std::vector<ProductYield> standYields(const Prices& prices, const std::vector<ClassRow>& rows,
                                      bool thinnedCoefficients);

// The sum of the yields' values, without the list.
double standValue(const Prices& prices, const std::vector<ClassRow>& rows, bool thinnedCoefficients);

// Volume of one tree in a product's unit.
double treeVolume(const Prices& prices, const Product& product, float dbh, float height, int dbhClass,
                  bool thinnedCoefficients);

} // namespace grovex::economics
