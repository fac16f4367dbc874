#pragma once
// The "Initialize Stand" sheet as a whole: its two pages checked in order (Plantation Information, then
// Volume Output Units) and the accepted values turned into the Input1 group.

#include "dialogs/plantation_rules.h"
#include "dialogs/volume_units_rules.h"
#include "model/input1.h"

namespace grovex {

Input1 makeInput1(const PlantationValues& plantation, const VolumeUnitsValues& units);

// The first failure of either page (its control id tells the page), or the Input1 values to write.
Checked<Input1> validateInitializeSheet(const PlantationTexts& plantation, const PlantationEnabled& enabled,
                                        const CurrentStand& stand, const VolumeUnitsTexts& units);

} // namespace grovex
