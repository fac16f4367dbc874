#include "model/growth_model.h"

#include "base/c_format.h"
#include "base/platform/ui.h"

namespace grovex {

GrowthModel::GrowthModel() {
    ResetModel();
}

void GrowthModel::ResetModel() {
    for (int i = 1; i <= kMaxRecords; ++i) {
        dbh[i] = freq[i] = thinFreq[i] = ht[i] = crownRatio[i] = crownLength[i] = 0;
    }
    age = 0;
    kt = 0;
    kfert = 0;
    exage = 0;
    nyears = 60;
    site = 60.0f;
    tp = 800.0f;
    ts = 800.0f;
    ps = 0.9f;
    hdwdpercnt = 0.05f;
    pcrit = kCriterionAge;
    target = 15.0f;
    lbn = 200;
    ithin = 1;
    ilow = 2;
    rcut = 0.2f;
    dlow = 0;
    dhigh = 7.0f;
    tlim = 70.0f;
    thinRatio = 1.0f;
    plotArea = 1.0f;
    vtype = kCubicFeet;
    voltyp = 2;
    voldbh = {7, 0, 0};
    voltop = 6.0f;
    volnam = {"-blank-", "-blank-", "-blank-"};
    vola = {0, 0, 0};
    volb = {0, 0, 0};
    spareName.assign(1, ' '); // assign(count, char): GCC 12 warns falsely on assigning a one-character literal
    reservedA = 0;
    reservedB = 0;
    qexist = qlist = qtba = qdrain = qhdwd = qthin = qfert = 0;
    qphos = 1;
}

void GrowthModel::setTitle(std::string_view text) {
    title = fitToField(text, kMaxTitleLength);
}

void GrowthModel::setVolumeName(int equation, std::string_view text) {
    volnam.at(static_cast<size_t>(equation)) = fitToField(text, kMaxVolumeNameLength);
}

std::string GrowthModel::fitToField(std::string_view text, int capacity) {
    if (text.size() > static_cast<size_t>(capacity)) {
        if (ui_ != nullptr) {
            ui_->message(
                cformat("A text was longer than its field of %d characters and has been shortened.", capacity));
        }
        text = text.substr(0, static_cast<size_t>(capacity));
    }
    return std::string(text);
}

} // namespace grovex
