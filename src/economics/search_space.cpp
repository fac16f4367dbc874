#include "economics/search_space.h"

#include "base/c_format.h"
#include "base/file_io.h"
#include "economics/json_reading.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace grovex::economics {
namespace {

using namespace jsonread;

constexpr int kLargestAge = 1000;     // growing seasons; a rotation is at most 100
constexpr double kLargestValue = 1e9; // intervals, pounds, square feet and inches: far beyond the pages' ranges

std::string at(const std::string& key, size_t k) {
    return key + "[" + std::to_string(k) + "]";
}

int wholeNumber(const json& value, const std::string& key, int low, int high) {
    const double x = number(value, key);
    if (x != std::floor(x) || x < low || x > high) {
        refuse(key, cformat("must be a whole number from %d to %d", low, high));
    }
    return static_cast<int>(x);
}

const json& nonEmptyList(const json& object, const std::string& where, const char* key) {
    const json& list = member(object, where, key);
    if (!list.is_array() || list.empty()) {
        refuse(join(where, key), "must be a list of at least one value");
    }
    return list;
}

// A list of distinct values, each read by `read(value, its key)`.
template <typename T, typename Read>
std::vector<T> distinctList(const json& object, const std::string& where, const char* key, Read read) {
    const json& list = nonEmptyList(object, where, key);
    std::vector<T> values;
    for (size_t k = 0; k < list.size(); ++k) {
        const std::string name = at(join(where, key), k);
        T value = read(list[k], name);
        if (std::find(values.begin(), values.end(), value) != values.end()) {
            refuse(name, "is given twice");
        }
        values.push_back(value);
    }
    return values;
}

std::vector<int> ages(const json& object, const std::string& where) {
    return distinctList<int>(object, where, "ages",
                             [](const json& v, const std::string& key) { return wholeNumber(v, key, 1, kLargestAge); });
}

std::vector<int> wholeNumbers(const json& object, const std::string& where, const char* key) {
    return distinctList<int>(object, where, key, [](const json& v, const std::string& name) {
        return wholeNumber(v, name, -static_cast<int>(kLargestValue), static_cast<int>(kLargestValue));
    });
}

float real(const json& value, const std::string& key) {
    const double x = number(value, key);
    if (std::fabs(x) > kLargestValue) {
        refuse(key, "is out of any range the pages take");
    }
    return static_cast<float>(x);
}

bool flag(const json& object, const std::string& where, const char* key, bool otherwise) {
    if (!object.contains(key)) {
        return otherwise;
    }
    if (!object.at(key).is_boolean()) {
        refuse(join(where, key), "must be true or false");
    }
    return object.at(key).get<bool>();
}

const json& section(const json& root, const char* key) {
    static const json empty = json::object();
    if (!root.contains(key)) {
        return empty;
    }
    if (!root.at(key).is_object()) {
        refuse(key, "must be an object");
    }
    return root.at(key);
}

std::vector<ThinningKind> kinds(const json& thinning) {
    const std::string where = "thinning";
    if (!thinning.contains("kinds")) {
        return {};
    }
    return distinctList<ThinningKind>(thinning, where, "kinds", [](const json& v, const std::string& key) {
        const std::string name = v.is_string() ? v.get<std::string>() : "";
        if (name == "row") {
            return ThinningKind::Row;
        }
        if (name == "low") {
            return ThinningKind::Low;
        }
        if (name != "row_and_low") {
            refuse(key, "must be \"row\", \"low\" or \"row_and_low\"");
        }
        return ThinningKind::RowAndLow;
    });
}

// The options of one kind: each age with each row interval (row) and each residual basal area (low).
void addThinnings(ThinningKind kind, const json& thinning, std::vector<ThinningOption>& options) {
    const std::string where = "thinning";
    const bool row = kind != ThinningKind::Low;
    const bool low = kind != ThinningKind::Row;
    const std::vector<int> intervals = row ? wholeNumbers(thinning, where, "row_intervals") : std::vector<int>{0};
    const std::vector<float> residuals =
        low ? distinctList<float>(thinning, where, "residual_basal_areas", real) : std::vector<float>{0};
    const float minDbh = low && thinning.contains("min_dbh") ? real(thinning.at("min_dbh"), "thinning.min_dbh") : 0;
    for (int age : ages(thinning, where)) {
        for (int interval : intervals) {
            for (float residual : residuals) {
                options.push_back(ThinningOption{age, Thinning{kind, interval, residual, minDbh}});
            }
        }
    }
}

// Counts before the options are made, so that an absurd space is refused without making them.
double thinningCount(const json& thinning, const std::vector<ThinningKind>& kindList) {
    double count = 0;
    for (ThinningKind kind : kindList) {
        double n = static_cast<double>(nonEmptyList(thinning, "thinning", "ages").size());
        if (kind != ThinningKind::Low) {
            n *= static_cast<double>(nonEmptyList(thinning, "thinning", "row_intervals").size());
        }
        if (kind != ThinningKind::Row) {
            n *= static_cast<double>(nonEmptyList(thinning, "thinning", "residual_basal_areas").size());
        }
        count += n;
    }
    return count;
}

double fertilizationCount(const json& fertilization) {
    if (!fertilization.contains("ages")) {
        return 0;
    }
    const double phosphorus =
        fertilization.contains("phosphorus")
            ? static_cast<double>(nonEmptyList(fertilization, "fertilization", "phosphorus").size())
            : 1.0;
    return static_cast<double>(nonEmptyList(fertilization, "fertilization", "ages").size()) *
           static_cast<double>(nonEmptyList(fertilization, "fertilization", "nitrogen").size()) * phosphorus;
}

void addFertilizations(const json& fertilization, std::vector<FertilizationOption>& options) {
    const std::string where = "fertilization";
    if (!fertilization.contains("ages")) {
        return;
    }
    const std::vector<int> nitrogen = wholeNumbers(fertilization, where, "nitrogen");
    const std::vector<bool> phosphorus = fertilization.contains("phosphorus")
                                             ? distinctList<bool>(fertilization, where, "phosphorus",
                                                                  [](const json& v, const std::string& key) {
                                                                      if (!v.is_boolean()) {
                                                                          refuse(key, "must be true or false");
                                                                      }
                                                                      return v.get<bool>();
                                                                  })
                                             : std::vector<bool>{false};
    for (int age : ages(fertilization, where)) {
        for (int pounds : nitrogen) {
            for (bool p : phosphorus) {
                options.push_back(FertilizationOption{age, Fertilizer{pounds, p}});
            }
        }
    }
}

void readHarvestAges(const json& root, SearchSpace& space) {
    const json& range = member(root, "", "harvest_ages");
    if (!range.is_array() || range.size() != 2) {
        refuse("harvest_ages", "must be [from, to]: the first and the last final-harvest age");
    }
    space.firstHarvestAge = wholeNumber(range[0], "harvest_ages[0]", 1, kLargestAge);
    space.lastHarvestAge = wholeNumber(range[1], "harvest_ages[1]", 1, kLargestAge);
    if (space.lastHarvestAge < space.firstHarvestAge) {
        refuse("harvest_ages", "the last age must not be below the first");
    }
}

// A key that only means something beside `needed`, given without it, would be ignored: refused instead.
void refuseWithout(const json& object, const std::string& where, const char* needed,
                   std::initializer_list<const char*> keys) {
    if (object.contains(needed)) {
        return;
    }
    for (const char* key : keys) {
        if (object.contains(key)) {
            refuse(join(where, key), "given without " + join(where, needed));
        }
    }
}

std::string countText(double count) {
    return count < 1e15 ? cformat("%.0f", count) : cformat("%.3g", count);
}

SearchSpace spaceOf(const json& root) {
    if (!root.is_object()) {
        refuse("(top level)", "must be an object with harvest_ages, thinning and fertilization");
    }
    onlyKnownKeys(root, "", {"harvest_ages", "thinning", "fertilization"});
    SearchSpace space;
    readHarvestAges(root, space);
    const json& thinning = section(root, "thinning");
    onlyKnownKeys(thinning, "thinning", {"none", "kinds", "ages", "row_intervals", "residual_basal_areas", "min_dbh"});
    const json& fertilization = section(root, "fertilization");
    onlyKnownKeys(fertilization, "fertilization", {"none", "ages", "nitrogen", "phosphorus"});
    refuseWithout(thinning, "thinning", "kinds", {"ages", "row_intervals", "residual_basal_areas", "min_dbh"});
    refuseWithout(fertilization, "fertilization", "ages", {"nitrogen", "phosphorus"});
    space.unthinned = flag(thinning, "thinning", "none", true);
    space.unfertilized = flag(fertilization, "fertilization", "none", true);

    const std::vector<ThinningKind> kindList = kinds(thinning);
    const double count = (thinningCount(thinning, kindList) + (space.unthinned ? 1 : 0)) *
                         (fertilizationCount(fertilization) + (space.unfertilized ? 1 : 0)) * space.harvestAgeCount();
    if (count == 0) {
        refuse("(top level)", "the search space holds 0 combinations: give \"none\": true or at least one option "
                              "in both thinning and fertilization");
    }
    if (count > static_cast<double>(kMostCombinations)) {
        refuse("(top level)", "the search space holds " + countText(count) + " combinations; at most " +
                                  countText(static_cast<double>(kMostCombinations)) + " are searched");
    }
    for (ThinningKind kind : kindList) {
        addThinnings(kind, thinning, space.thinnings);
    }
    addFertilizations(fertilization, space.fertilizations);
    return space;
}

std::string thinningText(const Thinning& t) {
    const std::string row = cformat("row 1 in %d", t.rowInterval);
    const std::string low = cformat("low to %g sq ft", double{t.residualBasalArea}) +
                            (t.minDbh > 0 ? cformat(" from %g in", double{t.minDbh}) : std::string());
    switch (t.kind) {
    case ThinningKind::Row:
        return "thin " + row;
    case ThinningKind::Low:
        return "thin " + low;
    case ThinningKind::RowAndLow:
        break;
    }
    return "thin " + row + " and " + low;
}

} // namespace

std::vector<Schedule> SearchSpace::schedules() const {
    std::vector<std::optional<ThinningOption>> thinningOptions;
    if (unthinned) {
        thinningOptions.emplace_back(std::nullopt);
    }
    thinningOptions.insert(thinningOptions.end(), thinnings.begin(), thinnings.end());
    std::vector<std::optional<FertilizationOption>> fertilizationOptions;
    if (unfertilized) {
        fertilizationOptions.emplace_back(std::nullopt);
    }
    fertilizationOptions.insert(fertilizationOptions.end(), fertilizations.begin(), fertilizations.end());

    std::vector<Schedule> result;
    for (const auto& thin : thinningOptions) {
        for (const auto& fertilize : fertilizationOptions) {
            Schedule s;
            if (thin) {
                s.treatments.push_back(Treatment{thin->age, thin->thinning, std::nullopt});
            }
            if (fertilize && thin && fertilize->age == thin->age) {
                s.treatments.back().fertilizer = fertilize->fertilizer; // one midrotation treatment
            } else if (fertilize) {
                s.treatments.push_back(Treatment{fertilize->age, std::nullopt, fertilize->fertilizer});
            }
            std::sort(s.treatments.begin(), s.treatments.end(),
                      [](const Treatment& a, const Treatment& b) { return a.age < b.age; });
            result.push_back(std::move(s));
        }
    }
    return result;
}

std::optional<std::string> parseSearchSpace(const std::string& text, SearchSpace& space) {
    return parseJson(text, [&](const json& document) { space = spaceOf(document); });
}

std::optional<std::string> readSearchSpace(const std::string& path, SearchSpace& space) {
    const FileContent content = readFile(path, FileCap{"search space", kLargestSearchSpaceFile});
    if (!content.ok()) {
        return content.error;
    }
    if (auto refused = parseSearchSpace(std::string(content.bytes.begin(), content.bytes.end()), space)) {
        return path + ": " + *refused;
    }
    return std::nullopt;
}

std::string scheduleText(const Schedule& schedule) {
    std::string text;
    for (const Treatment& t : schedule.treatments) {
        std::string what = t.thinning ? thinningText(*t.thinning) : "";
        if (t.fertilizer) {
            what += (what.empty() ? "" : " and ") + cformat("fertilize %d lb N", t.fertilizer->nitrogen) +
                    (t.fertilizer->phosphorus ? " + P" : "");
        }
        text += (text.empty() ? "" : ", ") + what + cformat(" at %d", t.age);
    }
    return text.empty() ? "no treatment" : text;
}

} // namespace grovex::economics
