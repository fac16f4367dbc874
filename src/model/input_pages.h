#pragma once
// The values the input pages showed when they were last accepted, as a simulation remembers them for the
// next time the pages open (and as its document file stores them).

#include <array>
#include <cstdint>
#include <limits>
#include <string>

namespace grovex {

// The site index of a Plantation Information page that was never filled in.
inline constexpr float kPageNeverFilled = std::numeric_limits<float>::min();

struct PlantationPageMembers {
    int32_t pcrit = 0;
    float target = 0;
    float hdwdpercnt = 0; // percent; -1 when left empty
    float tba = 0;
    int32_t nyears = 0;
    float site = kPageNeverFilled;
    float ts = 0;
    int32_t exage = 0;
    float tp = 0;
    float ps = 0; // percent
    std::string title;
    bool qdrain = false;
    bool qlist = false;
    bool qexist = false;
};

struct VolumeUnitsPageMembers {
    int32_t boardFootRule = 0; // 1 International 1/4, 2 Doyle, 3 Scribner, 0 none
    int32_t barkType = 0;      // 1 inside bark, 2 outside bark, 0 none
    int32_t vtype = 0;
    int32_t minDbhClass = 0; // 0: a page never filled in
    float voltop = 0;
    std::array<float, 3> a{};
    std::array<float, 3> b{};
    std::array<int32_t, 3> equationMinDbh{};
    std::array<std::string, 3> names;
};

} // namespace grovex
