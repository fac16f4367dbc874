#pragma once
// The text form of a macro: one entry per line, readable and editable, that converts back to the same
// ".gmc" bytes.
//
//   line    := key [ "int" INTEGER ] [ "real" REAL ] [ "text" QUOTED ] [ "index" INTEGER ]
//   key     := words | QUOTED
//
// - A key of plain words ("ProjectInit", "start Input1", "vola[i]") is written as it is; any other key (an
//   empty one, one with a quote, a backslash, a control character, leading, trailing or double blanks, a
//   word "int", "real", "text" or "index", or a first character '#') is written quoted.
// - A line with no value is a marker: an integer entry of -1. Otherwise the fields not given hold their
//   empty values (integer 2147483647, real 3.4028235e38, text empty); "index" defaults to -1.
// - INTEGER is a decimal int32. REAL has at most 9 significant digits ("inf", "-inf" allowed), which
//   reproduces every float exactly; a NaN is written as its bits, "0x" and 8 hex digits.
// - QUOTED is in double quotes; inside, \" is a quote, \\ a backslash and \xHH any byte.
// - Blank lines and lines starting with '#' are skipped; fields are separated by blanks or tabs.
//
// Examples: `ProjectInit`, `start Input1`, `target real 25`, `title text "Tract 7"`,
// `vola[i] real 1.5 index 2`, `volnam text "Pulp" index 15`.

#include "control/macro_store.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace grovex {

// The largest text form: 400 lines as long as macroEntryLine writes them, each ending in CR LF.
//   key      a quoted key of 1024 bytes, each written "\xHH"               2 + 4 x 1024 = 4098
//   int      " int -2147483648"                                                 5 + 11 =   16
//   real     " real -1.17549435e-38"                                            6 + 15 =   21
//   text     " text " and a quoted text of 1024 bytes written "\xHH"      6 + 2 + 4 x 1024 = 4104
//   index    " index -2147483648"                                               7 + 11 =   18
//   CR LF                                                                                  2
// 400 x 8259 = 3,303,600 bytes. Comments and blank lines count against the same size.
inline constexpr size_t kLongestMacroTextLine =
    (2 + 4 * kMacroMaxKeyLength) + (5 + 11) + (6 + 15) + (6 + 2 + 4 * kMacroMaxTextLength) + (7 + 11) + 2;
inline constexpr size_t kLargestMacroTextFile = MacroStore::kCapacity * kLongestMacroTextLine;
static_assert(kLargestMacroTextFile == 3303600);
inline constexpr FileCap kMacroTextFileCap{"macro text", kLargestMacroTextFile};

std::string macroEntryLine(const MacroEntry& entry);
std::string macroText(std::span<const MacroEntry> entries);

// Parses the text form. On failure answers false and `error` names the line and what is wrong with it.
// More than MacroStore::kCapacity entries, or texts beyond the limits of the macro file, are refused.
bool parseMacroText(std::string_view text, std::vector<MacroEntry>& entries, std::string& error);

// Reads a macro file (".gmc"), or its text form: by the ".gmc" extension, otherwise by whether the bytes read
// as a macro file. On failure answers false and `error` tells why nothing was read.
bool readMacroEntries(const std::string& path, std::vector<MacroEntry>& entries, std::string& error);

} // namespace grovex
