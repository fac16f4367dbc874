#pragma once
// The stand table of a batch run: a CSV file (RFC 4180 quoting, a header row, UTF-8, LF or CR LF line ends)
// with one row per stand. `stand_id` is required and unique; the known columns (kKnownColumns) describe the
// stand as the `project` options do; every other column is the user's own and is carried through untouched.
// The file is streamed, never read whole: check() reads it once to refuse a file that cannot be a stand
// table before anything runs, and a StandTableReader then hands out the rows one by one.

#include "batch/batch_results.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace grovex::batch {

// The columns of a stand table, from its header row.
struct StandTableColumns {
    std::vector<std::string> names; // as written
    size_t standId = 0;             // position of stand_id
    std::array<std::optional<size_t>, kKnownColumns.size()> known;
    std::vector<size_t> user; // positions of the user's own columns, in file order
    std::vector<std::string> userNames() const;
};

// One CSV record at a time from a file, with the line it starts on.
class CsvRecordReader {
public:
    // A record longer than this is refused rather than held in memory.
    static constexpr size_t kMaxRecordBytes = 1 << 20;

    explicit CsvRecordReader(const std::string& path);
    ~CsvRecordReader();
    CsvRecordReader(const CsvRecordReader&) = delete;
    CsvRecordReader& operator=(const CsvRecordReader&) = delete;

    // Why the file could not be opened; empty when it was.
    const std::string& openError() const { return openError_; }
    // False at the end of the file or on an error (then `error` says what is wrong, with the line). Blank
    // lines are skipped.
    bool next(std::vector<std::string>& fields, int64_t& line, std::string& error);

private:
    int get();
    void unget(int c) { pending_.push_back(c); }

    std::FILE* file_ = nullptr;
    std::string openError_;
    std::vector<int> pending_; // characters read ahead and given back, the next one last
    int64_t line_ = 1;
    bool atStart_ = true;
};

// What a full read of the file found.
struct StandTableCheck {
    StandTableColumns columns;
    int64_t rows = 0;
    std::string sha256;                 // of the file's bytes
    std::vector<std::string> treeLists; // distinct values of the treelist column, in first-seen order
};

// Reads the whole file once. Refuses, with the line named, a file that cannot be a stand table: not
// readable, empty, no stand_id column, a column named twice, a row with another number of fields, a quote
// left open, text that is not UTF-8, a stand_id empty or given twice, no stand at all.
std::optional<std::string> checkStandTable(const std::string& path, StandTableCheck& result);

// The rows of a checked stand table, in file order.
class StandTableReader {
public:
    StandTableReader(const std::string& path, StandTableColumns columns);

    // False at the end (or when the file changed since it was checked; `error` then says so).
    bool next(StandRecord& record, std::string& error);

private:
    CsvRecordReader csv_;
    StandTableColumns columns_;
    std::vector<std::string> fields_;
    int64_t rowIndex_ = 0;
};

} // namespace grovex::batch
