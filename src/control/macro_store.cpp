#include "control/macro_store.h"

#include "base/archive.h"

namespace grovex {

bool MacroStore::append(MacroEntry entry) {
    if (lastIndex_ + 1 >= kCapacity) {
        return false;
    }
    entries_[++lastIndex_] = std::move(entry);
    return true;
}

bool MacroStore::appendInteger(std::string_view key, int32_t value, int32_t index) {
    return append({std::string(key), {}, value, index, kMacroNoReal});
}

bool MacroStore::appendReal(std::string_view key, float value, int32_t index) {
    return append({std::string(key), {}, kMacroNoInteger, index, value});
}

bool MacroStore::appendText(std::string_view key, std::string_view text, int32_t index) {
    return append({std::string(key), std::string(text), kMacroNoInteger, index, kMacroNoReal});
}

std::vector<uint8_t> MacroStore::fileBytes() const {
    ArchiveWriter out;
    out.putInt32(lastIndex_);
    for (int i = 0; i <= lastIndex_; ++i) {
        const MacroEntry& entry = entries_[i];
        out.putText(entry.key);
        out.putText(entry.text);
        out.putInt32(entry.integer);
        out.putInt32(entry.index);
        out.putFloat32(entry.real);
    }
    return out.take();
}

IoStatus MacroStore::save(const std::string& path, FileSystem& fileSystem) {
    IoStatus status = writeFileAtomically(path, fileBytes(), fileSystem);
    if (status) {
        unsaved_ = false;
    }
    return status;
}

} // namespace grovex
