#pragma once
// The application's one macro: up to 400 keyed entries that record projection commands and their inputs,
// with the flags that say whether it holds unsaved changes and whether a view is recording into it.
//
// Two ways to append: appendInteger/appendReal/appendText answer false when the store is full, and
// recordInteger/recordReal/recordText/record throw MacroAbandon instead. Recording code uses the throwing
// form, so a full store ends the operation that wanted to append at the projection routine's single
// failure guard, which catches MacroAbandon, runs the macro failure handling (for a full store this
// includes rewindToLastProjectEnd and kMacroStoreFullMessage) and rolls the command back.

#include "base/archive.h"
#include "base/file_io.h"
#include "control/command_abandoned.h"

#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace grovex {

// The value fields that an entry of another kind does not use hold these.
inline constexpr int32_t kMacroNoInteger = std::numeric_limits<int32_t>::max();
inline constexpr float kMacroNoReal = std::numeric_limits<float>::max();

// Longest texts a macro file may hold: keys and text values, and the names of custom volume equations
// (one slot of the model's name table).
inline constexpr size_t kMacroMaxKeyLength = 1024;
inline constexpr size_t kMacroMaxTextLength = 1024;
inline constexpr size_t kMacroMaxVolumeNameLength = 15;

struct MacroEntry {
    std::string key;
    std::string text;
    int32_t integer = kMacroNoInteger;
    int32_t index = -1;
    float real = kMacroNoReal;

    // The three kinds of entry; markers and actions are integer entries of -1 with index -1.
    static MacroEntry integerEntry(std::string_view key, int32_t value, int32_t index = -1);
    static MacroEntry realEntry(std::string_view key, float value, int32_t index = -1);
    static MacroEntry textEntry(std::string_view key, std::string_view text, int32_t index = -1);
    static MacroEntry marker(std::string_view key) { return integerEntry(key, -1); }

    bool operator==(const MacroEntry& other) const; // compares the real's bits
};

inline constexpr const char* kMacroFilter = "Grovex Macro Files (*.gmc)|*.gmc|All Files (*.*)|*.*||";
inline constexpr const char* kMacroExtension = ".gmc";

inline constexpr const char* kMacroStoreFullMessage =
    "The macro has reached its storage space limit.  The macro has been rewound to the previous complete "
    "operation.  Recording has stopped.";
inline constexpr const char* kMacroOpenFailedMessage = "Unable to open the macro: ";
// kMacroOpenFailedMessage and the path; when the file itself could not be read, ": <reason>." follows.
std::string macroOpenFailure(const std::string& path, const std::string& reason = {});

// Thrown to abandon the command being recorded or replayed; being a CommandAbandoned, the projection
// routine's single failure guard catches it. The cause tells the guard whether the store-full handling must run; the
// messages of the other causes have been shown already when it is thrown.
class MacroAbandon : public CommandAbandoned {
public:
    enum class Cause {
        StoreFull,        // an append was refused; nothing was appended
        ValueOutOfRange,  // a replayed value failed its range check (message shown)
        ExtractionFailed, // the replayed "EXTRACTLIST" could not take the tree list (message shown)
    };
    explicit MacroAbandon(Cause cause);
    Cause cause() const { return cause_; }

private:
    Cause cause_;
};

class MacroStore {
public:
    static constexpr int kCapacity = 400;

    int lastIndex() const { return lastIndex_; }
    bool empty() const { return lastIndex_ < 0; }
    const MacroEntry& entry(int index) const { return entries_.at(index); }

    bool unsaved() const { return unsaved_; }
    void setUnsaved(bool unsaved) { unsaved_ = unsaved; }
    bool recordingActive() const { return recordingActive_; }
    void setRecordingActive(bool active) { recordingActive_ = active; }

    // Appending an entry; false (and nothing appended) when the store already holds kCapacity entries.
    bool appendInteger(std::string_view key, int32_t value, int32_t index = -1);
    bool appendReal(std::string_view key, float value, int32_t index = -1);
    bool appendText(std::string_view key, std::string_view text, int32_t index = -1);
    bool append(MacroEntry entry);

    // The same, throwing MacroAbandon(StoreFull) when the store is full.
    void record(MacroEntry entry);
    void recordInteger(std::string_view key, int32_t value, int32_t index = -1);
    void recordReal(std::string_view key, float value, int32_t index = -1);
    void recordText(std::string_view key, std::string_view text, int32_t index = -1);
    void recordMarker(std::string_view key) { recordInteger(key, -1); }

    void clear() { lastIndex_ = -1; }

    // Store full: lastIndex goes back to the last "ProjectEnd", so the macro keeps the commands completed
    // before; without one the store stays as it is. Answers whether a "ProjectEnd" was found.
    bool rewindToLastProjectEnd();
    // After a cancelled or refused command: drops the entries from the last "ProjectInit" or "Project" on.
    // Without one the macro is emptied and the answer is false (the caller then stops its recording).
    bool rewindToPreviousCommand();

    // The ".gmc" file: int32 lastIndex, then per entry key, text, integer, index and real.
    std::vector<uint8_t> fileBytes() const;
    // Writes the file without destroying an earlier version of it when the write fails. Saving clears
    // `unsaved`.
    IoStatus save(const std::string& path, FileSystem& fileSystem = systemFileSystem());

    // Reads a ".gmc" file. Refused: a lastIndex below -1 or of kCapacity or more, a key or text longer
    // than the limits above (a "volnam" text longer than kMacroMaxVolumeNameLength), a file that ends
    // early, and bytes after the last entry (a macro file holds exactly its entries). A refused file leaves
    // the store empty. loadBytes answers whether the bytes were read; open answers macroOpenFailure() on
    // refusal, and clears `unsaved` on success.
    bool loadBytes(std::span<const uint8_t> bytes);
    IoStatus open(const std::string& path);

private:
    std::array<MacroEntry, kCapacity> entries_{};
    int lastIndex_ = -1;
    bool unsaved_ = false;
    bool recordingActive_ = false;
};

// The largest ".gmc" file: 400 entries, each with a key and a text of 1024 characters behind the longest
// length prefix (7 bytes) and its integer, index and real: 4 + 400 x (2 x (7 + 1024) + 3 x 4) = 829,604 bytes.
// (A "volnam" entry, whose text is at most 15 characters, is smaller.)
inline constexpr size_t kLargestMacroFile =
    4 + MacroStore::kCapacity *
            (kLongestTextPrefix + kMacroMaxKeyLength + kLongestTextPrefix + kMacroMaxTextLength + 3 * 4);
static_assert(kLargestMacroFile == 829604);
inline constexpr FileCap kMacroFileCap{"macro", kLargestMacroFile};

// Reads the entries of a ".gmc" file under the limits above; false when the bytes are refused.
bool parseMacroFile(std::span<const uint8_t> bytes, std::vector<MacroEntry>& entries);
// The ".gmc" bytes of a list of at most MacroStore::kCapacity entries.
std::vector<uint8_t> macroFileBytes(std::span<const MacroEntry> entries);

} // namespace grovex
