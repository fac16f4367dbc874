#include "cli/output_formats.h"

namespace grovex::cli {

void writeTables(std::ostream& out, OutputFormat format, const GrowthModel& model, bool targetReached) {
    switch (format) {
    case OutputFormat::Json:
        writeJson(out, model, targetReached);
        break;
    case OutputFormat::Csv:
        writeCsv(out, model);
        break;
    case OutputFormat::Text:
        writeTablesText(out, model);
        break;
    }
}

} // namespace grovex::cli
