// Prices files: any text is refused with a message that names a key, or accepted as prices that keep every
// promise of the file's rules; accepted prices value a stand to finite, non-negative amounts.

#include "economics/prices.h"
#include "economics/stand_value.h"
#include "economics/valuation.h"
#include "fuzz_input.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using namespace grovex;
using namespace grovex::economics;

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkRules(const Prices& p) {
    require(p.discountRate > 0 && p.discountRate < 1);
    require(!p.products.empty());
    for (size_t a = 0; a < p.products.size(); ++a) {
        const Product& product = p.products[a];
        require(product.price >= 0 && std::isfinite(product.price));
        require(!product.maxDbh || *product.maxDbh >= product.minDbh);
        require(product.unit != ProductUnit::Ton || p.tonsPerCubicFoot.has_value());
        for (size_t b = 0; b < a; ++b) {
            const Product& other = p.products[b];
            const bool apart =
                (product.maxDbh && *product.maxDbh < other.minDbh) || (other.maxDbh && *other.maxDbh < product.minDbh);
            require(apart);
        }
    }
}

// A stand of one row per class from 1 to 40 inches.
std::vector<ClassRow> wideStand() {
    std::vector<ClassRow> rows;
    for (int cls = 1; cls <= 40; ++cls) {
        const float trees = 10;
        rows.push_back(ClassRow{cls, trees, 20.0f + 2.0f * static_cast<float>(cls),
                                trees * 0.005454f * static_cast<float>(cls * cls)});
    }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    Prices prices;
    const auto refused = parsePrices(std::string(input.restAsText()), prices);
    if (refused) {
        require(!refused->empty());
        return 0;
    }
    checkRules(prices);
    for (bool thinned : {false, true}) {
        const double value = standValue(prices, wideStand(), thinned);
        require(std::isfinite(value) && value >= 0);
    }
    return 0;
}
