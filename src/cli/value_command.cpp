#include "cli/value_command.h"

#include "cli/play_command.h"
#include "cli/project_run.h"
#include "economics/valuation_report.h"
#include "results/document_file.h"

#include <memory>

namespace grovex::cli {
namespace {

// The options that are not about the stand's own values.
bool isRunOption(const CLI::Option* option) {
    for (const char* name : {"--prices", "--play", "--document", "--format", "--treelist", "--help"}) {
        if (option->check_lname(std::string(name).substr(2))) {
            return true;
        }
    }
    return false;
}

// A stand option given beside --play or --document, which take the stand from elsewhere.
std::optional<std::string> strayStandOption(const CLI::App& command) {
    for (const CLI::Option* option : command.get_options()) {
        if (option->count() > 0 && !isRunOption(option) && !option->get_positional()) {
            return option->get_name();
        }
    }
    return std::nullopt;
}

std::unique_ptr<CGROVEXDoc> openSaved(const std::string& path, std::ostream& err, int& status) {
    OpenedDocument opened = openDocument(path);
    if (!opened.ok()) {
        err << opened.error << '\n';
        status = kExitBadInput;
    }
    return std::move(opened.document);
}

std::string report(const economics::Prices& prices, const economics::Valuation& v, OutputFormat format) {
    switch (format) {
    case OutputFormat::Json:
        return economics::valuationJson(prices, v);
    case OutputFormat::Csv:
        return economics::valuationCsv(v);
    case OutputFormat::Text:
        break;
    }
    return economics::valuationText(prices, v);
}

} // namespace

CLI::App* addValueCommand(CLI::App& app, ValueOptions& options) {
    CLI::App* cmd = app.add_subcommand(
        "value", "Value a run: its cash flows by year, NPV, LEV, IRR, equivalent annual annuity and best harvest age.");
    cmd->add_option("--prices", options.prices, "Prices and costs (JSON; see the README)")
        ->required()
        ->type_name("FILE");
    cmd->add_option("--play", options.play, "Value the run of a macro (.gmc or its text form) instead of a projection")
        ->type_name("MACRO");
    cmd->add_option("--document", options.document, "Value the tables of a saved simulation")->type_name("FILE.gvx");
    cmd->get_option("--document")->excludes(cmd->get_option("--play"));
    addStandOptions(cmd, options.stand);
    addFormatOption(cmd, options.stand.format);
    cmd->footer("Amounts are per acre; costs are negative; each flow is at the end of its year, year 0 the start "
                "of the run.\nExit status: 0 success, 1 the run could not complete, 2 bad input (nothing was run).");
    return cmd;
}

int runValue(const CLI::App& command, const ValueOptions& options, std::ostream& out, std::ostream& err) {
    economics::Prices prices;
    if (auto refused = economics::readPrices(options.prices, prices)) {
        err << *refused << '\n';
        return kExitBadInput;
    }
    if (options.play || options.document) {
        if (auto stray = strayStandOption(command)) {
            err << *stray << " describes a stand, which " << (options.play ? "--play" : "--document")
                << " takes from its file.\n";
            return kExitBadInput;
        }
    }
    economics::RunRecorder recorder(prices);
    int status = kExitSuccess;
    std::unique_ptr<CGROVEXDoc> doc;
    if (options.document) {
        doc = openSaved(*options.document, err, status);
    } else if (options.play) {
        PlayOptions play;
        play.macro = *options.play;
        play.treeList = options.stand.treeList;
        doc = playStand(play, &recorder, err, status);
    } else {
        doc = projectStand(options.stand, &recorder, err, status);
    }
    if (!doc) {
        return status;
    }
    doc->model.setObserver(nullptr);
    const economics::RunFacts facts = economics::runFacts(doc->model, options.document ? nullptr : &recorder);
    out << report(prices, economics::valueRun(prices, facts), options.stand.format);
    out.flush();
    return out ? kExitSuccess : kExitRunFailed;
}

} // namespace grovex::cli
