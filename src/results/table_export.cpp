#include "results/table_export.h"

#include "results/table_text.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <sstream>

namespace grovex {
namespace {

const char* kindName(int32_t kind) {
    return kind == kThinnedTreeTable ? "thinned" : "live";
}

} // namespace

std::string jsonString(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string jsonNumber(float value) {
    return std::isfinite(value) ? floatText(value) : "null";
}

// Every number goes out as finished text (to_string, to_chars), so no locale a caller's stream carries
// can group or localize it.
std::string floatText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void writeTablesText(std::ostream& out, const GrowthModel& model) {
    out << allTablesText(model.tables, 0, model.lastTable());
}

void writeJson(std::ostream& out, const GrowthModel& model, bool targetReached) {
    out << "{\"tables\":[";
    for (size_t t = 0; t < model.tables.size(); ++t) {
        const ResultTable& table = model.tables[t];
        out << (t ? ",\n" : "\n") << "{\"index\":" << std::to_string(t) << ",\"kind\":\"" << kindName(table.kind)
            << "\",\"age\":" << std::to_string(table.age) << ",\"summary\":" << jsonString(table.summary)
            << ",\"headings\":[";
        for (int c = 0; c < kColumnCount; ++c) {
            out << (c ? "," : "") << jsonString(table.headings[c]);
        }
        out << "],\"rows\":[";
        for (size_t r = 0; r < table.rows.size(); ++r) {
            out << (r ? "," : "") << '[';
            for (int c = 0; c < kColumnCount; ++c) {
                out << (c ? "," : "") << jsonNumber(table.rows[r][c]);
            }
            out << ']';
        }
        out << "]}";
    }
    out << "],\n\"stand\":{\"age\":" << std::to_string(model.age) << ",\"trees\":" << jsonNumber(model.ts)
        << ",\"basalArea\":" << jsonNumber(model.tba) << ",\"qmd\":" << jsonNumber(model.dq)
        << ",\"dominantHeight\":" << jsonNumber(model.hd) << ",\"averageHeight\":" << jsonNumber(model.hMean)
        << ",\"crownRatio\":" << jsonNumber(model.crMean) << ",\"relativeSpacing\":" << jsonNumber(model.rs)
        << ",\"cords\":" << jsonNumber(model.cords) << ",\"targetReached\":" << (targetReached ? "true" : "false")
        << "}}\n";
}

void writeCsv(std::ostream& out, const GrowthModel& model) {
    out << "table,kind,age,dbhClass,trees,avgHeight,basalArea,vol1,vol2,vol3\n";
    for (size_t t = 0; t < model.tables.size(); ++t) {
        const ResultTable& table = model.tables[t];
        for (int r = 0; r <= table.lastRow(); ++r) {
            const TableRow& row = table.rows[r];
            const bool total = r == table.lastRow();
            out << std::to_string(t) << ',' << kindName(table.kind) << ',' << std::to_string(table.age) << ','
                << (total ? std::string("Total") : cellText(table, r, 0, CellTextUse::Screen)) << ','
                << floatText(row[1]) << ',' << (total ? std::string() : floatText(row[2]));
            for (int c = 3; c < kColumnCount; ++c) {
                out << ',' << floatText(row[c]);
            }
            out << '\n';
        }
    }
}

} // namespace grovex

namespace grovex {

std::string exportTables(const GrowthModel& model, bool targetReached, TableExportFormat format) {
    std::ostringstream out;
    if (format == TableExportFormat::Json) {
        writeJson(out, model, targetReached);
    } else {
        writeCsv(out, model);
    }
    return std::move(out).str();
}

} // namespace grovex

namespace grovex {

TableExportFormat tableExportFormatFor(const std::string& path) {
    const size_t dot = path.find_last_of("./");
    std::string extension = dot == std::string::npos || path[dot] != '.' ? "" : path.substr(dot);
    for (char& c : extension) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return extension == ".json" ? TableExportFormat::Json : TableExportFormat::Csv;
}

IoStatus saveTablesExport(const GrowthModel& model, bool targetReached, const std::string& path,
                          FileSystem& fileSystem) {
    const std::string text = exportTables(model, targetReached, tableExportFormatFor(path));
    const auto* data = reinterpret_cast<const uint8_t*>(text.data());
    return writeFileAtomically(path, std::span<const uint8_t>(data, text.size()), fileSystem);
}

} // namespace grovex
