#include "framework/decimal_scan.h"

#include <gtest/gtest.h>

#include <climits>

namespace somv {
namespace {

TEST(ScanDecimalInt, ReadsWhatPercentDReads) {
  struct Case {
    std::u16string text;
    int expected;
  };
  const Case cases[] = {
      {u"1504", 1504},        {u"   1502", 1502},      {u"\t\r\n 7", 7},
      {u"1502abc", 1502},     {u"+12", 12},            {u"-5", -5},
      {u"0", 0},              {u"007", 7},             {u"12 34", 12},
      {u"2147483647", INT_MAX}, {u"-2147483648", INT_MIN},
  };
  for (const auto& c : cases) {
    int value = 99;
    EXPECT_TRUE(ScanDecimalInt(c.text, value)) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(value, c.expected);
  }
}

TEST(ScanDecimalInt, RefusesTextWithoutANumberAndKeepsTheValue) {
  const std::u16string cases[] = {
      u"", u"   ", u"abc", u"-", u"+", u"- 5", u"x12", u"\u0661\u0662",  // Arabic-Indic digits are not "%d" digits
      u"2147483648", u"-2147483649", u"99999999999999999999999",
  };
  for (const auto& text : cases) {
    int value = 1601;
    EXPECT_FALSE(ScanDecimalInt(text, value));
    EXPECT_EQ(value, 1601);
  }
}

}  // namespace
}  // namespace somv
