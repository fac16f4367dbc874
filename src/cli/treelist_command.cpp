#include "cli/treelist_command.h"

#include "base/c_format.h"
#include "cli/output_formats.h"
#include "cli/project_run.h"
#include "treelist/tree_list_file.h"

#include <memory>
#include <vector>

namespace grovex::cli {
namespace {

// The message boxes of the reader and writer, kept as lines for stderr.
class MessageLog : public Ui {
public:
    Answer message(std::string_view text, Buttons, Icon, std::string_view) override {
        messages.emplace_back(text);
        return Answer::Ok;
    }
    std::optional<std::string> openFileName(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileName(const FileDialogRequest&) override { return std::nullopt; }

    std::vector<std::string> messages;
};

void printMessages(std::ostream& err, const std::vector<std::string>& messages) {
    for (const std::string& m : messages) {
        err << m << '\n';
    }
}

// Cell texts as the grid shows them; blank cells are empty.
std::string intCell(int32_t value) {
    return value == kBlankInt ? std::string() : cformat("%d", value);
}
std::string realCell(float value, const char* format) {
    return value == kBlankReal ? std::string() : cformat(format, value);
}

std::string jsonInt(int32_t value) {
    return value == kBlankInt ? "null" : std::to_string(value);
}
std::string jsonReal(float value) {
    return value == kBlankReal ? "null" : jsonNumber(value);
}

struct HeaderField {
    const char* label;
    const char* key;
    std::string text;
    std::string json;
};

std::vector<HeaderField> headerFields(const TreeListHeader& h) {
    const auto integer = [](const char* label, const char* key, int32_t v) {
        return HeaderField{label, key, intCell(v), jsonInt(v)};
    };
    const auto real = [](const char* label, const char* key, float v, const char* format) {
        return HeaderField{label, key, realCell(v, format), jsonReal(v)};
    };
    return {
        integer("Record code", "code", h.code),
        // Quoted: the plot identifier is kept exactly as read, blanks included.
        {"Plot ID", "plotId", h.plotId.empty() ? "" : "\"" + h.plotId + "\"",
         h.plotId.empty() ? "null" : jsonString(h.plotId)},
        real("Plot area (acres)", "plotArea", h.plotArea, "%.2f"),
        integer("Age", "age", h.age),
        integer("Fertilization age", "fertilizationAge", h.fertilizationAge),
        integer("Nitrogen (pounds per acre)", "nitrogen", h.lbn),
        integer("Phosphorus", "phosphorus", h.qphos),
        integer("Thinning age", "thinningAge", h.thinningAge),
        real("Basal area after thinning", "basalAreaAfterThinning", h.baa, "%.1f"),
        real("Basal area before thinning", "basalAreaBeforeThinning", h.bab, "%.1f"),
        integer("Hardwood", "hardwood", h.qhdwd),
        real("Hardwood percent", "hardwoodPercent", h.hardwoodPercent, "%.1f"),
        real("Dominant height (feet)", "dominantHeight", h.dominantHeight, "%.4f"),
    };
}

const char* layoutName(const TreeList& list, bool json) {
    if (list.hasDominantHeight()) {
        return json ? "dominantHeight" : "dominant height";
    }
    return json ? "crownClass" : "crown class";
}

std::string withoutTrailingBlanks(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

void writeText(std::ostream& out, const TreeList& list) {
    out << "Layout: " << layoutName(list, false) << "\n\nHeader\n";
    for (const HeaderField& f : headerFields(list.header)) {
        out << withoutTrailingBlanks(cformat("  %-28s%10s", f.label, f.text.c_str())) << '\n';
    }
    out << "\nTrees: " << list.rowCount() << '\n';
    if (list.rowCount() == 0) {
        return;
    }
    out << cformat("%5s%6s%9s%7s%8s%7s\n", "Row", "Code", "Tree ID", "DBH", "Height", "Crown");
    for (int r = 0; r < list.rowCount(); ++r) {
        const TreeRow& row = list.rows[static_cast<size_t>(r)];
        out << withoutTrailingBlanks(cformat("%5d%6s%9s%7s%8s%7s", r + 1, intCell(row.code).c_str(), row.id.c_str(),
                                             realCell(row.dbh, "%.1f").c_str(), realCell(row.height, "%.1f").c_str(),
                                             intCell(row.crownClass).c_str()))
            << '\n';
    }
}

void writeJson(std::ostream& out, const TreeList& list, const std::vector<std::string>& warnings) {
    out << "{\"layout\":\"" << layoutName(list, true) << "\",\n\"header\":{";
    bool first = true;
    for (const HeaderField& f : headerFields(list.header)) {
        out << (first ? "" : ",") << '"' << f.key << "\":" << f.json;
        first = false;
    }
    out << "},\n\"rows\":[";
    for (int r = 0; r < list.rowCount(); ++r) {
        const TreeRow& row = list.rows[static_cast<size_t>(r)];
        out << (r ? ",\n" : "\n") << "{\"code\":" << jsonInt(row.code)
            << ",\"id\":" << (row.id.empty() ? "null" : jsonString(row.id)) << ",\"dbh\":" << jsonReal(row.dbh)
            << ",\"height\":" << jsonReal(row.height) << ",\"crownClass\":" << jsonInt(row.crownClass) << '}';
    }
    out << "],\n\"warnings\":[";
    for (size_t i = 0; i < warnings.size(); ++i) {
        out << (i ? "," : "") << jsonString(warnings[i]);
    }
    out << "]}\n";
}

} // namespace

CLI::App* addTreeListCommand(CLI::App& app, TreeListOptions& options) {
    CLI::App* cmd = app.add_subcommand(
        "treelist", "Check a tree list (.dat) as the tree list window reads it, then print it or save it again.");
    cmd->footer("A file the window refuses prints the window's message on stderr and exits with status 2. A file "
                "that is only partly read (more than 300 trees, or cut short) prints its warning on stderr and "
                "goes on with the rows read (status 0). A refused or failed --save exits with status 1 and "
                "leaves OUT as it was.");
    cmd->add_option("file", options.file, "Tree list file")->required()->type_name("FILE.dat");
    cmd->add_option("--save", options.save,
                    "Write the list to OUT in the tree list window's own layout instead of printing it; values "
                    "that do not fit their fields refuse the save")
        ->type_name("OUT.dat");
    cmd->add_option_function<std::string>(
           "--format",
           [&options](const std::string& name) {
               options.format = name == "json" ? OutputFormat::Json : OutputFormat::Text;
           },
           "text: the header fields and a table of tree rows; json: {layout, header, rows, warnings} with "
           "blank cells as null (default text)")
        ->check(CLI::IsMember({"text", "json"}))
        ->type_name("FORMAT");
    return cmd;
}

int runTreeList(const TreeListOptions& options, std::ostream& out, std::ostream& err) {
    MessageLog log;
    auto list = std::make_unique<TreeList>();
    readTreeListFile(options.file, *list, log);
    printMessages(err, log.messages);
    if (!list->loaded) {
        return kExitBadInput;
    }
    if (options.save) {
        MessageLog saveLog;
        const bool saved = writeTreeListFile(*options.save, *list, saveLog);
        printMessages(err, saveLog.messages);
        return saved ? kExitSuccess : kExitRunFailed;
    }
    if (options.format == OutputFormat::Json) {
        writeJson(out, *list, log.messages);
    } else {
        writeText(out, *list);
    }
    out.flush();
    return out ? kExitSuccess : kExitRunFailed;
}

} // namespace grovex::cli
