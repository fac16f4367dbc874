// The archive encoding byte for byte, and a reader that refuses instead of reading past the end.

#include "base/archive.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace grovex {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(Archive, NumbersAreLittleEndianAndReadBackExactly) {
    ArchiveWriter out;
    out.putUint8(0xAB);
    out.putUint16(0x1234);
    out.putUint32(0x89ABCDEF);
    out.putInt32(-2);
    out.putFloat32(1.0f);
    EXPECT_EQ(out.bytes(),
              (Bytes{0xAB, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x3F}));

    ArchiveReader in(out.bytes());
    uint8_t u8 = 0;
    uint16_t u16 = 0;
    uint32_t u32 = 0;
    int32_t i32 = 0;
    float f = 0;
    ASSERT_TRUE(in.readUint8(u8) && in.readUint16(u16) && in.readUint32(u32) && in.readInt32(i32) && in.readFloat32(f));
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(u16, 0x1234);
    EXPECT_EQ(u32, 0x89ABCDEFu);
    EXPECT_EQ(i32, -2);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(in.remaining(), 0u);
    EXPECT_TRUE(in.ok());
}

TEST(Archive, RealsKeepEveryBit) {
    // Signalling and quiet NaNs with payloads, both zeros, the smallest subnormal, infinity, the extremes.
    const std::vector<uint32_t> patterns{0x7F800001, 0x7FA12345, 0xFFC00123, 0x80000000, 0x00000000,
                                         0x00000001, 0xFF800000, 0x7F7FFFFF, 0x00800000};
    ArchiveWriter out;
    for (uint32_t bits : patterns) {
        out.putFloat32(std::bit_cast<float>(bits));
    }
    ASSERT_EQ(out.bytes().size(), 4 * patterns.size());
    EXPECT_EQ(out.bytes()[0], 0x01);
    EXPECT_EQ(out.bytes()[3], 0x7F);

    ArchiveReader in(out.bytes());
    for (uint32_t bits : patterns) {
        float value = 0;
        ASSERT_TRUE(in.readFloat32(value));
        EXPECT_EQ(std::bit_cast<uint32_t>(value), bits) << std::hex << bits;
    }
}

TEST(Archive, TextsUseTheThreeLengthForms) {
    struct Form {
        size_t length;
        Bytes prefix;
    };
    const Form forms[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Form& form : forms) {
        std::string text(form.length, 'x');
        for (size_t i = 0; i < text.size(); i += 97) {
            text[i] = static_cast<char>(i % 256); // 8-bit characters and zero bytes travel unchanged
        }
        ArchiveWriter out;
        out.putText(text);
        out.putUint8(0x5A);
        const Bytes& bytes = out.bytes();
        ASSERT_EQ(bytes.size(), form.prefix.size() + form.length + 1) << form.length;
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(form.prefix.size())), form.prefix)
            << form.length;

        ArchiveReader in(bytes);
        std::string back;
        uint8_t marker = 0;
        ASSERT_TRUE(in.readText(back, form.length)) << form.length; // a limit equal to the length passes
        EXPECT_EQ(back, text);
        ASSERT_TRUE(in.readUint8(marker));
        EXPECT_EQ(marker, 0x5A);
    }

    // The reader also takes a short text in a longer form, as any writer of the encoding may produce.
    const Bytes longForm{0xFF, 0x03, 0x00, 'a', 'b', 'c'};
    ArchiveReader in(longForm);
    std::string text;
    ASSERT_TRUE(in.readText(text));
    EXPECT_EQ(text, "abc");
}

TEST(Archive, ReadsPastTheEndFailAndTheFailureSticks) {
    const Bytes three{1, 2, 3};
    {
        ArchiveReader in(three);
        int32_t value = 77;
        EXPECT_FALSE(in.readInt32(value));
        EXPECT_EQ(value, 77);
        EXPECT_EQ(in.error(), ArchiveError::EndOfData);
        EXPECT_EQ(in.position(), 0u);
        uint8_t small = 0;
        EXPECT_FALSE(in.readUint8(small)) << "a read after a failure must fail too";
        EXPECT_EQ(small, 0);
    }
    {
        ArchiveReader in(three);
        uint16_t word = 0;
        float real = 5;
        EXPECT_TRUE(in.readUint16(word));
        EXPECT_FALSE(in.readFloat32(real));
        EXPECT_EQ(real, 5);
        EXPECT_EQ(in.position(), 2u);
    }
    {
        ArchiveReader in(std::span<const uint8_t>{});
        uint8_t byte = 9;
        EXPECT_FALSE(in.readUint8(byte));
        EXPECT_EQ(byte, 9);
    }
}

TEST(Archive, TextsAreRefusedWhenShortTooLongOrOddlyPrefixed) {
    struct Case {
        const char* what;
        Bytes bytes;
        size_t limit;
        ArchiveError error;
    };
    const Case cases[] = {
        {"one byte missing", {0x04, 'a', 'b', 'c'}, ArchiveReader::kNoTextLimit, ArchiveError::EndOfData},
        {"two-byte length cut", {0xFF, 0x10}, ArchiveReader::kNoTextLimit, ArchiveError::EndOfData},
        {"four-byte length cut", {0xFF, 0xFF, 0xFF, 0x01, 0x00}, ArchiveReader::kNoTextLimit, ArchiveError::EndOfData},
        {"length far beyond the data",
         {0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 'a'},
         ArchiveReader::kNoTextLimit,
         ArchiveError::EndOfData},
        {"longer than allowed", {0x04, 'a', 'b', 'c', 'd'}, 3, ArchiveError::TextTooLong},
        {"wide-character marker",
         {0xFF, 0xFE, 0xFF, 0x01, 'a', 0},
         ArchiveReader::kNoTextLimit,
         ArchiveError::BadLength},
        {"eight-byte length marker",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         ArchiveReader::kNoTextLimit,
         ArchiveError::BadLength},
    };
    for (const Case& c : cases) {
        ArchiveReader in(c.bytes);
        std::string text = "unchanged";
        EXPECT_FALSE(in.readText(text, c.limit)) << c.what;
        EXPECT_EQ(text, "unchanged") << c.what;
        EXPECT_EQ(in.error(), c.error) << c.what;
        EXPECT_EQ(in.position(), 0u) << c.what;
    }
}

} // namespace
} // namespace grovex
