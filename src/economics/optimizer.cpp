#include "economics/optimizer.h"

#include "base/c_format.h"
#include "control/extract.h"
#include "control/macro_recorder.h"
#include "control/message_log.h"
#include "control/projection.h"
#include "dialogs/general_info_dlg.h"
#include "dialogs/stand_projection_dlg.h"
#include "model/numerics.h"

#include <algorithm>
#include <map>

namespace grovex::economics {
namespace {

using namespace standprojection;

// The inputs of a recorded schedule: the stand's sheet with the first target, then the "Stand Projection"
// dialog filled in and confirmed as a user would for each treatment. A refused input cancels its command and
// keeps the page's message.
class ScheduleInputs : public InputSource {
public:
    ScheduleInputs(const SearchStand& stand, const Schedule& schedule, int harvestAge)
        : stand_(stand), treatments_(schedule.treatments), harvestAge_(harvestAge) {}

    std::optional<Input1> input1(CGROVEXDoc&) override {
        Input1 input = stand_.input;
        const int target = targetAfter(0);
        if (auto refused = stand_.withTargetAge(target, input)) {
            refusal_ = cformat("initialization to age %d: ", target) + *refused;
            return std::nullopt;
        }
        return input;
    }

    std::optional<Input2Values> input2(CGROVEXDoc& doc) override {
        const Treatment& treatment = treatments_.at(next_++);
        standProjectionDlg form(doc);
        form.OnInitDialog();
        fill(form, treatment);
        for (int k = 1; k <= plantation::kTargetCount; ++k) {
            form.setText(plantation::kFirstTarget + k - 1, "");
        }
        form.setText(plantation::kFirstTarget + kCriterionAge - 1, cformat("%d", targetAfter(next_)));
        if (const FormResult result = form.OnOK(); !result) {
            refusal_ = cformat("treatment at %d: ", treatment.age) + result.message;
            return std::nullopt;
        }
        return form.values();
    }

    const TreeList* simulationTreeList() override { return stand_.treeList; }
    const std::string& refusal() const { return refusal_; }

private:
    // The target of the command that comes before treatment `k`: the age before it, or the harvest age.
    int targetAfter(size_t k) const { return k < treatments_.size() ? treatments_[k].age - 1 : harvestAge_; }

    static void click(standProjectionDlg& form, int id, bool checked) {
        form.setChecked(id, checked);
        form.OnControlChanged(id);
    }

    static void fill(standProjectionDlg& form, const Treatment& treatment) {
        click(form, kThin, treatment.thinning.has_value());
        if (const auto& thin = treatment.thinning) {
            click(form,
                  thin->kind == ThinningKind::Row   ? kRowThin
                  : thin->kind == ThinningKind::Low ? kLowThin
                                                    : kRowAndLowThin,
                  true);
            if (thin->kind != ThinningKind::Low) {
                form.setText(kRowInterval, cformat("%d", thin->rowInterval));
            }
            if (thin->kind != ThinningKind::Row) {
                click(form, kBasalArea, true);
                form.setText(kResidualBasalArea, cformat("%g", double{thin->residualBasalArea}));
                form.setText(kDbhBelow, cformat("%g", double{thin->minDbh}));
            }
        }
        click(form, kFertilize, treatment.fertilizer.has_value());
        if (const auto& fertilizer = treatment.fertilizer) {
            form.setText(kNitrogen, cformat("%d", fertilizer->nitrogen));
            click(form, kPhosphorus, fertilizer->phosphorus);
        }
    }

    const SearchStand& stand_;
    const std::vector<Treatment>& treatments_;
    int harvestAge_;
    size_t next_ = 0;
    std::string refusal_;
};

// Whether the command just given was carried out: its inputs were accepted and it projected the stand. (A
// refused command leaves nothing in the macro but its "ProjectEnd", as on the desktop.)
bool commandKept(const MacroRecorder& recorder, const ScheduleInputs& given, const GrowthModel& model,
                 int lastTableBefore) {
    return recorder.recording() && given.refusal().empty() && model.lastTable() > lastTableBefore;
}

struct StandStart {
    int age = 0; // the run's year 0: 0 for bare land, else the stand's age
    int rotation = 0;
    std::optional<std::string> failure;
};

// The stand initialized without a projection, for its start age and rotation.
StandStart standStart(const SearchStand& stand) {
    StandStart start;
    GrowthModel model;
    MessageLog log;
    model.setUi(&log);
    WriteInput1(model, stand.input);
    try {
        if (stand.input.qexist && stand.input.qlist) {
            RunState run;
            Extract(model, run, stand.treeList, log);
        }
        if (!StartRun(model)) {
            start.failure = "The diameter distribution could not be fitted to these stand values.";
        }
    } catch (const CommandAbandoned&) {
        start.failure = log.messages().empty() ? std::string("The tree list could not be taken.") : log.messages()[0];
    }
    start.age = model.qexist == 0 ? 0 : numerics::wholeYears(model.exage);
    start.rotation = model.nyears;
    return start;
}

// Counts skipped combinations by reason, in the order the reasons were first met.
class Skips {
public:
    void add(const std::string& reason, int64_t count) {
        if (count <= 0) {
            return;
        }
        const auto [found, added] = index_.emplace(reason, counts_.size());
        if (added) {
            counts_.push_back(SkipCount{reason, 0});
        }
        counts_[found->second].count += count;
    }
    std::vector<SkipCount> counts() const { return counts_; }

private:
    std::map<std::string, size_t> index_;
    std::vector<SkipCount> counts_;
};

struct Candidate {
    size_t schedule = 0;
    int harvestAge = 0;
    double rankValue = 0;
};

// The harvest ages every schedule may take: after the start, within the rotation.
struct HarvestRange {
    int first = 0;
    int last = -1;
    int64_t size() const { return last >= first ? last - first + 1 : 0; }
};

HarvestRange harvestRange(const SearchSpace& space, const StandStart& start, size_t scheduleCount, Skips& skips) {
    HarvestRange range{std::max(space.firstHarvestAge, start.age + 1), std::min(space.lastHarvestAge, start.rotation)};
    const auto schedules = static_cast<int64_t>(scheduleCount);
    for (int age = space.firstHarvestAge; age <= space.lastHarvestAge; ++age) {
        if (age > start.rotation) {
            skips.add(kHarvestBeyondRotation, schedules);
        } else if (age <= start.age) {
            skips.add(kHarvestNotAfterStart, schedules);
        }
    }
    return range;
}

// Values one schedule at every harvest age of the range it can take; the others are skipped with their reason.
void valueSchedule(const Prices& prices, const SearchStand& stand, const std::vector<Schedule>& schedules, size_t index,
                   const StandStart& start, HarvestRange range, Skips& skips, std::vector<Candidate>& candidates) {
    const Schedule& schedule = schedules[index];
    if (!schedule.treatments.empty() && schedule.treatments.front().age <= start.age) {
        skips.add(kTreatmentNotAfterStart, range.size());
        return;
    }
    const int lastTreatment = schedule.treatments.empty() ? start.age : schedule.treatments.back().age;
    const HarvestRange early{range.first, std::min(range.last, lastTreatment)};
    skips.add(kTreatmentNotBeforeHarvest, early.size());
    range.first = std::max(range.first, lastTreatment + 1);
    if (range.size() == 0) {
        return;
    }
    RunRecorder recorder(prices);
    const RecordedRun run = recordSchedule(stand, schedule, range.last, &recorder);
    if (run.failure) {
        skips.add(*run.failure, range.size());
        return;
    }
    const RunFacts facts = runFacts(run.doc->model, &recorder);
    const HarvestAges ages(prices, facts);
    for (int age = range.first; age <= range.last; ++age) {
        if (const std::optional<double> value = ages.rankValue(age)) {
            candidates.push_back(Candidate{index, age, *value});
        } else {
            skips.add(kHarvestBeforeFirstAge, 1);
        }
    }
}

bool ranksBefore(const Candidate& a, const Candidate& b) {
    if (a.rankValue != b.rankValue) {
        return a.rankValue > b.rankValue;
    }
    return a.schedule != b.schedule ? a.schedule < b.schedule : a.harvestAge < b.harvestAge;
}

// A regime recorded again to its own harvest age and valued in full, as playing its macro values it.
std::optional<RankedRegime> rankedRegime(const Prices& prices, const SearchStand& stand, const Schedule& schedule,
                                         int harvestAge) {
    RunRecorder recorder(prices);
    RecordedRun run = recordSchedule(stand, schedule, harvestAge, &recorder);
    if (run.failure) {
        return std::nullopt;
    }
    run.doc->model.setObserver(nullptr);
    RankedRegime regime;
    regime.schedule = schedule;
    regime.harvestAge = harvestAge;
    regime.text = scheduleText(schedule) + cformat(", final harvest at %d", harvestAge);
    regime.valuation = valueRun(prices, runFacts(run.doc->model, &recorder));
    regime.macro = std::move(run.macro);
    return regime;
}

} // namespace

RecordedRun recordSchedule(const SearchStand& stand, const Schedule& schedule, int harvestAge,
                           StandObserver* observer) {
    RecordedRun result;
    result.doc = std::make_unique<CGROVEXDoc>();
    CGROVEXDoc& doc = *result.doc;
    doc.setTitle("GROVEX1");
    MessageLog log;
    doc.model.setUi(&log);
    doc.model.setObserver(observer);
    MacroStore store;
    DiscardedState stateFile;
    DiscardedState playFile;
    ScheduleInputs given(stand, schedule, harvestAge);
    MacroRecorder recorder(store, doc, log, playFile);
    MacroInputSource inputs(recorder, given);
    ProjectionCommands commands(doc, log, inputs, stateFile, &recorder);
    commands.setRecordsYearly(false); // a searched regime is never charted
    recorder.record();
    int lastTable = doc.model.lastTable();
    commands.initializeAndProject();
    bool kept = commandKept(recorder, given, doc.model, lastTable);
    for (size_t k = 0; kept && k < schedule.treatments.size(); ++k) {
        lastTable = doc.model.lastTable();
        commands.treatAndProject();
        kept = commandKept(recorder, given, doc.model, lastTable);
    }
    recorder.stop();
    doc.model.setUi(nullptr);
    if (!kept) {
        result.failure = !given.refusal().empty() ? given.refusal() : failureReason(withoutRollbackNotices(log));
        return result;
    }
    for (int k = 0; k <= store.lastIndex(); ++k) {
        result.macro.push_back(store.entry(k));
    }
    return result;
}

SearchResult searchRegimes(const Prices& prices, const SearchSpace& space, const SearchStand& stand, size_t keep) {
    SearchResult result;
    const std::vector<Schedule> schedules = space.schedules();
    result.combinations = static_cast<int64_t>(schedules.size()) * space.harvestAgeCount();
    const StandStart start = standStart(stand);
    if (start.failure) {
        result.failure = start.failure;
        return result;
    }
    result.startAge = start.age;
    result.levRanked = !stand.input.qexist;
    Skips skips;
    const HarvestRange range = harvestRange(space, start, schedules.size(), skips);
    std::vector<Candidate> candidates;
    for (size_t k = 0; k < schedules.size() && range.size() > 0; ++k) {
        valueSchedule(prices, stand, schedules, k, start, range, skips, candidates);
    }
    result.valued = static_cast<int64_t>(candidates.size());
    result.skipped = skips.counts();
    const size_t shown = std::min(keep, candidates.size());
    std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(shown), candidates.end(),
                      ranksBefore);
    for (size_t k = 0; k < shown; ++k) {
        if (auto regime = rankedRegime(prices, stand, schedules[candidates[k].schedule], candidates[k].harvestAge)) {
            result.best.push_back(std::move(*regime));
        }
    }
    return result;
}

} // namespace grovex::economics
