#include "control/macro_inputs.h"

#include "base/c_format.h"
#include "dialogs/general_info_dlg.h"
#include "dialogs/stand_projection_dlg.h"
#include "model/numerics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace grovex {
namespace {

using E = MacroEntry;

// The raising and lowering of a treatment year into the years the run covers.
void clampTreatmentYear(int32_t& year, const GrowthModel& model) {
    year = std::max(year, model.age);
    year = std::min(year, model.nyears);
}

// The model's integer fields that a replayed integer entry sets by name.
int32_t* integerField(GrowthModel& m, std::string_view key) {
    static constexpr std::array<std::pair<std::string_view, int32_t GrowthModel::*>, 17> kFields{{
        {"nyears", &GrowthModel::nyears},
        {"qexist", &GrowthModel::qexist},
        {"qlist", &GrowthModel::qlist},
        {"k", &GrowthModel::age},
        {"qtba", &GrowthModel::qtba},
        {"qdrain", &GrowthModel::qdrain},
        {"qhdwd", &GrowthModel::qhdwd},
        {"pcrit", &GrowthModel::pcrit},
        {"vtype", &GrowthModel::vtype},
        {"voltyp", &GrowthModel::voltyp},
        {"kt", &GrowthModel::kt},
        {"qthin", &GrowthModel::qthin},
        {"ithin", &GrowthModel::ithin},
        {"ilow", &GrowthModel::ilow},
        {"qfert", &GrowthModel::qfert},
        {"qphos", &GrowthModel::qphos},
        {"lbn", &GrowthModel::lbn},
    }};
    for (const auto& [name, field] : kFields) {
        if (name == key) {
            return &(m.*field);
        }
    }
    if (key == "voldbh[0]") {
        return &m.voldbh[0];
    }
    return nullptr;
}

float* realField(GrowthModel& m, std::string_view key) {
    static constexpr std::array<std::pair<std::string_view, float GrowthModel::*>, 11> kFields{{
        {"site", &GrowthModel::site},
        {"ts", &GrowthModel::ts},
        {"exage", &GrowthModel::exage},
        {"tba", &GrowthModel::tba},
        {"tp", &GrowthModel::tp},
        {"ps", &GrowthModel::ps},
        {"hdwdpercnt", &GrowthModel::hdwdpercnt},
        {"percnt", &GrowthModel::hdwdpercnt},
        {"target", &GrowthModel::target},
        {"voltop", &GrowthModel::voltop},
        {"rcut", &GrowthModel::rcut},
    }};
    for (const auto& [name, field] : kFields) {
        if (name == key) {
            return &(m.*field);
        }
    }
    return nullptr;
}

[[noreturn]] void outOfRange(const ReplayHooks& hooks, const std::string& message) {
    if (hooks.ui != nullptr) {
        hooks.ui->message(message, Buttons::Ok, Icon::Warning);
    }
    throw MacroAbandon(MacroAbandon::Cause::ValueOutOfRange);
}

// ---- The domain of every value a section can set ----
//
// A macro this program recorded holds only values its input pages accepted, or values the recording
// derived from them (a percentage as a fraction, the row interval as the share of rows removed). A
// damaged or hand-edited macro can hold anything, so once a section has been applied each value it set
// is held against its domain before the model works with it. Where a page bound depends on the stand of
// the moment, the domain keeps only the part of it that does not, which is wider and still safe for the
// model.

using numerics::f32;

constexpr double kLargestReal = std::numeric_limits<float>::max();

// One end of a domain: a constant, or a value that follows other inputs of the model.
struct Bound {
    double value = 0;
    double (*of)(const GrowthModel&) = nullptr;

    double at(const GrowthModel& m) const { return of != nullptr ? of(m) : value; }
};

constexpr Bound fixed(double value) {
    return Bound{value, nullptr};
}
constexpr Bound following(double (*of)(const GrowthModel&)) {
    return Bound{0, of};
}

enum class Shown { Whole, Real };

struct Domain {
    std::string_view key;
    Shown shown;
    double (*read)(const ReplayTarget&, size_t slot);
    Bound low;
    Bound high;
    bool indexed = false; // one value per custom equation, numbered by the entry's index
};

template <auto Field> double fieldValue(const ReplayTarget& t, size_t) {
    return static_cast<double>(t.model.*Field);
}
template <auto Field> double slotValue(const ReplayTarget& t, size_t slot) {
    return static_cast<double>((t.model.*Field)[slot]);
}
double minimumClassValue(const ReplayTarget& t, size_t) {
    return static_cast<double>(t.model.voldbh[0]);
}
double residualAfterThinning(const ReplayTarget& t, size_t) {
    return static_cast<double>(t.run.baa);
}

double lastYear(const GrowthModel& m) {
    return m.nyears;
}
// The Plantation Information page takes an existing stand of up to 30 years, and never older than the run.
double oldestExistingStand(const GrowthModel& m) {
    return std::min(m.nyears, 30);
}
// The top diameter lies below the minimum DBH class on the Volume Units page; the end itself is harmless.
double largestTop(const GrowthModel& m) {
    return m.voldbh[0];
}

// The output target by criterion. The pages bound a stand target from below by the current stand (its
// basal area, DBH, height or cords plus a step); here the lower end is 0, which every target passes that
// a page accepted. An age target lies within the run: the pages ask for one from 8 (or the current age)
// to the rotation, and next-target mode sets the current age.
double targetLow(const GrowthModel& m) {
    switch (m.pcrit) {
    case kCriterionCrownRatio:
        return 20; // percent
    case kCriterionRelativeSpacing:
        return f32(0.1);
    default:
        return 0;
    }
}
double targetHigh(const GrowthModel& m) {
    switch (m.pcrit) {
    case kCriterionAge:
        return m.nyears;
    case kCriterionBasalArea:
        return 180;
    case kCriterionQuadraticMeanDbh:
        return 12;
    case kCriterionDominantHeight:
        return 100;
    case kCriterionCords:
        return 50;
    case kCriterionCrownRatio:
        return 100; // the page's end is the stand's average crown ratio less one, which stays below 100
    default:
        // The page's end for relative spacing is the stand's own less 0.1, with no constant ceiling.
        return kLargestReal;
    }
}

constexpr Domain kFlag(std::string_view key, double (*read)(const ReplayTarget&, size_t)) {
    return Domain{key, Shown::Whole, read, fixed(0), fixed(1)};
}

// Key, how the value is shown, where it is read after the replay, and its domain. The percentages are
// fractions in the model: the page's 30 to 100 percent survival is 0.3 to 1, its 0 to 90 percent hardwoods
// 0 to 0.9, each rounded to single precision as the recording rounds it. The row interval 2 to 6 is kept as
// the share of rows removed, 1/6 to 1/2.
const std::array<Domain, 36> kDomains{{
    {"nyears", Shown::Whole, fieldValue<&GrowthModel::nyears>, fixed(8), fixed(100)},
    kFlag("qexist", fieldValue<&GrowthModel::qexist>),
    {"site", Shown::Real, fieldValue<&GrowthModel::site>, fixed(20), fixed(100)},
    kFlag("qlist", fieldValue<&GrowthModel::qlist>),
    {"ts", Shown::Real, fieldValue<&GrowthModel::ts>, fixed(50), fixed(plantation::kTreesSurvivingMax)},
    {"exage", Shown::Real, fieldValue<&GrowthModel::exage>, fixed(1), following(oldestExistingStand)},
    {"k", Shown::Whole, fieldValue<&GrowthModel::age>, fixed(1), following(oldestExistingStand)},
    kFlag("qtba", fieldValue<&GrowthModel::qtba>),
    {"tba", Shown::Real, fieldValue<&GrowthModel::tba>, fixed(25), fixed(200)},
    {"tp", Shown::Real, fieldValue<&GrowthModel::tp>, fixed(50), fixed(2000)},
    {"ps", Shown::Real, fieldValue<&GrowthModel::ps>, fixed(f32(30 / 100.0)), fixed(f32(100 / 100.0))},
    kFlag("qdrain", fieldValue<&GrowthModel::qdrain>),
    kFlag("qhdwd", fieldValue<&GrowthModel::qhdwd>),
    {"hdwdpercnt", Shown::Real, fieldValue<&GrowthModel::hdwdpercnt>, fixed(0), fixed(f32(90 / 100.0))},
    {"percnt", Shown::Real, fieldValue<&GrowthModel::hdwdpercnt>, fixed(0), fixed(f32(90 / 100.0))},
    {"pcrit", Shown::Whole, fieldValue<&GrowthModel::pcrit>, fixed(kCriterionAge), fixed(kCriterionRelativeSpacing)},
    {"target", Shown::Real, fieldValue<&GrowthModel::target>, following(targetLow), following(targetHigh)},
    {"vtype", Shown::Whole, fieldValue<&GrowthModel::vtype>, fixed(kCubicFeet), fixed(kCustomEquations)},
    // Bark type 1 or 2 for cubic feet, board-foot rule 1 to 3 for cords; the model reads either safely.
    {"voltyp", Shown::Whole, fieldValue<&GrowthModel::voltyp>, fixed(1), fixed(3)},
    // The smallest DBH class counted: the page asks for 1 to 20 in cubic feet and 8 to 20 in cords and
    // board feet; the model only compares classes with it.
    {"voldbh[0]", Shown::Whole, minimumClassValue, fixed(1), fixed(20)},
    {"voltop", Shown::Real, fieldValue<&GrowthModel::voltop>, fixed(0), following(largestTop)},
    // A custom equation's coefficients may be any number, as long as it is one.
    {"vola[i]", Shown::Real, slotValue<&GrowthModel::vola>, fixed(-kLargestReal), fixed(kLargestReal), true},
    {"volb[i]", Shown::Real, slotValue<&GrowthModel::volb>, fixed(-kLargestReal), fixed(kLargestReal), true},
    {"voldbh[i]", Shown::Whole, slotValue<&GrowthModel::voldbh>, fixed(1), fixed(99), true},
    // The treatment year: the recording sets 0 (no thinning), a thinning sets the age.
    {"kt", Shown::Whole, fieldValue<&GrowthModel::kt>, fixed(0), following(lastYear)},
    kFlag("qthin", fieldValue<&GrowthModel::qthin>),
    {"ithin", Shown::Whole, fieldValue<&GrowthModel::ithin>, fixed(1), fixed(3)},
    {"rcut", Shown::Real, fieldValue<&GrowthModel::rcut>, fixed(f32(1.0 / 6)), fixed(f32(1.0 / 2))},
    {"ilow", Shown::Whole, fieldValue<&GrowthModel::ilow>, fixed(1), fixed(2)},
    // Checked against the stand where they are applied; a NaN fails there as well.
    {"dlow", Shown::Real, fieldValue<&GrowthModel::dlow>, fixed(0), fixed(kLargestReal)},
    {"dhigh", Shown::Real, fieldValue<&GrowthModel::dhigh>, fixed(0), fixed(kLargestReal)},
    // The residual basal area is checked against the stand where it is applied when the thinning uses it;
    // otherwise the dialog passes on any number it could read.
    {"tlim", Shown::Real, fieldValue<&GrowthModel::tlim>, fixed(-kLargestReal), fixed(kLargestReal)},
    {"baa", Shown::Real, residualAfterThinning, fixed(-kLargestReal), fixed(kLargestReal)},
    kFlag("qfert", fieldValue<&GrowthModel::qfert>),
    kFlag("qphos", fieldValue<&GrowthModel::qphos>),
    {"lbn", Shown::Whole, fieldValue<&GrowthModel::lbn>, fixed(standprojection::kNitrogenMin),
     fixed(standprojection::kNitrogenMax)},
}};

std::string shownValue(Shown shown, double value) {
    return shown == Shown::Whole ? cformat("%.0f", value) : cRealText(value);
}

// The values a section has set so far, by domain and equation slot.
class SetValues {
public:
    void note(const MacroEntry& e) {
        for (size_t row = 0; row < kDomains.size(); ++row) {
            if (kDomains[row].key == e.key) {
                const size_t slot = kDomains[row].indexed ? static_cast<size_t>(e.index - 1) : 0;
                slots_[row] = static_cast<uint8_t>(slots_[row] | (1u << slot));
                return;
            }
        }
    }

    // Shows the message of the first value outside its domain and abandons the command.
    void check(const ReplayTarget& t, const ReplayHooks& hooks) const {
        for (size_t row = 0; row < kDomains.size(); ++row) {
            const Domain& d = kDomains[row];
            for (size_t slot = 0; slot < 3; ++slot) {
                if ((slots_[row] & (1u << slot)) == 0) {
                    continue;
                }
                const double value = d.read(t, slot);
                const double low = d.low.at(t.model);
                const double high = d.high.at(t.model);
                if (low <= value && value <= high) {
                    continue;
                }
                const std::string key =
                    d.indexed ? cformat(kMacroEquationKeyFormat, std::string(d.key).c_str(), static_cast<int>(slot + 1))
                              : std::string(d.key);
                outOfRange(hooks, cformat(kMacroValueOutOfRangeFormat, key.c_str(), shownValue(d.shown, value).c_str(),
                                          shownValue(d.shown, low).c_str(), shownValue(d.shown, high).c_str()));
            }
        }
    }

private:
    std::array<uint8_t, kDomains.size()> slots_{};
};

// Entries that act on the model with the values set so far; those values are checked first.
bool actsOnModel(std::string_view key) {
    return key == "EXTRACTLIST" || key == "tthin" || key == "next";
}

// Position of a custom equation from the equation number 1 to 3 that the entry's index carries.
bool equationSlot(int32_t index, size_t& slot) {
    if (index < 1 || index > 3) {
        return false;
    }
    slot = static_cast<size_t>(index - 1);
    return true;
}

// Applies one entry; false for an entry outside the vocabulary (or with an index no slot has).
bool applyEntry(const MacroEntry& e, ReplayTarget& t, const ReplayHooks& hooks) {
    GrowthModel& m = t.model;
    const std::string_view key = e.key;
    if (int32_t* field = integerField(m, key)) {
        *field = e.integer;
        return true;
    }
    if (float* field = realField(m, key)) {
        *field = e.real;
        return true;
    }
    size_t slot = 0;
    if (key == "title") {
        t.standTitle = e.text;
    } else if (key == "EXTRACTLIST") {
        if (!hooks.extractTreeList || !hooks.extractTreeList()) {
            throw MacroAbandon(MacroAbandon::Cause::ExtractionFailed);
        }
    } else if (key == "volnam") {
        if (e.index < 0 || e.index % kMacroMaxVolumeNameLength != 0 || e.index / 15 > 2) {
            return false;
        }
        m.setVolumeName(e.index / 15, e.text);
    } else if (key == "vola[i]" || key == "volb[i]" || key == "voldbh[i]") {
        if (!equationSlot(e.index, slot)) {
            return false;
        }
        if (key == "vola[i]") {
            m.vola[slot] = e.real;
        } else if (key == "volb[i]") {
            m.volb[slot] = e.real;
        } else {
            m.voldbh[slot] = e.integer;
        }
    } else if (key == "kt_check") {
        clampTreatmentYear(m.kt, m);
    } else if (key == "kfert_check") {
        clampTreatmentYear(m.kfert, m);
    } else if (key == "bab") {
        t.run.bab = m.tba;
    } else if (key == "baa") {
        t.run.baa = e.real;
    } else if (key == "dlow") {
        if (!(e.real >= 0 && e.real <= m.dhigh)) {
            outOfRange(hooks, kMinDbhOutOfRange);
        }
        m.dlow = e.real;
    } else if (key == "dhigh") {
        if (!(e.real >= 0 && e.real <= m.dmax)) {
            outOfRange(hooks, kMaxDbhOutOfRange);
        }
        m.dhigh = e.real;
    } else if (key == "tlim") {
        const bool used = (m.ithin == 2 || m.ithin == 3) && m.ilow == 2;
        if (used && !(e.real >= 0 && e.real <= m.tba)) {
            outOfRange(hooks, kResidualOutOfRange);
        }
        m.tlim = e.real;
    } else if (key == "tthin") {
        if (m.kt >= m.age) {
            m.Thin();
        }
    } else if (key == "next") {
        if (m.age > 25 && m.pcrit != kCriterionAge) {
            outOfRange(hooks, kNextNeedsYoungStand);
        }
        m.kt = 0;
        if (hooks.nextTarget) {
            hooks.nextTarget();
        }
    } else {
        return false;
    }
    return true;
}

} // namespace

std::vector<MacroEntry> Input1Entries(const Input1& input, const GrowthModel& m) {
    std::vector<MacroEntry> out;
    const bool fromTreeList = input.qexist && input.qlist;
    out.push_back(E::textEntry("title", input.title));
    out.push_back(E::integerEntry("nyears", m.nyears));
    out.push_back(E::integerEntry("qexist", m.qexist));
    if (!fromTreeList) {
        out.push_back(E::realEntry("site", m.site));
    }
    if (fromTreeList) {
        out.push_back(E::integerEntry("EXTRACTLIST", 0));
        out.push_back(E::integerEntry("qlist", 1));
    } else if (input.qexist) {
        out.push_back(E::integerEntry("qlist", 0));
        out.push_back(E::realEntry("ts", m.ts));
        out.push_back(E::realEntry("exage", m.exage));
        out.push_back(E::integerEntry("k", m.age));
        if (input.exage >= 8) {
            out.push_back(E::integerEntry("qtba", 0));
            if (m.qtba != 0) {
                out.push_back(E::integerEntry("qtba", 1));
                out.push_back(E::realEntry("tba", m.tba));
            }
        }
    } else {
        out.push_back(E::realEntry("tp", m.tp));
        out.push_back(E::realEntry("ps", m.ps));
    }
    if (!fromTreeList) {
        if (!input.qexist || input.exage < 8) {
            out.push_back(E::integerEntry("qdrain", m.qdrain));
        }
        out.push_back(E::integerEntry("qhdwd", m.qhdwd));
        if (m.qhdwd != 0) {
            out.push_back(E::realEntry("hdwdpercnt", m.hdwdpercnt));
        }
    }
    out.push_back(E::integerEntry("pcrit", m.pcrit));
    out.push_back(E::realEntry("target", m.target));
    out.push_back(E::integerEntry("vtype", m.vtype));
    if (m.vtype == kCubicFeet || m.vtype == kCordsAndBoardFeet) {
        out.push_back(E::integerEntry("voltyp", m.voltyp));
        out.push_back(E::integerEntry("voldbh[0]", m.voldbh[0]));
        if (m.vtype == kCubicFeet) {
            out.push_back(E::realEntry("voltop", m.voltop));
        }
    } else if (m.vtype == kCustomEquations) {
        for (int32_t i = 1; i <= 3; ++i) {
            out.push_back(E::textEntry("volnam", "-blank-", (i - 1) * 15));
            out.push_back(E::realEntry("vola[i]", 0, i));
            out.push_back(E::realEntry("volb[i]", 0, i));
            out.push_back(E::integerEntry("voldbh[i]", 1, i));
        }
        for (int32_t i = 1; i <= 3; ++i) {
            const auto slot = static_cast<size_t>(i - 1);
            if (input.equations[slot].name == " ") {
                continue;
            }
            out.push_back(E::textEntry("volnam", m.volnam[slot], (i - 1) * 15));
            out.push_back(E::integerEntry("voldbh[i]", m.voldbh[slot], i));
            out.push_back(E::realEntry("vola[i]", m.vola[slot], i));
            out.push_back(E::realEntry("volb[i]", m.volb[slot], i));
        }
    }
    return out;
}

std::vector<MacroEntry> Input2Entries(const Input2Values& v, const GrowthModel& before) {
    std::vector<MacroEntry> out;
    int32_t kt = 0;
    if (v.qthin) {
        out.push_back(E::realEntry("bab", before.tba));
        out.push_back(E::integerEntry("qthin", 1));
        out.push_back(E::integerEntry("ithin", v.ithin));
        kt = before.kt;
        clampTreatmentYear(kt, before);
        out.push_back(E::marker("kt_check"));
        if (v.ithin != 2) {
            out.push_back(E::realEntry("rcut", static_cast<float>(1.0 / v.rcut)));
        }
        if (v.ithin != 1) {
            out.push_back(E::integerEntry("ilow", v.ilow));
            out.push_back(E::realEntry("dlow", v.dlow));
            if (v.ilow == 1) {
                out.push_back(E::realEntry("dhigh", v.dhigh));
            }
        }
        if (v.ilow == 2) {
            out.push_back(E::realEntry("tlim", v.tlim));
            out.push_back(E::realEntry("baa", v.tlim));
        }
    } else {
        out.push_back(E::integerEntry("kt", 0));
    }
    out.push_back(E::integerEntry("pcrit", v.pcrit));
    out.push_back(E::realEntry("target", v.target));
    if (v.percnt == -1.0f) {
        out.push_back(E::integerEntry("qhdwd", 0));
    } else {
        out.push_back(E::integerEntry("qhdwd", 1));
        out.push_back(E::realEntry("percnt", static_cast<float>(v.percnt / 100.0)));
    }
    if (v.qfert) {
        out.push_back(E::integerEntry("qfert", 1));
        out.push_back(E::marker("kfert_check"));
        out.push_back(E::integerEntry("qphos", v.qphos ? 1 : 0));
        out.push_back(E::integerEntry("lbn", v.lbn));
    } else {
        out.push_back(E::integerEntry("qfert", 0));
    }
    if (kt >= before.age) {
        out.push_back(E::marker("tthin"));
    }
    return out;
}

void recordEntries(MacroStore& store, const std::vector<MacroEntry>& entries) {
    for (const MacroEntry& entry : entries) {
        store.record(entry);
    }
}

void ReplaySection(const MacroStore& store, int& position, std::string_view startMarker, std::string_view endMarker,
                   ReplayTarget target, const ReplayHooks& hooks) {
    bool failed = false;
    const auto failure = [&] {
        failed = true;
        if (hooks.macroFailure) {
            hooks.macroFailure();
        }
    };
    const int last = store.lastIndex();
    const auto keyAt = [&](int i) {
        return i >= 0 && i <= last ? std::string_view(store.entry(i).key) : std::string_view();
    };

    int current = position;
    int start = std::max(position, 0);
    while (start <= last && store.entry(start).key != startMarker) {
        ++start;
    }
    if (start <= last) {
        current = start + 1;
    } else {
        failure();
    }
    SetValues set;
    bool fertilizes = false;
    while (current >= 0 && current < last && keyAt(current) != endMarker) {
        const MacroEntry& entry = store.entry(current);
        if (actsOnModel(entry.key)) {
            set.check(target, hooks);
        }
        if (applyEntry(entry, target, hooks)) {
            set.note(entry);
        } else {
            failure();
        }
        fertilizes = fertilizes || entry.key == "kfert_check";
        ++current;
    }
    set.check(target, hooks);
    // A replayed fertilization is told to the model's observer as an accepted one is (ApplyInput2).
    if (fertilizes && target.model.qfert != 0 && target.model.observer() != nullptr) {
        target.model.observer()->fertilized(target.model);
    }
    if (keyAt(current) != endMarker) {
        failure();
    }
    if (current + 1 > last) {
        failure();
    }
    position = failed ? last + 1 : current + 1;
}

} // namespace grovex
