#pragma once
// The options of `grovex-cli project`, kept as the texts the user typed: they are checked later exactly as
// the input pages check the texts of their boxes.

#include "batch/stand_inputs.h"

#include <CLI/CLI.hpp>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace grovex::cli {

enum class OutputFormat { Text, Json, Csv };

struct ProjectOptions : batch::StandOptions {
    OutputFormat format = OutputFormat::Text;
    std::optional<std::string> save; // file of the simulation document to write
};

// Adds "--format text|json|csv" to a subcommand.
CLI::Option* addFormatOption(CLI::App* cmd, OutputFormat& format);

// Adds the options that describe a stand itself: its rotation, site, trees, drainage and hardwoods.
void addPlantationOptions(CLI::App* cmd, batch::StandOptions& options);

// Adds the options that describe a stand, its output target and its volume units.
void addStandOptions(CLI::App* cmd, batch::StandOptions& options);

// Adds the "project" subcommand with every option bound to `options`.
CLI::App* addProjectCommand(CLI::App& app, ProjectOptions& options);

} // namespace grovex::cli
