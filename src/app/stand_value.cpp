#include "app/stand_value.h"

#include "base/path_text.h"
#include "base/platform/settings.h"
#include "base/platform/ui.h"
#include "economics/valuation_report.h"

#include <exception>
#include <filesystem>

namespace grovex {

PricesChoice::PricesChoice(Settings& settings, Ui& ui, std::string startDirectory)
    : settings_(settings), ui_(ui), startDirectory_(std::move(startDirectory)) {}

std::optional<std::string> PricesChoice::remembered() const {
    std::optional<std::string> path = settings_.readString(kStandValueSection, kPricesFileKey);
    if (path && path->empty()) {
        return std::nullopt;
    }
    return path;
}

void PricesChoice::windowOpens() {
    if (remembered()) {
        readRemembered();
    } else {
        choose();
    }
}

bool PricesChoice::readRemembered() {
    const std::optional<std::string> path = remembered();
    if (!path) {
        prices_.reset();
        path_.clear();
        return false;
    }
    return read(*path);
}

bool PricesChoice::choose() {
    FileDialogRequest request;
    request.filter = kPricesFilter;
    request.defaultExtension = kPricesExtension;
    request.overwritePrompt = false;
    const std::optional<std::string> last = remembered();
    request.startDirectory = last ? textOf(pathOf(*last).parent_path()) : startDirectory_;
    const std::optional<std::string> path = ui_.openFileName(request);
    if (!path) {
        return false;
    }
    if (!read(*path)) {
        return false;
    }
    settings_.writeString(kStandValueSection, kPricesFileKey, *path);
    return true;
}

// A file damaged in any way is a message, never the end of the application.
bool PricesChoice::read(const std::string& path) {
    economics::Prices prices;
    std::optional<std::string> refused;
    try {
        refused = economics::readPrices(path, prices);
    } catch (const std::exception& e) {
        refused = path + ": " + e.what();
    }
    if (refused) {
        prices_.reset();
        path_.clear();
        ui_.message(*refused + kPricesNotReadSuffix, Buttons::Ok, Icon::Warning);
        return false;
    }
    prices_ = std::move(prices);
    path_ = path;
    return true;
}

std::string StandValueModel::caption() const {
    return "Stand Value - " + record_.document().title();
}

bool StandValueModel::refresh() {
    valuation_.reset();
    const economics::Prices* prices = prices_.prices();
    const std::vector<ResultTable> tables = record_.runTables();
    if (prices != nullptr && !tables.empty()) {
        const GrowthModel& model = record_.document().model;
        std::vector<economics::RunRecorder::AgeValue> values;
        if (record_.complete()) {
            values = record_.history().values(*prices);
        }
        const economics::RunFacts facts = economics::runFacts(model, tables, record_.complete() ? &values : nullptr,
                                                              record_.history().fertilizations());
        valuation_ = economics::valueRun(*prices, facts);
    }
    std::string text = composeText();
    const bool changed = text != text_;
    text_ = std::move(text);
    return changed;
}

// The simulation and the prices file, then the valuation or why there is none.
std::string StandValueModel::composeText() const {
    const CGROVEXDoc& doc = record_.document();
    std::string text = doc.title();
    if (valuation_ && !doc.display.standTitle.empty()) {
        text += ": " + doc.display.standTitle;
    }
    text += "\n";
    const economics::Prices* prices = prices_.prices();
    if (prices == nullptr) {
        return text + "\n" + kNoPricesText + "\n" + kChoosePricesHint + "\n";
    }
    text += "Prices from " + prices_.path() + "\n\n";
    if (!valuation_) {
        return text + kNoRunText + "\n";
    }
    return text + economics::valuationText(*prices, *valuation_);
}

} // namespace grovex
