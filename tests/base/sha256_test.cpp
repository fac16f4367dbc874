// SHA-256 against the published FIPS 180-2 vectors, in memory and from a file.

#include "base/sha256.h"

#include "base/file_io.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace grovex {
namespace {

namespace fs = std::filesystem;

constexpr const char* kAbc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
constexpr const char* kTwoBlock = "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1";
constexpr const char* kMillionA = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";
constexpr const char* kEmpty = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

std::string digestOf(const std::string& text) {
    Sha256 hash;
    hash.update(text);
    return hash.hexDigest();
}

TEST(Sha256, PublishedVectors) {
    EXPECT_EQ(digestOf(""), kEmpty);
    EXPECT_EQ(digestOf("abc"), kAbc);
    // 448 bits: the padding no longer fits the first block.
    EXPECT_EQ(digestOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"), kTwoBlock);
}

TEST(Sha256, OneMillionAFedInUnevenPiecesAndReadBetween) {
    const std::string as(1000000, 'a');
    Sha256 hash;
    size_t at = 0;
    for (size_t piece = 1; at < as.size(); piece = piece * 7 % 1013 + 1) {
        const size_t n = std::min(piece, as.size() - at);
        hash.update(std::string_view(as).substr(at, n));
        at += n;
        if (at == 3) {
            EXPECT_EQ(hash.hexDigest(), digestOf("aaa")); // a digest on the way leaves the message open
        }
    }
    EXPECT_EQ(hash.hexDigest(), kMillionA);
}

TEST(Sha256, FileDigestEqualsTheDigestInMemory) {
    const fs::path dir = makeScratchFolder("grovex-sha").value();
    // More than one read of 1 MiB, and a length that is no multiple of the block.
    std::string bytes(3 * 1024 * 1024 + 77, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 131 + i / 4099);
    }
    const fs::path file = dir / "stands.csv";
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

    std::string error;
    EXPECT_EQ(sha256OfFile(file.string(), error), digestOf(bytes));
    EXPECT_EQ(error, "");
    std::ofstream(dir / "empty.csv", std::ios::binary).close(); // an empty file
    EXPECT_EQ(sha256OfFile((dir / "empty.csv").string(), error), kEmpty);

    const std::string missing = (dir / "missing.csv").string();
    EXPECT_EQ(sha256OfFile(missing, error), std::nullopt);
    EXPECT_EQ(error, "Unable to open " + missing + ": No such file or directory.");
    EXPECT_EQ(sha256OfFile(dir.string(), error), std::nullopt);
    EXPECT_EQ(error, "Unable to open " + dir.string() + ": it is a directory.");
    fs::remove_all(dir);
}

} // namespace
} // namespace grovex
