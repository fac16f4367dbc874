#pragma once
// The string table texts of the command ids (base/command_ids.h): the status bar prompt and the tool tip of
// every command ("prompt\ntip").

#include "base/command_ids.h"

#include <string_view>

namespace grovex::appcmd {

// The string table text of a command: the status bar prompt and, after "\n", the tool tip. Empty for an id
// the application does not know.
std::string_view commandString(int id);
std::string_view statusPrompt(int id);
std::string_view toolTip(int id);

} // namespace grovex::appcmd
