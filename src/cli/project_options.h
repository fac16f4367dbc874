#pragma once
// The options of `grovex-cli project`, kept as the texts the user typed: they are checked later exactly as
// the input pages check the texts of their boxes.

#include <CLI/CLI.hpp>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace grovex::cli {

enum class OutputFormat { Text, Json, Csv };

struct ProjectOptions {
    std::optional<std::string> title;
    std::optional<std::string> rotation;
    std::optional<std::string> site;
    std::optional<std::string> planted;
    std::optional<std::string> survival;
    std::optional<std::string> existingAge;
    std::optional<std::string> trees;
    std::optional<std::string> basalArea;
    bool poorlyDrained = false;
    std::optional<std::string> hardwood;
    // Output targets in the order of the projection criteria: age, basal area, quadratic mean DBH, dominant
    // height, merchantable cords, crown ratio, relative spacing.
    std::array<std::optional<std::string>, 7> targets;
    std::string units = "cubic";
    std::optional<std::string> bark;
    std::optional<std::string> rule;
    std::optional<std::string> minDbh;
    std::optional<std::string> top;
    std::vector<std::string> equations;
    OutputFormat format = OutputFormat::Text;
    std::optional<std::string> save; // file of the simulation document to write
    // An existing stand described by the trees of a tree list file (".dat") instead of stand-level values.
    std::optional<std::string> treeList;
};

// Adds "--format text|json|csv" to a subcommand.
CLI::Option* addFormatOption(CLI::App* cmd, OutputFormat& format);

// Adds the "project" subcommand with every option bound to `options`.
CLI::App* addProjectCommand(CLI::App& app, ProjectOptions& options);

} // namespace grovex::cli
