#include "batch/csv_results.h"

#include "base/c_format.h"
#include "batch/results_rows.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace grovex::batch {
namespace {

constexpr size_t kFlushBytes = 256 * 1024;
constexpr int kTemporaryNameAttempts = 100;

struct Failure {
    std::string message;
};

// Appends one field, quoted when it holds a comma, a quote, a CR or a LF.
void appendField(std::string& line, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        line += text;
        return;
    }
    line += '"';
    for (const char c : text) {
        line += c;
        if (c == '"') {
            line += '"';
        }
    }
    line += '"';
}

void appendValue(std::string& line, const rows::Value& value) {
    if (const auto* number = std::get_if<int64_t>(&value)) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, *number).ptr;
        line.append(digits, end);
    } else if (const auto* real = std::get_if<double>(&value)) {
        line += cformat("%.9g", *real); // enough digits for every float to read back the same
    } else if (const auto* text = std::get_if<std::string_view>(&value)) {
        appendField(line, *text);
    }
}

// One CSV file being written under a temporary name in the folder.
class CsvFile {
public:
    CsvFile(std::filesystem::path finalPath, FileSystem& fileSystem)
        : finalPath_(std::move(finalPath)), fileSystem_(fileSystem) {}
    ~CsvFile() { discard(); }
    CsvFile(const CsvFile&) = delete;
    CsvFile& operator=(const CsvFile&) = delete;

    void open() {
        const std::string base = "." + finalPath_.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-";
        for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
            const std::filesystem::path candidate = finalPath_.parent_path() / (base + std::to_string(attempt));
            fd_ = fileSystem_.open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                temporaryPath_ = candidate;
                return;
            }
            if (errno != EEXIST) {
                break;
            }
        }
        fail(errno);
    }

    void header(const std::vector<std::string>& columns) {
        for (size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) {
                buffer_ += ',';
            }
            appendField(buffer_, columns[i]);
        }
        buffer_ += '\n';
    }

    void row(const rows::Row& values) {
        for (size_t i = 0; i < values.size(); ++i) {
            if (i > 0) {
                buffer_ += ',';
            }
            appendValue(buffer_, values[i]);
        }
        buffer_ += '\n';
        if (buffer_.size() >= kFlushBytes) {
            flush();
        }
    }

    void flush() {
        size_t at = 0;
        while (at < buffer_.size()) {
            const ssize_t n = fileSystem_.write(fd_, buffer_.data() + at, buffer_.size() - at);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                fail(errno);
            }
            at += static_cast<size_t>(n);
        }
        buffer_.clear();
    }

    // Flushes the file to the disk and closes it; rename() then puts it in place.
    void close() {
        flush();
        if (fileSystem_.fsync(fd_) != 0) {
            fail(errno);
        }
        const int fd = fd_;
        fd_ = -1;
        if (fileSystem_.close(fd) != 0) {
            fail(errno);
        }
    }

    void rename() {
        if (fileSystem_.rename(temporaryPath_.c_str(), finalPath_.c_str()) != 0) {
            fail(errno);
        }
        temporaryPath_.clear();
    }

    // Closes and removes the temporary file, if any.
    void discard() {
        if (fd_ >= 0) {
            fileSystem_.close(fd_);
            fd_ = -1;
        }
        if (!temporaryPath_.empty()) {
            fileSystem_.unlink(temporaryPath_.c_str());
            temporaryPath_.clear();
        }
    }

private:
    [[noreturn]] void fail(int error) { throw Failure{saveFailureMessage(finalPath_.string(), error)}; }

    std::filesystem::path finalPath_;
    std::filesystem::path temporaryPath_;
    FileSystem& fileSystem_;
    int fd_ = -1;
    std::string buffer_;
};

enum Table {
    RunTable,
    InputTable,
    StandTable,
    RegimeTable,
    ResultTable,
    SummaryTable,
    DbhTable,
    EconomicsTable,
    BestRegimeTable,
    kTableCount
};
constexpr std::array<const char*, kTableCount> kFileNames{"run.csv",         "input_file.csv", "stand.csv",
                                                          "regime.csv",      "result.csv",     "stand_summary.csv",
                                                          "stand_table.csv", "economics.csv",  "best_regime.csv"};

// A folder holds the results of one run.
constexpr int64_t kRunNo = 1;

} // namespace

struct CsvResultFolder::Impl {
    enum class State { Idle, Running, Finished };

    std::filesystem::path folder;
    FileSystem& fileSystem;
    State state = State::Idle;
    std::optional<std::string> broken;
    RunIdentity run;
    std::string started;
    size_t standColumns = 0;
    std::array<std::unique_ptr<CsvFile>, kTableCount> files;
    rows::Row row;

    Impl(std::string path, FileSystem& system) : folder(std::move(path)), fileSystem(system) {}

    void open(const RunIdentity& identity);
    void writeOutcome(const StandOutcome& outcome);
    void close();
    IoStatus fail(const Failure& failure) {
        broken = failure.message;
        discard();
        return IoStatus::failure(failure.message);
    }
    void discard() {
        for (std::unique_ptr<CsvFile>& file : files) {
            file.reset();
        }
    }
};

void CsvResultFolder::Impl::open(const RunIdentity& identity) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0) {
        if (errno != ENOENT || ::mkdir(folder.c_str(), 0777) != 0) {
            throw Failure{saveFailureMessage(folder.string(), errno)};
        }
    } else if (!S_ISDIR(status.st_mode)) {
        throw Failure{saveFailureMessage(folder.string(), ENOTDIR)};
    }

    run = identity;
    started = rows::utcTimestamp();
    const std::array<std::vector<std::string>, kTableCount> columns{
        rows::names(rows::kRunColumns),    rows::names(rows::kInputFileColumns), rows::standColumns(run.userColumns),
        rows::names(rows::kRegimeColumns), rows::names(rows::kResultColumns),    rows::names(rows::kSummaryColumns),
        rows::names(rows::kDbhColumns),    rows::names(rows::kEconomicsColumns), rows::names(rows::kBestRegimeColumns)};
    const std::array<bool, kTableCount> written{true, true,          true,          true,           true,
                                                true, run.dbhDetail, run.economics, run.bestRegimes};
    standColumns = columns[StandTable].size();
    for (size_t table = 0; table < kTableCount; ++table) {
        if (!written[table]) {
            continue;
        }
        const std::filesystem::path target = folder / kFileNames[table];
        // A file the user made read-only is not replaced, not even by root.
        if (::stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            throw Failure{saveFailureMessage(target.string(), EACCES)};
        }
        files[table] = std::make_unique<CsvFile>(target, fileSystem);
        files[table]->open();
        files[table]->header(columns[table]);
    }
    for (const InputFile& input : run.inputs) {
        rows::inputFileRow(kRunNo, input, row);
        files[InputTable]->row(row);
    }
    for (size_t i = 0; i < run.regimes.size(); ++i) {
        rows::regimeRow(run.regimes[i], static_cast<int64_t>(i + 1), row);
        files[RegimeTable]->row(row);
    }
}

void CsvResultFolder::Impl::writeOutcome(const StandOutcome& outcome) {
    rows::standRow(outcome.stand, row);
    if (row.size() != standColumns) {
        throw Failure{"Stand " + outcome.stand.standId + " has " + std::to_string(row.size() - 1) + " values for the " +
                      std::to_string(standColumns - 1) + " columns of the stand table."};
    }
    files[StandTable]->row(row);
    for (const StandResult& result : outcome.results) {
        rows::resultRow(result, kRunNo, row);
        files[ResultTable]->row(row);
        for (const SummaryRow& summary : result.summaries) {
            rows::summaryRow(result, summary, row);
            files[SummaryTable]->row(row);
        }
        if (files[DbhTable]) {
            for (const DbhRow& dbh : result.dbhRows) {
                rows::dbhRow(result, dbh, row);
                files[DbhTable]->row(row);
            }
        }
        if (files[EconomicsTable] && result.measures) {
            rows::economicsRow(result, kRunNo, row);
            files[EconomicsTable]->row(row);
        }
    }
    if (files[BestRegimeTable] && outcome.bestRegime) {
        rows::bestRegimeRow(outcome, kRunNo, row);
        files[BestRegimeTable]->row(row);
    }
}

void CsvResultFolder::Impl::close() {
    const rows::RunRow times{kRunNo, started, rows::utcTimestamp()}; // the row points into it
    rows::runRow(run, times, row);
    files[RunTable]->row(row);
    for (std::unique_ptr<CsvFile>& file : files) {
        if (file) {
            file->close();
        }
    }
    for (std::unique_ptr<CsvFile>& file : files) {
        if (file) {
            file->rename();
        }
    }
    // Makes the renames durable; a folder that cannot be synced keeps the files all the same.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fileSystem.fsync(fd);
        ::close(fd);
    }
    discard();
}

CsvResultFolder::CsvResultFolder(std::string folder, FileSystem& fileSystem)
    : impl_(std::make_unique<Impl>(std::move(folder), fileSystem)) {}

CsvResultFolder::~CsvResultFolder() = default;

IoStatus CsvResultFolder::start(const RunIdentity& run) {
    if (impl_->state != Impl::State::Idle) {
        return IoStatus::failure(impl_->folder.string() + " is already open for a run.");
    }
    try {
        impl_->open(run);
        impl_->state = Impl::State::Running;
        return IoStatus::success();
    } catch (const Failure& failure) {
        impl_->discard();
        return IoStatus::failure(failure.message);
    }
}

bool CsvResultFolder::finished(const std::string&, const std::string&, bool) {
    return false;
}

IoStatus CsvResultFolder::write(const StandOutcome& outcome) {
    if (impl_->broken) {
        return IoStatus::failure(*impl_->broken);
    }
    if (impl_->state != Impl::State::Running) {
        return IoStatus::failure(impl_->folder.string() + " is not open for a run.");
    }
    try {
        impl_->writeOutcome(outcome);
        return IoStatus::success();
    } catch (const Failure& failure) {
        return impl_->fail(failure);
    }
}

IoStatus CsvResultFolder::commit() {
    if (impl_->broken) {
        return IoStatus::failure(*impl_->broken);
    }
    if (impl_->state != Impl::State::Running) {
        return IoStatus::failure(impl_->folder.string() + " is not open for a run.");
    }
    try {
        for (std::unique_ptr<CsvFile>& file : impl_->files) {
            if (file) {
                file->flush();
            }
        }
        return IoStatus::success();
    } catch (const Failure& failure) {
        return impl_->fail(failure);
    }
}

IoStatus CsvResultFolder::finish() {
    if (impl_->state != Impl::State::Running) {
        return IoStatus::failure(impl_->folder.string() + " is not open for a run.");
    }
    impl_->state = Impl::State::Finished;
    if (impl_->broken) {
        return IoStatus::failure(*impl_->broken);
    }
    try {
        impl_->close();
        return IoStatus::success();
    } catch (const Failure& failure) {
        return impl_->fail(failure);
    }
}

} // namespace grovex::batch
