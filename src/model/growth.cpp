// Stand statistics and one growing season of diameter growth, survival, heights and crowns.

#include "model/growth_model.h"
#include "model/numerics.h"
#include "model/site_curve.h"
#include "model/volumes.h"

#include <algorithm>
#include <cmath>

namespace grovex {
using namespace numerics;

namespace {

constexpr float kBasalAreaFactor = 0.005454f;

bool lowThinned(const GrowthModel& m) {
    return m.qthin != 0 && (m.ithin == 2 || m.ithin == 3);
}

// Survival probability of one tree from its crown ratio, competition ratio and relative height.
float survival(const GrowthModel& m, float cr, float r, float h) {
    const double cr8 = cr; // the equations below read left to right, as written
    const double h8 = h;
    float x = 0;
    if (m.qhdwd != 0 && m.qthin != 0) {
        x = f32(-1.1995_f + 7.8409_f * cr8 + 3.6627_f * h8 / m.hd - 0.0317_f * r);
    } else if (m.qhdwd != 0) {
        x = f32(-4.8038_f + 9.068_f * cr8 + 0.0999_f * r + 6.2971_f * h8 / m.hd);
    } else if (m.qthin == 0) {
        x = f32(-4.7819_f + 9.0717_f * cr8 + 0.0983_f * r + 6.2759_f * h8 / m.hd);
    } else {
        x = f32(-1.1447_f + 7.8177_f * cr8 + 3.6261_f * h8 / m.hd - 0.04395_f * r);
    }
    const float p = f32(1.0 / (1.0 + std::exp(-static_cast<double>(x))));
    return std::min(p, 1.0f);
}

// Diameter increment before the fertilization multiplier; the largest tree's equation differs from the
// records' only in one coefficient of the stand without hardwoods.
float diameterIncrement(const GrowthModel& m, float PDG, float cr, float r, double noHardwoodCompetitionCoefficient) {
    double g = 0;
    if (m.qhdwd != 0) {
        g = PDG * 0.4967_f * std::pow(static_cast<double>(cr), 1.0232_f) *
            std::exp(0.8476_f * (1.0 - r) + 0.79775_f * (1.0 - m.thinRatio));
    } else {
        g = PDG * 0.4947_f * std::pow(static_cast<double>(cr), 1.03479_f) *
            std::exp(noHardwoodCompetitionCoefficient * (1.0 - r) + 0.80428_f * (1.0 - m.thinRatio));
    }
    return std::max(f32(g), 0.0f);
}

} // namespace

FertilizerResponse FertilizationMultipliers(int yearsSince, int lbn, bool phosphorus) {
    FertilizerResponse response;
    if (yearsSince < 0) {
        return response; // a fertilization dated after the current age has no effect yet
    }
    const double t = yearsSince;
    const int P = phosphorus ? 1 : 0;
    response.FH = f32(1.0 + P * 0.0042008_f * lbn * 0.43727747 * std::pow(t / 4.2433906, 0.85553901) *
                                std::exp(-std::pow(t / 4.2433906, 1.85553901)));
    response.FD = f32(1.0 + (0.01596221_f + 0.01596112_f * P) * std::pow(static_cast<double>(lbn), 0.732605_f) *
                                0.4732815407544775 * std::pow(t / 3.4816854, 0.64781744) *
                                std::exp(-std::pow(t / 3.4816854, 1.64781744)));
    return response;
}

float TreeCords(const GrowthModel& m, float dbh, float ht) {
    const int cls = dbhClass(dbh);
    if (cls < 5) {
        return 0;
    }
    const VolumeCoefficients& total = (m.kt >= 1 && m.ithin >= 2) ? kThinnedCoefficients : kUnthinnedCoefficients;
    const VolumeCoefficients& ratio = (m.qthin != 0 && m.ithin > 1) ? kThinnedCoefficients : kUnthinnedCoefficients;
    const float D2 = f32(static_cast<double>(dbh) * dbh);
    const float D2H = f32(static_cast<double>(D2) * ht);
    const float V = TotalVolumeOutside(total, D2H);
    return f32(static_cast<double>(V) * RatioOutside(ratio, 4.0f, dbh) / CubicFeetPerCord(cls));
}

void GrowthModel::StandStats() {
    updateStandValues(true);
}

void GrowthModel::updateStandValues(bool withCords) {
    tba = dq = cords = crMean = ts = dmax = hMean = rs = 0;
    for (int i = 1; i <= nrec; ++i) {
        dmax = std::max(dmax, dbh[i]);
        const float n = countedTrees(freq[i]);
        crMean = f32(crMean + static_cast<double>(n) * crownRatio[i]);
        hMean = f32(hMean + static_cast<double>(n) * ht[i]);
        tba = f32(tba + static_cast<double>(dbh[i]) * dbh[i] * kBasalAreaFactor * n);
        ts = f32(static_cast<double>(ts) + n);
    }
    if (withCords) {
        cords = standCords();
    }
    if (ts > 0) {
        crMean = f32(static_cast<double>(crMean) / ts * 100.0);
        dq = f32(std::sqrt(static_cast<double>(tba) / ts / kBasalAreaFactor));
        rs = f32(std::sqrt(43560.0 / ts) / hd);
        hMean = f32(static_cast<double>(hMean) / ts);
    } else {
        // A stand without live trees: zero means rather than divisions by zero.
        crMean = dq = rs = hMean = 0;
    }
}

float GrowthModel::standCords() const {
    float sum = 0;
    for (int i = 1; i <= nrec; ++i) {
        const float n = countedTrees(freq[i]);
        if (n > 0) {
            sum = f32(sum + static_cast<double>(TreeCords(*this, dbh[i], ht[i])) * n);
        }
    }
    return sum;
}

void GrowthModel::GrowOneYear() {
    const int A = age;
    const double Ad = A;
    const double nextA = A + 1.0;

    if (!(ts > 0)) {
        // Nothing lives that could grow; the dominant height still follows the site curve.
        hd = SiteHeight(site, nextA, 1.0 / nextA - 0.04_f);
        return;
    }

    // 1. Thinning multipliers of the dominant-height curve.
    const bool thinned = lowThinned(*this);
    float thetaA = 1.0f;
    float theta25 = 1.0f;
    if (thinned) {
        const int t = A - kt;
        const int t25 = 25 - kt;
        thetaA = f32(std::pow(static_cast<double>(thinRatio),
                              -0.7384_f * (12.878_f * t - static_cast<double>(t) * t) / (Ad * Ad)));
        theta25 = f32(std::pow(static_cast<double>(thinRatio),
                               -0.7384_f * (12.878_f * t25 - static_cast<double>(t25) * t25) / (25.0 * 25.0)));
    }

    // 2. Fertilization multipliers.
    const FertilizerResponse fert =
        kfert > 0 ? FertilizationMultipliers(A - kfert, lbn, qphos != 0) : FertilizerResponse{};

    // 3. Dominant heights now and a year on.
    float H0 = 0;
    float H1 = 0;
    if (thinned) {
        H0 = SiteHeight(site, Ad, static_cast<double>(thetaA) / Ad - static_cast<double>(theta25) / 25.0);
        H1 = SiteHeight(site, nextA, static_cast<double>(thetaA) / nextA - static_cast<double>(theta25) / 25.0);
    } else {
        H0 = SiteHeight(site, Ad, 1.0 / Ad - 0.04_f);
        H1 = SiteHeight(site, nextA, 1.0 / nextA - 0.04_f);
    }
    hd = H0;
    const float HG = f32((static_cast<double>(H1) - H0) * fert.FH);
    const float PDG = f32(0.209472_f + 0.286583_f * HG);

    // 4. Diameter growth and survival of every record, against the stand as it was at the start.
    const float B = qhdwd != 0 ? f32(tba / (1.0 - hdwdpercnt)) : tba;
    const float D = f32(std::sqrt(static_cast<double>(B) / ts / kBasalAreaFactor));
    const double hdPower = std::pow(static_cast<double>(hd), 0.9366_f);
    const double slope = HeightSlope(ts, Ad);
    for (int i = 1; i <= nrec; ++i) {
        const float d = dbh[i];
        const float n = countedTrees(freq[i]);
        const float cr = crownRatio[i];
        if (d <= 0 || n <= 0) {
            continue;
        }
        const float h = TreeHeight(hdPower, slope, Ad, d, dmax);
        const float r = f32(static_cast<double>(D) / d);
        const float p = survival(*this, cr, r, h);
        float g = diameterIncrement(*this, PDG, cr, r, 0.8798_f);
        g = f32(static_cast<double>(g) * fert.FD);
        dbh[i] = f32(static_cast<double>(d) + g);
        freq[i] = f32(static_cast<double>(p) * freq[i]);
    }

    // 5. The largest tree grows by its own equation.
    const float hm = f32(1.4504_f * hdPower * std::pow(10.0, -0.4413_f / Ad));
    const float crm = CrownRatio(CrownThinTerm(thinRatio, A - kt, Ad), Ad, dmax, hm, hd);
    const float rm = f32(static_cast<double>(D) / dmax);
    const float gm = diameterIncrement(*this, PDG, crm, rm, 0.87978_f);
    dmax = f32(dmax + static_cast<double>(gm) * fert.FD);

    // 6. Live trees after mortality.
    ts = 0;
    for (int i = 1; i <= nrec; ++i) {
        ts = f32(static_cast<double>(ts) + countedTrees(freq[i]));
    }

    // 7. Heights and crowns at the new age.
    const bool fertilizedWithPhosphorus = kfert > 0 && qphos != 0;
    const float Hn = fertilizedWithPhosphorus ? f32(static_cast<double>(hd) + HG) : H1;
    if (ts > 0) {
        const double newHdPower = std::pow(static_cast<double>(Hn), 0.9366_f);
        const double newSlope = HeightSlope(ts, nextA);
        const double thinTerm = CrownThinTerm(thinRatio, A + 1 - kt, nextA);
        for (int i = 1; i <= nrec; ++i) {
            if (!(dbh[i] > 0 && freq[i] > 0)) {
                continue;
            }
            if (ht[i] <= 0) {
                crownRatio[i] = 0;
                continue;
            }
            ht[i] = TreeHeight(newHdPower, newSlope, nextA, dbh[i], dmax);
            crownRatio[i] = CrownRatio(thinTerm, nextA, dbh[i], ht[i], Hn);
        }
    }

    // 8. The new dominant height: the plain site curve, unless phosphorus raised the increment.
    hd = fertilizedWithPhosphorus ? Hn : SiteHeight(site, nextA, 1.0 / nextA - 0.04_f);
}

} // namespace grovex
