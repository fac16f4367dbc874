#pragma once
// The simulation document file (".gvx"), which is also the temporary state file of the projection
// commands: the run and display state, every results table, the whole model state and the values the input
// pages showed last, as raw little-endian fields after a version number.

#include "base/archive.h"
#include "base/file_io.h"
#include "results/document.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace grovex {

inline constexpr int32_t kDocumentFileVersion = 999999996;

inline constexpr const char* kWrongVersionMessage =
    "Unable to open the file.  The file has a different version number.";
inline constexpr const char* kUnexpectedFormatMessage = "Unexpected file format.";

// Longest texts a file may hold for the fixed text fields (the remembered page's names are 15 characters
// wide; the model's names 14).
inline constexpr size_t kMaxPageNameLength = 15;

// The largest document file: every count at its limit and every text at its longest, each with the longest
// length prefix (7 bytes).
//   version, run and display state     4 + 5 x 4                                                   =      24
//   table count, 100 tables            4 + 100 x 7088                                              = 708,804
//     one table: summary 7 + 1008, row count 4, layout 6 x 4, column count 4,
//     200 rows x 7 cells x 4 = 5600, 7 headings x (7 + 56) = 441
//   tree records                       300 x 6 values x 4                                          =   7,200
//   the model's other values           67 numbers x 4, title 7 + 79, two names 2 x (7 + 14)        =     396
//   the volume page                    14 numbers x 4, three names 3 x (7 + 15)                    =     122
//   the plantation page                13 numbers x 4, title 7 + 79                                =     138
//                                                                                                    716,684
inline constexpr size_t kLargestTableBlock = (kLongestTextPrefix + kMaxSummaryLength) + 4 + 6 * 4 + 4 +
                                             kMaxRows * kColumnCount * 4 +
                                             kColumnCount * (kLongestTextPrefix + kMaxHeadingLength);
static_assert(kLargestTableBlock == 7088);
inline constexpr size_t kLargestDocumentFile =
    (4 + 5 * 4) + (4 + kMaxTables * kLargestTableBlock) + kMaxRecords * 6 * 4 +
    (67 * 4 + (kLongestTextPrefix + kMaxTitleLength) + 2 * (kLongestTextPrefix + kMaxVolumeNameLength)) +
    (14 * 4 + 3 * (kLongestTextPrefix + kMaxPageNameLength)) + (13 * 4 + (kLongestTextPrefix + kMaxTitleLength));
static_assert(kLargestDocumentFile == 716684);

// After every field above, a document whose run passed any age holds its yearly stand values: their own
// version tag, the number of points, then each point's age and its values (int32, then kStandValueCount
// floats). A reader of the layout above stops before them; a file without them has no yearly values.
inline constexpr int32_t kYearlyValuesTag = 0x31565947; // "GYV1"
inline constexpr size_t kYearlyPointSize = 4 + kStandValueCount * 4;
inline constexpr size_t kLargestYearlyBlock = 4 + 4 + StandHistory::kMaxPoints * kYearlyPointSize;
static_assert(kLargestYearlyBlock == 52008);
inline constexpr size_t kLargestDocumentWithYearly = kLargestDocumentFile + kLargestYearlyBlock;
static_assert(kLargestDocumentWithYearly == 768692);
inline constexpr FileCap kDocumentFileCap{"document", kLargestDocumentWithYearly};

enum class DocumentLoad {
    Ok,
    WrongVersion,     // kWrongVersionMessage, shown with the application title as caption
    UnexpectedFormat, // kUnexpectedFormatMessage: the file ends early or holds what the document cannot
    Unreadable,       // openDocument only: the file could not be read; the message comes from the system
};

// The message a refused load shows; empty for Ok and Unreadable.
std::string loadMessage(DocumentLoad result);

// The store routine: clears the modified flag, then appends every field of the document.
void storeDocument(CGROVEXDoc& doc, ArchiveWriter& out);
std::vector<uint8_t> storeDocument(CGROVEXDoc& doc);

// The load routine. The fields are read into a scratch copy and moved into `doc` only when the whole layout
// was read and every count and text fits the document, so a refused file changes nothing. Then come the
// yearly values: none when the file ends with the layout; when they cannot be read (another tag, a count
// past the limit, cut short) the document has none and `yearlyUnread` is set. Bytes after them are ignored.
// The modified flag, title and path are not touched.
//
// A temporary state file, which this program wrote whole moments ago, must read back whole: with
// `YearlyValues::Required` yearly values that cannot be read refuse the file like any other field.
enum class YearlyValues { Optional, Required };
DocumentLoad loadDocument(CGROVEXDoc& doc, std::span<const uint8_t> bytes,
                          YearlyValues yearlyValues = YearlyValues::Optional);

// Saves to a file without ever destroying its previous version. On success the document takes the path,
// its file name as title, and is no longer modified; on failure its modified flag is as before the save and
// the status holds the message.
IoStatus saveDocument(CGROVEXDoc& doc, const std::string& path, FileSystem& fileSystem = systemFileSystem());

// A document opened from a file: the document (titled with the file name, not modified), or the message.
struct OpenedDocument {
    std::unique_ptr<CGROVEXDoc> document;
    DocumentLoad result = DocumentLoad::Ok;
    std::string error;
    bool ok() const { return document != nullptr; }
};
OpenedDocument openDocument(const std::string& path);

// What an opened document's window says when the file's yearly values could not be read; empty otherwise.
std::string yearlyUnreadMessage(const CGROVEXDoc& doc);

// Rebuilds what every table was made from (live or thinned trees) and its stand age, which the file does not
// hold: from the summary texts, a thinned table taking the age of the next live table (or the model's age).
void rebuildTableKinds(GrowthModel& model);

} // namespace grovex
