#include "app/stand_value.h"
#include "control/macro_recorder.h"
#include "control/macro_text.h"
#include "results/document_file.h"
#include "support/fake_settings.h"
#include "support/recording_ui.h"
#include "support/scripted_inputs.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <random>

namespace grovex {
namespace {

namespace fs = std::filesystem;

const std::string kPricesFile = testData("stand_value_prices.json");
const std::string kMacroFile = testData("macro_thin_fertilize_next.txt");

struct NoView : ResultsViewHooks {
    void clearSelection() override {}
    void refresh() override {}
    void resetViewState() override {}
};

Input1 plantation(float ageTarget) {
    Input1 input;
    input.title = "Tract 7";
    input.target = ageTarget;
    return input;
}

Input2Values rowThinning(float ageTarget) {
    Input2Values thin;
    thin.qthin = true;
    thin.ithin = 1;
    thin.rcut = 4;
    thin.target = ageTarget;
    return thin;
}

// One simulation as its window holds it: the document, its run record, the commands and the macro, and the
// Stand Value model over them.
struct Simulation {
    Simulation(const fs::path& dir, fakes::RecordingUi& ui, const PricesChoice& prices)
        : stateFile((dir / kTemporaryStateFileName).string(), record),
          playFile((dir / kPlayStateFileName).string(), record), recorder(store, *doc, ui, playFile, dir.string()),
          source(recorder, inputs), commands(*doc, ui, source, stateFile, &recorder, &hooks), value(record, prices) {
        doc->setTitle("GROVEX1");
        recorder.setProjection([this] { commands.project(); });
    }

    void initialize(float ageTarget) {
        inputs.input1s.push_back(plantation(ageTarget));
        commands.initializeAndProject();
        ASSERT_FALSE(doc->run.needsInit);
    }
    void playMacro(bool failAtTheEnd) {
        std::vector<MacroEntry> entries;
        std::string error;
        ASSERT_TRUE(readMacroEntries(kMacroFile, entries, error)) << error;
        store.clear();
        for (const MacroEntry& entry : entries) {
            ASSERT_TRUE(store.append(entry));
        }
        if (failAtTheEnd) {
            ASSERT_TRUE(store.appendInteger("not a command", -1));
        }
        recorder.play();
    }
    std::vector<int> recordedAges() const {
        std::vector<int> ages;
        for (const economics::ClassHistory::Stand& stand : record.history().stands()) {
            ages.push_back(stand.age);
        }
        return ages;
    }
    const economics::Valuation& valuation() {
        value.refresh();
        EXPECT_TRUE(value.valuation().has_value()) << value.text();
        return *value.valuation();
    }

    std::shared_ptr<CGROVEXDoc> doc = std::make_shared<CGROVEXDoc>();
    RunRecord record{doc};
    NoView view;
    RecordResetHooks hooks{view, record};
    RecordedStateFile stateFile;
    RecordedStateFile playFile;
    MacroStore store;
    ScriptedInputs inputs;
    MacroRecorder recorder;
    MacroInputSource source;
    ProjectionCommands commands;
    StandValueModel value;
};

class StandValueTest : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("grovex_stand_value_" + std::to_string(std::random_device()()));
        fs::create_directories(dir);
        ui.queueFileName(kPricesFile);
        ASSERT_TRUE(prices.choose());
        ui.clear();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string writeFile(const std::string& name, const std::string& text) {
        const fs::path path = dir / name;
        std::ofstream(path) << text;
        return path.string();
    }

    fs::path dir;
    fakes::RecordingUi ui;
    fakes::FakeSettings settings;
    PricesChoice prices{settings, ui, "/start/"};
};

bool hasItem(const economics::Valuation& v, const std::string& prefix) {
    return std::any_of(v.flows.begin(), v.flows.end(),
                       [&prefix](const economics::CashFlow& f) { return f.item.starts_with(prefix); });
}

// A second Initialize and Project appends its tables to those of the run before; only the new run is valued,
// exactly as a simulation that never had the earlier run.
TEST_F(StandValueTest, ValuesOnlyTheLatestRun) {
    Simulation sim(dir, ui, prices);
    sim.initialize(15);
    sim.inputs.input2s.push_back(rowThinning(20));
    sim.commands.treatAndProject();
    ASSERT_TRUE(hasItem(sim.valuation(), "thinning"));

    ui.queueAnswer(Answer::Yes); // terminate the current run
    sim.initialize(25);
    EXPECT_GT(sim.doc->model.tables.size(), 1u);
    const economics::Valuation& latest = sim.valuation();
    EXPECT_EQ(latest.harvestAge, 25);
    EXPECT_FALSE(hasItem(latest, "thinning"));

    Simulation fresh(dir, ui, prices);
    fresh.initialize(25);
    const economics::Valuation& alone = fresh.valuation();
    EXPECT_EQ(latest.npv, alone.npv);
    EXPECT_EQ(latest.bestAge, alone.bestAge);
    EXPECT_EQ(latest.valueAtBestAge, alone.valueAtBestAge);
    EXPECT_EQ(sim.value.text().substr(sim.value.text().find('\n')),
              fresh.value.text().substr(fresh.value.text().find('\n')));
}

// A macro that fails rolls the document back to before it started; the record of the years goes back with it,
// although the macro's own run had replaced it. The same macro played through records its fertilization.
TEST_F(StandValueTest, FollowsTheRollbackOfAFailedMacro) {
    Simulation sim(dir, ui, prices);
    sim.initialize(20);
    const std::vector<int> ages = sim.recordedAges();
    sim.value.refresh();
    const std::string before = sim.value.text();

    sim.playMacro(true);
    ASSERT_EQ(ui.texts(), std::vector<std::string>{kMacroCouldNotCompleteMessage});
    ASSERT_EQ(sim.doc->model.age, 20);
    EXPECT_EQ(sim.recordedAges(), ages);
    EXPECT_TRUE(sim.record.history().fertilizations().empty());
    EXPECT_FALSE(sim.value.refresh());
    EXPECT_EQ(sim.value.text(), before);

    // Thinned and fertilized in the season after age 15: 150 pounds of nitrogen with phosphorus, which cost
    // 15 + 0.6 x 150 + 25 = 130.
    sim.playMacro(false);
    ASSERT_EQ(sim.doc->model.age, 21);
    const std::vector<economics::Fertilization>& fertilizations = sim.record.history().fertilizations();
    ASSERT_EQ(fertilizations.size(), 1u);
    EXPECT_EQ(fertilizations[0].age, 16);
    EXPECT_EQ(fertilizations[0].poundsNitrogen, 150);
    EXPECT_TRUE(fertilizations[0].phosphorus);
    const economics::Valuation& played = sim.valuation();
    const auto fertilization = std::find_if(played.flows.begin(), played.flows.end(),
                                            [](const economics::CashFlow& f) { return f.item == "fertilization"; });
    ASSERT_NE(fertilization, played.flows.end());
    EXPECT_EQ(fertilization->year, 16);
    EXPECT_DOUBLE_EQ(fertilization->amount, -130.0);
    // The macro's run replaced the one before: its first table is its first target, and every year of it up
    // to the last table's is recorded once.
    EXPECT_EQ(sim.record.runTables().front().age, 15);
    const std::vector<int> playedAges = sim.recordedAges();
    EXPECT_EQ(playedAges.back(), 21);
    for (size_t i = 1; i < playedAges.size(); ++i) {
        EXPECT_EQ(playedAges[i], playedAges[i - 1] + 1);
    }
}

TEST_F(StandValueTest, FollowsReset) {
    Simulation sim(dir, ui, prices);
    sim.initialize(20);
    ASSERT_TRUE(sim.valuation().bestAge.has_value());

    ui.queueAnswer(Answer::No); // reset without saving
    sim.commands.reset();
    EXPECT_TRUE(sim.record.history().stands().empty());
    EXPECT_TRUE(sim.record.runTables().empty());
    EXPECT_TRUE(sim.value.refresh());
    EXPECT_FALSE(sim.value.valuation().has_value());
    EXPECT_NE(sim.value.text().find(kNoRunText), std::string::npos);

    // A new run after Reset is recorded from its first year.
    sim.initialize(18);
    EXPECT_EQ(sim.valuation().harvestAge, 18);
    EXPECT_EQ(sim.recordedAges().back(), 18);
    EXPECT_TRUE(sim.valuation().bestAge.has_value());
}

// A simulation opened from a file has its tables but not the stand of every year: no best age, and the note
// that says why, until a new run is initialized.
TEST_F(StandValueTest, AnOpenedSimulationHasNoBestAge) {
    Simulation projected(dir, ui, prices);
    projected.initialize(20);
    auto opened = std::make_shared<CGROVEXDoc>();
    ASSERT_EQ(loadDocument(*opened, storeDocument(*projected.doc)), DocumentLoad::Ok);
    RunRecord record(opened);
    EXPECT_FALSE(record.complete());
    StandValueModel value(record, prices);
    value.refresh();
    ASSERT_TRUE(value.valuation().has_value());
    EXPECT_EQ(value.valuation()->npv, projected.valuation().npv);
    EXPECT_FALSE(value.valuation()->bestAge.has_value());
    EXPECT_NE(value.text().find("play the run's macro"), std::string::npos);
}

// What the desktop records is valued as the command line's recorder values during the run, with any prices.
TEST(ClassHistoryTest, ValuesTheRecordedStandsWithTheGivenPrices) {
    economics::Prices prices;
    ASSERT_EQ(economics::readPrices(kPricesFile, prices), std::nullopt);
    economics::Prices doubled = prices;
    for (economics::Product& product : doubled.products) {
        product.price *= 2;
    }
    const auto project = [](StandObserver& observer) {
        GrowthModel model;
        model.ResetModel();
        model.setObserver(&observer);
        WriteInput1(model, plantation(30));
        ASSERT_TRUE(StartRun(model));
        model.ProjectToTarget();
    };
    economics::RunRecorder recorder(prices);
    economics::ClassHistory history;
    project(recorder);
    project(history);

    const auto values = history.values(prices);
    const auto twice = history.values(doubled);
    ASSERT_EQ(values.size(), recorder.values().size());
    ASSERT_GT(values.size(), 20u);
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i].age, recorder.values()[i].age);
        EXPECT_DOUBLE_EQ(values[i].value, recorder.values()[i].value);
        EXPECT_DOUBLE_EQ(twice[i].value, 2 * values[i].value);
    }
}

TEST_F(StandValueTest, RemembersTheChosenPricesFile) {
    fakes::FakeSettings empty;
    PricesChoice firstUse(empty, ui, "/start/");
    firstUse.windowOpens();
    ASSERT_EQ(ui.fileDialogs().size(), 1u);
    EXPECT_EQ(ui.fileDialogs()[0].startDirectory, "/start/");
    EXPECT_EQ(firstUse.prices(), nullptr); // cancelled
    EXPECT_EQ(empty.readString(kStandValueSection, kPricesFileKey), std::nullopt);
    ui.clear();

    EXPECT_EQ(settings.readString(kStandValueSection, kPricesFileKey), kPricesFile);
    PricesChoice nextStart(settings, ui, "/start/");
    EXPECT_EQ(nextStart.prices(), nullptr);
    nextStart.windowOpens(); // no dialog: the remembered file is read
    EXPECT_TRUE(ui.fileDialogs().empty());
    EXPECT_EQ(nextStart.path(), kPricesFile);
    ASSERT_NE(nextStart.prices(), nullptr);
    EXPECT_EQ(nextStart.prices()->currency, "USD");

    // The dialog starts in the folder of the remembered file; a cancel changes nothing.
    EXPECT_FALSE(nextStart.choose());
    ASSERT_EQ(ui.fileDialogs().size(), 1u);
    EXPECT_EQ(ui.fileDialogs()[0].startDirectory, testDataDir());
    EXPECT_EQ(ui.fileDialogs()[0].filter, kPricesFilter);
    EXPECT_EQ(nextStart.path(), kPricesFile);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(StandValueTest, ADamagedOrMissingPricesFileIsNamedAndLeavesNoPrices) {
    const std::string damaged = writeFile("damaged.json", R"({"discount_rate": 1.5, "currency": "USD"})");
    ui.queueFileName(damaged);
    EXPECT_FALSE(prices.choose());
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{damaged + ": discount_rate: must be a real rate per year above 0 and below 1 "
                                                 "(0.05 for 5 percent)\n\nNo prices are chosen."});
    EXPECT_EQ(prices.prices(), nullptr);
    EXPECT_EQ(settings.readString(kStandValueSection, kPricesFileKey), kPricesFile); // only a good file is kept

    Simulation sim(dir, ui, prices);
    sim.initialize(20);
    sim.value.refresh();
    EXPECT_FALSE(sim.value.valuation().has_value());
    EXPECT_EQ(sim.value.text(), std::string("GROVEX1\n\n") + kNoPricesText + "\n" + kChoosePricesHint + "\n");

    // Cut short on disk since it was chosen: the same, never an exception.
    writeFile("cut.json", R"({"discount_rate": 0.05, "curr)");
    settings.writeString(kStandValueSection, kPricesFileKey, (dir / "cut.json").string());
    ui.clear();
    EXPECT_FALSE(prices.readRemembered());
    ASSERT_EQ(ui.texts().size(), 1u);
    EXPECT_TRUE(ui.texts()[0].starts_with((dir / "cut.json").string() + ": not a JSON file: ")) << ui.texts()[0];

    const std::string missing = (dir / "missing.json").string();
    settings.writeString(kStandValueSection, kPricesFileKey, missing);
    ui.clear();
    EXPECT_FALSE(prices.readRemembered());
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Unable to open " + missing +
                                                   ": No such file or directory.\n\nNo prices are chosen."});
}

} // namespace
} // namespace grovex
