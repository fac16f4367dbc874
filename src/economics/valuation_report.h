#pragma once
// A valuation written out: as a text table for people (the command line, the desktop's Copy and Print), as
// JSON and as CSV for programs.

#include "economics/prices.h"
#include "economics/valuation.h"

#include <string>

namespace grovex::economics {

std::string valuationText(const Prices& prices, const Valuation& v);
std::string valuationJson(const Prices& prices, const Valuation& v);
// The cash flows ("year,age,item,amount"), then one row per measure with the year and age left empty.
std::string valuationCsv(const Valuation& v);

// "1234.57", or "-" for a measure that is not given.
std::string money(const std::optional<double>& amount);
// "7.25 %" for a rate of 0.0725, or "-".
std::string percent(const std::optional<double>& rate);

} // namespace grovex::economics
