#include "batch/stand_table.h"

#include "base/c_format.h"
#include "base/file_io.h"
#include "base/sha256.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <functional>
#include <set>
#include <string_view>
#include <unistd.h>
#include <unordered_map>

namespace grovex::batch {
namespace {

constexpr int kEnd = EOF;

std::string lineMessage(int64_t line, const std::string& text) {
    return cformat("line %lld: ", static_cast<long long>(line)) + text;
}

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool isUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        uint32_t lowest = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            length = 2;
            lowest = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            lowest = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            lowest = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        uint32_t point = c & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            point = (point << 6) | (next & 0x3F);
        }
        if (point < lowest || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

std::optional<std::string> readColumns(const std::vector<std::string>& names, StandTableColumns& columns) {
    columns = StandTableColumns{};
    columns.names = names;
    std::optional<size_t> standId;
    std::unordered_map<std::string, size_t> seen;
    for (size_t k = 0; k < names.size(); ++k) {
        const std::string& name = names[k];
        if (name.empty()) {
            return lineMessage(1, cformat("column %zu has no name.", k + 1));
        }
        // Column names become database columns, whose names ignore case.
        if (const auto [at, added] = seen.emplace(lowerAscii(name), k); !added) {
            return lineMessage(1, "the column \"" + name + "\" is named twice (columns " +
                                      std::to_string(at->second + 1) + " and " + std::to_string(k + 1) + ").");
        }
        // Known names are matched as the database matches column names: "Site" is the site index.
        const std::string lower = lowerAscii(name);
        if (lower == "stand_id") {
            standId = k;
            continue;
        }
        const auto known = std::find_if(kKnownColumns.begin(), kKnownColumns.end(),
                                        [&](const char* column) { return lower == column; });
        if (known != kKnownColumns.end()) {
            columns.known[static_cast<size_t>(known - kKnownColumns.begin())] = k;
        } else {
            columns.user.push_back(k);
        }
    }
    if (!standId) {
        return lineMessage(1, "the header has no stand_id column; a stand table names each stand in a column "
                              "stand_id.");
    }
    columns.standId = *standId;
    return std::nullopt;
}

std::optional<std::string> checkFields(const std::vector<std::string>& fields, size_t expected, int64_t line) {
    if (fields.size() != expected) {
        return lineMessage(line, cformat("%zu field%s where the header has %zu.", fields.size(),
                                         fields.size() == 1 ? "" : "s", expected));
    }
    for (size_t k = 0; k < fields.size(); ++k) {
        if (!isUtf8(fields[k])) {
            return lineMessage(line, cformat("field %zu is not UTF-8 text.", k + 1));
        }
    }
    return std::nullopt;
}

// The stand_ids of every row, by hash: a hash seen twice is looked at again with the ids themselves, so the
// check needs eight bytes a stand, whatever the ids' length.
class DuplicateIds {
public:
    void add(const std::string& id) { hashes_.push_back(std::hash<std::string>{}(id)); }

    // The hashes held more than once.
    std::set<size_t> repeatedHashes() {
        std::sort(hashes_.begin(), hashes_.end());
        std::set<size_t> repeated;
        for (size_t k = 1; k < hashes_.size(); ++k) {
            if (hashes_[k] == hashes_[k - 1]) {
                repeated.insert(hashes_[k]);
            }
        }
        return repeated;
    }

private:
    std::vector<size_t> hashes_;
};

// Reads the rows again for the ids whose hashes repeat; names the first id given twice.
std::optional<std::string> findDuplicate(const std::string& path, const StandTableColumns& columns,
                                         const std::set<size_t>& repeated) {
    CsvRecordReader csv(path);
    if (!csv.openError().empty()) {
        return csv.openError();
    }
    std::vector<std::string> fields;
    int64_t line = 0;
    std::string error;
    csv.next(fields, line, error); // the header
    std::unordered_map<std::string, int64_t> firstLine;
    while (csv.next(fields, line, error)) {
        const std::string& id = fields[columns.standId];
        if (repeated.count(std::hash<std::string>{}(id)) == 0) {
            continue;
        }
        if (const auto [at, added] = firstLine.emplace(id, line); !added) {
            return lineMessage(line, "the stand_id \"" + id + "\" is also on line " + std::to_string(at->second) +
                                         "; each stand needs an id of its own.");
        }
    }
    return std::nullopt;
}

// The whole check; the caller names the file in what it refuses.
std::optional<std::string> checkRows(const std::string& path, StandTableCheck& result) {
    result = StandTableCheck{};
    CsvRecordReader csv(path);
    if (!csv.openError().empty()) {
        return csv.openError();
    }
    std::vector<std::string> fields;
    int64_t line = 0;
    std::string error;
    if (!csv.next(fields, line, error)) {
        return error.empty() ? path + " is empty; a stand table starts with a header row naming its columns." : error;
    }
    if (auto refused = checkFields(fields, fields.size(), line)) {
        return refused;
    }
    if (auto refused = readColumns(fields, result.columns)) {
        return refused;
    }
    const size_t width = result.columns.names.size();
    const std::optional<size_t> treeListColumn = result.columns.known.back();
    std::set<std::string> treeLists;
    DuplicateIds ids;
    while (csv.next(fields, line, error)) {
        if (auto refused = checkFields(fields, width, line)) {
            return refused;
        }
        const std::string& id = fields[result.columns.standId];
        if (id.empty()) {
            return lineMessage(line, "the stand_id is empty; each stand needs an id.");
        }
        ids.add(id);
        if (treeListColumn && !fields[*treeListColumn].empty() && treeLists.insert(fields[*treeListColumn]).second) {
            result.treeLists.push_back(fields[*treeListColumn]);
        }
        ++result.rows;
    }
    if (!error.empty()) {
        return error;
    }
    if (result.rows == 0) {
        return path + " has a header but no stands.";
    }
    if (const std::set<size_t> repeated = ids.repeatedHashes(); !repeated.empty()) {
        if (auto duplicate = findDuplicate(path, result.columns, repeated)) {
            return duplicate;
        }
    }
    std::string hashError;
    const std::optional<std::string> digest = sha256OfFile(path, hashError);
    if (!digest) {
        return hashError;
    }
    result.sha256 = *digest;
    return std::nullopt;
}

} // namespace

std::vector<std::string> StandTableColumns::userNames() const {
    std::vector<std::string> out;
    for (size_t k : user) {
        out.push_back(names[k]);
    }
    return out;
}

CsvRecordReader::CsvRecordReader(const std::string& path) {
    // Only a regular file: a pipe or a device would never end, or wait for ever.
    std::string reason;
    const int fd = openRegularFile(path, reason);
    if (fd >= 0) {
        file_ = ::fdopen(fd, "rb");
        if (file_ == nullptr) {
            reason = std::strerror(errno);
            ::close(fd);
        }
    }
    if (file_ == nullptr) {
        openError_ = openFailureMessage(path, reason);
    }
}

CsvRecordReader::~CsvRecordReader() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

int CsvRecordReader::get() {
    if (!pending_.empty()) {
        const int c = pending_.back();
        pending_.pop_back();
        return c;
    }
    return file_ != nullptr ? std::getc(file_) : kEnd;
}

bool CsvRecordReader::next(std::vector<std::string>& fields, int64_t& line, std::string& error) {
    fields.clear();
    if (atStart_) {
        atStart_ = false;
        // A byte order mark, as some spreadsheets write, is not part of the first name. Other bytes are, even
        // those that start like one (0xEF also starts characters such as U+FF33).
        std::array<int, 3> start{};
        size_t taken = 0;
        for (const int mark : {0xEF, 0xBB, 0xBF}) {
            start[taken++] = get();
            if (start[taken - 1] != mark) {
                break;
            }
        }
        if (start[2] != 0xBF) {
            while (taken > 0) {
                unget(start[--taken]);
            }
        }
    }
    int c = get();
    while (c == '\n' || c == '\r') { // blank lines
        if (c == '\n') {
            ++line_;
        }
        c = get();
    }
    if (c == kEnd) {
        if (std::ferror(file_)) {
            error = lineMessage(line_, std::string("the file could not be read: ") + std::strerror(errno) + ".");
        }
        return false;
    }
    line = line_;
    std::string field;
    size_t bytes = 0;
    bool quoted = false;
    bool closed = false; // a quoted field whose closing quote has been read
    for (;; c = get()) {
        if (++bytes > kMaxRecordBytes) {
            error = lineMessage(line, "the row is longer than 1 MiB.");
            return false;
        }
        if (quoted) {
            if (c == kEnd) {
                error = lineMessage(line, "a quoted field is not closed before the end of the file.");
                return false;
            }
            if (c == '"') {
                const int after = get();
                if (after == '"') {
                    field += '"';
                    continue;
                }
                unget(after);
                quoted = false;
                closed = true;
                continue;
            }
            if (c == '\n') {
                ++line_;
            }
            field += static_cast<char>(c);
            continue;
        }
        if (c == ',' || c == '\n' || c == '\r' || c == kEnd) {
            fields.push_back(std::move(field));
            field.clear();
            closed = false;
            if (c == ',') {
                continue;
            }
            if (c == '\r') {
                const int after = get();
                if (after != '\n') {
                    unget(after);
                }
            }
            if (c != kEnd) {
                ++line_;
            }
            return true;
        }
        if (closed) {
            error = lineMessage(line_, "text follows the closing quote of a field.");
            return false;
        }
        if (c == '"') {
            if (!field.empty()) {
                error = lineMessage(line_, "a quote inside a field that does not start with one.");
                return false;
            }
            quoted = true;
            continue;
        }
        field += static_cast<char>(c);
    }
}

std::optional<std::string> checkStandTable(const std::string& path, StandTableCheck& result) {
    // Every refusal names the file; those about a line of it start with the line.
    std::optional<std::string> refused = checkRows(path, result);
    if (refused && refused->rfind("line ", 0) == 0) {
        refused = path + ": " + *refused;
    }
    return refused;
}

StandTableReader::StandTableReader(const std::string& path, StandTableColumns columns)
    : csv_(path), columns_(std::move(columns)) {
    int64_t line = 0;
    std::string error;
    csv_.next(fields_, line, error); // the header, checked before
}

bool StandTableReader::next(StandRecord& record, std::string& error) {
    if (!csv_.openError().empty()) {
        error = csv_.openError();
        return false;
    }
    int64_t line = 0;
    if (!csv_.next(fields_, line, error)) {
        return false;
    }
    if (fields_.size() != columns_.names.size()) {
        error = lineMessage(line, "the stand table changed while the batch ran.");
        return false;
    }
    record.rowIndex = rowIndex_++;
    record.line = line;
    record.standId = fields_[columns_.standId];
    for (size_t k = 0; k < kKnownColumns.size(); ++k) {
        record.known[k].reset();
        if (columns_.known[k] && !fields_[*columns_.known[k]].empty()) {
            record.known[k] = fields_[*columns_.known[k]];
        }
    }
    record.userValues.clear();
    for (size_t k : columns_.user) {
        record.userValues.push_back(fields_[k]);
    }
    return true;
}

} // namespace grovex::batch
