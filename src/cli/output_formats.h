#pragma once
// The three outputs of a projection: the fixed-width tables, JSON and CSV.

#include "cli/project_options.h"
#include "results/table_export.h"

#include <ostream>

namespace grovex::cli {

using grovex::floatText;
using grovex::jsonNumber;
using grovex::jsonString;
using grovex::writeCsv;
using grovex::writeJson;
using grovex::writeTablesText;

// The tables in the chosen format.
void writeTables(std::ostream& out, OutputFormat format, const GrowthModel& model, bool targetReached);

} // namespace grovex::cli
