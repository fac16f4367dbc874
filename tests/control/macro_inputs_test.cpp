#include "control/macro_inputs.h"

#include "control/input2_apply.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

namespace grovex {
namespace {

std::vector<std::string> keysOf(const std::vector<MacroEntry>& entries) {
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    for (const MacroEntry& e : entries) {
        keys.push_back(e.key);
    }
    return keys;
}

using Keys = std::vector<std::string>;

struct Written {
    GrowthModel model;
    std::vector<MacroEntry> entries;
};

Written record(const Input1& input) {
    Written w;
    w.model.ResetModel();
    WriteInput1(w.model, input);
    w.entries = Input1Entries(input, w.model);
    return w;
}

MacroStore storeWith(const std::vector<MacroEntry>& section, const char* start, const char* end) {
    MacroStore store;
    store.appendInteger("Project", -1);
    store.appendInteger(start, -1);
    recordEntries(store, section);
    store.appendInteger(end, -1);
    store.appendInteger("ProjectEnd", -1);
    return store;
}

struct Replayed {
    GrowthModel model;
    RunState run;
    std::string title;
    int position = 0;
    int failures = 0;
    int extractions = 0;
    fakes::RecordingUi ui;

    Replayed() { model.ResetModel(); }

    void replay(const MacroStore& store, const char* start, const char* end) {
        ReplayHooks hooks;
        hooks.macroFailure = [this] { ++failures; };
        hooks.extractTreeList = [this] {
            ++extractions;
            return true;
        };
        hooks.ui = &ui;
        ReplaySection(store, position, start, end, {model, run, title}, hooks);
    }
};

void expectSameInputs(const GrowthModel& a, const GrowthModel& b) {
    EXPECT_EQ(a.nyears, b.nyears);
    EXPECT_EQ(a.qexist, b.qexist);
    EXPECT_EQ(a.site, b.site);
    EXPECT_EQ(a.qlist, b.qlist);
    EXPECT_EQ(a.ts, b.ts);
    EXPECT_EQ(a.exage, b.exage);
    EXPECT_EQ(a.age, b.age);
    EXPECT_EQ(a.qtba, b.qtba);
    EXPECT_EQ(a.tba, b.tba);
    EXPECT_EQ(a.tp, b.tp);
    EXPECT_EQ(a.ps, b.ps);
    EXPECT_EQ(a.qdrain, b.qdrain);
    EXPECT_EQ(a.qhdwd, b.qhdwd);
    EXPECT_EQ(a.hdwdpercnt, b.hdwdpercnt);
    EXPECT_EQ(a.pcrit, b.pcrit);
    EXPECT_EQ(a.target, b.target);
    EXPECT_EQ(a.vtype, b.vtype);
    EXPECT_EQ(a.voltyp, b.voltyp);
    EXPECT_EQ(a.voldbh, b.voldbh);
    EXPECT_EQ(a.voltop, b.voltop);
    EXPECT_EQ(a.volnam, b.volnam);
    EXPECT_EQ(a.vola, b.vola);
    EXPECT_EQ(a.volb, b.volb);
}

// Records the sheet, replays the recorded section on a fresh model and expects the same inputs.
Replayed recordAndReplay(const Input1& input, const Written& w) {
    Replayed r;
    r.replay(storeWith(w.entries, kStartInput1, kEndInput1), kStartInput1, kEndInput1);
    EXPECT_EQ(r.failures, 0);
    EXPECT_EQ(r.position, static_cast<int>(w.entries.size()) + 3);
    EXPECT_EQ(r.title, input.title);
    expectSameInputs(r.model, w.model);
    return r;
}

TEST(MacroInput1Test, BareLandInCubicFeet) {
    Input1 input;
    input.title = "Tract 7";
    input.hdwdPercent = 12;
    const Written w = record(input);
    EXPECT_EQ(keysOf(w.entries), (Keys{"title", "nyears", "qexist", "site", "tp", "ps", "qdrain", "qhdwd", "hdwdpercnt",
                                       "pcrit", "target", "vtype", "voltyp", "voldbh[0]", "voltop"}));
    EXPECT_EQ(w.entries[5], MacroEntry::realEntry("ps", 0.9f));
    EXPECT_EQ(w.entries[8], MacroEntry::realEntry("hdwdpercnt", 0.12f));
    EXPECT_EQ(w.entries[13], MacroEntry::integerEntry("voldbh[0]", 7));
    recordAndReplay(input, w);
}

TEST(MacroInput1Test, ExistingStandWithBasalAreaInCords) {
    Input1 input;
    input.qexist = true;
    input.exage = 12;
    input.tba = 85;
    input.vtype = kCordsAndBoardFeet;
    const Written w = record(input);
    EXPECT_EQ(keysOf(w.entries), (Keys{"title", "nyears", "qexist", "site", "qlist", "ts", "exage", "k", "qtba", "qtba",
                                       "tba", "qhdwd", "pcrit", "target", "vtype", "voltyp", "voldbh[0]"}));
    EXPECT_EQ(w.entries[7], MacroEntry::integerEntry("k", 12));
    EXPECT_EQ(w.entries[8].integer, 0);
    EXPECT_EQ(w.entries[9].integer, 1);
    recordAndReplay(input, w);

    input.exage = 5; // young: no basal area, drainage asked
    EXPECT_EQ(keysOf(record(input).entries),
              (Keys{"title", "nyears", "qexist", "site", "qlist", "ts", "exage", "k", "qdrain", "qhdwd", "pcrit",
                    "target", "vtype", "voltyp", "voldbh[0]"}));
}

TEST(MacroInput1Test, StandFromATreeListTakesTheTreeListAgainOnReplay) {
    Input1 input;
    input.qexist = true;
    input.qlist = true;
    const Written w = record(input);
    EXPECT_EQ(keysOf(w.entries), (Keys{"title", "nyears", "qexist", "EXTRACTLIST", "qlist", "pcrit", "target", "vtype",
                                       "voltyp", "voldbh[0]", "voltop"}));
    EXPECT_EQ(w.entries[3].integer, 0);
    EXPECT_EQ(recordAndReplay(input, w).extractions, 1);
}

TEST(MacroInput1Test, CustomEquationsInTwoPassesReplayToTheSameSlots) {
    Input1 input;
    input.vtype = kCustomEquations;
    input.equations[0] = {"Pulp", 0.25f, 0.0021f, 5};
    input.equations[1].name = " ";
    input.equations[2] = {"Sawtimber", 1.5f, 0.004f, 9};
    const Written w = record(input);
    const Keys slot = {"volnam", "vola[i]", "volb[i]", "voldbh[i]"};
    const Keys named = {"volnam", "voldbh[i]", "vola[i]", "volb[i]"};
    Keys expected{"title", "nyears", "qexist", "site", "tp", "ps", "qdrain", "qhdwd", "pcrit", "target", "vtype"};
    for (const Keys& group : {slot, slot, slot, named, named}) {
        expected.insert(expected.end(), group.begin(), group.end());
    }
    EXPECT_EQ(keysOf(w.entries), expected);
    EXPECT_EQ(w.entries[19], MacroEntry::textEntry("volnam", "-blank-", 30));
    EXPECT_EQ(w.entries[22], MacroEntry::integerEntry("voldbh[i]", 1, 3));
    EXPECT_EQ(w.entries[27], MacroEntry::textEntry("volnam", "Sawtimber", 30));
    EXPECT_EQ(w.entries[30], MacroEntry::realEntry("volb[i]", 0.004f, 3));

    const Replayed r = recordAndReplay(input, w);
    EXPECT_EQ(r.model.volnam[1], "-blank-");
    EXPECT_EQ(r.model.voldbh[2], 9);
    EXPECT_EQ(r.model.voldbh[0], 5); // equation 1, not the minimum class of cubic feet
}

// A stand of 15 years from bare land, as a treatment finds it.
GrowthModel standAtFifteen() {
    GrowthModel m;
    m.ResetModel();
    WriteInput1(m, Input1{});
    EXPECT_TRUE(StartRun(m));
    while (m.age < 15) {
        m.StandStats();
        m.GrowOneYear();
        ++m.age;
    }
    m.StandStats();
    return m;
}

TEST(MacroInput2Test, ThinningAndFertilizationReplayAsApplied) {
    Input2Values values;
    values.qthin = true;
    values.ithin = 3;
    values.rcut = 4;
    values.ilow = 2;
    values.tlim = 60;
    values.percnt = 10;
    values.qfert = true;
    values.qphos = true;
    values.lbn = 150;
    values.pcrit = kCriterionAge;
    values.target = 20;

    GrowthModel applied = standAtFifteen();
    const std::vector<MacroEntry> entries = Input2Entries(values, applied);
    EXPECT_EQ(keysOf(entries),
              (Keys{"bab", "qthin", "ithin", "kt_check", "rcut", "ilow", "dlow", "tlim", "baa", "pcrit", "target",
                    "qhdwd", "percnt", "qfert", "kfert_check", "qphos", "lbn", "tthin"}));
    EXPECT_EQ(entries[0], MacroEntry::realEntry("bab", applied.tba));
    EXPECT_EQ(entries[4], MacroEntry::realEntry("rcut", 0.25f));

    Replayed r;
    r.model = applied;
    RunState run;
    ApplyInput2(applied, run, values);
    r.replay(storeWith(entries, kStartInput2, kEndInput2), kStartInput2, kEndInput2);
    EXPECT_EQ(r.failures, 0);
    EXPECT_EQ(r.run.bab, run.bab);
    EXPECT_EQ(r.run.baa, 60);
    for (const auto& [a, b] : {std::pair{r.model.kt, applied.kt},
                               {r.model.kfert, applied.kfert},
                               {r.model.ithin, applied.ithin},
                               {r.model.ilow, applied.ilow},
                               {r.model.qphos, applied.qphos},
                               {r.model.lbn, applied.lbn},
                               {r.model.qfert, applied.qfert},
                               {r.model.nrec, applied.nrec}}) {
        EXPECT_EQ(a, b);
    }
    EXPECT_EQ(r.model.tba, applied.tba); // thinned alike
    EXPECT_EQ(r.model.hdwdpercnt, 0.1f);
}

TEST(MacroInput2Test, NoTreatmentAndNextTarget) {
    const GrowthModel stand = standAtFifteen();
    Input2Values values;
    values.pcrit = kCriterionBasalArea;
    values.target = 120;
    EXPECT_EQ(keysOf(Input2Entries(values, stand)), (Keys{"kt", "pcrit", "target", "qhdwd", "qfert"}));

    Replayed r;
    r.model = stand;
    r.model.kt = 9;
    r.model.pcrit = kCriterionCords;
    r.replay(storeWith({MacroEntry::marker("next")}, kStartInput2, kEndInput2), kStartInput2, kEndInput2);
    EXPECT_EQ(r.model.kt, 0);
    EXPECT_TRUE(r.ui.messages().empty());

    Replayed old;
    old.model = stand;
    old.model.age = 26;
    old.model.pcrit = kCriterionCords;
    EXPECT_THROW(
        old.replay(storeWith({MacroEntry::marker("next")}, kStartInput2, kEndInput2), kStartInput2, kEndInput2),
        MacroAbandon);
    ASSERT_EQ(old.ui.messages().size(), 1u);
    EXPECT_EQ(old.ui.messages()[0].text, kNextNeedsYoungStand);
}

struct RangeCase {
    std::vector<MacroEntry> section;
    const char* message; // null: accepted
};

class MacroRangeCheckTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(MacroRangeCheckTest, ShowsItsMessageAndAbandonsTheCommand) {
    Replayed r;
    r.model = standAtFifteen();
    r.model.dhigh = 7;
    const MacroStore store = storeWith(GetParam().section, kStartInput2, kEndInput2);
    if (GetParam().message == nullptr) {
        EXPECT_NO_THROW(r.replay(store, kStartInput2, kEndInput2));
        EXPECT_TRUE(r.ui.messages().empty());
        return;
    }
    try {
        r.replay(store, kStartInput2, kEndInput2);
        FAIL() << "accepted";
    } catch (const MacroAbandon& abandon) {
        EXPECT_EQ(abandon.cause(), MacroAbandon::Cause::ValueOutOfRange);
    }
    ASSERT_EQ(r.ui.messages().size(), 1u);
    EXPECT_EQ(r.ui.messages()[0].text, GetParam().message);
}

MacroEntry real(const char* key, float value) {
    return MacroEntry::realEntry(key, value);
}
MacroEntry integer(const char* key, int32_t value) {
    return MacroEntry::integerEntry(key, value);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MacroRangeCheckTest,
    ::testing::Values(RangeCase{{real("dlow", 8)}, kMinDbhOutOfRange}, RangeCase{{real("dlow", -1)}, kMinDbhOutOfRange},
                      RangeCase{{real("dlow", 7)}, nullptr}, RangeCase{{real("dhigh", 99)}, kMaxDbhOutOfRange},
                      RangeCase{{real("dhigh", -0.5f)}, kMaxDbhOutOfRange},
                      RangeCase{{integer("ithin", 2), integer("ilow", 2), real("tlim", 999)}, kResidualOutOfRange},
                      RangeCase{{integer("ithin", 3), integer("ilow", 2), real("tlim", -1)}, kResidualOutOfRange},
                      // a row thinning does not use the residual basal area: it replays whatever was recorded
                      RangeCase{{integer("ithin", 1), integer("ilow", 2), real("tlim", 999)}, nullptr},
                      RangeCase{{integer("ithin", 2), integer("ilow", 1), real("tlim", 999)}, nullptr}));

TEST(MacroReplayTest, AppliesEveryValueKey) {
    // Values within their domains and apart from the reset model's, so that each one shows where it went.
    const std::vector<std::pair<const char*, int32_t>> integers{
        {"nyears", 70}, {"qexist", 1}, {"qlist", 1}, {"k", 12},     {"qtba", 1},      {"qdrain", 1},
        {"qhdwd", 1},   {"pcrit", 4},  {"vtype", 2}, {"voltyp", 3}, {"voldbh[0]", 9}, {"kt", 5},
        {"qthin", 1},   {"ithin", 3},  {"ilow", 1},  {"qfert", 1},  {"qphos", 0},     {"lbn", 150}};
    std::vector<MacroEntry> section;
    for (const auto& [key, value] : integers) {
        section.push_back(integer(key, value)); // NOLINT(performance-inefficient-vector-operation): more follow
    }
    const std::vector<std::pair<const char*, float>> reals{
        {"site", 55.5f}, {"ts", 600.5f},    {"exage", 12},    {"tba", 85.5f},  {"tp", 900.5f},
        {"ps", 0.75f},   {"target", 55.5f}, {"voltop", 4.5f}, {"rcut", 0.25f}, {"hdwdpercnt", 0.5f}};
    for (const auto& [key, value] : reals) {
        section.push_back(real(key, value));
    }
    section.push_back(real("percnt", 0.25f));
    section.push_back(real("baa", 55));
    section.push_back(real("bab", 999)); // the current basal area is taken, not the recorded one
    section.push_back(MacroEntry::textEntry("title", "Run \"A\""));
    section.push_back(MacroEntry::textEntry("volnam", "Posts", 15));
    section.push_back(MacroEntry::realEntry("vola[i]", 2.5f, 2));
    section.push_back(MacroEntry::realEntry("volb[i]", 3.5f, 2));
    section.push_back(MacroEntry::integerEntry("voldbh[i]", 4, 2));

    Replayed r;
    r.replay(storeWith(section, kStartInput1, kEndInput1), kStartInput1, kEndInput1);
    EXPECT_EQ(r.failures, 0);
    EXPECT_TRUE(r.ui.messages().empty());
    const GrowthModel& m = r.model;
    const std::vector<int32_t> gotIntegers{m.nyears, m.qexist, m.qlist, m.age,    m.qtba,      m.qdrain,
                                           m.qhdwd,  m.pcrit,  m.vtype, m.voltyp, m.voldbh[0], m.kt,
                                           m.qthin,  m.ithin,  m.ilow,  m.qfert,  m.qphos,     m.lbn};
    for (size_t i = 0; i < gotIntegers.size(); ++i) {
        EXPECT_EQ(gotIntegers[i], integers[i].second) << integers[i].first;
    }
    const std::vector<float> gotReals{m.site, m.ts, m.exage, m.tba, m.tp, m.ps, m.target, m.voltop, m.rcut};
    for (size_t i = 0; i < gotReals.size(); ++i) {
        EXPECT_EQ(gotReals[i], reals[i].second) << reals[i].first;
    }
    EXPECT_EQ(m.hdwdpercnt, 0.25f); // "percnt" came after "hdwdpercnt"
    EXPECT_EQ(r.run.baa, 55);
    EXPECT_EQ(r.run.bab, 85.5f);
    EXPECT_EQ(r.title, "Run \"A\"");
    EXPECT_EQ(m.volnam[1], "Posts");
    EXPECT_EQ(m.vola[1], 2.5f);
    EXPECT_EQ(m.volb[1], 3.5f);
    EXPECT_EQ(m.voldbh[1], 4);
}

TEST(MacroReplayTest, TreatmentYearsAreKeptWithinTheRun) {
    Replayed r;
    r.model.age = 15;
    r.model.nyears = 40;
    r.model.kt = 3;
    r.model.kfert = 70;
    r.replay(storeWith({MacroEntry::marker("kt_check"), MacroEntry::marker("kfert_check")}, kStartInput2, kEndInput2),
             kStartInput2, kEndInput2);
    EXPECT_EQ(r.model.kt, 15);
    EXPECT_EQ(r.model.kfert, 40);
}

TEST(MacroReplayTest, BrokenSectionsRunTheFailureHandlingAndGoOn) {
    // No start marker: applied from the play position, after the failure handling.
    MacroStore noStart;
    noStart.appendInteger("nyears", 33);
    noStart.appendInteger("end Input1", -1);
    noStart.appendInteger("ProjectEnd", -1);
    Replayed a;
    a.replay(noStart, kStartInput1, kEndInput1);
    EXPECT_EQ(a.model.nyears, 33);
    EXPECT_EQ(a.failures, 1);
    EXPECT_EQ(a.position, 3);

    // A key outside the vocabulary or a slot no equation has is skipped; the rest applies.
    Replayed b;
    b.replay(storeWith({integer("bogus", 1), MacroEntry::realEntry("vola[i]", 9, 0),
                        MacroEntry::textEntry("volnam", "X", 7), integer("lbn", 80)},
                       kStartInput2, kEndInput2),
             kStartInput2, kEndInput2);
    EXPECT_EQ(b.failures, 3);
    EXPECT_EQ(b.model.lbn, 80);
    EXPECT_EQ(b.position, 8); // past the last entry, where the failure handling leaves the play

    // A section that runs to the last entry without its end marker.
    MacroStore noEnd;
    noEnd.appendInteger("start Input2", -1);
    noEnd.appendInteger("lbn", 90);
    noEnd.appendInteger("lbn", 95);
    Replayed c;
    c.replay(noEnd, kStartInput2, kEndInput2);
    EXPECT_EQ(c.model.lbn, 90); // the entry at the last index is not applied
    EXPECT_EQ(c.failures, 2);
    EXPECT_EQ(c.position, 3);

    // A refused tree list abandons the command.
    Replayed d;
    ReplayHooks hooks;
    hooks.extractTreeList = [] { return false; };
    const MacroStore extract = storeWith({integer("EXTRACTLIST", 0)}, kStartInput1, kEndInput1);
    EXPECT_THROW(ReplaySection(extract, d.position, kStartInput1, kEndInput1, {d.model, d.run, d.title}, hooks),
                 MacroAbandon);
}

} // namespace
} // namespace grovex
