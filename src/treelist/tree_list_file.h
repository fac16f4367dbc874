#pragma once
// The ".dat" tree list file: one header line of plot-level facts, then one line per measured tree, in
// fixed-width fields read back by character count.
//
// Two layouts exist. When the header holds a dominant height, it ends with that height in 7 columns and tree
// lines carry no crown class; when the dominant height is absent (-1.0), the header ends after the hardwood
// percent and every tree line ends with a one-digit crown class.
//
// Reading follows the file's historic rules exactly (fields of w characters converted like atoi/atof, so
// blank fields read as 0; separators taken by position), with three additions that keep a damaged file
// from looking like lost data:
//  - More than 300 tree lines: the first 300 are kept, the rest is not looked at, and the user is told.
//  - The file ends inside the header or inside a tree line (or is empty): the complete tree rows before the
//    break are kept, the list is loaded, and the user is told where the file ended. A header field cut
//    short is not stored; it and the header fields after it keep what they held before the read.
//  - A file that cannot be opened, is not a regular file or is larger than any tree list can be (see
//    kLargestTreeListFile): a message naming the file and the reason; the list is not loaded.
//
// Writing refuses, before anything is written, a list with a value that would not fit its field (the
// value is formatted with its field's conversion and must come out exactly as wide as the field); the
// message names the row and the column. Saves go beside the old file and are renamed into place, so a
// refused or failed save leaves the old file as it was.
//
// The two record-code messages and "Unable to open file for output" are plain OK boxes, as the grid has
// always shown them; the messages added for damaged files and refused saves carry the warning icon.

#include "base/file_io.h"
#include "base/platform/ui.h"
#include "treelist/tree_list.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace grovex {

inline constexpr const char* kTreeListFileFilter = "Tree List Files (*.dat)|*.dat|All Files (*.*)|*.*||";
inline constexpr const char* kTreeListDefaultExtension = ".dat";

inline constexpr const char* kHeaderCodeMessage =
    "Tree List header must start with 1.  Please use a text editor to correct the file.";
inline constexpr const char* kRowCodeMessage =
    "Tree item rows must start with 2.  Please use a text editor to correct the file.";
inline constexpr const char* kTooManyTreesMessage =
    "The tree list has more than 300 trees; only the first 300 were read.";
inline constexpr const char* kEmptyFileMessage = "The tree list file is empty; it holds no header and no trees.";
inline constexpr const char* kHeaderCutMessage =
    "The tree list file ends in the middle of its header line; the header was read up to that point and there "
    "are no tree rows.";
// The grid's own message for a save that cannot be written; the reason follows on the next line.
inline constexpr const char* kOutputFailureMessage = "Unable to open file for output";

// The largest tree list file: the crown-class layout, whose tree lines are the longer, with 300 tree lines and
// every line ending in CR LF: (42 + 2) + 300 x (17 + 2) = 44 + 5,700 = 5,744 bytes. (The dominant-height
// layout, with the one extra blank the reader allows before the dominant height, is smaller:
// (49 + 1 + 2) + 300 x (16 + 2) = 5,452 bytes.)
inline constexpr size_t kLargestTreeListFile = (42 + 2) + kMaxTreeRows * (17 + 2);
static_assert(kLargestTreeListFile == 5744);
inline constexpr FileCap kTreeListFileCap{"tree list", kLargestTreeListFile};

enum class TreeListReadStatus {
    Complete,        // loaded, every line read
    TooManyTrees,    // loaded with the first 300 trees; message shown
    EndedEarly,      // loaded with the complete rows before the break (or an empty file); message shown
    WrongHeaderCode, // not loaded; kHeaderCodeMessage shown
    WrongRowCode,    // not loaded, no rows; kRowCodeMessage shown
    Unopened,        // not loaded; the open failure shown
};

// Reads a file's bytes into `list`. First the dominant height becomes -1.0, the rows none and the list not
// loaded; the other header fields keep their values until a field of the file overwrites them. Messages
// are shown through `ui` as OK boxes; `list.loaded` tells whether the list can be used.
TreeListReadStatus readTreeList(std::span<const uint8_t> bytes, TreeList& list, Ui& ui);

// The same for the file at `path`. A file that cannot be read, or is larger than kLargestTreeListFile, shows
// "Unable to open <path>: <reason>.".
TreeListReadStatus readTreeListFile(const std::string& path, TreeList& list, Ui& ui);

// The message that refuses a save ("Row 12, Height: 104.3 does not fit its 4-character field. The tree
// list was not saved."), for the first value, header first, that does not fit its field in the layout the
// list is written in, or that the file could not give back: an infinite or undefined number ("Header,
// Dominant height: inf cannot be saved in a tree list file. The tree list was not saved.") or a text holding
// a byte 255. Nothing when every value fits.
std::optional<std::string> unfitValueMessage(const TreeList& list);

// The file's text as the templates write it: the header line and tree rows 1 to n (at most 300), each line
// ending in "\n". Values are not checked; see unfitValueMessage.
std::string treeListText(const TreeList& list);

// Checks every value, then writes the list to `path` through a temporary file renamed into place. A value
// that does not fit, or a write that fails, shows its message and leaves any old file unchanged; a failed
// write shows kOutputFailureMessage, a line end and the reason. Answers whether the file was written.
bool writeTreeListFile(const std::string& path, const TreeList& list, Ui& ui,
                       FileSystem& fileSystem = systemFileSystem());

} // namespace grovex
