// grovex-make-stands: writes a made-up stand table for `grovex-cli batch`, as large as asked, the same bytes
// for the same seed on every machine. Rows are streamed, so memory stays constant whatever the count.
//
// Usage: grovex-make-stands --count N [--seed S] [--existing-share F] [--out FILE]

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitWriteFailed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    "Usage: grovex-make-stands --count N [--seed S] [--existing-share F] [--out FILE]\n"
    "Writes a made-up stand table of N stands for grovex-cli batch (CSV, UTF-8, LF line ends).\n"
    "  --count N           number of stands (whole number, 0 or more)\n"
    "  --seed S            seed of the draws (whole number; default 1): the same seed gives the same bytes\n"
    "  --existing-share F  share of existing stands, 0 to 1 (default 0.4); the others are bare land\n"
    "  --out FILE          file to write (default: stdout)\n";

constexpr std::string_view kHeader = "stand_id,site,planted,survival,existing_age,trees,basal_area,owner,region\n";

// Already quoted where CSV needs it, so that readers meet commas, doubled quotes and non-ASCII text.
constexpr std::array<std::string_view, 8> kOwners{
    "Hollis Creek Timber LLC",     "\"Ortega, M.\"",     "Pine Ridge Trust", "Åsa Lindqvist", "Dunmore County Schools",
    "\"The \"\"Old Mill\"\" Co\"", "Broadleaf Partners", "J. Nakamura"};
constexpr std::array<std::string_view, 5> kRegions{"Coastal Plain", "Piedmont", "Sandhills", "Gulf Coast",
                                                   "Upper Coastal Plain"};

// Existing stands of age 8 or more leave the basal area empty this often; the model then predicts it.
constexpr double kShareWithoutBasalArea = 0.35;
constexpr int kFirstAgeWithBasalArea = 8;

// The engine is fixed by the standard; the mappings below are plain IEEE arithmetic, unlike the standard
// distributions, whose output differs between libraries.
class Draws {
public:
    explicit Draws(uint64_t seed) : engine_(seed) {}

    // Uniform on [0, 1), from the top 53 bits.
    double unit() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

    // Uniform on lo..hi.
    int64_t between(int64_t lo, int64_t hi) {
        const int64_t span = hi - lo + 1;
        const auto k = static_cast<int64_t>(unit() * static_cast<double>(span));
        return lo + (k < span ? k : span - 1);
    }

private:
    std::mt19937_64 engine_;
};

// The basal area (square feet per acre) the model predicts for an unthinned stand of this age, trees per
// acre and site index, within about 11 percent for ages 8 to 20, 250 to 1000 trees and site index 40 to 90:
// a quadratic mean DBH fitted to the model's own predictions. Only + and * so that every machine agrees.
double predictedBasalArea(double age, double trees, double site) {
    const double qmd = 0.585644 + 0.235957 * age + 0.0126818 * site + 0.00550551 * age * site + 0.000354614 * trees -
                       9.75996e-05 * trees * age - 2.23816e-05 * trees * site - 0.00390300 * age * age -
                       0.000103898 * age * age * site;
    return 0.005454 * qmd * qmd * trees;
}

void appendInt(std::string& s, int64_t value) {
    std::array<char, 24> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    s.append(digits.data(), result.ptr);
}

// A value held in tenths, with one decimal.
void appendTenths(std::string& s, int64_t tenths) {
    appendInt(s, tenths / 10);
    s += '.';
    s += static_cast<char>('0' + tenths % 10);
}

void appendStandId(std::string& s, uint64_t number) {
    std::array<char, 24> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), number);
    const auto length = static_cast<size_t>(result.ptr - digits.data());
    s += 'S';
    s.append(length < 7 ? 7 - length : 0, '0');
    s.append(digits.data(), length);
}

void appendStand(std::string& s, uint64_t number, double existingShare, Draws& draws) {
    const bool existing = draws.unit() < existingShare;
    const int64_t siteTenths = draws.between(400, 900);
    appendStandId(s, number);
    s += ',';
    appendTenths(s, siteTenths);
    if (!existing) {
        s += ',';
        appendInt(s, draws.between(300, 1500));
        s += ',';
        appendTenths(s, draws.between(600, 980));
        s += ",,,"; // no existing_age, trees or basal_area
    } else {
        const int64_t age = draws.between(5, 20);
        const int64_t trees = draws.between(250, 1000);
        s += ",,,";
        appendInt(s, age);
        s += ',';
        appendInt(s, trees);
        s += ',';
        if (age >= kFirstAgeWithBasalArea && draws.unit() >= kShareWithoutBasalArea) {
            const double predicted = predictedBasalArea(static_cast<double>(age), static_cast<double>(trees),
                                                        static_cast<double>(siteTenths) / 10.0);
            const double basalArea = predicted * (0.8 + 0.4 * draws.unit());
            // NOLINTNEXTLINE(bugprone-incorrect-roundings): a basal area is never negative
            const auto tenths = static_cast<int64_t>(basalArea * 10.0 + 0.5);
            appendTenths(s, tenths < 250 ? 250 : tenths > 2000 ? 2000 : tenths);
        }
    }
    s += ',';
    s += kOwners[static_cast<size_t>(draws.between(0, static_cast<int64_t>(kOwners.size()) - 1))];
    s += ',';
    s += kRegions[static_cast<size_t>(draws.between(0, static_cast<int64_t>(kRegions.size()) - 1))];
    s += '\n';
}

struct Options {
    bool countGiven = false;
    uint64_t count = 0;
    uint64_t seed = 1;
    double existingShare = 0.4;
    std::string out;
};

template <typename T> bool parseWhole(std::string_view text, T& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc{} && result.ptr == text.data() + text.size();
}

// Empty when the arguments are usable, else the complaint.
std::string parseArguments(int argc, char** argv, Options& o) {
    for (int k = 1; k < argc; ++k) {
        const std::string_view name = argv[k];
        if (k + 1 >= argc) {
            return std::string(name) + " needs a value.";
        }
        const std::string_view value = argv[++k];
        if (name == "--count") {
            if (!parseWhole(value, o.count)) {
                return "--count takes a whole number, not \"" + std::string(value) + "\".";
            }
            o.countGiven = true;
        } else if (name == "--seed") {
            if (!parseWhole(value, o.seed)) {
                return "--seed takes a whole number, not \"" + std::string(value) + "\".";
            }
        } else if (name == "--existing-share") {
            double share = -1;
            const auto result = std::from_chars(value.data(), value.data() + value.size(), share);
            if (result.ec != std::errc{} || result.ptr != value.data() + value.size() || !(share >= 0 && share <= 1)) {
                return "--existing-share takes a number from 0 to 1, not \"" + std::string(value) + "\".";
            }
            o.existingShare = share;
        } else if (name == "--out") {
            o.out = value;
        } else {
            return "Unknown option \"" + std::string(name) + "\".";
        }
    }
    return o.countGiven ? "" : "--count is required.";
}

bool put(std::FILE* file, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

} // namespace

int main(int argc, char** argv) {
    for (int k = 1; k < argc; ++k) {
        if (std::string_view(argv[k]) == "--help" || std::string_view(argv[k]) == "-h") {
            std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
            return kExitSuccess;
        }
    }
    Options options;
    if (const std::string complaint = parseArguments(argc, argv, options); !complaint.empty()) {
        std::fprintf(stderr, "%s\n%.*s", complaint.c_str(), static_cast<int>(kUsage.size()), kUsage.data());
        return kExitUsage;
    }

    std::FILE* file = options.out.empty() ? stdout : std::fopen(options.out.c_str(), "wb");
    if (file == nullptr) {
        std::perror(options.out.c_str());
        return kExitWriteFailed;
    }
    constexpr size_t kChunk = 1 << 16;
    std::string chunk(kHeader);
    chunk.reserve(kChunk + 256);
    Draws draws(options.seed);
    bool written = true;
    for (uint64_t n = 1; n <= options.count && written; ++n) {
        appendStand(chunk, n, options.existingShare, draws);
        if (chunk.size() >= kChunk) {
            written = put(file, chunk);
            chunk.clear();
        }
    }
    written = written && put(file, chunk) && std::fflush(file) == 0;
    if (file != stdout) {
        written = std::fclose(file) == 0 && written;
    }
    if (!written) {
        std::fprintf(stderr, "Could not write %s.\n", options.out.empty() ? "to stdout" : options.out.c_str());
        return kExitWriteFailed;
    }
    return kExitSuccess;
}
