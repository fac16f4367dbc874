#pragma once
// The result of a regime search written out: the best regimes as a table for people, or as JSON with each
// regime's macro in its text form, and the combinations skipped with their reasons.

#include "economics/optimizer.h"
#include "economics/prices.h"

#include <string>

namespace grovex::economics {

std::string searchText(const Prices& prices, const SearchResult& result);
std::string searchJson(const SearchResult& result);

} // namespace grovex::economics
