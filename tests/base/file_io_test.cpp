// Whole-file reads and saves that keep the previous version of a file whatever fails.

#include "base/file_io.h"
#include "support/failing_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace grovex {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using fakes::FailingFileSystem;

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (fs::temp_directory_path() / "grovex-file-io-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ScratchDirectory() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path path_;
};

void writePlain(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes contentOf(const fs::path& path) {
    const FileContent content = readFile(path.string());
    EXPECT_TRUE(content.ok()) << content.error;
    return content.bytes;
}

Bytes pattern(size_t size, uint8_t seed) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(i * 31 + seed);
    }
    return bytes;
}

TEST(ReadFile, ReturnsTheBytesOrSaysWhyNot) {
    ScratchDirectory dir;
    const fs::path file = dir.path() / "stand.gvx";
    const Bytes bytes = pattern(200000, 3); // more than one read
    writePlain(file, bytes);
    EXPECT_EQ(contentOf(file), bytes);

    writePlain(dir.path() / "empty.gvx", {});
    const FileContent empty = readFile((dir.path() / "empty.gvx").string());
    EXPECT_TRUE(empty.ok());
    EXPECT_TRUE(empty.bytes.empty());

    const std::string missing = (dir.path() / "missing.gvx").string();
    const FileContent notThere = readFile(missing);
    EXPECT_FALSE(notThere.ok());
    EXPECT_EQ(notThere.error, "Unable to open " + missing + ": No such file or directory.");

    const FileContent directory = readFile(dir.path().string());
    EXPECT_EQ(directory.error, "Unable to open " + dir.path().string() + ": Is a directory.");
    EXPECT_TRUE(directory.bytes.empty());
}

TEST(WriteFileAtomically, ReplacesTheFileKeepingItsPermissionsAndLeavesNothingBeside) {
    ScratchDirectory dir;
    const fs::path file = dir.path() / "stand.gvx";
    ASSERT_TRUE(writeFileAtomically(file.string(), pattern(10, 1)));
    EXPECT_EQ(contentOf(file), pattern(10, 1));

    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(writeFileAtomically(file.string(), pattern(5000, 2)));
    EXPECT_EQ(contentOf(file), pattern(5000, 2));
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"stand.gvx"});
}

TEST(WriteFileAtomically, ThroughALinkReplacesTheLinkedFileAndKeepsTheLink) {
    ScratchDirectory dir;
    const fs::path real = dir.path() / "real.gvx";
    const fs::path link = dir.path() / "link.gvx";
    writePlain(real, pattern(10, 1));
    fs::create_symlink(real, link);
    ASSERT_TRUE(writeFileAtomically(link.string(), pattern(20, 2)));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contentOf(real), pattern(20, 2));
}

TEST(WriteFileAtomically, AFailureAtAnyPointKeepsTheOldFile) {
    ScratchDirectory dir;
    const fs::path file = dir.path() / "stand.gvx";
    const Bytes old = pattern(64, 9);
    const Bytes replacement = pattern(300, 4);
    writePlain(file, old);

    for (size_t budget = 0; budget < replacement.size(); ++budget) {
        FailingFileSystem failing;
        failing.byteBudget = budget;
        const IoStatus status = writeFileAtomically(file.string(), replacement, failing);
        ASSERT_FALSE(status) << budget;
        EXPECT_EQ(status.message(), "Unable to save " + file.string() + ": No space left on device.") << budget;
        ASSERT_EQ(contentOf(file), old) << budget;
        ASSERT_EQ(dir.entries(), std::vector<std::string>{"stand.gvx"}) << budget;
    }

    for (FailingFileSystem::Step step :
         {FailingFileSystem::Step::Fsync, FailingFileSystem::Step::Close, FailingFileSystem::Step::Rename}) {
        FailingFileSystem failing;
        failing.failingStep = step;
        const IoStatus status = writeFileAtomically(file.string(), replacement, failing);
        EXPECT_EQ(status.message(), "Unable to save " + file.string() + ": Input/output error.");
        EXPECT_EQ(contentOf(file), old);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"stand.gvx"});
    }

    FailingFileSystem exact;
    exact.byteBudget = replacement.size();
    EXPECT_TRUE(writeFileAtomically(file.string(), replacement, exact));
    EXPECT_EQ(contentOf(file), replacement);
}

TEST(WriteFileAtomically, AMissingDirectoryOrADirectoryAsTargetIsReported) {
    ScratchDirectory dir;
    const std::string missing = (dir.path() / "no such folder" / "stand.gvx").string();
    const IoStatus intoMissing = writeFileAtomically(missing, pattern(10, 1));
    EXPECT_EQ(intoMissing.message(), "Unable to save " + missing + ": No such file or directory.");

    const fs::path folder = dir.path() / "folder";
    fs::create_directory(folder);
    const IoStatus ontoFolder = writeFileAtomically(folder.string(), pattern(10, 1));
    EXPECT_EQ(ontoFolder.message(), "Unable to save " + folder.string() + ": Is a directory.");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"folder"});
}

} // namespace
} // namespace grovex
