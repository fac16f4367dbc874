#include "app/run_record.h"

#include <algorithm>
#include <cstddef>

namespace grovex {

RunRecord::RunRecord(std::shared_ptr<CGROVEXDoc> document) : document_(std::move(document)) {
    current_.complete = document_->model.tables.empty();
    document_->model.setObserver(this);
}

RunRecord::~RunRecord() {
    if (document_->model.observer() == this) {
        document_->model.setObserver(nullptr);
    }
}

RunRecord::Checkpoint RunRecord::checkpoint() {
    Checkpoint before = current_;
    before.newRunPending = false;
    current_.newRunPending = document_->run.needsInit;
    return before;
}

void RunRecord::restore(const Checkpoint& checkpoint) {
    current_ = checkpoint;
}

void RunRecord::reset() {
    current_ = Checkpoint{};
}

std::vector<ResultTable> RunRecord::runTables() const {
    const std::vector<ResultTable>& tables = document_->model.tables;
    const auto first = static_cast<size_t>(std::min<int>(current_.firstTable, static_cast<int>(tables.size())));
    return {tables.begin() + static_cast<std::ptrdiff_t>(first), tables.end()};
}

// The first stand of an initializing command comes before the run's first table.
void RunRecord::standAtAge(const GrowthModel& model) {
    if (current_.newRunPending) {
        current_ = Checkpoint{};
        current_.firstTable = model.lastTable() + 1;
    }
    current_.history.standAtAge(model);
}

void RecordResetHooks::resetViewState() {
    view_.resetViewState();
    record_.reset();
}

bool RecordedStateFile::save(CGROVEXDoc& doc) {
    saved_ = record_.checkpoint();
    return StateFile::save(doc);
}

std::optional<std::vector<uint8_t>> RecordedStateFile::read() {
    record_.restore(saved_);
    return StateFile::read();
}

} // namespace grovex
