#include "control/macro_store.h"

#include "base/archive.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace grovex {
namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;

void putInt(Bytes& bytes, int32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
    }
}

void putFloat(Bytes& bytes, float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    putInt(bytes, static_cast<int32_t>(bits));
}

void putShortText(Bytes& bytes, const std::string& text) {
    bytes.push_back(static_cast<uint8_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
}

// A text behind the longest length prefix the reader takes: 0xFF, 0xFFFF and four bytes.
void putLongestPrefixText(Bytes& bytes, const std::string& text) {
    bytes.insert(bytes.end(), {0xFF, 0xFF, 0xFF});
    putInt(bytes, static_cast<int32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
}

TEST(MacroStoreTest, AnEmptyMacroIsFourBytesOfMinusOne) {
    MacroStore macro;
    EXPECT_EQ(macro.lastIndex(), -1);
    EXPECT_FALSE(macro.unsaved());
    EXPECT_FALSE(macro.recordingActive());
    EXPECT_EQ(macro.fileBytes(), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(MacroStoreTest, EntriesAreWrittenFieldByFieldWithTheUnusedValuesMarked) {
    MacroStore macro;
    macro.appendInteger("nyears", 60);
    macro.appendReal("vola[i]", 1.5f, 2);
    macro.appendText("volnam", "Pulp", 15);

    Bytes expected;
    putInt(expected, 2);
    putShortText(expected, "nyears");
    putShortText(expected, "");
    putInt(expected, 60);
    putInt(expected, -1);
    putFloat(expected, 3.4028235e38f);
    putShortText(expected, "vola[i]");
    putShortText(expected, "");
    putInt(expected, 2147483647);
    putInt(expected, 2);
    putFloat(expected, 1.5f);
    putShortText(expected, "volnam");
    putShortText(expected, "Pulp");
    putInt(expected, 2147483647);
    putInt(expected, 15);
    putFloat(expected, 3.4028235e38f);
    EXPECT_EQ(macro.fileBytes(), expected);
}

TEST(MacroStoreTest, LongKeysUseTheThreeByteLength) {
    MacroStore macro;
    macro.appendInteger(std::string(300, 'k'), 0);
    const Bytes bytes = macro.fileBytes();
    ASSERT_GE(bytes.size(), 7u);
    EXPECT_EQ(bytes[4], 0xFF);
    EXPECT_EQ(bytes[5], 300 & 0xFF);
    EXPECT_EQ(bytes[6], 300 >> 8);
    EXPECT_EQ(bytes[7], 'k');
}

TEST(MacroStoreTest, HoldsAtMostFourHundredEntries) {
    MacroStore macro;
    for (int i = 0; i < MacroStore::kCapacity; ++i) {
        ASSERT_TRUE(macro.appendInteger("Project", -1)) << i;
    }
    EXPECT_EQ(macro.lastIndex(), 399);
    EXPECT_FALSE(macro.appendInteger("ProjectEnd", -1));
    EXPECT_FALSE(macro.appendText("title", "x"));
    EXPECT_EQ(macro.lastIndex(), 399);
    EXPECT_EQ(macro.entry(399).key, "Project");
}

TEST(MacroStoreTest, RecordingIntoAFullStoreAbandonsTheOperation) {
    MacroStore macro;
    for (int i = 0; i < MacroStore::kCapacity - 1; ++i) {
        macro.recordMarker("Project");
    }
    EXPECT_NO_THROW(macro.recordReal("target", 25)); // the 400th
    try {
        macro.recordMarker("ProjectEnd");
        FAIL() << "the 401st entry was taken";
    } catch (const MacroAbandon& abandon) {
        EXPECT_EQ(abandon.cause(), MacroAbandon::Cause::StoreFull);
    }
    EXPECT_EQ(macro.lastIndex(), 399);
    EXPECT_EQ(macro.entry(399).key, "target");
}

MacroStore storeOf(std::initializer_list<const char*> keys) {
    MacroStore macro;
    for (const char* key : keys) {
        macro.appendInteger(key, -1);
    }
    return macro;
}

TEST(MacroStoreTest, RewindsKeepTheCompletedCommands) {
    MacroStore full = storeOf(
        {"ProjectInit", "start Input1", "end Input1", "Project", "ProjectEnd", "Project", "start Input2", "kt"});
    EXPECT_TRUE(full.rewindToLastProjectEnd());
    EXPECT_EQ(full.lastIndex(), 4);

    MacroStore noEnd = storeOf({"ProjectInit", "start Input1"});
    EXPECT_FALSE(noEnd.rewindToLastProjectEnd());
    EXPECT_EQ(noEnd.lastIndex(), 1);

    MacroStore cancelled = storeOf({"ProjectInit", "start Input1", "end Input1", "Project", "ProjectEnd", "Project",
                                    "start Input2", "end Input2"});
    EXPECT_TRUE(cancelled.rewindToPreviousCommand());
    EXPECT_EQ(cancelled.lastIndex(), 4);

    MacroStore first = storeOf({"ProjectInit", "start Input1", "end Input1"});
    EXPECT_TRUE(first.rewindToPreviousCommand());
    EXPECT_TRUE(first.empty());

    MacroStore none = storeOf({"ProjectEnd", "start Input2"});
    EXPECT_FALSE(none.rewindToPreviousCommand());
    EXPECT_TRUE(none.empty());
}

MacroStore sampleMacro() {
    MacroStore macro;
    macro.appendInteger("ProjectInit", -1);
    macro.appendText("title", "Tract 7 \"north\"");
    macro.appendReal("target", 25.123456f);
    macro.appendText("volnam", std::string(15, 'n'), 15);
    macro.appendReal("vola[i]", -0.0f, 3);
    macro.appendInteger("EXTRACTLIST", 0);
    macro.appendInteger(std::string(300, 'k'), 7);
    macro.appendInteger("ProjectEnd", -1);
    return macro;
}

TEST(MacroStoreTest, ReadsBackWhatItWritesByteForByte) {
    const Bytes bytes = sampleMacro().fileBytes();
    MacroStore read;
    ASSERT_TRUE(read.loadBytes(bytes));
    EXPECT_EQ(read.lastIndex(), 7);
    EXPECT_EQ(read.entry(6).key, std::string(300, 'k'));
    EXPECT_EQ(read.fileBytes(), bytes);

    MacroStore empty = sampleMacro();
    ASSERT_TRUE(empty.loadBytes(Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(empty.empty());
}

TEST(MacroStoreTest, RefusesFilesThatBreakItsLimitsAndIsLeftEmpty) {
    const Bytes good = sampleMacro().fileBytes();
    for (size_t length = 0; length < good.size(); ++length) {
        MacroStore macro = sampleMacro();
        EXPECT_FALSE(macro.loadBytes(std::span(good).first(length))) << length;
        EXPECT_TRUE(macro.empty()) << length;
    }

    Bytes trailing = good;
    trailing.push_back(0);
    Bytes tooMany;
    putInt(tooMany, 400);
    Bytes belowEmpty;
    putInt(belowEmpty, -2);
    const auto oneText = [](const std::string& key, const std::string& text) {
        Bytes bytes;
        putInt(bytes, 0);
        ArchiveWriter out;
        out.putText(key);
        out.putText(text);
        bytes.insert(bytes.end(), out.bytes().begin(), out.bytes().end());
        putInt(bytes, kMacroNoInteger);
        putInt(bytes, 0);
        putFloat(bytes, kMacroNoReal);
        return bytes;
    };
    MacroStore fits;
    EXPECT_TRUE(fits.loadBytes(oneText("volnam", std::string(15, 'n'))));
    for (const Bytes& bad : {trailing, tooMany, belowEmpty, oneText("volnam", std::string(16, 'n')),
                             oneText("title", std::string(kMacroMaxTextLength + 1, 't')),
                             oneText(std::string(kMacroMaxKeyLength + 1, 'k'), "")}) {
        MacroStore macro = sampleMacro();
        EXPECT_FALSE(macro.loadBytes(bad));
        EXPECT_TRUE(macro.empty());
    }
}

// 400 entries with a key and a text of 1024 characters, each behind the longest prefix, are the largest
// file a macro can be; one byte more is not read.
TEST(MacroStoreTest, TheLargestMacroFileIsExactlyTheCap) {
    Bytes bytes;
    putInt(bytes, MacroStore::kCapacity - 1);
    for (int i = 0; i < MacroStore::kCapacity; ++i) {
        putLongestPrefixText(bytes, std::string(kMacroMaxKeyLength, 'k'));
        putLongestPrefixText(bytes, std::string(kMacroMaxTextLength, 't'));
        putInt(bytes, i);
        putInt(bytes, -1);
        putFloat(bytes, 0.5f);
    }
    EXPECT_EQ(bytes.size(), size_t{829604});
    EXPECT_EQ(kMacroFileCap.largestSize, size_t{829604});

    const fs::path path = fs::temp_directory_path() / ("grovex-macro-largest-" + std::to_string(getpid()) + ".gmc");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    MacroStore macro;
    ASSERT_TRUE(macro.open(path.string()));
    EXPECT_EQ(macro.lastIndex(), MacroStore::kCapacity - 1);

    std::ofstream(path, std::ios::binary | std::ios::app).put('\0');
    EXPECT_EQ(macro.open(path.string()).message(), "Unable to open the macro: " + path.string() +
                                                       ": it is larger than the largest macro file (829604 bytes).");
    EXPECT_TRUE(macro.empty());
    fs::remove(path);
}

TEST(MacroStoreTest, OpeningNamesTheFileItRefuses) {
    const fs::path path = fs::temp_directory_path() / ("grovex-macro-open-" + std::to_string(getpid()) + ".gmc");
    MacroStore written = sampleMacro();
    ASSERT_TRUE(written.save(path.string()));

    MacroStore macro;
    macro.setUnsaved(true);
    ASSERT_TRUE(macro.open(path.string()));
    EXPECT_FALSE(macro.unsaved());
    EXPECT_EQ(macro.fileBytes(), written.fileBytes());

    Bytes truncated = written.fileBytes();
    truncated.pop_back();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(truncated.data()), static_cast<std::streamsize>(truncated.size()));
    }
    const IoStatus refused = macro.open(path.string());
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.message(), "Unable to open the macro: " + path.string());
    EXPECT_TRUE(macro.empty());
    fs::remove(path);
    EXPECT_EQ(macro.open(path.string()).message(),
              "Unable to open the macro: " + path.string() + ": No such file or directory.");
}

// Fails every write after the first `allowed` bytes.
class FailingWrites : public FileSystem {
public:
    explicit FailingWrites(size_t allowed) : allowed_(allowed) {}
    ssize_t write(int fd, const void* data, size_t size) override {
        if (size > allowed_) {
            errno = ENOSPC;
            return -1;
        }
        allowed_ -= size;
        return FileSystem::write(fd, data, size);
    }

private:
    size_t allowed_;
};

TEST(MacroStoreTest, AFailedSaveKeepsTheEarlierFileAndTheUnsavedFlag) {
    const fs::path dir = fs::temp_directory_path() / ("grovex_macro_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "m.gmc").string();

    MacroStore macro;
    macro.appendInteger("ProjectInit", -1);
    macro.setUnsaved(true);
    ASSERT_TRUE(macro.save(path));
    EXPECT_FALSE(macro.unsaved());

    macro.appendText("title", std::string(100, 't'));
    macro.setUnsaved(true);
    FailingWrites failing(8);
    const IoStatus status = macro.save(path, failing);
    EXPECT_FALSE(status);
    EXPECT_FALSE(status.message().empty());
    EXPECT_TRUE(macro.unsaved());

    Bytes onDisk;
    {
        std::ifstream in(path, std::ios::binary); // closed before the folder is removed, as Windows needs
        onDisk.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    Bytes first;
    putInt(first, 0);
    putShortText(first, "ProjectInit");
    putShortText(first, "");
    putInt(first, -1);
    putInt(first, -1);
    putFloat(first, 3.4028235e38f);
    EXPECT_EQ(onDisk, first);
    fs::remove_all(dir);
}

} // namespace
} // namespace grovex
