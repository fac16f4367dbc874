#pragma once
// The stand-initialization input group as the input pages accept it, and how it is written into the model.

#include "model/growth_model.h"

#include <array>
#include <cstdint>
#include <string>

namespace grovex {

struct CustomEquation {
    std::string name = "-blank-"; // at most kMaxVolumeNameLength characters
    float a = 0;
    float b = 0;
    int32_t minDbhClass = 1;
};

struct Input1 {
    std::string title;
    int32_t nyears = 60;
    bool qexist = false;
    bool qlist = false;   // existing stand described by a tree list (taken into the model elsewhere)
    float site = 60;      // not used for a stand from a tree list
    float tp = 800;       // new plantation: trees planted per acre
    float psPercent = 90; // new plantation: survival after the first year, percent
    float ts = 800;       // existing stand: trees surviving per acre
    int32_t exage = 0;    // existing stand: age in growing seasons
    float tba = 0;        // existing stand of age 8 or more: basal area; 0 when not given
    bool qdrain = false;
    float hdwdPercent = -1; // -1 when not given
    int32_t pcrit = kCriterionAge;
    float target = 25;
    int32_t vtype = kCubicFeet;
    int32_t voltyp = 2; // bark type (cubic feet) or board-foot rule (cords and board feet)
    int32_t minDbhClass = 7;
    float voltop = 6;
    std::array<CustomEquation, 3> equations; // used with kCustomEquations; unnamed ones stay "-blank-"
};

// Writes the accepted inputs into the model, field by field, as a recorded initialization does.
void WriteInput1(GrowthModel& model, const Input1& input);

// Starts a run on a model that holds freshly written Input1 values: InitStand (unless the register comes
// from a tree list), then the starting age. Answers false when the stand cannot be initialized.
bool StartRun(GrowthModel& model);

} // namespace grovex
