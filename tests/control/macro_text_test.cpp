#include "control/macro_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <limits>

namespace grovex {
namespace {

std::vector<MacroEntry> parse(std::string_view text) {
    std::vector<MacroEntry> entries;
    std::string error;
    EXPECT_TRUE(parseMacroText(text, entries, error)) << error;
    return entries;
}

std::string parseError(std::string_view text) {
    std::vector<MacroEntry> entries;
    std::string error;
    EXPECT_FALSE(parseMacroText(text, entries, error)) << text;
    return error;
}

TEST(MacroTextTest, WritesOneReadableLinePerEntry) {
    const std::vector<MacroEntry> entries{
        MacroEntry::marker("ProjectInit"),          MacroEntry::marker("start Input1"),
        MacroEntry::textEntry("title", "Tract 7"),  MacroEntry::integerEntry("nyears", 60),
        MacroEntry::realEntry("target", 25),        MacroEntry::realEntry("ps", 0.9f),
        MacroEntry::realEntry("vola[i]", 1.5f, 2),  MacroEntry::textEntry("volnam", "Pulp", 15),
        MacroEntry::integerEntry("EXTRACTLIST", 0),
    };
    EXPECT_EQ(macroText(entries), "ProjectInit\n"
                                  "start Input1\n"
                                  "title text \"Tract 7\"\n"
                                  "nyears int 60\n"
                                  "target real 25\n"
                                  "ps real 0.899999976\n"
                                  "vola[i] real 1.5 index 2\n"
                                  "volnam text \"Pulp\" index 15\n"
                                  "EXTRACTLIST int 0\n");
    EXPECT_EQ(parse(macroText(entries)), entries);
}

TEST(MacroTextTest, EveryEntryComesBackExactly) {
    const float nan = std::bit_cast<float>(uint32_t{0x7FC00123});
    const std::vector<MacroEntry> entries{
        MacroEntry::textEntry("title", "  \"quoted\" \\ back\tslash\x01\xE9  "),
        MacroEntry::textEntry("title", ""),
        MacroEntry::realEntry("target", 0.1f),
        MacroEntry::realEntry("a", std::numeric_limits<float>::denorm_min()),
        MacroEntry::realEntry("b", -0.0f),
        MacroEntry::realEntry("c", -std::numeric_limits<float>::infinity()),
        MacroEntry::realEntry("d", nan),
        MacroEntry::realEntry("e", 16777217.0f),
        MacroEntry::integerEntry("f", std::numeric_limits<int32_t>::min(), 7),
        MacroEntry::integerEntry("g", kMacroNoInteger),
        MacroEntry::integerEntry("h", -1, 3),
        MacroEntry{"mixed", "text", 4, 5, 6.5f},
        MacroEntry::marker("int"),
        MacroEntry::marker(""),
        MacroEntry::marker("two  blanks"),
        MacroEntry::marker(" lead"),
        MacroEntry::marker("# not a comment"),
        MacroEntry::marker("a\"b"),
        MacroEntry::marker(std::string(300, 'k')),
    };
    const std::string text = macroText(entries);
    const std::vector<MacroEntry> back = parse(text);
    ASSERT_EQ(back.size(), entries.size()) << text;
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(back[i], entries[i]) << macroEntryLine(entries[i]);
    }
    EXPECT_EQ(macroFileBytes(back), macroFileBytes(entries));
}

// Every field at its widest: a key and a text of bytes that are each written "\xHH", the longest numbers.
// 400 such lines with CR LF ends are the largest text form, and they read back.
TEST(MacroTextTest, TheWidestMacroTextIsExactlyTheCap) {
    const MacroEntry widest{std::string(kMacroMaxKeyLength, '\x01'), std::string(kMacroMaxTextLength, '\x01'),
                            std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min(),
                            -std::numeric_limits<float>::min()};
    const std::string line = macroEntryLine(widest);
    EXPECT_EQ(line.size() + 2, size_t{8259});
    std::string text;
    for (int i = 0; i < MacroStore::kCapacity; ++i) {
        text += line + "\r\n";
    }
    EXPECT_EQ(text.size(), size_t{3303600});
    EXPECT_EQ(kMacroTextFileCap.largestSize, text.size());
    const std::vector<MacroEntry> entries = parse(text);
    ASSERT_EQ(entries.size(), size_t{400});
    EXPECT_EQ(entries.back(), widest);
}

TEST(MacroTextTest, ReadsCommentsBlankLinesAndHandWrittenSpacing) {
    const std::vector<MacroEntry> entries = parse("# a macro\r\n\n   \t\n  start   Input1  \r\n"
                                                  "title\ttext \"x\"\nvoldbh[i] int 7 index 3\n\"end Input1\"\n");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], MacroEntry::marker("start Input1"));
    EXPECT_EQ(entries[1], MacroEntry::textEntry("title", "x"));
    EXPECT_EQ(entries[2], MacroEntry::integerEntry("voldbh[i]", 7, 3));
    EXPECT_EQ(entries[3], MacroEntry::marker("end Input1"));
    EXPECT_TRUE(parse("").empty());
}

TEST(MacroTextTest, RefusesLinesItCannotReadWithTheirNumber) {
    EXPECT_EQ(parseError("ProjectInit\ntarget real\n"), "line 2: \"real\" needs a value");
    EXPECT_EQ(parseError("target real 2.5x"), "line 1: \"2.5x\" is not a real number");
    EXPECT_EQ(parseError("nyears int 3000000000"), "line 1: \"3000000000\" is not a whole number");
    EXPECT_EQ(parseError("title text plain"), "line 1: a text value must be in double quotes");
    EXPECT_EQ(parseError("title text \"open"), "line 1: a quoted text is not closed");
    EXPECT_EQ(parseError("title text \"\\q\""), "line 1: unknown escape in a quoted text");
    EXPECT_EQ(parseError("k index 1 int 2"),
              "line 1: unexpected \"int\" (fields come once each, in the order int, real, text, index)");
    EXPECT_EQ(parseError("int 5"), "line 1: the line has no key");
    EXPECT_EQ(parseError("volnam text \"0123456789abcdef\" index 0"), "line 1: the text is longer than 15 characters");
    std::string tooMany;
    for (int i = 0; i <= MacroStore::kCapacity; ++i) {
        tooMany += "Project\n";
    }
    EXPECT_EQ(parseError(tooMany), "line 401: a macro holds at most 400 entries");
}

} // namespace
} // namespace grovex
