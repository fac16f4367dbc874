#include "economics/valuation_report.h"

#include "base/c_format.h"

#include <nlohmann/json.hpp>

namespace grovex::economics {
namespace {

using json = nlohmann::ordered_json;

json orNull(const std::optional<double>& value) {
    return value ? json(*value) : json(nullptr);
}

std::string csvText(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

} // namespace

std::string money(const std::optional<double>& amount) {
    return amount ? cformat("%.2f", *amount) : "-";
}

std::string percent(const std::optional<double>& rate) {
    return rate ? cformat("%.2f %%", *rate * 100.0) : "-";
}

std::string valuationText(const Prices& prices, const Valuation& v) {
    std::string out = cformat("Cash flows per acre (%s), discount rate %.2f %%\n\n", prices.currency.c_str(),
                              prices.discountRate * 100.0);
    out += cformat("%5s %5s  %-40s %12s\n", "Year", "Age", "Item", "Amount");
    for (const CashFlow& f : v.flows) {
        out += cformat("%5d %5d  %-40s %12.2f\n", f.year, f.year + v.startAge, f.item.c_str(), f.amount);
    }
    out += "\nMeasures per acre\n";
    out += cformat("  %-30s %s\n", "Net present value (NPV)", money(v.npv).c_str());
    out += cformat("  %-30s %s\n", "Land expectation value (LEV)", money(v.lev).c_str());
    out += cformat("  %-30s %s\n", "Internal rate of return (IRR)", percent(v.irr).c_str());
    out += cformat("  %-30s %s\n", "Equivalent annual annuity", money(v.eaa).c_str());
    out += cformat("  %-30s %d\n", "Final harvest age", v.harvestAge);
    if (v.bestAge) {
        out += cformat("  %-30s %d (%s %s)\n", "Best final harvest age", *v.bestAge, v.levRanked ? "LEV" : "NPV",
                       money(v.valueAtBestAge).c_str());
    } else {
        out += cformat("  %-30s -\n", "Best final harvest age");
    }
    if (!v.notes.empty()) {
        out += "\nNotes\n";
        for (const std::string& note : v.notes) {
            out += "  " + note + "\n";
        }
    }
    return out;
}

std::string valuationJson(const Prices& prices, const Valuation& v) {
    json flows = json::array();
    for (const CashFlow& f : v.flows) {
        flows.push_back({{"year", f.year}, {"age", f.year + v.startAge}, {"item", f.item}, {"amount", f.amount}});
    }
    const json root = {
        {"currency", prices.currency},
        {"discount_rate", prices.discountRate},
        {"harvest_age", v.harvestAge},
        {"npv", orNull(v.npv)},
        {"lev", orNull(v.lev)},
        {"irr", orNull(v.irr)},
        {"eaa", orNull(v.eaa)},
        {"best_age", v.bestAge ? json(*v.bestAge) : json(nullptr)},
        {"value_at_best_age", orNull(v.valueAtBestAge)},
        {"cash_flows", flows},
        {"notes", v.notes},
    };
    return root.dump(2) + "\n";
}

std::string valuationCsv(const Valuation& v) {
    std::string out = "year,age,item,amount\n";
    for (const CashFlow& f : v.flows) {
        out += cformat("%d,%d,", f.year, f.year + v.startAge) + csvText(f.item) + cformat(",%.6f\n", f.amount);
    }
    const auto measure = [&out](const char* name, const std::optional<double>& value) {
        out += std::string(",,") + name + "," + (value ? cformat("%.6f", *value) : std::string()) + "\n";
    };
    measure("npv", v.npv);
    measure("lev", v.lev);
    measure("irr", v.irr);
    measure("eaa", v.eaa);
    measure("best_age", v.bestAge ? std::optional<double>(*v.bestAge) : std::nullopt);
    measure("value_at_best_age", v.valueAtBestAge);
    return out;
}

} // namespace grovex::economics
