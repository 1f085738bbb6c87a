#include "framework/string_block.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace somv {
namespace {

// Sixteen counted strings, as a resource compiler lays them out.
std::vector<std::uint16_t> Block(const std::vector<std::u16string>& strings) {
  std::vector<std::uint16_t> units;
  for (const auto& text : strings) {
    units.push_back(static_cast<std::uint16_t>(text.size()));
    units.insert(units.end(), text.begin(), text.end());
  }
  return units;
}

std::vector<std::u16string> Sixteen(unsigned index, const std::u16string& text) {
  std::vector<std::u16string> strings(kStringsPerBlock);
  strings[index] = text;
  return strings;
}

bool Read(const std::vector<std::uint16_t>& units, std::size_t bytes, unsigned id, std::u16string& text) {
  return ReadStringFromBlock(units.data(), bytes, id, text);
}

TEST(StringBlock, BlockIdIsIdOverSixteenPlusOne) {
  EXPECT_EQ(StringBlockId(1801), 113u);
  EXPECT_EQ(StringBlockId(61712), 3858u);
  EXPECT_EQ(StringBlockId(15), 1u);
  EXPECT_EQ(StringBlockId(16), 2u);
}

TEST(StringBlock, FindsEachStringByItsPlaceInTheBlock) {
  std::vector<std::u16string> strings(kStringsPerBlock);
  for (unsigned i = 0; i < kStringsPerBlock; ++i) strings[i] = std::u16string(i + 1, char16_t(u'a' + i));
  const auto units = Block(strings);
  for (unsigned i = 0; i < kStringsPerBlock; ++i) {
    std::u16string text;
    ASSERT_TRUE(Read(units, units.size() * 2, 1792 + i, text)) << i;
    EXPECT_EQ(text, strings[i]);
  }
}

TEST(StringBlock, AbsentStringLeavesTheTextUnchanged) {
  const auto units = Block(Sixteen(9, u"ON"));  // 1801 is index 9
  std::u16string text = u"previous";
  EXPECT_FALSE(Read(units, units.size() * 2, 1800, text));
  EXPECT_EQ(text, u"previous");
  EXPECT_TRUE(Read(units, units.size() * 2, 1801, text));
  EXPECT_EQ(text, u"ON");
}

TEST(StringBlock, NeverReadsPastTheBlock) {
  const auto whole = Block(Sixteen(5, u"Warning"));
  struct Case {
    const char* name;
    std::vector<std::uint16_t> units;
    std::size_t bytes;
    unsigned id;
  };
  auto lying = whole;
  lying[5] = 0xFFFF;  // length of index 5 runs far past the end
  auto lyingEarlier = whole;
  lyingEarlier[2] = 40;  // an earlier string claims more than there is
  const std::vector<Case> cases = {
      {"empty block", {}, 0, 5},
      {"one byte", {7}, 1, 0},
      {"cut inside the text", whole, 5 * 2 + 2 + 6, 5},
      {"cut before the length", whole, 5 * 2 + 1, 5},
      {"cut before later strings", whole, (5 + 1 + 7) * 2, 6},
      {"lying length", lying, lying.size() * 2, 5},
      {"earlier string lies", lyingEarlier, lyingEarlier.size() * 2, 5},
  };
  for (const auto& c : cases) {
    // A copy of exactly `bytes` bytes, so that ASan sees any read beyond it.
    std::vector<unsigned char> exact(c.bytes);
    if (c.bytes != 0) std::memcpy(exact.data(), c.units.data(), c.bytes);
    std::u16string text = u"kept";
    EXPECT_FALSE(ReadStringFromBlock(exact.data(), exact.size(), c.id, text)) << c.name;
    EXPECT_EQ(text, u"kept") << c.name;
  }
}

TEST(StringBlock, ReadsFromAnOddAddress) {
  const auto units = Block(Sixteen(1, u"odd"));
  std::vector<unsigned char> shifted(units.size() * 2 + 1);
  std::memcpy(shifted.data() + 1, units.data(), units.size() * 2);
  std::u16string text;
  ASSERT_TRUE(ReadStringFromBlock(shifted.data() + 1, units.size() * 2, 1, text));
  EXPECT_EQ(text, u"odd");
}

}  // namespace
}  // namespace somv
