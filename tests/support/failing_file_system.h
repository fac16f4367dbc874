#pragma once
// The system calls of a save, with a failure planted at a chosen point: after a number of bytes written
// (the disk fills up), or at the open, the flush, the close or the rename.

#include "base/file_io.h"

#include <cerrno>
#include <cstddef>
#include <limits>
#include <vector>

namespace grovex::fakes {

class FailingFileSystem : public FileSystem {
public:
    enum class Step { None, Open, Fsync, Close, Rename };

    // Writes stop with "No space left on device" once this many bytes have been written.
    size_t byteBudget = std::numeric_limits<size_t>::max();
    Step failingStep = Step::None;
    int stepError = EIO;

    int open(const char* path, int flags, mode_t mode) override {
        return failingStep == Step::Open ? failWith() : FileSystem::open(path, flags, mode);
    }
    ssize_t write(int fd, const void* data, size_t size) override {
        if (byteBudget == 0) {
            errno = ENOSPC;
            return -1;
        }
        const size_t allowed = size < byteBudget ? size : byteBudget;
        const ssize_t n = FileSystem::write(fd, data, allowed);
        if (n > 0) {
            byteBudget -= static_cast<size_t>(n);
        }
        return n;
    }
    int fsync(int fd) override { return failingStep == Step::Fsync ? failWith() : FileSystem::fsync(fd); }
    int close(int fd) override {
        const int result = FileSystem::close(fd); // the descriptor is gone either way
        return failingStep == Step::Close ? failWith() : result;
    }
    int rename(const char* from, const char* to) override {
        return failingStep == Step::Rename ? failWith() : FileSystem::rename(from, to);
    }

private:
    int failWith() {
        errno = stepError;
        return -1;
    }
};

// Byte budgets that cut a write of `size` bytes near its start, near its end and at every 97th byte between.
inline std::vector<size_t> sampledCutPoints(size_t size) {
    std::vector<size_t> points;
    for (size_t n = 0; n < size; n += n < 64 || n + 64 >= size ? 1 : 97) {
        points.push_back(n);
    }
    return points;
}

// Every byte budget that cuts a write of `size` bytes short. On Windows the sampled ones: the tests run there
// under an emulator that makes each file operation slow, the calls a save makes are the same whatever the
// budget, and the native run tries every budget.
inline std::vector<size_t> everyCutPoint(size_t size) {
#ifdef _WIN32
    return sampledCutPoints(size);
#else
    std::vector<size_t> points(size);
    for (size_t n = 0; n < size; ++n) {
        points[n] = n;
    }
    return points;
#endif
}

} // namespace grovex::fakes
