#pragma once
// The results of a batch run as a folder of CSV files, one per table of the results database and with the
// same columns: run.csv, input_file.csv, stand.csv, regime.csv, result.csv, stand_summary.csv and, with DBH
// class detail, stand_table.csv, with prices economics.csv, with a search space best_regime.csv. RFC 4180 quoting, LF
// line ends, a header row; numbers read back as the values written; an empty field is NULL. The files are written
// beside their final names and renamed into place only when the run finishes, so a run that is killed leaves no
// half-written file (only hidden
// ".NAME.csv.tmp-..." files, which may be removed).

#include "base/file_io.h"
#include "batch/result_sink.h"

#include <memory>
#include <string>

namespace grovex::batch {

class CsvResultFolder : public ResultSink {
public:
    // `folder` is created when missing; its parent must exist.
    explicit CsvResultFolder(std::string folder, FileSystem& fileSystem = systemFileSystem());
    ~CsvResultFolder() override; // without finish, the files written so far are removed
    CsvResultFolder(const CsvResultFolder&) = delete;
    CsvResultFolder& operator=(const CsvResultFolder&) = delete;

    IoStatus start(const RunIdentity& run) override;
    // A folder is always written anew: nothing counts as finished.
    bool finished(const std::string& standId, const std::string& regime, bool retryFailed) override;
    // After a failure every later call answers the same failure and the files written so far are removed.
    IoStatus write(const StandOutcome& outcome) override;
    // Hands what is written to the system.
    IoStatus commit() override;
    // Writes run.csv, flushes every file to the disk and renames them into place, replacing the files of an
    // earlier run.
    IoStatus finish() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace grovex::batch
