#include "gameconfig/number_text.h"

#include <gtest/gtest.h>

namespace vokari {
namespace {

TEST(NumberTextTest, FormatsNumbersAsWholeNumbers) {
    EXPECT_EQ(formatWholeNumber("2.7"), "3");
    EXPECT_EQ(formatWholeNumber("2.5"), "3") << "half away from zero";
    EXPECT_EQ(formatWholeNumber("-2.5"), "-3");
    EXPECT_EQ(formatWholeNumber("-0.4"), "0");
    EXPECT_EQ(formatWholeNumber(" 12 "), "12");
    EXPECT_EQ(formatWholeNumber("+.5"), "1");
    EXPECT_EQ(formatWholeNumber("1e3"), "1000");
    EXPECT_EQ(formatWholeNumber("12345678"), "12345678") << "no separators";
    EXPECT_EQ(formatWholeNumber("\xEF\xBC\x92\xEF\xBC\x8E\xEF\xBC\x97"), "3") << "full-width 2.7";
    EXPECT_EQ(formatWholeNumber("\xE3\x80\x80\xEF\xBC\x90"), "0") << "full-width blank and 0";
}

TEST(NumberTextTest, RefusesWhatIsNotANumber) {
    for (const char* text : {"", "  ", "abc", "2s", "1,000", "0x10", "1e", "-", ".", "+-1", "inf",
                             "nan", "1e999", "\xEF\xBC\x8C"})
        EXPECT_FALSE(parseNumber(text).has_value()) << text;
}

TEST(NumberTextTest, WholeNumbersOnlyForDisplay) {
    EXPECT_EQ(parseWholeNumber("1"), 1);
    EXPECT_EQ(parseWholeNumber(" 15 "), 15);
    EXPECT_EQ(parseWholeNumber("2.0"), 2);
    EXPECT_EQ(parseWholeNumber("-1"), -1);
    EXPECT_FALSE(parseWholeNumber("0.5"));
    EXPECT_FALSE(parseWholeNumber("99999999999"));
    EXPECT_FALSE(parseWholeNumber(""));
    EXPECT_FALSE(parseWholeNumber("yes"));
}

} // namespace
} // namespace vokari
