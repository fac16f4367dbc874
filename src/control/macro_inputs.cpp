#include "control/macro_inputs.h"

#include <algorithm>
#include <array>

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

void outOfRange(const ReplayHooks& hooks, const char* message) {
    if (hooks.ui != nullptr) {
        hooks.ui->message(message, Buttons::Ok, Icon::Warning);
    }
    throw MacroAbandon(MacroAbandon::Cause::ValueOutOfRange);
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
        if (e.real < 0 || e.real > m.dhigh) {
            outOfRange(hooks, kMinDbhOutOfRange);
        }
        m.dlow = e.real;
    } else if (key == "dhigh") {
        if (e.real < 0 || e.real > m.dmax) {
            outOfRange(hooks, kMaxDbhOutOfRange);
        }
        m.dhigh = e.real;
    } else if (key == "tlim") {
        const bool used = (m.ithin == 2 || m.ithin == 3) && m.ilow == 2;
        if (used && (e.real < 0 || e.real > m.tba)) {
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
    while (current >= 0 && current < last && keyAt(current) != endMarker) {
        if (!applyEntry(store.entry(current), target, hooks)) {
            failure();
        }
        ++current;
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
