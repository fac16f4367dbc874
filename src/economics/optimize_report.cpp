#include "economics/optimize_report.h"

#include "base/c_format.h"
#include "control/macro_text.h"
#include "economics/valuation_report.h"

#include <nlohmann/json.hpp>

namespace grovex::economics {
namespace {

using json = nlohmann::ordered_json;

json orNull(const std::optional<double>& value) {
    return value ? json(*value) : json(nullptr);
}

int64_t skippedCount(const SearchResult& result) {
    int64_t count = 0;
    for (const SkipCount& s : result.skipped) {
        count += s.count;
    }
    return count;
}

} // namespace

std::string searchText(const Prices& prices, const SearchResult& result) {
    const char* measure = result.levRanked ? "LEV" : "NPV";
    std::string out = cformat("Regimes ranked by %s per acre (%s), discount rate %.2f %%\n", measure,
                              prices.currency.c_str(), prices.discountRate * 100.0);
    out += cformat("%lld combinations: %lld valued, %lld skipped.\n\n", static_cast<long long>(result.combinations),
                   static_cast<long long>(result.valued), static_cast<long long>(skippedCount(result)));
    out += cformat("%4s %12s %12s %9s %5s  %s\n", "Rank", "LEV", "NPV", "IRR", "Best", "Regime");
    for (size_t k = 0; k < result.best.size(); ++k) {
        const RankedRegime& r = result.best[k];
        const Valuation& v = r.valuation;
        out += cformat("%4zu %12s %12s %9s %5s  %s\n", k + 1, money(v.lev).c_str(), money(v.npv).c_str(),
                       percent(v.irr).c_str(), v.bestAge ? std::to_string(*v.bestAge).c_str() : "-", r.text.c_str());
    }
    if (!result.skipped.empty()) {
        out += "\nSkipped combinations\n";
        for (const SkipCount& s : result.skipped) {
            out += cformat("%10lld  %s\n", static_cast<long long>(s.count), s.reason.c_str());
        }
    }
    return out;
}

std::string searchJson(const SearchResult& result) {
    json regimes = json::array();
    for (size_t k = 0; k < result.best.size(); ++k) {
        const RankedRegime& r = result.best[k];
        const Valuation& v = r.valuation;
        regimes.push_back({
            {"rank", k + 1},
            {"lev", orNull(v.lev)},
            {"npv", orNull(v.npv)},
            {"irr", orNull(v.irr)},
            {"eaa", orNull(v.eaa)},
            {"best_age", v.bestAge ? json(*v.bestAge) : json(nullptr)},
            {"value_at_best_age", orNull(v.valueAtBestAge)},
            {"harvest_age", r.harvestAge},
            {"regime", r.text},
            {"macro", macroText(r.macro)},
        });
    }
    json skipped = json::array();
    for (const SkipCount& s : result.skipped) {
        skipped.push_back({{"reason", s.reason}, {"count", s.count}});
    }
    const json root = {
        {"ranked_by", result.levRanked ? "lev" : "npv"},
        {"combinations", result.combinations},
        {"valued", result.valued},
        {"regimes", regimes},
        {"skipped", skipped},
    };
    return root.dump(2) + "\n";
}

} // namespace grovex::economics
