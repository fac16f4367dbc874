#include "base/data_exchange.h"

#include <gtest/gtest.h>

namespace grovex::ddx {
namespace {

TEST(DataExchangeTest, IntegersAreDigitsWithAnOptionalSignBetweenBlanks) {
    EXPECT_EQ(parseInteger("42"), 42);
    EXPECT_EQ(parseInteger(" \t-17 "), -17);
    EXPECT_EQ(parseInteger("+3"), 3);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    for (const char* refused : {"", " ", "-", "+-3", "4 2", "0x10", "1e3", "3.0", "12abc", "2147483648"}) {
        EXPECT_FALSE(parseInteger(refused).has_value()) << '"' << refused << '"';
    }
}

TEST(DataExchangeTest, RealsAreFiniteDecimalNumbersInSinglePrecision) {
    EXPECT_EQ(parseReal("12.5"), 12.5f);
    EXPECT_EQ(parseReal(" .25\t"), 0.25f);
    EXPECT_EQ(parseReal("-0"), 0.0f);
    EXPECT_EQ(parseReal("+1E2"), 100.0f);
    EXPECT_EQ(parseReal("7."), 7.0f);
    for (const char* refused : {"", ".", "1,5", "12.5 ft", "inf", "nan", "0x1p3", "1e39", "1e", "--1"}) {
        EXPECT_FALSE(parseReal(refused).has_value()) << '"' << refused << '"';
    }
}

TEST(DataExchangeTest, MessagesAndBoxTexts) {
    EXPECT_EQ(integerRangeMessage(1, 299), "Please enter an integer between 1 and 299.");
    EXPECT_EQ(realRangeMessage(0.5, 100), "Please enter a number between 0.5 and 100.");
    EXPECT_EQ(maxCharsMessage(30), "Please enter no more than 30 characters.");
    EXPECT_EQ(realText(0.1f), "0.1");
    EXPECT_EQ(realText(1234567.0f), "1.23457e+06");
    EXPECT_EQ(integerText(-4), "-4");
}

} // namespace
} // namespace grovex::ddx
