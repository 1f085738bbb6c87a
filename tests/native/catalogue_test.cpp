#include "messages/catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace somv {
namespace {

class FakeStrings : public StringSource {
 public:
  explicit FakeStrings(std::map<std::uint32_t, std::u16string> strings) : m_strings(std::move(strings)) {}
  bool Load(std::uint32_t id, std::u16string& text) const override {
    m_asked.push_back(id);
    auto found = m_strings.find(id);
    if (found == m_strings.end()) return false;
    text = found->second;
    return true;
  }
  std::map<std::uint32_t, std::u16string> m_strings;
  mutable std::vector<std::uint32_t> m_asked;
};

std::map<std::uint32_t, std::u16string> Library() {
  return {{1501, u"no device"}, {1502, u"not written"}, {1503, u"missing files"}, {1504, u"32-bit"},
          {1601, u"unknown"},   {1602, u"Error"},       {1701, u"Tool"},          {1702, u"Stop"},
          {1901, u"no start"},  {1902, u"Warning"}};
}

TEST(CatalogueTable, LooksUpEveryRow) {
  struct Row {
    std::uint32_t id, caption, style;
  };
  const Row rows[] = {{1501, 1701, 0x30}, {1502, 1701, 0x30}, {1503, 1701, 0x30},
                      {1504, 1702, 0x10}, {1901, 1902, 0x30}, {1601, 1602, 0x10}};
  for (const auto& row : rows) {
    EXPECT_EQ(LookUpCaptionId(row.id), row.caption) << row.id;
    EXPECT_EQ(LookUpBoxStyle(row.id), row.style) << row.id;
  }
}

TEST(CatalogueTable, IdsOutsideTheTableGiveZero) {
  for (std::uint32_t id : {0u, 1u, 1500u, 1505u, 1602u, 1700u, 1701u, 1801u, 0xFFFFFFFFu}) {
    EXPECT_EQ(LookUpCaptionId(id), 0u) << id;
    EXPECT_EQ(LookUpBoxStyle(id), 0u) << id;
  }
}

TEST(CatalogueMessage, EachMessageGetsItsTextCaptionAndStyle) {
  FakeStrings strings(Library());
  struct Case {
    std::int32_t id;
    std::u16string text, caption;
    std::uint32_t style;
  };
  const Case cases[] = {
      {1501, u"no device", u"Tool", 0x30},    {1502, u"not written", u"Tool", 0x30},
      {1503, u"missing files", u"Tool", 0x30}, {1504, u"32-bit", u"Stop", 0x10},
      {1901, u"no start", u"Warning", 0x30},  {1601, u"unknown", u"Error", 0x10},
  };
  for (const auto& c : cases) {
    auto request = PrepareMessage(c.id, strings);
    ASSERT_TRUE(request) << c.id;
    EXPECT_EQ(request->text, c.text);
    EXPECT_EQ(request->caption, c.caption);
    EXPECT_EQ(request->style, c.style);
  }
}

TEST(CatalogueMessage, UnknownIdsShowTheFallback) {
  FakeStrings strings(Library());
  for (std::int32_t id : {0, -1, -1501, 12, 1602, 1700, 1701, 1801, INT32_MAX, INT32_MIN}) {
    auto request = PrepareMessage(id, strings);
    ASSERT_TRUE(request) << id;
    EXPECT_EQ(request->text, u"unknown") << id;
    EXPECT_EQ(request->caption, u"Error");
    EXPECT_EQ(request->style, 0x10u);
  }
}

TEST(CatalogueMessage, OnlyAnExactOnMarkerMirrorsTheBox) {
  struct Case {
    const char* name;
    bool present;
    std::u16string marker;
    bool rightToLeft;
  };
  const Case cases[] = {
      {"ON", true, u"ON", true},       {"on", true, u"on", false},   {"On", true, u"On", false},
      {"space before", true, u" ON", false}, {"space after", true, u"ON ", false},
      {"other text", true, u"OFF", false}, {"empty", true, u"", false}, {"absent", false, u"", false},
      {"fullwidth", true, u"\uFF2F\uFF2E", false}, {"with terminator", true, std::u16string(u"ON\0", 3), false},
  };
  for (const auto& c : cases) {
    auto library = Library();
    if (c.present) library[kReadingDirectionStringId] = c.marker;
    FakeStrings strings(library);
    EXPECT_EQ(ReadsRightToLeft(strings), c.rightToLeft) << c.name;
    auto warning = PrepareMessage(1502, strings);
    auto stop = PrepareMessage(1504, strings);
    ASSERT_TRUE(warning && stop);
    EXPECT_EQ(warning->style, c.rightToLeft ? 0x180030u : 0x30u) << c.name;
    EXPECT_EQ(stop->style, c.rightToLeft ? 0x180010u : 0x10u) << c.name;
  }
}

TEST(CatalogueMessage, MissingOrEmptyTextOrCaptionShowsNothing) {
  struct Case {
    const char* name;
    std::uint32_t removed;
    bool emptyInstead;
    std::int32_t id;
  };
  const Case cases[] = {
      {"text absent", 1501, false, 1501},        {"caption absent", 1701, false, 1502},
      {"text empty", 1504, true, 1504},          {"caption empty", 1902, true, 1901},
      {"fallback text absent", 1601, false, 0},  {"fallback caption absent", 1602, false, 1700},
  };
  for (const auto& c : cases) {
    auto library = Library();
    library[kReadingDirectionStringId] = u"ON";
    if (c.emptyInstead) library[c.removed] = u"";
    else library.erase(c.removed);
    FakeStrings strings(library);
    EXPECT_FALSE(PrepareMessage(c.id, strings)) << c.name;
  }
}

TEST(CatalogueMessage, ReadsTheMarkerAfreshEveryTime) {
  FakeStrings strings(Library());
  PrepareMessage(1501, strings);
  PrepareMessage(1501, strings);
  const std::vector<std::uint32_t> asked = {1701, 1801, 1501, 1701, 1801, 1501};
  EXPECT_EQ(strings.m_asked, asked);
}

}  // namespace
}  // namespace somv
