#pragma once
// The regimes a search tries: every thinning option (none, and each kind at each age with its parameters) with
// every fertilization option (none, and each age, amount of nitrogen and choice of phosphorus), each ended by
// a final harvest at every age of a range. Read from a JSON file whose keys are exactly those below.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace grovex::economics {

enum class ThinningKind { Row, Low, RowAndLow };

struct Thinning {
    ThinningKind kind = ThinningKind::Row;
    int rowInterval = 0;         // row and row_and_low: every n-th row is removed
    float residualBasalArea = 0; // low and row_and_low: square feet per acre left after the low thinning
    float minDbh = 0;            // low and row_and_low: inches, the smallest tree the low thinning takes
};

struct Fertilizer {
    int nitrogen = 0; // pounds per acre
    bool phosphorus = false;
};

// What is done at one age: a thinning, a fertilization or both, in one midrotation treatment.
struct Treatment {
    int age = 0;
    std::optional<Thinning> thinning;
    std::optional<Fertilizer> fertilizer;
};

// The treatments of a regime, by age, without its final harvest.
struct Schedule {
    std::vector<Treatment> treatments;
};

struct ThinningOption {
    int age = 0;
    Thinning thinning;
};

struct FertilizationOption {
    int age = 0;
    Fertilizer fertilizer;
};

struct SearchSpace {
    int firstHarvestAge = 0; // both ends included
    int lastHarvestAge = 0;
    bool unthinned = true; // "none": the schedules without a thinning
    std::vector<ThinningOption> thinnings;
    bool unfertilized = true;
    std::vector<FertilizationOption> fertilizations;

    int harvestAgeCount() const { return lastHarvestAge - firstHarvestAge + 1; }
    // Every thinning option with every fertilization option, in a fixed order: no thinning first, then the
    // thinnings in the order of the file; within each, no fertilization first.
    std::vector<Schedule> schedules() const;
};

// The most combinations (schedules times harvest ages) a search takes on.
inline constexpr int64_t kMostCombinations = 1000000;

// The largest search space file read.
inline constexpr size_t kLargestSearchSpaceFile = 1 << 20;

// Reads a search space from JSON text. A refusal names the key it is about ("thinning.kinds[1]: ..."); a space
// without a combination or with more than kMostCombinations is refused with its count.
std::optional<std::string> parseSearchSpace(const std::string& text, SearchSpace& space);

// Reads a search space file; a refusal starts with the file's name.
std::optional<std::string> readSearchSpace(const std::string& path, SearchSpace& space);

// "thin row 1 in 4 at 12, fertilize 200 lb N + P at 15": the schedule in words, or "no treatment".
std::string scheduleText(const Schedule& schedule);

} // namespace grovex::economics
