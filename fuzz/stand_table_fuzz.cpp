// Stand tables: any bytes are either refused with a message that names the file (and the line, if about one), or
// give a table whose reader hands out exactly the rows the check counted, each with its stand_id, known
// values only where a cell is filled and one value per user column. The rows written back as quoted CSV
// under the same header read back the same.

#include "batch/stand_table.h"
#include "scratch_directory.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

using namespace grovex;
using namespace grovex::batch;

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    require(static_cast<bool>(out));
}

// Well-formed UTF-8, checked apart from the reader: no overlong forms, surrogates or code points past U+10FFFF.
bool isUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80                    ? 1
                              : lead >= 0xC2 && lead <= 0xDF ? 2
                              : lead >= 0xE0 && lead <= 0xEF ? 3
                              : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                             : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        const auto second = static_cast<unsigned char>(text[i + 1 < text.size() ? i + 1 : i]);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
            (lead == 0xF4 && second > 0x8F)) {
            return false;
        }
        i += length;
    }
    return true;
}

// A refusal names the file, and the line when it is about one of the input's lines: "PATH: line N: ...".
bool namesTheFileAndLine(const std::string& message, const std::string& path, std::string_view bytes) {
    if (message.find(path) == std::string::npos) {
        return false;
    }
    const std::string prefix = path + ": line ";
    if (message.rfind(prefix, 0) != 0) {
        return true;
    }
    size_t end = prefix.size();
    long long line = 0;
    while (end < message.size() && end < prefix.size() + 12 && message[end] >= '0' && message[end] <= '9') {
        line = line * 10 + (message[end] - '0');
        ++end;
    }
    // A lone CR ends a row too.
    long long lines = 1;
    for (size_t k = 0; k < bytes.size(); ++k) {
        lines += bytes[k] == '\n' || (bytes[k] == '\r' && (k + 1 == bytes.size() || bytes[k + 1] != '\n')) ? 1 : 0;
    }
    return end > prefix.size() && message.compare(end, 2, ": ") == 0 && line >= 1 && line <= lines;
}

std::vector<StandRecord> readAll(const std::string& path, const StandTableCheck& check) {
    StandTableReader reader(path, check.columns);
    std::vector<StandRecord> records;
    StandRecord record;
    std::string error;
    while (reader.next(record, error)) {
        records.push_back(record);
    }
    require(error.empty());
    return records;
}

// Each column once: stand_id, a known column or a user column.
void checkColumns(const StandTableColumns& columns) {
    std::vector<int> uses(columns.names.size(), 0);
    require(columns.standId < uses.size());
    ++uses[columns.standId];
    for (const auto& known : columns.known) {
        if (known) {
            require(*known < uses.size());
            ++uses[*known];
        }
    }
    for (size_t k : columns.user) {
        require(k < uses.size());
        ++uses[k];
    }
    for (int count : uses) {
        require(count == 1);
    }
}

void checkRecords(const StandTableCheck& check, const std::vector<StandRecord>& records) {
    require(static_cast<int64_t>(records.size()) == check.rows);
    std::set<std::string> ids;
    std::set<std::string> seenTreeLists;
    std::vector<std::string> treeLists;
    int64_t lastLine = 1; // the header's
    for (size_t r = 0; r < records.size(); ++r) {
        const StandRecord& record = records[r];
        require(record.rowIndex == static_cast<int64_t>(r));
        require(record.line > lastLine);
        lastLine = record.line;
        require(!record.standId.empty());
        require(ids.insert(record.standId).second);
        for (size_t k = 0; k < kKnownColumns.size(); ++k) {
            require(!record.known[k] || (check.columns.known[k] && !record.known[k]->empty()));
        }
        require(record.userValues.size() == check.columns.user.size());
        if (const auto& treeList = record.known.back(); treeList && seenTreeLists.insert(*treeList).second) {
            treeLists.push_back(*treeList);
        }
    }
    require(treeLists == check.treeLists);
}

void appendField(std::string& out, const std::string& field) {
    out += '"';
    for (char c : field) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

// The header and the rows as RFC 4180 CSV, every field quoted, CR LF line ends; empty when a row would
// be longer than the reader takes.
std::string quotedTable(const StandTableColumns& columns, const std::vector<StandRecord>& records) {
    std::string table;
    const auto appendRecord = [&](const std::vector<std::string>& fields) {
        const size_t start = table.size();
        for (size_t k = 0; k < fields.size(); ++k) {
            if (k > 0) {
                table += ',';
            }
            appendField(table, fields[k]);
        }
        table += "\r\n";
        return table.size() - start <= CsvRecordReader::kMaxRecordBytes;
    };
    if (!appendRecord(columns.names)) {
        return {};
    }
    for (const StandRecord& record : records) {
        std::vector<std::string> fields(columns.names.size());
        fields[columns.standId] = record.standId;
        for (size_t k = 0; k < kKnownColumns.size(); ++k) {
            if (columns.known[k]) {
                fields[*columns.known[k]] = record.known[k].value_or("");
            }
        }
        for (size_t k = 0; k < columns.user.size(); ++k) {
            fields[columns.user[k]] = record.userValues[k];
        }
        if (!appendRecord(fields)) {
            return {};
        }
    }
    return table;
}

bool sameRecord(const StandRecord& a, const StandRecord& b) {
    return a.rowIndex == b.rowIndex && a.standId == b.standId && a.known == b.known && a.userValues == b.userValues;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = fuzz::scratchDirectory("grovex_stand_table_fuzz");
    static const std::string path = folder + "stands.csv";
    static const std::string rewrittenPath = folder + "rewritten.csv";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    writeFile(path, bytes);

    // Commas, quotes and line ends are ASCII, so the file is UTF-8 exactly when every field is.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const bool utf8 = isUtf8(bytes.substr(bytes.rfind(kByteOrderMark, 0) == 0 ? kByteOrderMark.size() : 0));
    StandTableCheck check;
    if (const std::optional<std::string> refused = checkStandTable(path, check)) {
        require(namesTheFileAndLine(*refused, path, bytes));
        require(!utf8 || refused->find("not UTF-8") == std::string::npos);
        return 0;
    }
    require(utf8);
    require(check.rows >= 1 && check.sha256.size() == 64);
    checkColumns(check.columns);
    const std::vector<StandRecord> records = readAll(path, check);
    checkRecords(check, records);

    const std::string rewritten = quotedTable(check.columns, records);
    if (rewritten.empty()) {
        return 0;
    }
    writeFile(rewrittenPath, rewritten);
    StandTableCheck again;
    require(!checkStandTable(rewrittenPath, again));
    require(again.rows == check.rows && again.treeLists == check.treeLists);
    require(again.columns.names == check.columns.names && again.columns.standId == check.columns.standId &&
            again.columns.known == check.columns.known && again.columns.user == check.columns.user);
    const std::vector<StandRecord> reread = readAll(rewrittenPath, again);
    require(reread.size() == records.size());
    for (size_t r = 0; r < records.size(); ++r) {
        require(sameRecord(reread[r], records[r]));
    }
    return 0;
}
