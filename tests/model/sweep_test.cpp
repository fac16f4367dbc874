// A sweep over the range of inputs the input pages accept: every run either refuses to start or projects
// to the rotation without a NaN or an infinite value in any table or stand value.

#include "model/input1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace grovex {
namespace {

// The volume units a page can choose: cubic feet in and outside bark, the three board-foot rules, and
// custom equations (one with a negative intercept).
std::vector<Input1> volumeUnits() {
    std::vector<Input1> units;
    for (int bark : {1, 2}) {
        Input1 in;
        in.vtype = kCubicFeet;
        in.voltyp = bark;
        in.minDbhClass = bark == 1 ? 1 : 12;
        in.voltop = bark == 1 ? 2.0f : 10.0f;
        units.push_back(in);
    }
    for (int rule : {1, 2, 3}) {
        Input1 in;
        in.vtype = kCordsAndBoardFeet;
        in.voltyp = rule;
        in.minDbhClass = rule * 4;
        units.push_back(in);
    }
    Input1 custom;
    custom.vtype = kCustomEquations;
    custom.equations[0] = {"Pulp", -3.5f, 0.0021f, 1};
    custom.equations[1] = {"Saw", 0.5f, 0.0018f, 9};
    custom.equations[2].name = " ";
    units.push_back(custom);
    return units;
}

bool finite(float v) {
    return std::isfinite(v);
}

// Describes the first non-finite value of the model, or nothing when all are finite.
std::optional<std::string> firstNonFinite(const GrowthModel& m) {
    const std::vector<std::pair<const char*, float>> stand{
        {"ts", m.ts},       {"tba", m.tba},       {"hd", m.hd}, {"dq", m.dq},       {"dmax", m.dmax},
        {"hMean", m.hMean}, {"crMean", m.crMean}, {"rs", m.rs}, {"cords", m.cords}, {"thinRatio", m.thinRatio}};
    for (auto [name, v] : stand) {
        if (!finite(v)) {
            return std::string(name);
        }
    }
    for (int i = 1; i <= m.nrec; ++i) {
        if (!finite(m.dbh[i]) || !finite(m.freq[i]) || !finite(m.ht[i]) || !finite(m.crownRatio[i])) {
            return "record " + std::to_string(i);
        }
    }
    for (size_t t = 0; t < m.tables.size(); ++t) {
        for (const TableRow& row : m.tables[t].rows) {
            for (float v : row) {
                if (!finite(v)) {
                    return "table " + std::to_string(t);
                }
            }
        }
        // Every "=" of the summary is followed by one %8.2f value.
        const std::string& summary = m.tables[t].summary;
        for (size_t at = summary.find('='); at != std::string::npos; at = summary.find('=', at + 1)) {
            if (!std::isfinite(std::strtod(summary.substr(at + 1, 8).c_str(), nullptr))) {
                return "summary of table " + std::to_string(t);
            }
        }
    }
    return std::nullopt;
}

// Stand descriptions over the pages' ranges: bare land (survival 30 to 100 %) and existing stands of age
// 1 to 30 with and without a basal area (given from age 8 on), each with and without hardwoods.
std::vector<Input1> stands() {
    std::vector<Input1> result;
    const std::vector<float> hardwoods{-1, 0, 45, 90};
    size_t variant = 0;
    for (float site : {20.0f, 40.0f, 60.0f, 80.0f, 100.0f}) {
        for (float trees : {50.0f, 200.0f, 500.0f, 900.0f, 1400.0f, 2000.0f}) {
            for (float survival : {30.0f, 65.0f, 100.0f}) {
                Input1 in;
                in.site = site;
                in.tp = trees;
                in.psPercent = survival;
                in.qdrain = (variant % 3) == 0;
                in.hdwdPercent = hardwoods[variant++ % hardwoods.size()];
                result.push_back(in);
            }
            for (int age : {1, 4, 7, 8, 12, 18, 24, 26, 30}) {
                for (float basalArea : {0.0f, 25.0f, 75.0f, 140.0f, 200.0f}) {
                    if (age < 8 && basalArea > 0) {
                        continue;
                    }
                    Input1 in;
                    in.site = site;
                    in.qexist = true;
                    in.exage = age;
                    in.ts = trees;
                    in.tba = basalArea;
                    in.qdrain = (variant % 3) == 0;
                    in.hdwdPercent = hardwoods[variant++ % hardwoods.size()];
                    result.push_back(in);
                }
            }
        }
    }
    return result;
}

TEST(InputSweep, NoRunProducesANonFiniteValue) {
    const std::vector<Input1> units = volumeUnits();
    // Targets that are never reached, so that every run grows to the rotation of 100 years.
    const std::vector<std::pair<int, float>> targets{{kCriterionAge, 1000},
                                                     {kCriterionBasalArea, 1e6f},
                                                     {kCriterionQuadraticMeanDbh, 1e6f},
                                                     {kCriterionCrownRatio, -1},
                                                     {kCriterionRelativeSpacing, -1}};
    int runs = 0;
    int refused = 0;
    size_t variant = 0;
    for (Input1 in : stands()) {
        in.nyears = 100;
        in.pcrit = targets[variant % targets.size()].first;
        in.target = targets[variant % targets.size()].second;
        const Input1& unit = units[variant % units.size()];
        ++variant;
        in.vtype = unit.vtype;
        in.voltyp = unit.voltyp;
        in.minDbhClass = unit.minDbhClass;
        in.voltop = unit.voltop;
        in.equations = unit.equations;

        GrowthModel m;
        WriteInput1(m, in);
        ++runs;
        if (!StartRun(m)) {
            ++refused;
            continue;
        }
        std::ostringstream what;
        what << "site " << in.site << (in.qexist ? " existing age " : " bare land, survival ")
             << (in.qexist ? static_cast<float>(in.exage) : in.psPercent) << " trees " << (in.qexist ? in.ts : in.tp)
             << " basal area " << in.tba << " hardwood " << in.hdwdPercent;
        ASSERT_LE(m.age, 100) << what.str();
        EXPECT_FALSE(m.ProjectToTarget()) << what.str();
        EXPECT_EQ(m.age, 100) << what.str();
        ASSERT_LE(m.nrec, kMaxRecords) << what.str();

        // The final stand in every other volume unit as well.
        for (const Input1& other : units) {
            m.vtype = other.vtype;
            m.voltyp = other.voltyp;
            m.voldbh = {other.minDbhClass, 1, 9};
            m.voltop = other.voltop;
            m.vola = {-3.5f, 0.5f, 0};
            m.volb = {0.0021f, 0.0018f, 0};
            m.MakeTable(kLiveTreeTable);
        }
        const std::optional<std::string> bad = firstNonFinite(m);
        ASSERT_FALSE(bad.has_value()) << *bad << " in " << what.str();
    }
    // Refusals are allowed (stand values no diameter distribution fits), but they are the exception.
    std::cout << runs << " runs, " << refused << " refused to start\n";
    EXPECT_LT(refused, runs / 4);
}

} // namespace
} // namespace grovex
