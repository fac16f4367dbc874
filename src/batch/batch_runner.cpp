#include "batch/batch_runner.h"

#include "base/c_format.h"
#include "batch/bounded_queue.h"
#include "batch/stand_run.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

namespace grovex::batch {
namespace {

using Clock = std::chrono::steady_clock;

// Stands a writer commits together, and the longest it waits before committing what it has.
constexpr int64_t kCommitStands = 2000;
constexpr auto kCommitInterval = std::chrono::seconds(1);
constexpr auto kProgressInterval = std::chrono::milliseconds(250);

// Stands travel between the threads in groups, so that handing them over costs little beside their work.
constexpr size_t kGroupStands = 32;

struct Job {
    int64_t sequence = 0;
    std::vector<StandRecord> stands;
    std::vector<std::vector<bool>> pending; // by stand, by regime
};

struct Done {
    int64_t sequence = 0;
    std::vector<StandOutcome> outcomes;
};

// "1:02:03" or "2:03".
std::string clockText(double seconds) {
    // NOLINTNEXTLINE(bugprone-incorrect-roundings): elapsed time is never negative
    const auto total = static_cast<long long>(seconds + 0.5);
    if (total >= 3600) {
        return cformat("%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
    }
    return cformat("%lld:%02lld", total / 60, total % 60);
}

// A line redrawn in place: a bar, the stands done of the shard's, the rate of this run and the time left.
class Progress {
public:
    Progress(std::ostream* out, int64_t total) : out_(out), total_(total), started_(Clock::now()), shown_(started_) {}

    void show(int64_t done, int64_t ranNow, bool last = false) {
        if (out_ == nullptr) {
            return;
        }
        const Clock::time_point now = Clock::now();
        if (!last && now - shown_ < kProgressInterval) {
            return;
        }
        shown_ = now;
        const double seconds = std::chrono::duration<double>(now - started_).count();
        const double rate = seconds > 0 ? static_cast<double>(ranNow) / seconds : 0;
        constexpr int kWidth = 30;
        const int filled = total_ > 0 ? static_cast<int>(kWidth * done / total_) : kWidth;
        std::string bar(static_cast<size_t>(filled), '#');
        bar.resize(kWidth, '.');
        const std::string left = rate > 0 ? clockText(static_cast<double>(total_ - done) / rate) + " left" : "";
        *out_ << '\r'
              << cformat("[%s] %lld/%lld stands  %.0f/s  %s   ", bar.c_str(), static_cast<long long>(done),
                         static_cast<long long>(total_), rate, left.c_str());
        if (last) {
            *out_ << '\n';
        }
        out_->flush();
    }

private:
    std::ostream* out_;
    int64_t total_;
    Clock::time_point started_;
    Clock::time_point shown_; // the first line waits a moment, for a rate worth showing
};

// The pairs of a stand still to run.
std::vector<bool> pendingPairs(const StandRecord& stand, const BatchSettings& settings, ResultSink& sink) {
    std::vector<bool> pending(settings.regimes.size());
    for (size_t k = 0; k < pending.size(); ++k) {
        pending[k] = !sink.finished(stand.standId, settings.regimes[k].name, settings.retryFailed);
    }
    return pending;
}

bool anyPending(const std::vector<bool>& pending) {
    for (bool p : pending) {
        if (p) {
            return true;
        }
    }
    return false;
}

class Run {
public:
    Run(const BatchSettings& settings, ResultSink& sink)
        : settings_(settings), sink_(sink), jobs_(size_t{4} * std::max(1u, settings.threads)),
          done_(size_t{4} * std::max(1u, settings.threads)) {}

    BatchReport run() {
        report_.stands = settings_.shard.standsOf(settings_.rows);
        std::thread reader([this] { readStands(); });
        std::vector<std::thread> workers;
        for (unsigned k = 0; k < std::max(1u, settings_.threads); ++k) {
            workers.emplace_back([this] { work(); });
        }
        std::thread closer([this, &workers] {
            for (std::thread& worker : workers) {
                worker.join();
            }
            done_.close();
        });
        write();
        jobs_.close();
        done_.close();
        reader.join();
        closer.join();
        if (!readError_.empty() && report_.error.empty()) {
            report_.error = readError_;
        }
        return report_;
    }

private:
    void readStands() {
        StandTableReader reader(settings_.standTable, settings_.columns);
        StandRecord stand;
        std::string error;
        Job job;
        while (reader.next(stand, error)) {
            if (!settings_.shard.holds(stand.rowIndex)) {
                continue;
            }
            std::vector<bool> pending = pendingPairs(stand, settings_, sink_);
            if (!anyPending(pending)) {
                ++skipped_;
                continue;
            }
            job.stands.push_back(stand);
            job.pending.push_back(std::move(pending));
            if (job.stands.size() == kGroupStands && !handOver(job)) {
                break; // the run stopped
            }
        }
        if (!job.stands.empty()) {
            handOver(job);
        }
        readError_ = error;
        jobs_.close();
    }

    // Queues the group and starts the next one; false when the run stopped.
    bool handOver(Job& job) {
        job.sequence = nextJob_++;
        const bool queued = jobs_.push(std::move(job));
        job = Job{};
        return queued;
    }

    void work() {
        const std::string folder = std::filesystem::path(settings_.standTable).parent_path().string();
        const StandValuing valuing{settings_.prices ? &*settings_.prices : nullptr,
                                   settings_.prices && settings_.space ? &*settings_.space : nullptr};
        const StandRun stands(settings_.regimes, settings_.dbhDetail, folder, valuing);
        while (std::optional<Job> job = jobs_.pop()) {
            Done done{job->sequence, {}};
            for (size_t k = 0; k < job->stands.size(); ++k) {
                done.outcomes.push_back(stands.run(job->stands[k], job->pending[k]));
            }
            if (!done_.push(std::move(done))) {
                break;
            }
        }
    }

    // Hands the outcomes to the output in stand-table order, whatever order the workers finish them in.
    void write() {
        Progress progress(settings_.progress, report_.stands);
        std::map<int64_t, std::vector<StandOutcome>> waiting;
        int64_t next = 0;
        int64_t uncommitted = 0;
        Clock::time_point committed = Clock::now();
        while (std::optional<Done> done = done_.pop()) {
            waiting.emplace(done->sequence, std::move(done->outcomes));
            for (auto at = waiting.find(next); at != waiting.end(); at = waiting.find(next)) {
                for (const StandOutcome& outcome : at->second) {
                    if (!writeOutcome(outcome)) {
                        return;
                    }
                    ++uncommitted;
                }
                waiting.erase(at);
                ++next;
            }
            if (uncommitted >= kCommitStands || Clock::now() - committed >= kCommitInterval) {
                if (!commit()) {
                    return;
                }
                uncommitted = 0;
                committed = Clock::now();
            }
            progress.show(report_.ran + skipped_, report_.ran);
        }
        report_.skipped = skipped_;
        if (commit()) {
            progress.show(report_.ran + report_.skipped, report_.ran, true);
        }
    }

    bool writeOutcome(const StandOutcome& outcome) {
        int64_t failed = 0;
        for (const StandResult& result : outcome.results) {
            failed += result.ok ? 0 : 1;
        }
        report_.failedPairs += failed;
        report_.failedStands += failed > 0 ? 1 : 0;
        ++report_.ran;
        return check(sink_.write(outcome));
    }

    bool commit() { return check(sink_.commit()); }

    bool check(const IoStatus& status) {
        if (!status) {
            report_.error = status.message();
            report_.writeFailed = true;
            jobs_.close();
            done_.close();
        }
        return static_cast<bool>(status);
    }

    const BatchSettings& settings_;
    ResultSink& sink_;
    BoundedQueue<Job> jobs_;
    BoundedQueue<Done> done_;
    BatchReport report_;
    std::atomic<int64_t> skipped_{0};
    int64_t nextJob_ = 0;   // the reader's
    std::string readError_; // written by the reader before it closes the job queue
};

} // namespace

BatchReport runBatch(const BatchSettings& settings, ResultSink& sink) {
    Run run(settings, sink);
    return run.run();
}

} // namespace grovex::batch
