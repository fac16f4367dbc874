#include "control/extract.h"

#include "base/c_format.h"
#include "control/command_abandoned.h"
#include "model/numerics.h"
#include "model/site_curve.h"

#include <array>
#include <cmath>
#include <string>
#include <utility>

namespace grovex {

namespace {

using namespace numerics;

constexpr double kBasalAreaFactor = 0.005454_f;
constexpr double kSquareFeetPerAcre = 43560.0_f;

// What a 2-character integer field of a tree list file can hold.
constexpr int32_t kSmallestTwoCharacterNumber = -9;
constexpr int32_t kLargestTwoCharacterNumber = 99;

[[noreturn]] void refuse(Ui& ui, const std::string& message) {
    ui.message(message);
    throw CommandAbandoned(message);
}

bool rowHasBlankCell(const TreeRow& row, bool dominantHeightGiven) {
    return row.code == kBlankInt || row.id.empty() || row.dbh == kBlankReal || row.height == kBlankReal ||
           (row.crownClass == kBlankInt && !dominantHeightGiven);
}

bool rowIsBlank(const TreeRow& row) {
    return row.code == kBlankInt && row.id.empty() && row.dbh == kBlankReal && row.height == kBlankReal &&
           row.crownClass == kBlankInt;
}

void warnAboutBlanks(const TreeList& list, Ui& ui) {
    if (list.lastRow < 0) {
        return;
    }
    const bool dominantHeightGiven = list.hasDominantHeight();
    if (rowIsBlank(list.rows[static_cast<size_t>(list.lastRow)]) && !dominantHeightGiven) {
        ui.message(kBlankRowsMessage);
        return;
    }
    for (int k = 0; k <= list.lastRow; ++k) {
        if (rowHasBlankCell(list.rows[static_cast<size_t>(k)], dominantHeightGiven)) {
            ui.message(kBlankCellsMessage);
            return;
        }
    }
}

void clearModel(GrowthModel& model) {
    model.hd = model.site = model.ts = model.tp = model.dmax = model.exage = model.plotArea = 0;
    model.tba = model.dq = model.cords = model.crMean = model.rs = model.hMean = 0;
    for (int i = 1; i <= kMaxRecords; ++i) {
        model.dbh[i] = model.freq[i] = model.ht[i] = model.crownRatio[i] = model.crownLength[i] = 0;
    }
}

} // namespace

void Extract(GrowthModel& model, RunState& run, const TreeList* list, Ui& ui) {
    if (list == nullptr || !list->loaded) {
        refuse(ui, kTreeListEmptyMessage);
    }
    warnAboutBlanks(*list, ui);

    clearModel(model);
    std::array<int32_t, kMaxRecords + 1> crownClass{};
    const TreeListHeader& header = list->header;
    model.plotArea = header.plotArea;
    model.age = header.age;
    model.kfert = header.fertilizationAge;
    model.lbn = header.lbn;
    model.kt = header.thinningAge;
    run.bab = header.bab;
    run.baa = header.baa;
    model.hdwdpercnt = header.hardwoodPercent;

    if (header.code != 1) {
        refuse(ui, kHeaderRecordCodeMessage);
    }
    // Every value below divides by these.
    if (list->lastRow < 0) {
        refuse(ui, kNoTreesMessage);
    }
    if (!(model.plotArea > 0)) {
        refuse(ui, kPlotAreaMessage);
    }
    if (model.age <= 0) {
        refuse(ui, kStandAgeMessage);
    }
    // The years since a treatment are counted in whole numbers; an age no file could hold would overflow them.
    for (const auto& [age, message] :
         {std::pair{model.age, kStandAgeFieldMessage}, std::pair{model.kfert, kFertilizationAgeFieldMessage},
          std::pair{model.kt, kThinningAgeFieldMessage}}) {
        if (age < kSmallestTwoCharacterNumber || age > kLargestTwoCharacterNumber) {
            refuse(ui, message);
        }
    }
    const bool dominantHeightGiven = list->hasDominantHeight();
    if (dominantHeightGiven && !(header.dominantHeight > 0)) {
        refuse(ui, kDominantHeightMessage);
    }

    model.exage = static_cast<float>(model.age);
    if (0 < run.baa && 0 < run.bab && run.baa < run.bab) {
        model.thinRatio = f32(static_cast<double>(run.baa) / run.bab);
        model.qthin = 1;
        model.ithin = 2;
    } else {
        model.thinRatio = 1;
    }
    if (model.lbn > 0) {
        model.qfert = 1;
    } else if (model.lbn == 0) {
        model.qfert = 0;
    }
    model.qphos = header.qphos == 1 ? 1 : 0;
    model.qhdwd = header.qhdwd == 1 ? 1 : 0;
    model.hdwdpercnt = f32(model.hdwdpercnt / 100.0);

    const int n = list->rowCount();
    for (int k = 0; k < n; ++k) {
        const TreeRow& row = list->rows[static_cast<size_t>(k)];
        if (row.code != 2) {
            refuse(ui, kItemRecordCodeMessage);
        }
        if (!(row.height > 0)) {
            refuse(ui, cformat(kTreeHeightMessage, k + 1));
        }
        model.dbh[k + 1] = row.dbh;
        model.ht[k + 1] = row.height;
        if (!dominantHeightGiven) {
            crownClass[static_cast<size_t>(k) + 1] = row.crownClass;
        }
        model.freq[k + 1] = f32(1.0 / model.plotArea);
    }

    int heightCount = 0;
    int dominantCount = 0;
    float dominantSum = 0;
    for (int i = 1; i <= n; ++i) {
        if (model.ht[i] > 0) {
            model.hMean = f32(static_cast<double>(model.hMean) + model.ht[i]);
            ++heightCount;
        }
        if (!dominantHeightGiven &&
            (crownClass[static_cast<size_t>(i)] == 1 || crownClass[static_cast<size_t>(i)] == 2)) {
            dominantSum = f32(static_cast<double>(dominantSum) + model.ht[i]);
            ++dominantCount;
        }
        if (model.dbh[i] > model.dmax) {
            model.dmax = model.dbh[i];
        }
        model.tba = f32(model.tba + static_cast<double>(model.dbh[i]) * model.dbh[i] * kBasalAreaFactor);
    }
    if (!dominantHeightGiven && dominantCount == 0) {
        refuse(ui, kNoDominantTreesMessage);
    }

    model.dq = f32(std::sqrt(static_cast<double>(model.tba) / n / kBasalAreaFactor));
    model.hd = dominantHeightGiven ? header.dominantHeight : f32(static_cast<double>(dominantSum) / dominantCount);
    const double exage = model.exage;
    model.site = f32(std::exp(std::log(static_cast<double>(model.hd)) /
                              (std::exp(-2.4007_f * (1.0 / exage - 0.04_f)) * std::pow(25.0 / exage, -0.0525))));
    model.hMean = f32(static_cast<double>(model.hMean) / heightCount);
    model.ts = f32(n / static_cast<double>(model.plotArea));
    model.rs = f32(std::sqrt(kSquareFeetPerAcre / model.ts) / model.hd);
    model.tba = f32(static_cast<double>(model.tba) / model.plotArea);
    model.plotArea = 1;
    model.nrec = n;
    model.tp = model.ts;

    const double A = model.age;
    const double thinTerm = CrownThinTerm(model.thinRatio, model.age - model.kt, A);
    double crownSum = model.crMean;
    for (int i = 1; i <= n; ++i) {
        model.crownRatio[i] = CrownRatio(thinTerm, A, model.dbh[i], model.ht[i], model.hd);
        model.crownLength[i] = f32(static_cast<double>(model.ht[i]) * model.crownRatio[i]);
        crownSum = f32(crownSum + model.crownRatio[i]);
    }
    model.crMean = f32(crownSum / n * 100.0);
}

bool ChangeTreeList(GrowthModel& model, std::string_view rows, int count, Ui& ui) {
    if (count > kMaxRecords) {
        ui.message(kTooManyRowsMessage);
        return false;
    }
    for (int i = 1; i <= kMaxRecords; ++i) {
        model.dbh[i] = model.freq[i] = model.thinFreq[i] = model.ht[i] = 0;
    }
    size_t start = 0;
    for (int r = 1; r <= count && start < rows.size(); ++r) {
        size_t end = rows.find('|', start);
        if (end == std::string_view::npos) {
            end = rows.size();
        }
        std::string_view row = rows.substr(start, end - start);
        start = end + 1;
        std::array<float*, 3> fields = {&model.dbh[r], &model.ht[r], &model.freq[r]};
        for (float* field : fields) {
            const size_t tab = row.find('\t');
            *field = static_cast<float>(cAtof(row.substr(0, tab)));
            row = tab == std::string_view::npos ? std::string_view{} : row.substr(tab + 1);
        }
        model.thinFreq[r] = static_cast<float>(cAtof(row));
    }
    if (count > model.nrec) {
        model.nrec = count;
    }
    model.StandStats();
    model.MakeTable(model.lastTableKind);
    return true;
}

bool ChangeCurrentSimulationTreeList(CGROVEXDoc& doc, Ui& ui, Clipboard& clipboard,
                                     treeListStateDlg::ValuesEditor editValues, const TreeListStateRunner& runDialog,
                                     const std::function<void()>& repaint) {
    treeListStateDlg dialog(doc.model, ui, clipboard, std::move(editValues));
    if (!runDialog || !runDialog(dialog)) {
        return false;
    }
    if (!ChangeTreeList(doc.model, dialog.resultText(), dialog.resultCount(), ui)) {
        return false;
    }
    if (repaint) {
        repaint();
    }
    return true;
}

} // namespace grovex
