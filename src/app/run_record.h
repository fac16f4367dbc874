#pragma once
// The stand of every year of a simulation's latest run, recorded while the run projects, for the Stand Value
// window's best harvest age. The record is made with the simulation and lives as long as one of its windows;
// every command keeps it in step with the document: a command that initializes starts a new record, a command
// that is rolled back returns to the record it started from, and Reset empties it.

#include "control/projection.h"
#include "economics/class_history.h"
#include "results/document.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace grovex {

class RunRecord : public StandObserver {
public:
    // Attaches the record to the document's model. A document that already has tables (opened from a file)
    // has no record of the years of its run until a command initializes a new one.
    explicit RunRecord(std::shared_ptr<CGROVEXDoc> document);
    ~RunRecord() override;
    RunRecord(const RunRecord&) = delete;
    RunRecord& operator=(const RunRecord&) = delete;

    // What a rolled-back command returns to.
    struct Checkpoint {
        economics::ClassHistory history;
        int firstTable = 0;
        bool complete = true;
        bool newRunPending = false;
    };
    // Taken before every command. When the command initializes, its first stand starts a new record.
    Checkpoint checkpoint();
    void restore(const Checkpoint& checkpoint);
    // The document was reset: no tables, no run.
    void reset();

    const CGROVEXDoc& document() const { return *document_; }
    const economics::ClassHistory& history() const { return current_.history; }
    // True when every year of the latest run was recorded.
    bool complete() const { return current_.complete; }
    // The tables of the latest run; a document keeps the tables of its earlier runs before them.
    std::vector<ResultTable> runTables() const;

    void standAtAge(const GrowthModel& model) override;

private:
    std::shared_ptr<CGROVEXDoc> document_;
    Checkpoint current_;
};

// The hooks of a results view, passed on, that also empty the run record when the view is reset.
class RecordResetHooks : public ResultsViewHooks {
public:
    RecordResetHooks(ResultsViewHooks& view, RunRecord& record) : view_(view), record_(record) {}
    void clearSelection() override { view_.clearSelection(); }
    void refresh() override { view_.refresh(); }
    void resetViewState() override;

private:
    ResultsViewHooks& view_;
    RunRecord& record_;
};

// A state file that keeps the run's record beside the document's bytes. The projection routine and the macro
// player save their state file before a command and read it back only to roll the command back, so a read
// returns the record to where the save found it.
class RecordedStateFile : public StateFile {
public:
    RecordedStateFile(std::string path, RunRecord& record, FileSystem* fileSystem = nullptr)
        : StateFile(std::move(path), fileSystem), record_(record) {}
    bool save(CGROVEXDoc& doc) override;
    std::optional<std::vector<uint8_t>> read() override;

private:
    RunRecord& record_;
    RunRecord::Checkpoint saved_;
};

} // namespace grovex
