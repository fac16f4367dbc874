// The model's reset values and its fixed-capacity text fields.

#include "model/growth_model.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace grovex {
namespace {

// A model in which every field the reset touches holds something else.
GrowthModel scribbledModel() {
    GrowthModel m;
    for (int i = 0; i <= kMaxRecords; ++i) {
        m.dbh[i] = m.freq[i] = m.thinFreq[i] = m.ht[i] = m.crownRatio[i] = m.crownLength[i] = 3.5f;
    }
    m.nrec = 123;
    m.age = m.kt = m.kfert = 17;
    m.exage = 17;
    m.nyears = 30;
    m.site = m.tp = m.ts = m.ps = m.hdwdpercnt = m.target = 1.5f;
    m.pcrit = m.lbn = m.ithin = m.ilow = m.vtype = m.voltyp = 3;
    m.rcut = m.dlow = m.dhigh = m.tlim = m.thinRatio = m.plotArea = m.voltop = 0.25f;
    m.voldbh = {2, 3, 4};
    m.volnam = {"a", "b", "c"};
    m.vola = {1, 2, 3};
    m.volb = {4, 5, 6};
    m.qexist = m.qlist = m.qtba = m.qdrain = m.qhdwd = m.qthin = m.qfert = 1;
    m.qphos = 0;
    m.title = "Kept";
    m.tba = 88.0f;
    m.hd = 44.0f;
    m.tables.resize(3);
    return m;
}

TEST(ResetModel, RestoresResetValuesClearsSlotsAndKeepsTheRest) {
    GrowthModel m = scribbledModel();
    m.ResetModel();

    const SlotArray zeros{};
    for (const SlotArray* slots : {&m.dbh, &m.freq, &m.thinFreq, &m.ht, &m.crownRatio, &m.crownLength}) {
        EXPECT_TRUE(std::equal(slots->begin() + 1, slots->end(), zeros.begin() + 1));
    }
    EXPECT_EQ(m.nrec, 123);

    EXPECT_EQ(std::vector<int32_t>({m.qexist, m.qlist, m.qtba, m.qdrain, m.qhdwd, m.qthin, m.qfert, m.qphos}),
              std::vector<int32_t>({0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(
        std::vector<int32_t>({m.age, m.kt, m.kfert, m.nyears, m.pcrit, m.lbn, m.ithin, m.ilow, m.vtype, m.voltyp}),
        std::vector<int32_t>({0, 0, 0, 60, 1, 200, 1, 2, 1, 2}));
    EXPECT_EQ(std::vector<float>({m.exage, m.site, m.tp, m.ts, m.ps, m.hdwdpercnt, m.target, m.rcut, m.dlow, m.dhigh,
                                  m.tlim, m.thinRatio, m.plotArea, m.voltop}),
              std::vector<float>({0, 60, 800, 800, 0.9f, 0.05f, 15, 0.2f, 0, 7, 70, 1, 1, 6}));
    EXPECT_EQ(m.voldbh, (std::array<int32_t, 3>{7, 0, 0}));
    EXPECT_EQ(m.volnam, (std::array<std::string, 3>{"-blank-", "-blank-", "-blank-"}));
    EXPECT_EQ(m.vola, (std::array<float, 3>{}));
    EXPECT_EQ(m.volb, (std::array<float, 3>{}));

    // Not touched: the title, the basal area (an input of an existing stand), other stand values, tables.
    EXPECT_EQ(m.title, "Kept");
    EXPECT_EQ(m.tba, 88.0f);
    EXPECT_EQ(m.hd, 44.0f);
    EXPECT_EQ(m.tables.size(), 3u);
}

TEST(TextFields, LongerTextsAreShortenedToTheirFieldAndReported) {
    GrowthModel m;
    fakes::RecordingUi ui;
    m.setUi(&ui);

    m.setTitle(std::string(79, 't'));
    m.setVolumeName(2, std::string(14, 'v'));
    EXPECT_TRUE(ui.messages().empty());

    m.setTitle(std::string(80, 'T'));
    m.setVolumeName(1, std::string(15, 'V'));
    EXPECT_EQ(m.title, std::string(79, 'T'));
    EXPECT_EQ(m.volnam[1], std::string(14, 'V'));
    EXPECT_EQ(m.volnam[2], std::string(14, 'v'));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::Ok);
}

} // namespace
} // namespace grovex
