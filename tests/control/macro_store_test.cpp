#include "control/macro_store.h"

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

    std::ifstream in(path, std::ios::binary);
    const Bytes onDisk{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
