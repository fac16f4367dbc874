// Row thinning, low thinning by diameter limits and low thinning down to a residual basal area.

#include "model/growth_model.h"
#include "model/numerics.h"

#include <algorithm>

namespace grovex {
using namespace numerics;

namespace {
constexpr float kBasalAreaFactor = 0.005454f;
}

void GrowthModel::Thin() {
    // Thin the stand as it stands now: after a one-season step the latest statistics are a year old.
    StandStats();
    kt = age;
    for (int i = 1; i <= kMaxRecords; ++i) {
        thinFreq[i] = 0;
    }

    if (ithin == 1 || ithin == 3) {
        for (int i = 1; i <= nrec; ++i) {
            thinFreq[i] = f32(static_cast<double>(freq[i]) * rcut);
            freq[i] = f32((1.0 - rcut) * freq[i]);
        }
        MakeTable(kThinnedTreeTable);
        StandStats();
        MakeTable(kLiveTreeTable);
        if (ithin == 1) {
            return;
        }
    }

    const float B = tba;
    float R = 0; // basal area removed by the low thinning
    const double lowestDbh = static_cast<double>(dlow) - 0.49999_f;
    if (ilow == 2) {
        for (int i = 1; i <= nrec; ++i) {
            if (!(static_cast<double>(B) - R > tlim)) {
                continue;
            }
            const float d = dbh[i];
            const float q = f32(freq[i] / 100.0);
            for (int step = 0; step < 100; ++step) {
                if (static_cast<double>(B) - R > tlim && d >= lowestDbh) {
                    R = f32(R + static_cast<double>(d) * kBasalAreaFactor * d * q);
                    thinFreq[i] = f32(static_cast<double>(thinFreq[i]) + q);
                    freq[i] = f32(static_cast<double>(freq[i]) - q);
                }
            }
        }
    } else if (ilow == 1) {
        const double highestDbh = static_cast<double>(dhigh) + 0.49999_f;
        for (int i = 1; i <= nrec; ++i) {
            if (dbh[i] >= lowestDbh && dbh[i] <= highestDbh) {
                R = f32(R + static_cast<double>(dbh[i]) * dbh[i] * kBasalAreaFactor * freq[i]);
                thinFreq[i] = freq[i];
                freq[i] = 0;
            }
        }
    }
    // The residual share of basal area; rounding of the last removal step must not take it out of [0, 1].
    thinRatio = B > 0 ? std::clamp(f32((static_cast<double>(B) - R) / B), 0.0f, 1.0f) : 1.0f;

    MakeTable(kThinnedTreeTable);
    StandStats();
    MakeTable(kLiveTreeTable);
}

} // namespace grovex
