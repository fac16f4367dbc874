#include "control/macro_store.h"

#include "base/archive.h"

#include <bit>

namespace grovex {

MacroEntry MacroEntry::integerEntry(std::string_view key, int32_t value, int32_t index) {
    return {std::string(key), {}, value, index, kMacroNoReal};
}

MacroEntry MacroEntry::realEntry(std::string_view key, float value, int32_t index) {
    return {std::string(key), {}, kMacroNoInteger, index, value};
}

MacroEntry MacroEntry::textEntry(std::string_view key, std::string_view text, int32_t index) {
    return {std::string(key), std::string(text), kMacroNoInteger, index, kMacroNoReal};
}

bool MacroEntry::operator==(const MacroEntry& other) const {
    return key == other.key && text == other.text && integer == other.integer && index == other.index &&
           std::bit_cast<uint32_t>(real) == std::bit_cast<uint32_t>(other.real);
}

MacroAbandon::MacroAbandon(Cause cause)
    : CommandAbandoned(cause == Cause::StoreFull ? kMacroStoreFullMessage : "The macro command was abandoned"),
      cause_(cause) {}

bool MacroStore::append(MacroEntry entry) {
    if (lastIndex_ + 1 >= kCapacity) {
        return false;
    }
    entries_[++lastIndex_] = std::move(entry);
    return true;
}

bool MacroStore::appendInteger(std::string_view key, int32_t value, int32_t index) {
    return append(MacroEntry::integerEntry(key, value, index));
}

bool MacroStore::appendReal(std::string_view key, float value, int32_t index) {
    return append(MacroEntry::realEntry(key, value, index));
}

bool MacroStore::appendText(std::string_view key, std::string_view text, int32_t index) {
    return append(MacroEntry::textEntry(key, text, index));
}

void MacroStore::record(MacroEntry entry) {
    if (!append(std::move(entry))) {
        throw MacroAbandon(MacroAbandon::Cause::StoreFull);
    }
}

void MacroStore::recordInteger(std::string_view key, int32_t value, int32_t index) {
    record(MacroEntry::integerEntry(key, value, index));
}

void MacroStore::recordReal(std::string_view key, float value, int32_t index) {
    record(MacroEntry::realEntry(key, value, index));
}

void MacroStore::recordText(std::string_view key, std::string_view text, int32_t index) {
    record(MacroEntry::textEntry(key, text, index));
}

bool MacroStore::rewindToLastProjectEnd() {
    for (int i = lastIndex_; i >= 0; --i) {
        if (entries_[i].key == "ProjectEnd") {
            lastIndex_ = i;
            return true;
        }
    }
    return false;
}

bool MacroStore::rewindToPreviousCommand() {
    for (int i = lastIndex_; i >= 0; --i) {
        if (entries_[i].key == "ProjectInit" || entries_[i].key == "Project") {
            lastIndex_ = i - 1;
            return true;
        }
    }
    lastIndex_ = -1;
    return false;
}

std::vector<uint8_t> macroFileBytes(std::span<const MacroEntry> entries) {
    ArchiveWriter out;
    out.putInt32(static_cast<int32_t>(entries.size()) - 1);
    for (const MacroEntry& entry : entries) {
        out.putText(entry.key);
        out.putText(entry.text);
        out.putInt32(entry.integer);
        out.putInt32(entry.index);
        out.putFloat32(entry.real);
    }
    return out.take();
}

std::vector<uint8_t> MacroStore::fileBytes() const {
    return macroFileBytes(std::span<const MacroEntry>(entries_.data(), static_cast<size_t>(lastIndex_ + 1)));
}

IoStatus MacroStore::save(const std::string& path, FileSystem& fileSystem) {
    IoStatus status = writeFileAtomically(path, fileBytes(), fileSystem);
    if (status) {
        unsaved_ = false;
    }
    return status;
}

bool parseMacroFile(std::span<const uint8_t> bytes, std::vector<MacroEntry>& entries) {
    ArchiveReader in(bytes);
    int32_t last = 0;
    if (!in.readInt32(last) || last < -1 || last >= MacroStore::kCapacity) {
        return false;
    }
    std::vector<MacroEntry> read(static_cast<size_t>(last + 1));
    for (MacroEntry& entry : read) {
        if (!in.readText(entry.key, kMacroMaxKeyLength) ||
            !in.readText(entry.text, entry.key == "volnam" ? kMacroMaxVolumeNameLength : kMacroMaxTextLength) ||
            !in.readInt32(entry.integer) || !in.readInt32(entry.index) || !in.readFloat32(entry.real)) {
            return false;
        }
    }
    if (in.remaining() != 0) {
        return false;
    }
    entries = std::move(read);
    return true;
}

bool MacroStore::loadBytes(std::span<const uint8_t> bytes) {
    std::vector<MacroEntry> read;
    lastIndex_ = -1;
    if (!parseMacroFile(bytes, read)) {
        return false;
    }
    for (size_t i = 0; i < read.size(); ++i) {
        entries_[i] = std::move(read[i]);
    }
    lastIndex_ = static_cast<int>(read.size()) - 1;
    return true;
}

std::string macroOpenFailure(const std::string& path, const std::string& reason) {
    return kMacroOpenFailedMessage + path + (reason.empty() ? "" : ": " + reason + ".");
}

IoStatus MacroStore::open(const std::string& path) {
    const FileContent content = readFile(path, kMacroFileCap);
    if (!content.ok() || !loadBytes(content.bytes)) {
        lastIndex_ = -1;
        return IoStatus::failure(macroOpenFailure(path, content.reason));
    }
    unsaved_ = false;
    return IoStatus::success();
}

} // namespace grovex
