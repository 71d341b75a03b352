#include "protocol/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>

namespace velmaris {
namespace {

TEST(NumberText, PlainDecimalConversion)
{
    EXPECT_EQ(ParseIniInt("42"), 42);
    EXPECT_EQ(ParseIniInt("  -3"), -3);
    EXPECT_EQ(ParseIniInt("+7x"), 7);
    EXPECT_EQ(ParseIniInt("abc"), 0);
    EXPECT_EQ(ParseIniInt(""), 0);
    EXPECT_EQ(ParseIniInt("99999999999999999999"), 2147483647); // saturates, never overflows
    EXPECT_EQ(ParseIniInt("-99999999999999999999"), -2147483647 - 1);
    EXPECT_DOUBLE_EQ(ParseIniDouble("1487.3"), 1487.3);
    EXPECT_DOUBLE_EQ(ParseIniDouble(" 1.5e1x"), 15.0);
    EXPECT_DOUBLE_EQ(ParseIniDouble("nan"), 0.0);
    EXPECT_DOUBLE_EQ(ParseIniDouble("1e999"), 0.0);
    EXPECT_DOUBLE_EQ(ParseIniDouble(",5"), 0.0);
}

TEST(NumberText, FixedFormatIgnoresTheLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // may be missing; the check holds either way
    EXPECT_EQ(FormatFixed(1500.0, 1), "1500.0");
    EXPECT_EQ(FormatFixed(1.0, 2), "1.00");
    EXPECT_EQ(FormatFixed(-0.04, 1), "-0.0");
    EXPECT_EQ(FormatFixed(1e300, 1).size(), 303u);
    EXPECT_DOUBLE_EQ(ParseIniDouble("1.25"), 1.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
} // namespace velmaris
