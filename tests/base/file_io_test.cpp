// Whole-file reads of bounded size and saves that keep the previous version of a file whatever fails.

#include "base/file_io.h"
#include "base/file_io_native.h"
#include "base/path_text.h"
#include "support/failing_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace grovex {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using fakes::FailingFileSystem;

class ScratchDirectory {
public:
    ScratchDirectory() : path_(makeScratchFolder("grovex-file-io").value()) {}
    ~ScratchDirectory() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(path_)) {
            names.push_back(textOf(entry.path().filename()));
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

constexpr FileCap kTestCap{"test", 1024 * 1024};

Bytes contentOf(const fs::path& path) {
    const FileContent content = readFile(path.string(), kTestCap);
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
    const FileContent empty = readFile((dir.path() / "empty.gvx").string(), kTestCap);
    EXPECT_TRUE(empty.ok());
    EXPECT_TRUE(empty.bytes.empty());

    const std::string missing = (dir.path() / "missing.gvx").string();
    const FileContent notThere = readFile(missing, kTestCap);
    EXPECT_FALSE(notThere.ok());
    EXPECT_EQ(notThere.reason, "No such file or directory");
    EXPECT_EQ(notThere.error, "Unable to open " + missing + ": No such file or directory.");
}

// Whatever the path names, the answer comes at once: a named pipe without a writer must not hold the
// program. Should the read block after all, a writer is let in so that the test fails instead of hanging.
FileContent readWithoutWaiting(const fs::path& path) {
    auto reading = std::async(std::launch::async, [path] { return readFile(path.string(), kTestCap); });
    if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << path << " kept the reader waiting";
#ifndef _WIN32
        const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            ::close(writer);
        }
#endif
    }
    return reading.get();
}

struct Refusal {
    fs::path path;
    std::string reason;
};

void expectRefusedAtOnce(const std::vector<Refusal>& cases) {
    for (const Refusal& c : cases) {
        const FileContent content = readWithoutWaiting(c.path);
        EXPECT_EQ(content.reason, c.reason) << c.path;
        EXPECT_EQ(content.error, "Unable to open " + c.path.string() + ": " + c.reason + ".") << c.path;
        EXPECT_TRUE(content.bytes.empty()) << c.path;
    }
}

#ifdef _WIN32
TEST(ReadFile, RefusesWhatIsNotARegularFileWithoutWaiting) {
    ScratchDirectory dir;
    // A named pipe that nobody writes into, with an instance to spare for each look at it.
    const std::string pipe = "\\\\.\\pipe\\grovex-file-io-" + std::to_string(::GetCurrentProcessId());
    std::vector<HANDLE> instances;
    for (int k = 0; k < 4; ++k) {
        instances.push_back(::CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT,
                                               PIPE_UNLIMITED_INSTANCES, 0, 0, 0, nullptr));
        ASSERT_NE(instances.back(), INVALID_HANDLE_VALUE);
    }
    expectRefusedAtOnce(
        {{dir.path(), "it is a directory"}, {"NUL", "it is not a regular file"}, {pipe, "it is not a regular file"}});
    for (HANDLE instance : instances) {
        ::CloseHandle(instance);
    }
}
#else
TEST(ReadFile, RefusesWhatIsNotARegularFileWithoutWaiting) {
    ScratchDirectory dir;
    const fs::path pipe = dir.path() / "pipe.gvx";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const fs::path socketPath = dir.path() / "socket.gvx";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.string().size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const fs::path loop = dir.path() / "loop.gvx";
    fs::create_symlink(dir.path() / "back.gvx", loop);
    fs::create_symlink(loop, dir.path() / "back.gvx");
    const fs::path linkToPipe = dir.path() / "link.gvx";
    fs::create_symlink(pipe, linkToPipe);

    expectRefusedAtOnce({
        {dir.path(), "it is a directory"},
        {pipe, "it is not a regular file"},
        {linkToPipe, "it is not a regular file"},
        {"/dev/zero", "it is not a regular file"},
        {socketPath, "it is not a regular file"},
        {loop, "Too many levels of symbolic links"},
    });
    ::close(sock);
}
#endif

TEST(ReadFile, RefusesAFileLargerThanItsCapBeforeReadingIt) {
    ScratchDirectory dir;
    const FileCap cap{"stand", 300000}; // more than one read
    const std::string tooLarge = "it is larger than the largest stand file (300000 bytes)";

    const fs::path atCap = dir.path() / "at cap.gvx";
    writePlain(atCap, pattern(cap.largestSize, 5));
    EXPECT_EQ(readFile(atCap.string(), cap).bytes, pattern(cap.largestSize, 5));

    const fs::path over = dir.path() / "over.gvx";
    writePlain(over, pattern(cap.largestSize + 1, 5));
    const FileContent oneByteOver = readFile(over.string(), cap);
    EXPECT_EQ(oneByteOver.error, "Unable to open " + over.string() + ": " + tooLarge + ".");
    EXPECT_TRUE(oneByteOver.bytes.empty());
}

// A name outside ASCII is saved and read under that name: paths are UTF-8 text, which Windows takes as
// UTF-16.
TEST(FileNames, OutsideAsciiAreSavedAndReadUnderTheirOwnName) {
    ScratchDirectory dir;
    const std::string name = "Bestand S\u00fcd \u6797 \u03b1.gvx";
    const std::string file = textOf(dir.path()) + "/" + name;
    ASSERT_TRUE(writeFileAtomically(file, pattern(10, 1)));
    ASSERT_TRUE(writeFileAtomically(file, pattern(20, 2)));
    EXPECT_EQ(readFile(file, kTestCap).bytes, pattern(20, 2));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{name});
}

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNothingBeside) {
    ScratchDirectory dir;
    const fs::path file = dir.path() / "stand.gvx";
    ASSERT_TRUE(writeFileAtomically(file.string(), pattern(10, 1)));
    EXPECT_EQ(contentOf(file), pattern(10, 1));
    ASSERT_TRUE(writeFileAtomically(file.string(), pattern(5000, 2)));
    EXPECT_EQ(contentOf(file), pattern(5000, 2));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"stand.gvx"});
}

// A reader holding the file open: POSIX systems replace the file under the reader; Windows refuses the
// rename, whatever the reader shares, and the save fails like any other, keeping the old file whole.
TEST(WriteFileAtomically, AFileOpenForReadingIsReplacedOrKeptWhole) {
    ScratchDirectory dir;
    const fs::path file = dir.path() / "stand.gvx";
    writePlain(file, pattern(10, 1));
    std::string reason;
    const int reader = openRegularFile(file.string(), reason);
    ASSERT_GE(reader, 0) << reason;
    const IoStatus status = writeFileAtomically(file.string(), pattern(20, 2));
    native::close(reader);
#ifdef _WIN32
    EXPECT_EQ(status.message(), "Unable to save " + file.string() + ": Permission denied.");
    EXPECT_EQ(contentOf(file), pattern(10, 1));
#else
    EXPECT_TRUE(status) << status.message();
    EXPECT_EQ(contentOf(file), pattern(20, 2));
#endif
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"stand.gvx"});
}

#ifndef _WIN32
TEST(ReadFile, RefusesAHugeFileFromItsSizeAndReadsTheSystemsOwnUpToTheCap) {
    ScratchDirectory dir;
    const FileCap cap{"stand", 300000};
    // 200 GB that take no disk space: refused from its size, with nothing allocated or read.
    const fs::path sparse = dir.path() / "sparse.gvx";
    const int fd = ::open(sparse.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    const bool grown = ::ftruncate(fd, off_t{200} * 1000 * 1000 * 1000) == 0;
    ::close(fd);
    if (grown) {
        EXPECT_EQ(readFile(sparse.string(), cap).reason, "it is larger than the largest stand file (300000 bytes)");
    } else {
        ADD_FAILURE() << "no sparse file of 200 GB in " << dir.path();
    }

    // A file that reports no size, as the system's own do, is still read only up to the cap.
    const FileContent status = readFile("/proc/self/status", kTestCap);
    ASSERT_TRUE(status.ok()) << status.error;
    ASSERT_GT(status.bytes.size(), 10u);
    EXPECT_EQ(readFile("/proc/self/status", FileCap{"status", 10}).reason,
              "it is larger than the largest status file (10 bytes)");
}

TEST(WriteFileAtomically, KeepsThePermissionsOfTheFileItReplaces) {
    ScratchDirectory dir;
    const fs::path file = dir.path() / "stand.gvx";
    writePlain(file, pattern(10, 1));
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(writeFileAtomically(file.string(), pattern(5000, 2)));
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
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
#endif

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
