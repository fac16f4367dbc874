#include "cli/project_options.h"

namespace grovex::cli {
namespace {

// Binds an option whose text is kept as typed.
CLI::Option* addText(CLI::App* cmd, const std::string& name, std::optional<std::string>& target,
                     const std::string& help, const std::string& typeName) {
    return cmd
        ->add_option_function<std::string>(
            name, [&target](const std::string& text) { target = text; }, help)
        ->type_name(typeName);
}

} // namespace

void addPlantationOptions(CLI::App* cmd, batch::StandOptions& o) {
    const std::string stand = "Plantation";
    addText(cmd, "--title", o.title, "Title of the run, at most 79 characters (default: none)", "TEXT")->group(stand);
    addText(cmd, "--rotation", o.rotation,
            "Maximum anticipated rotation, growing seasons: the projection stops at this age even when the target "
            "is not met (whole number 8 to 100; default 60)",
            "SEASONS")
        ->group(stand);
    addText(cmd, "--site", o.site, "Site index: dominant height in feet at base age 25 (20 to 100; default 60)", "FEET")
        ->group(stand);
    addText(cmd, "--planted", o.planted, "Bare land: trees planted per acre (50 to 2000; default 800)", "TREES")
        ->group(stand);
    addText(cmd, "--survival", o.survival,
            "Bare land: percent of the planted trees alive after the first year (30 to 100; default 90)", "PERCENT")
        ->group(stand);
    addText(cmd, "--existing-age", o.existingAge,
            "Existing stand instead of bare land: its age in growing seasons finished (whole number from 1 to the "
            "rotation, at most 30)",
            "SEASONS")
        ->group(stand);
    addText(cmd, "--trees", o.trees, "Existing stand: trees surviving per acre (50 to 2000; required)", "TREES")
        ->group(stand);
    addText(cmd, "--basal-area", o.basalArea,
            "Existing stand of age 8 or more: basal area, square feet per acre (25 to 200; optional, else the "
            "model predicts it)",
            "SQFT")
        ->group(stand);
    cmd->add_flag("--poorly-drained", o.poorlyDrained,
                  "The site is poorly drained and not bedded (bare land, or a stand younger than 8)")
        ->group(stand);
    addText(cmd, "--hardwood", o.hardwood,
            "Percent of the stand basal area in hardwoods (0 to 90; optional, else the model's own competition)",
            "PERCENT")
        ->group(stand);
}

void addStandOptions(CLI::App* cmd, batch::StandOptions& o) {
    addPlantationOptions(cmd, o);
    const std::string target = "Output target (give at most one; default --target-age 25)";
    const std::array<std::array<const char*, 3>, 7> targets{{
        {"--target-age", "Stand age, growing seasons (whole number from 8, or from the existing age, to the rotation)",
         "SEASONS"},
        {"--target-basal-area", "Basal area, square feet per acre (from the given basal area + 1, else 1, to 180)",
         "SQFT"},
        {"--target-qmd", "Quadratic mean DBH, inches (0.1 to 12)", "INCHES"},
        {"--target-height", "Dominant height, feet (1 to 100)", "FEET"},
        {"--target-cords", "Merchantable cord volume, cords per acre (0.1 to 50)", "CORDS"},
        {"--target-crown-ratio", "Average crown ratio, percent, reached when at or below it (20 to 99)", "PERCENT"},
        {"--target-relative-spacing", "Relative spacing, reached when at or below it (0.1 to 5.0)", "RATIO"},
    }};
    for (size_t k = 0; k < targets.size(); ++k) {
        addText(cmd, targets[k][0], o.targets[k], targets[k][1], targets[k][2])->group(target);
    }

    const std::string volume = "Volume output units";
    cmd->add_option("--units", o.units,
                    "cubic: cubic feet (total, to a 4-inch top and to --top); cords: cords to a 4-inch top and board "
                    "feet; custom: up to three equations vol = A + B*D*D*H (default cubic)")
        ->check(CLI::IsMember({"cubic", "cords", "custom"}))
        ->type_name("UNITS")
        ->group(volume);
    addText(cmd, "--bark", o.bark, "Cubic feet: the --top volume inside or outside bark (default outside)", "BARK")
        ->check(CLI::IsMember({"inside", "outside"}))
        ->group(volume);
    addText(cmd, "--rule", o.rule, "Cords: board-foot rule, International 1/4-inch, Doyle or Scribner (required)",
            "RULE")
        ->check(CLI::IsMember({"international", "doyle", "scribner"}))
        ->group(volume);
    addText(cmd, "--min-dbh", o.minDbh,
            "Smallest DBH class, inches, of the --top volume or the board feet (cubic: 1 to 20, default 7; cords: 8 "
            "to 20, default 8)",
            "CLASS")
        ->group(volume);
    addText(cmd, "--top", o.top, "Cubic feet: top diameter outside bark, inches (from 0 to below --min-dbh; default 6)",
            "INCHES")
        ->group(volume);
    cmd->add_option("--equation", o.equations,
                    "Custom units: equation vol = A + B*D*D*H (D DBH in inches, H height in feet) named NAME (at "
                    "most 14 characters), counted from DBH class MINDBH (1 to 99); give one to three")
        ->allow_extra_args(false)
        ->type_name("NAME,A,B,MINDBH")
        ->group(volume);
}

CLI::App* addProjectCommand(CLI::App& app, ProjectOptions& o) {
    CLI::App* cmd = app.add_subcommand(
        "project", "Initialize a stand and project it to its output target; prints every results table.");
    cmd->footer(
        "Every value is checked with the ranges and messages of the Plantation Information and Volume Output\n"
        "Units pages; the first value refused is named on stderr with the value it was given.\n"
        "Exit status: 0 success, 1 the stand could not be initialized or projected, or --save failed, 2 refused "
        "input.");
    addStandOptions(cmd, o);
    const std::string stand = "Plantation";
    addFormatOption(cmd, o.format);
    addText(cmd, "--treelist", o.treeList,
            "Existing stand described by a tree list file (.dat): its plot, age, treatments and measured trees "
            "replace the stand options",
            "FILE.dat")
        ->group(stand);
    addText(cmd, "--save", o.save,
            "Also save the projected simulation as a document that the desktop application opens and "
            "`grovex-cli show` prints",
            "FILE.gvx")
        ->group("Output");
    return cmd;
}

CLI::Option* addFormatOption(CLI::App* cmd, OutputFormat& format) {
    return cmd
        ->add_option_function<std::string>(
            "--format",
            [&format](const std::string& name) {
                format = name == "json" ? OutputFormat::Json : name == "csv" ? OutputFormat::Csv : OutputFormat::Text;
            },
            "text: the fixed-width tables as Copy puts them on the clipboard (CR LF line ends); json: tables and "
            "final stand values; csv: one line per table row (default text)")
        ->check(CLI::IsMember({"text", "json", "csv"}))
        ->type_name("FORMAT")
        ->group("Output");
}

} // namespace grovex::cli
