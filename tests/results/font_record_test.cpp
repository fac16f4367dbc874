#include "results/font_record.h"

#include "base/file_io.h"
#include "support/special_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace grovex {
namespace {

TEST(FontRecord, EveryFieldHasItsOffset) {
    LogFont font;
    font.charSet = 1;
    font.clipPrecision = 2;
    font.escapement = -2;
    font.height = 0x01020304;
    font.italic = 5;
    font.orientation = 0x0A0B0C0D;
    font.outPrecision = 6;
    font.pitchAndFamily = 7;
    font.quality = 8;
    font.strikeOut = 9;
    font.underline = 10;
    font.weight = 700;
    font.width = 11;
    std::strcpy(font.faceName, "Mono");
    const FontRecord expected = {
        1,                      // character set
        2,                      // clip precision
        0xFE, 0xFF, 0xFF, 0xFF, // escapement
        4,    3,    2,    1,    // height
        5,                      // italic
        0x0D, 0x0C, 0x0B, 0x0A, // orientation
        6,    7,    8,    9,    // output precision, pitch and family, quality, strike-out
        10,                     // underline
        0xBC, 0x02, 0,    0,    // weight
        11,   0,    0,    0,    // width
        'M',  'o',  'n',  'o',  // face name, zeros after it
    };
    EXPECT_EQ(encodeFontRecord(font), expected);

    const std::optional<LogFont> back = decodeFontRecord(expected);
    ASSERT_TRUE(back);
    EXPECT_EQ(encodeFontRecord(*back), expected);
    EXPECT_EQ(back->escapement, -2);
    EXPECT_STREQ(back->faceName, "Mono");
}

TEST(FontRecord, FaceNameEndsAtItsTerminatorOrAfter31Characters) {
    FontRecord record = encodeFontRecord(LogFont{});
    record[28 + 12] = 'x'; // after the terminator of "Courier New": carries nothing
    EXPECT_EQ(encodeFontRecord(*decodeFontRecord(record)), encodeFontRecord(LogFont{}));

    std::fill(record.begin() + 28, record.end(), 'A');
    EXPECT_EQ(std::strlen(decodeFontRecord(record)->faceName), 31u);
    EXPECT_FALSE(decodeFontRecord(std::span(record).first(59)));
}

// The record file holds one record: a longer file, or anything that is not a regular file, leaves the default
// font, and a named pipe in its place does not hold up the view.
TEST(FontRecord, OnlyARegularFileOfOneRecordIsRead) {
    const std::filesystem::path dir = makeScratchFolder("grovex-font").value();
    const std::filesystem::path path = dir / kFontRecordName;
    LogFont font;
    font.height = 24;
    const FontRecord record = encodeFontRecord(font);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(record.data()), kFontRecordSize);
    ASSERT_TRUE(readFontRecord(path.string()));
    EXPECT_EQ(readFontRecord(path.string())->height, 24);

    std::ofstream(path, std::ios::binary | std::ios::app).put('\0');
    EXPECT_FALSE(readFontRecord(path.string()));

    std::filesystem::remove(path);
    const std::string special = fakes::specialFile(dir, kFontRecordName);
    ASSERT_FALSE(special.empty());
    EXPECT_FALSE(readFontRecord(special));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace grovex
