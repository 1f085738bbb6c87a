#include "common/ordinal.h"

#include <gtest/gtest.h>

namespace somv {
namespace {

TEST(OrdinalCompare, OrdersByCodeUnitNotByLocale) {
  EXPECT_EQ(OrdinalCompare(u"ABC", u"abc"), -1);  // capitals first
  EXPECT_EQ(OrdinalCompare(u"abc", u"ABC"), 1);
  EXPECT_EQ(OrdinalCompare(u"01.05", u"1.5"), -1);
  EXPECT_EQ(OrdinalCompare(u"01.5", u"01.10"), 1);
  EXPECT_EQ(OrdinalCompare(u"same", u"same"), 0);
}

TEST(OrdinalCompare, ShorterTextThatEndsFirstIsSmaller) {
  EXPECT_EQ(OrdinalCompare(u"", u"a"), -1);
  EXPECT_EQ(OrdinalCompare(u"Kelva", u"Kelva "), -1);
}

TEST(OrdinalCompare, UnitsCompareUnsignedAboveTheSurrogates) {
  // U+FF21 (fullwidth A) is above a surrogate unit as an unsigned number.
  const std::u16string high(1, char16_t(0xFF21));
  const std::u16string surrogate = u"\U0001F5A8";
  EXPECT_EQ(OrdinalCompare(high, surrogate), 1);
}

TEST(ContainsOrdinal, FindsTheExactWordAnywhere) {
  EXPECT_TRUE(ContainsOrdinal(u"Kelva LP-100", u"Kelva"));
  EXPECT_TRUE(ContainsOrdinal(u"NetKelvaPro", u"Kelva"));
  EXPECT_FALSE(ContainsOrdinal(u"KELVA LP-100", u"Kelva"));
  EXPECT_FALSE(ContainsOrdinal(u"", u"Kelva"));
}

}  // namespace
}  // namespace somv
