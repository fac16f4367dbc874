#include "batch/regime.h"
#include "batch/stand_run.h"
#include "support/test_paths.h"

#include "control/macro_text.h"
#include "model/growth_model.h"

#include <gtest/gtest.h>

#include <memory>

namespace grovex::batch {
namespace {

const std::string kThinningMacro = testData("macro_thin_fertilize_next.txt");

Regime regimeFrom(const std::string& path, const std::string& name = "thin") {
    Regime regime;
    const std::optional<std::string> refused = readRegime({name, path}, regime);
    EXPECT_EQ(refused, std::nullopt);
    return regime;
}

Regime regimeFromText(const std::string& text, const std::string& name) {
    std::vector<MacroEntry> entries;
    std::string error;
    EXPECT_TRUE(parseMacroText(text, entries, error)) << error;
    Regime regime;
    EXPECT_EQ(makeRegime(name, std::move(entries), regime), std::nullopt);
    return regime;
}

StandRecord row(std::string id, std::initializer_list<std::pair<size_t, std::string>> cells) {
    StandRecord record;
    record.standId = std::move(id);
    for (const auto& [column, text] : cells) {
        record.known[column] = text;
    }
    return record;
}

// Positions in kKnownColumns.
constexpr size_t kTitle = 0, kRotation = 1, kSite = 2, kPlanted = 3, kSurvival = 4, kExistingAge = 5, kTrees = 6,
                 kPoorlyDrained = 8, kTreeList = 10;

ProjectInput acceptedInput(const StandRecord& stand, const Regime& regime) {
    std::string error;
    const StandOptions options = standOptions(stand, regime.kept, "", error);
    EXPECT_EQ(error, "");
    ProjectInput input;
    EXPECT_EQ(standInput(options, fieldName, input), std::nullopt);
    return input;
}

std::vector<std::string> lines(const std::vector<MacroEntry>& entries) {
    std::vector<std::string> out;
    out.reserve(entries.size());
    for (const MacroEntry& entry : entries) {
        out.push_back(macroEntryLine(entry));
    }
    return out;
}

TEST(RegimeTest, KeepsTheRecordedTargetRotationAndUnits) {
    // The macro projects bare land to age 15 in a 60-season rotation, in cubic feet outside bark from DBH
    // class 7 to a 6-inch top.
    const Regime regime = regimeFrom(kThinningMacro);
    EXPECT_EQ(regime.kept.rotation, "60");
    EXPECT_EQ(regime.kept.targets[0], "15");
    for (size_t k = 1; k < regime.kept.targets.size(); ++k) {
        EXPECT_EQ(regime.kept.targets[k], std::nullopt);
    }
    EXPECT_EQ(regime.kept.units, "cubic");
    EXPECT_EQ(regime.kept.bark, "outside");
    EXPECT_EQ(regime.kept.minDbh, "7");
    EXPECT_EQ(regime.kept.top, "6");
    EXPECT_EQ(regime.kept.site, std::nullopt); // the stand itself comes from each row
}

TEST(RegimeTest, MergingTheStandItWasRecordedForGivesTheMacroBack) {
    // The macro was recorded for "Tract 7": bare land, site index 60, 800 trees planted, 90 percent survival.
    const Regime regime = regimeFrom(kThinningMacro);
    const StandRecord stand = row("T7", {{kTitle, "Tract 7"}, {kSite, "60"}, {kPlanted, "800"}, {kSurvival, "90"}});
    const std::optional<std::vector<MacroEntry>> merged = mergedMacro(regime, acceptedInput(stand, regime));
    ASSERT_TRUE(merged.has_value());
    EXPECT_EQ(lines(*merged), lines(regime.entries));
}

TEST(RegimeTest, AnExistingStandReplacesOnlyTheFirstCommandsInputs) {
    const Regime regime = regimeFrom(kThinningMacro);
    const StandRecord stand = row("E1", {{kExistingAge, "10"}, {kTrees, "600"}, {kSite, "65"}, {kRotation, "40"}});
    const std::vector<MacroEntry> merged = *mergedMacro(regime, acceptedInput(stand, regime));
    const std::vector<std::string> got = lines(merged);
    // The initialization as recording the Plantation Information page for this stand writes it.
    // An empty title has every field empty, so its line shows the empty integer to differ from a marker.
    const std::vector<std::string> head{
        "ProjectInit",  "start Input1",    "title int 2147483647", "nyears int 40",  "qexist int 1",
        "site real 65", "qlist int 0",     "ts real 600",          "exage real 10",  "k int 10",
        "qtba int 0",   "qhdwd int 0",     "pcrit int 1",          "target real 15", "vtype int 1",
        "voltyp int 2", "voldbh[0] int 7", "voltop real 6",        "end Input1"};
    ASSERT_GE(got.size(), head.size());
    EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + static_cast<long>(head.size())), head);
    // Every later command as recorded.
    const std::vector<std::string> recorded = lines(regime.entries);
    const std::vector<std::string> tail(recorded.begin() + static_cast<long>(regime.initializationEnd), recorded.end());
    EXPECT_EQ(std::vector<std::string>(got.begin() + static_cast<long>(head.size()) - 1, got.end()), tail);
}

TEST(RegimeTest, RefusesAMacroThatDoesNotStartWithAnInitialization) {
    std::vector<MacroEntry> entries;
    std::string error;
    ASSERT_TRUE(parseMacroText("Project\nstart Input2\nnext\nend Input2\nProjectEnd\n", entries, error));
    Regime regime;
    const std::optional<std::string> refused = makeRegime("next", entries, regime);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->rfind("Regime next: a regime must start with Initialize and Project", 0), 0u) << *refused;

    const std::optional<std::string> missing = readRegime({"gone", "/nonexistent/regime.gmc"}, regime);
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(*missing, "Regime gone: Unable to open the macro: /nonexistent/regime.gmc: No such file or directory.");
}

TEST(RegimeTest, OptionNamesTheRegime) {
    EXPECT_EQ(parseRegimeOption("thin=/a/b/row-thin.gmc").name, "thin");
    EXPECT_EQ(parseRegimeOption("thin=/a/b/row-thin.gmc").path, "/a/b/row-thin.gmc");
    EXPECT_EQ(parseRegimeOption("/a/b/row-thin.gmc").name, "row-thin");
}

// ---- One stand under a regime ----

StandResult runOne(const Regime& regime, const StandRecord& stand, const std::string& folder = "") {
    const std::vector<Regime> regimes{regime};
    const StandRun run(regimes, true, folder);
    StandOutcome outcome = run.run(stand, {true});
    EXPECT_EQ(outcome.results.size(), 1u);
    return outcome.results.front();
}

Regime defaultRegime() {
    Regime regime;
    EXPECT_EQ(projectRegime(StandOptions{}, regime), std::nullopt);
    return regime;
}

TEST(StandRunTest, TheDefaultRegimeProjectsAsTheModelDoesAlone) {
    const StandRecord stand = row("B1", {{kSite, "70"}, {kPlanted, "700"}, {kSurvival, "85"}});
    const StandResult result = runOne(defaultRegime(), stand);
    ASSERT_TRUE(result.ok) << result.message;

    // The same stand through the model, as `grovex-cli project --site 70 --planted 700 --survival 85` runs it.
    auto model = std::make_unique<GrowthModel>();
    model->ResetModel();
    Input1 input;
    input.site = 70;
    input.tp = 700;
    input.psPercent = 85;
    WriteInput1(*model, input);
    ASSERT_TRUE(StartRun(*model));
    model->ProjectToTarget();
    ASSERT_EQ(model->tables.size(), 1u);
    const ResultTable& table = model->tables.front();

    ASSERT_EQ(result.summaries.size(), 1u);
    const SummaryRow& s = result.summaries.front();
    EXPECT_EQ(s.age, 25);
    EXPECT_FALSE(s.thinned);
    EXPECT_EQ(*s.basalArea, model->tba);
    EXPECT_EQ(*s.dominantHeight, model->hd);
    EXPECT_EQ(*s.qmd, model->dq);
    EXPECT_EQ(s.volumes[2], table.rows.back()[6]);
    EXPECT_EQ(s.volumeHeadings[2], "Volume o.b. To  6in");
    EXPECT_FALSE(s.hardwoodPercent.has_value());
    ASSERT_EQ(result.dbhRows.size(), table.rows.size() - 1);
    EXPECT_EQ(result.dbhRows.front().dbhClass, static_cast<int>(table.rows.front()[0]));
    EXPECT_EQ(result.dbhRows.front().trees, table.rows.front()[1]);
}

TEST(StandRunTest, FailuresNameTheRowAndWhereTheValueCameFrom) {
    const Regime thin = regimeFrom(kThinningMacro);
    struct Case {
        StandRecord stand;
        std::string message;
    };
    const std::vector<Case> cases{
        {row("B-204", {{kSite, "10"}}),
         "row 1 (stand_id B-204), column site: Please enter a real number from 20 to 100"},
        {row("B-205", {{kPoorlyDrained, "2"}}),
         "row 1 (stand_id B-205), column poorly_drained: must be 0 or 1, not \"2\""},
        // The regime projects to age 15: a 20-year-old stand is past it.
        {row("E-20", {{kExistingAge, "20"}, {kTrees, "500"}}),
         "row 1 (stand_id E-20), regime thin, target_age 15: Please enter an integer from 20 to 60"},
        {row("T-1", {{kTreeList, "missing.dat"}}), "row 1 (stand_id T-1), column treelist: Unable to open "},
    };
    for (const Case& c : cases) {
        const StandResult result = runOne(thin, c.stand, "/nonexistent");
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message.rfind(c.message, 0), 0u) << result.message;
        EXPECT_TRUE(result.summaries.empty());
    }
}

TEST(StandRunTest, ACommandTheStandCannotTakeFailsThatStand) {
    // At age 15 this stand holds far less than the 300 square feet the low thinning would leave.
    const Regime regime = regimeFromText("ProjectInit\nstart Input1\ntitle text \"\"\nnyears int 60\nqexist int 0\n"
                                         "site real 60\ntp real 800\nps real 0.9\nqdrain int 0\nqhdwd int 0\n"
                                         "pcrit int 1\ntarget real 15\nvtype int 1\nvoltyp int 2\nvoldbh[0] int 7\n"
                                         "voltop real 6\nend Input1\nProject\nProjectEnd\n"
                                         "Project\nstart Input2\nbab real 100\nqthin int 1\nithin int 2\nkt_check\n"
                                         "ilow int 2\ndlow real 0\ntlim real 300\nbaa real 300\npcrit int 1\n"
                                         "target real 20\nqhdwd int 0\nqfert int 0\ntthin\nend Input2\nProjectEnd\n",
                                         "heavy");
    const StandResult result = runOne(regime, row("S1", {{kSite, "60"}}));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "row 1 (stand_id S1), regime heavy: The TargetResidual Basal Area is out of range");
}

TEST(StandRunTest, AStandGrownPastItsOwnRotationSaysSo) {
    // The regime grows bare land to age 30, then to the next target; this row's rotation ends at 30. A failed
    // stand is thrown away, not rolled back, so no rollback notice takes the place of the reason.
    const Regime regime = regimeFromText("ProjectInit\nstart Input1\ntitle text \"\"\nnyears int 60\nqexist int 0\n"
                                         "site real 60\ntp real 800\nps real 0.9\nqdrain int 0\nqhdwd int 0\n"
                                         "pcrit int 1\ntarget real 30\nvtype int 1\nvoltyp int 2\nvoldbh[0] int 7\n"
                                         "voltop real 6\nend Input1\nProject\nProjectEnd\n"
                                         "Project\nstart Input2\nnext\nend Input2\nProjectEnd\n",
                                         "next");
    const StandResult result = runOne(regime, row("R-30", {{kRotation, "30"}}));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "row 1 (stand_id R-30), regime next: The age has reached its maximum value.");
}

TEST(StandRunTest, AStandFromATreeListTakesItsTrees) {
    // plot-a.dat: a 12-year-old plot. The regime grows it to 15, thins it (a thinned-tree table and the
    // residual stand), grows it to 20 and to the next target.
    const StandResult result = runOne(regimeFrom(kThinningMacro), row("T-2", {{kTreeList, "treelists/plot-a.dat"}}),
                                      sourceDir() + "/examples/stands");
    ASSERT_TRUE(result.ok) << result.message;
    ASSERT_GE(result.summaries.size(), 4u);
    EXPECT_EQ(result.summaries[0].age, 15);
    EXPECT_FALSE(result.summaries[0].thinned);
    EXPECT_TRUE(result.summaries[1].thinned);
    EXPECT_FALSE(result.summaries[1].qmd.has_value()); // a thinned-tree table has no stand summary
}

} // namespace
} // namespace grovex::batch
