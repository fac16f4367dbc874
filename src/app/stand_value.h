#pragma once
// The Stand Value window of a simulation without its widgets: the prices it values with, which run it values,
// and the text it shows, copies and prints (the cash flows and measures that `grovex-cli value` prints).

#include "app/run_record.h"
#include "economics/prices.h"
#include "economics/valuation.h"

#include <optional>
#include <string>

namespace grovex {

class Settings;
class Ui;

// The prices file is remembered in the settings under "Stand Value" / "Prices File".
inline constexpr const char* kStandValueSection = "Stand Value";
inline constexpr const char* kPricesFileKey = "Prices File";
inline constexpr const char* kPricesFilter = "Prices Files (*.json)|*.json|All Files (*.*)|*.*||";
inline constexpr const char* kPricesExtension = ".json";

inline constexpr const char* kNoPricesText = "No prices are chosen.";
inline constexpr const char* kChoosePricesHint =
    "Choose a prices file (Prices, Choose Prices File...) to value this simulation's run.";
inline constexpr const char* kNoRunText = "The simulation has no run to value yet: Initialize and Project it first.";
// After the reason a prices file could not be read (which names the file).
inline constexpr const char* kPricesNotReadSuffix = "\n\nNo prices are chosen.";

// The prices every Stand Value window of the application values with. Only a file that reads is remembered:
// a file that cannot be read is named in a message with the reason, and then no prices are chosen.
class PricesChoice {
public:
    // `startDirectory`: where the file dialog starts while no file was chosen.
    PricesChoice(Settings& settings, Ui& ui, std::string startDirectory);

    // A Stand Value window opens: the remembered file is read again, since it may have been edited, or the
    // file dialog asks for one when none was ever chosen.
    void windowOpens();
    // Reads the remembered file again; false when there is none, or when it cannot be read, which has then
    // been said.
    bool readRemembered();
    // Asks for a file with the file dialog and reads it. False when the user cancels (nothing changes) or
    // when the file cannot be read (said; no prices are chosen then).
    bool choose();

    // Nothing while no prices are chosen.
    const economics::Prices* prices() const { return prices_ ? &*prices_ : nullptr; }
    // The file the prices came from; empty while none are chosen.
    const std::string& path() const { return path_; }
    std::optional<std::string> remembered() const;

private:
    bool read(const std::string& path);

    Settings& settings_;
    Ui& ui_;
    std::string startDirectory_;
    std::optional<economics::Prices> prices_;
    std::string path_;
};

// What one simulation's Stand Value window shows: its latest run valued with the chosen prices.
class StandValueModel {
public:
    StandValueModel(const RunRecord& record, const PricesChoice& prices) : record_(record), prices_(prices) {}

    // Values the run again as the document and the prices are now; true when the text changed.
    bool refresh();

    const std::string& text() const { return text_; }
    // Nothing when no prices are chosen or the simulation has no run.
    const std::optional<economics::Valuation>& valuation() const { return valuation_; }
    // "Stand Value - GROVEX1"
    std::string caption() const;

private:
    std::string composeText() const;

    const RunRecord& record_;
    const PricesChoice& prices_;
    std::optional<economics::Valuation> valuation_;
    std::string text_;
};

} // namespace grovex
