#pragma once
// The application's one macro: up to 400 keyed entries that record projection commands and their inputs,
// with the flags that say whether it holds unsaved changes and whether a view is recording into it.

#include "base/file_io.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace grovex {

// The value fields that an entry of another kind does not use hold these.
inline constexpr int32_t kMacroNoInteger = std::numeric_limits<int32_t>::max();
inline constexpr float kMacroNoReal = std::numeric_limits<float>::max();

struct MacroEntry {
    std::string key;
    std::string text;
    int32_t integer = kMacroNoInteger;
    int32_t index = -1;
    float real = kMacroNoReal;
};

inline constexpr const char* kMacroFilter = "Grovex Macro Files (*.gmc)|*.gmc|All Files (*.*)|*.*||";
inline constexpr const char* kMacroExtension = ".gmc";

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
    void clear() { lastIndex_ = -1; }

    // The ".gmc" file: int32 lastIndex, then per entry key, text, integer, index and real.
    std::vector<uint8_t> fileBytes() const;
    // Writes the file without destroying an earlier version of it when the write fails. Saving clears
    // `unsaved`.
    IoStatus save(const std::string& path, FileSystem& fileSystem = systemFileSystem());

private:
    bool append(MacroEntry entry);

    std::array<MacroEntry, kCapacity> entries_{};
    int lastIndex_ = -1;
    bool unsaved_ = false;
    bool recordingActive_ = false;
};

} // namespace grovex
