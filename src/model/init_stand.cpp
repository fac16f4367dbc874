// Stand initialization: stand-level equations, the Weibull diameter distribution and the register of
// 0.1-inch DBH classes.

#include "model/growth_model.h"
#include "model/numerics.h"
#include "model/site_curve.h"

#include <algorithm>
#include <cmath>

namespace grovex {
using namespace numerics;

namespace {

constexpr float kBasalAreaFactor = 0.005454f; // square feet per square inch of DBH
constexpr int kMaxMeanShifts = 100000;        // the bracket search always ends long before this

} // namespace

bool GrowthModel::InitStand() {
    weibull.b = 0;
    weibull.c = 0;
    weibull.statusCode = 0;

    if (qexist == 0) {
        ts = f32(static_cast<double>(ps) * tp);
        age = 1;
    } else {
        age = wholeYears(static_cast<double>(exage) + 0.1_f);
    }

    // Survival to age 8: N2 = N1 exp(-(0.000997 + 0.000724 drain)(8^2.0525 - A1^2.0525)).
    if (age < 8) {
        const int drain = qdrain != 0 ? 1 : 0;
        ts = f32(
            std::exp(std::log(static_cast<double>(ts)) -
                     (71.3826_f - std::pow(static_cast<double>(age), 2.0525_f)) * (0.000997_f + 0.000724_f * drain)));
        age = 8;
    }

    const double A = age;
    hd = SiteHeight(site, A, 1.0 / A - 0.04_f);

    if (qtba == 0) {
        const double lnHd = std::log(static_cast<double>(hd));
        const double lnTs = std::log(static_cast<double>(ts));
        const double lnSite = std::log(static_cast<double>(site));
        if (qhdwd != 0) {
            tba = f32(std::exp(-2.4345_f - 6.85252_f / A + 0.614497_f * lnHd + 0.49701_f * lnTs + 0.53524_f * lnSite -
                               0.85662_f * hdwdpercnt));
        } else {
            tba = f32(std::exp(-3.10633_f - 6.22094_f / A + 0.6781_f * lnHd + 0.54576_f * lnTs + 0.54738_f * lnSite));
        }
    }

    float a = f32(0.073765_f * hd - 0.982664_f - 0.379953_f * hd / A);
    if (a <= 0) {
        a = 0;
    }
    weibull.a = a;
    dq = f32(std::sqrt(static_cast<double>(tba) / ts / kBasalAreaFactor));
    const float mean = f32(dq - std::exp(-0.61472_f - 9.13668_f / A - 0.107574_f * std::log(static_cast<double>(ts))));
    const float Q = f32(static_cast<double>(dq) * dq);
    weibull.Q = Q;

    // No bracket at all (status 3), or one that only exists for a negative scale because the mean lies
    // below the location: no distribution describes these stand values.
    const WeibullSolution fit = SolveWeibull(mean, Q, a, 1.0f, 5.0f);
    if (fit.statusCode == 3 || !(fit.b > 0) || !(fit.c > 0) || !std::isfinite(fit.b) || !std::isfinite(fit.c)) {
        return false;
    }
    GenerateTrees(a, fit.b, fit.c);
    return true;
}

// R(c) = Q - a^2 - 2 a b g1 - b^2 g2: zero where the distribution's second moment equals Q.
float GrowthModel::weibullResidual(float c) {
    const float g1 = GammaFn(f32(1.0 + 1.0 / c));
    const float g2 = GammaFn(f32(1.0 + 2.0 / c));
    const double a = weibull.a;
    const float b = f32((static_cast<double>(weibull.mean) - a) / g1);
    weibull.b = b;
    weibull.c = c;
    return f32(weibull.Q - a * a - 2.0 * a * b * g1 - static_cast<double>(b) * b * g2);
}

GrowthModel::WeibullSolution GrowthModel::SolveWeibull(float mean, float Q, float a, float cLow, float cHigh) {
    weibull.statusCode = 0;
    weibull.b = 0;
    weibull.c = 0;
    weibull.a = a;
    weibull.Q = Q;
    weibull.mean = mean;
    bool lowered = false;

    // Find a bracket [cL, cH] with R(cL) < 0 < R(cH), nudging the mean when there is none.
    float cL = cLow;
    float fL = 0;
    float cH = cHigh;
    float fH = 0;
    for (int shifts = 0;; ++shifts) {
        cL = cLow;
        fL = weibullResidual(cL);
        if (!(fL < 0) || shifts >= kMaxMeanShifts) {
            weibull.statusCode = 2;
            if (lowered || shifts >= kMaxMeanShifts) {
                weibull.statusCode = 3;
                weibull.b = 0;
                weibull.c = 0;
                return {0, 0, 3};
            }
            weibull.mean = f32(weibull.mean + 0.01_f);
            continue;
        }
        cH = cHigh;
        fH = weibullResidual(cH);
        if (!(fH > 0)) {
            weibull.statusCode = 2;
            lowered = true;
            weibull.mean = f32(weibull.mean - 0.01_f);
            continue;
        }
        break;
    }

    for (int step = 0; step < 5; ++step) {
        const float cM = f32((static_cast<double>(cL) + cH) / 2.0);
        const float fM = weibullResidual(cM);
        if (static_cast<double>(fM) * fL > 0) {
            cL = cM;
            fL = fM;
        } else {
            cH = cM;
            fH = fM;
        }
    }

    bool stopped = false;
    for (int step = 0; step < 100 && !stopped; ++step) {
        if (std::fabs(static_cast<double>(fL) - fH) <= 0.00001_f) {
            stopped = true;
            break;
        }
        const float cN = f32(cL - (static_cast<double>(cL) - cH) * fL / (static_cast<double>(fL) - fH));
        cH = cL;
        fH = fL;
        cL = cN;
        fL = weibullResidual(cL);
        stopped = std::fabs(static_cast<double>(fL)) <= 0.00001_f;
    }
    if (!stopped) {
        weibull.statusCode = 1;
    }
    return {weibull.b, weibull.c, weibull.statusCode};
}

float GammaFn(float x) {
    const bool reflected = x < 0;
    const float x0 = x;
    if (reflected) {
        x = f32(1.0 - x);
    }

    float result = 1.0f;
    if (x == std::floor(x)) {
        if (x > 171.0f) {
            result = INFINITY; // (x - 1)! overflows every real type
        }
        for (int factor = 2; static_cast<float>(factor) < x && std::isfinite(result); ++factor) {
            result = f32(static_cast<double>(result) * factor);
        }
    } else {
        int k = 0;
        float xs = x;
        if (x < 5.5f) {
            k = static_cast<int>(6.5 - x);
            xs = f32(static_cast<double>(x) + k);
        }
        const float z = f32(1.0 / xs);
        const float s = f32(1.0 + z * (0.08333333_f + z * (0.003472222_f - 0.002681327_f * z)));
        float G =
            f32(2.506628_f * s * std::pow(static_cast<double>(xs), xs - 0.5) * std::exp(-static_cast<double>(xs)));
        for (int j = 1; j <= k; ++j) {
            G = f32(G / (static_cast<double>(xs) - j));
        }
        result = G;
    }

    if (reflected) {
        result = f32(3.141593_f / (std::sin(3.141593_f * x0) * result));
    }
    return result;
}

void GrowthModel::GenerateTrees(float a, float b, float c) {
    crMean = 0;
    rs = 0;
    hMean = 0;
    tba = 0;
    dmax = 0;
    float S = 0;  // cumulative trees per acre
    float Fp = 0; // distribution value at the previous class's upper edge
    int k = 0;
    for (int i = 1; i <= kMaxRecords; ++i) {
        const float d = f32(i / 10.0);
        ++k;
        if (d < a) {
            continue;
        }
        const float u = f32(d + 0.05_f);
        const float F = f32(1.0 - std::exp(-std::pow((static_cast<double>(u) - a) / b, static_cast<double>(c))));
        const float n = f32((static_cast<double>(F) - Fp) * ts);
        S = f32(static_cast<double>(S) + n);
        if (std::fabs(static_cast<double>(S) - ts) < 0.01_f) {
            break;
        }
        dbh[i] = d;
        freq[i] = n;
        dmax = std::max(dmax, d);
        Fp = F;
    }
    nrec = k;

    const double A = age;
    const double slope = HeightSlope(ts, A);
    const double hdPower = std::pow(static_cast<double>(hd), 0.9366_f);
    const double thinTerm = CrownThinTerm(thinRatio, age - kt, A);
    for (int i = 1; i <= nrec; ++i) {
        if (a < dbh[i] && dbh[i] <= dmax) {
            ht[i] = TreeHeight(hdPower, slope, A, dbh[i], dmax);
            if (ht[i] <= 0) {
                crownRatio[i] = 0;
                crownLength[i] = 0;
                continue;
            }
            crownRatio[i] = CrownRatio(thinTerm, A, dbh[i], ht[i], hd);
            crownLength[i] = f32(static_cast<double>(ht[i]) * crownRatio[i]);
        }
        hMean = f32(hMean + static_cast<double>(freq[i]) * ht[i]);
        crMean = f32(crMean + static_cast<double>(freq[i]) * crownRatio[i]);
    }

    crMean = f32(static_cast<double>(crMean) / ts);
    dq = f32(std::sqrt(static_cast<double>(tba) / ts / kBasalAreaFactor));
    rs = f32(std::sqrt(43560.0 / ts) / hd);
    hMean = f32(static_cast<double>(hMean) / ts);
}

} // namespace grovex
