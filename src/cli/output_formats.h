#pragma once
// The three outputs of a projection: the fixed-width tables, JSON and CSV.

#include "cli/project_options.h"
#include "model/growth_model.h"

#include <ostream>
#include <string>

namespace grovex::cli {

// The shortest text that reads back to the same float.
std::string floatText(float value);

// A JSON string literal (quotes included); invalid UTF-8 is replaced.
std::string jsonString(const std::string& text);
// A JSON number; JSON has no NaN or infinity, so such a value is written as null.
std::string jsonNumber(float value);

// Every table as the fixed-width text that Copy puts on the clipboard (lines end with CR LF).
void writeTablesText(std::ostream& out, const GrowthModel& model);
// {"tables":[{index, kind, age, summary, headings, rows}], "stand":{...}}
void writeJson(std::ostream& out, const GrowthModel& model, bool targetReached);
// A header line, then one line per table row: table index, kind, age and the seven cells.
void writeCsv(std::ostream& out, const GrowthModel& model);

// The tables in the chosen format.
void writeTables(std::ostream& out, OutputFormat format, const GrowthModel& model, bool targetReached);

} // namespace grovex::cli
