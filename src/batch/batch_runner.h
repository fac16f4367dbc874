#pragma once
// A batch run: the stands of a checked stand table (those of one shard) under every regime, on worker
// threads, with one writer that hands the outcomes to the output in stand-table order and commits them in
// groups. Pairs an earlier run finished are skipped. A failed stand is noted and the run goes on; a failed
// write stops the run, and everything committed before it stays.

#include "batch/regime.h"
#include "batch/result_sink.h"
#include "batch/stand_table.h"
#include "economics/prices.h"
#include "economics/search_space.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace grovex::batch {

// The stands of shard K of N: those whose row index i has i % N == K.
struct Shard {
    int64_t index = 0;
    int64_t count = 1;
    bool holds(int64_t rowIndex) const { return rowIndex % count == index; }
    int64_t standsOf(int64_t rows) const { return rows / count + (index < rows % count ? 1 : 0); }
};

struct BatchSettings {
    std::string standTable;    // the file
    StandTableColumns columns; // as checkStandTable read them
    int64_t rows = 0;          // stands in the whole table
    std::vector<Regime> regimes;
    bool dbhDetail = false;
    unsigned threads = 1;
    Shard shard;
    bool retryFailed = false;
    std::optional<economics::Prices> prices;     // value every regime a stand ran
    std::optional<economics::SearchSpace> space; // search every stand's best regime (needs prices)
    // A progress line on this stream (a terminal), redrawn a few times a second; none when null.
    std::ostream* progress = nullptr;
};

struct BatchReport {
    int64_t stands = 0;       // stands of the shard
    int64_t ran = 0;          // stands run now
    int64_t skipped = 0;      // stands whose every pair an earlier run had finished
    int64_t failedPairs = 0;  // (stand, regime) pairs that failed now
    int64_t failedStands = 0; // stands with at least one failed pair now
    std::string error;        // why the run stopped early (reading the table or writing the output)
    bool writeFailed = false; // the error is the output's
};

BatchReport runBatch(const BatchSettings& settings, ResultSink& sink);

} // namespace grovex::batch
