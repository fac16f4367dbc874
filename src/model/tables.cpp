// Stock tables: per-tree volumes summed by one-inch DBH class, headings and the stand summary.

#include "base/c_format.h"
#include "base/platform/ui.h"
#include "model/growth_model.h"
#include "model/numerics.h"
#include "model/volumes.h"

#include <algorithm>
#include <array>

namespace grovex {
using namespace numerics;

namespace {

constexpr int kLargestClassRow = 40; // larger trees count only in the total row
constexpr float kBasalAreaFactor = 0.005454f;

struct TreeVolumes {
    float vol1 = 0;
    float vol2 = 0;
    float vol3 = 0;
};

TreeVolumes treeVolumes(const GrowthModel& m, float dbh, float D2H, int cls) {
    const VolumeCoefficients& k =
        UsesThinnedCoefficients(m.qthin, m.ithin) ? kThinnedCoefficients : kUnthinnedCoefficients;
    TreeVolumes v;
    if (m.vtype == kCubicFeet || m.vtype == kCordsAndBoardFeet) {
        const float V = TotalVolumeOutside(k, D2H);
        v.vol1 = V;
        if (m.vtype == kCubicFeet) {
            v.vol2 = cls >= 5 ? f32(static_cast<double>(V) * RatioOutside(k, 4.0f, dbh)) : 0.0f;
            if (cls >= m.voldbh[0] && dbh > m.voltop) {
                v.vol3 = m.voltyp == 1
                             ? f32(static_cast<double>(TotalVolumeInside(k, D2H)) * RatioInside(k, m.voltop, dbh))
                             : f32(static_cast<double>(V) * RatioOutside(k, m.voltop, dbh));
            }
        } else {
            const int perCord = CubicFeetPerCord(cls);
            if (perCord > 0 && dbh > 0) {
                v.vol2 = f32(static_cast<double>(V) * RatioOutside(k, 4.0f, dbh) / perCord);
            }
            if (cls >= m.voldbh[0] && D2H >= kSmallestBoardFootD2H) {
                v.vol3 = BoardFeet(m.voltyp, D2H);
            }
        }
    } else {
        std::array<float*, 3> vols{&v.vol1, &v.vol2, &v.vol3};
        for (size_t e = 0; e < 3; ++e) {
            if (cls >= m.voldbh[e]) {
                *vols[e] = f32(static_cast<double>(m.vola[e]) + static_cast<double>(m.volb[e]) * D2H);
            }
        }
    }
    v.vol1 = std::max(v.vol1, 0.0f);
    v.vol2 = std::max(v.vol2, 0.0f);
    v.vol3 = std::max(v.vol3, 0.0f);
    return v;
}

// Sums of one DBH class or of the whole table.
struct ClassSums {
    float trees = 0;
    float heightTimesTrees = 0;
    float basalArea = 0;
    float vol1 = 0;
    float vol2 = 0;
    float vol3 = 0;

    void add(float n, float ht, float treeBasalArea, const TreeVolumes& v) {
        trees = f32(static_cast<double>(trees) + n);
        heightTimesTrees = f32(heightTimesTrees + static_cast<double>(ht) * n);
        basalArea = f32(basalArea + static_cast<double>(treeBasalArea) * n);
        vol1 = f32(vol1 + static_cast<double>(v.vol1) * n);
        vol2 = f32(vol2 + static_cast<double>(v.vol2) * n);
        vol3 = f32(vol3 + static_cast<double>(v.vol3) * n);
    }
};

std::array<std::string, kColumnCount> headingsFor(const GrowthModel& m) {
    std::array<std::string, kColumnCount> h{"\nDBH\nClass",
                                            "\nNumber\nTrees ",
                                            "\nAverage\nHeight",
                                            "\nBasal\nArea",
                                            "Total\nVolume\no.b.",
                                            "Volume\no.b.\nTo 4.in",
                                            ""};
    if (m.vtype == kCubicFeet) {
        h[6] = cformat(m.voltyp == 1 ? "Volume\ni.b.\nTo%3.0fin" : "Volume\no.b.\nTo%3.0fin", m.voltop);
    } else if (m.vtype == kCordsAndBoardFeet) {
        h[5] = "Volume\nCords\nTo 4.in";
        h[6] = m.voltyp == 1   ? "Volume\nInternational\nbd.ft."
               : m.voltyp == 2 ? "Volume\nDoyle\nbd.ft."
                               : "Volume\nscribner\nbd.ft.";
    } else {
        h[4] = "\nVolume\n1";
        h[5] = "\nVolume\n2";
        h[6] = "\nVolume\n3";
    }
    return h;
}

std::string liveTreeSummary(const GrowthModel& m, float survivingTrees) {
    static constexpr const char* kLabel = "       Live Trees       ";
    if (m.qhdwd == 0) {
        return cformat("                            %s\r\n                           Inputs                           "
                       "Predicted\r\n",
                       kLabel) +
               cformat("\r\n                Site Index =%8.2f             Basal Area =%8.2f\r\n Growing Seasons "
                       "Completed =%8.2f     Quadratic Mean DBH =%8.2f\r\n Surviving Trees Per Acres =%8.2f         "
                       "Average Height =%8.2f\r\n                                            Dominant Height "
                       "=%8.2f\r\n                                           Relative Spacing =%8.2f\r\n              "
                       "                          Average Crown Ratio =%8.2f\r\n                                   "
                       "Merchantable Cord Volume =%8.2f",
                       static_cast<double>(m.site), static_cast<double>(m.tba), static_cast<double>(m.age),
                       static_cast<double>(m.dq), static_cast<double>(survivingTrees), static_cast<double>(m.hMean),
                       static_cast<double>(m.hd), static_cast<double>(m.rs), static_cast<double>(m.crMean),
                       static_cast<double>(m.cords));
    }
    return cformat("                            %s\r\n                          Inputs                           "
                   "Predicted\r\n",
                   kLabel) +
           cformat("\r\n                Site Index =%8.2f             Basal Area =%8.2f\r\n Growing Seasons "
                   "Completed =%8.2f     Quadratic Mean DBH =%8.2f\r\n Surviving Trees Per Acres =%8.2f         "
                   "Average Height =%8.2f\r\n          Percent hardwood =%8.2f        Dominant Height "
                   "=%8.2f\r\n                                           Relative Spacing =%8.2f\r\n              "
                   "                          Average Crown Ratio =%8.2f\r\n                                   "
                   "Merchantable Cord Volume =%8.2f",
                   static_cast<double>(m.site), static_cast<double>(m.tba), static_cast<double>(m.age),
                   static_cast<double>(m.dq), static_cast<double>(survivingTrees), static_cast<double>(m.hMean),
                   static_cast<double>(m.hdwdpercnt) * 100.0, static_cast<double>(m.hd), static_cast<double>(m.rs),
                   static_cast<double>(m.crMean), static_cast<double>(m.cords));
}

} // namespace

// The same sums as a table's total row, in the same order, and the stand's cord volume over the register.
LiveStandTotals LiveTotals(const GrowthModel& m) {
    ClassSums total;
    LiveStandTotals totals;
    for (int i = 1; i <= kMaxRecords; ++i) {
        if (!(m.dbh[i] > 0)) {
            continue;
        }
        const float n = countedTrees(m.freq[i]);
        const float D2 = f32(static_cast<double>(m.dbh[i]) * m.dbh[i]);
        const float D2H = f32(static_cast<double>(D2) * m.ht[i]);
        total.add(n, m.ht[i], 0.0f, treeVolumes(m, m.dbh[i], D2H, dbhClass(m.dbh[i])));
        if (i <= m.nrec && n > 0) {
            totals.cords = f32(totals.cords + static_cast<double>(TreeCords(m, m.dbh[i], m.ht[i])) * n);
        }
    }
    totals.vol1 = total.vol1;
    totals.vol2 = total.vol2;
    totals.vol3 = total.vol3;
    return totals;
}

void GrowthModel::MakeTable(int kind) {
    if (lastTable() + 1 >= kMaxTables) {
        if (ui_ != nullptr) {
            ui_->message("Maximum number of tables has been reached, overwriting last table");
        }
        tables.pop_back();
    }
    tables.emplace_back();
    ResultTable& table = tables.back();
    lastTableKind = kind;
    table.kind = kind;
    table.age = age;
    table.thinnedVolumes = UsesThinnedCoefficients(qthin, ithin);

    std::array<ClassSums, kLargestClassRow + 1> classes{};
    ClassSums total;
    int smallestClass = kLargestClassRow;
    int largestClass = 1;
    float liveTrees = 0;
    for (int i = 1; i <= kMaxRecords; ++i) {
        if (!(dbh[i] > 0)) {
            continue;
        }
        const float nLive = countedTrees(freq[i]);
        const float nThin = countedTrees(thinFreq[i]);
        liveTrees = f32(static_cast<double>(liveTrees) + nLive);
        const float D2 = f32(static_cast<double>(dbh[i]) * dbh[i]);
        const float D2H = f32(static_cast<double>(D2) * ht[i]);
        const float treeBasalArea = f32(kBasalAreaFactor * static_cast<double>(D2));
        const int cls = dbhClass(dbh[i]);
        const TreeVolumes v = treeVolumes(*this, dbh[i], D2H, cls);
        const float n = kind == kThinnedTreeTable ? nThin : nLive;
        total.add(n, ht[i], treeBasalArea, v);
        smallestClass = std::min(smallestClass, cls);
        largestClass = std::min(std::max(largestClass, cls), kLargestClassRow);
        if (cls <= kLargestClassRow) {
            classes[static_cast<size_t>(cls)].add(n, ht[i], treeBasalArea, v);
        }
    }

    if (kind == kLiveTreeTable) {
        table.stand = {liveTrees, tba,   dq,
                       hMean,     hd,    rs,
                       crMean,    cords, qhdwd != 0 ? f32(static_cast<double>(hdwdpercnt) * 100.0) : -1.0f};
    }
    table.summary = kind == kThinnedTreeTable
                        ? cformat("                            %s\r\n", "      Thinned Trees     ")
                        : liveTreeSummary(*this, liveTrees);
    table.headings = headingsFor(*this);

    for (int c = smallestClass; c <= largestClass; ++c) {
        const ClassSums& s = classes[static_cast<size_t>(c)];
        if (s.trees >= 0.1_f) {
            table.rows.push_back({static_cast<float>(c), s.trees,
                                  f32(static_cast<double>(s.heightTimesTrees) / s.trees), s.basalArea, s.vol1, s.vol2,
                                  s.vol3});
        }
    }
    table.rows.push_back({0.0f, total.trees, 0.0f, total.basalArea, total.vol1, total.vol2, total.vol3});
}

} // namespace grovex
