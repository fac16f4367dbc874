#pragma once
// The tables of a simulation as the command line prints them and File > Export Tables writes them: the
// fixed-width text, JSON and CSV.

#include "model/growth_model.h"

#include <ostream>
#include <string>

namespace grovex {

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

} // namespace grovex

namespace grovex {

// The two formats of File > Export Tables, with the bytes `grovex-cli project --format csv|json` prints.
enum class TableExportFormat { Csv, Json };
std::string exportTables(const GrowthModel& model, bool targetReached, TableExportFormat format);

} // namespace grovex

#include "base/file_io.h"

namespace grovex {

// The export format a file name asks for: ".json" (any case) is JSON, anything else CSV.
TableExportFormat tableExportFormatFor(const std::string& path);
// Writes the tables to `path` through the atomic writer: the file is complete or as it was before.
IoStatus saveTablesExport(const GrowthModel& model, bool targetReached, const std::string& path,
                          FileSystem& fileSystem = systemFileSystem());

} // namespace grovex
