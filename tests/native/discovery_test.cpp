#include "printers/discovery.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace somv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

MATCHER_P2(Row, printer, driver, "") {
  return arg.strPrinterName == printer && arg.strDriverName == driver;
}

// A settings file held in memory, recording which drivers were looked up.
struct FakeSettings {
  FakeSettings() = default;
  FakeSettings(std::initializer_list<std::pair<const std::u16string, std::u16string>> entries)
      : supportDevice(entries) {}

  std::map<std::u16string, std::u16string> supportDevice;
  std::vector<std::u16string> lookedUp;

  SupportEntryReader Reader() {
    return [this](const std::u16string& driver) {
      lookedUp.push_back(driver);
      const auto entry = supportDevice.find(driver);
      return entry == supportDevice.end() ? std::u16string() : entry->second;
    };
  }
};

TEST(SelectSupportedPrinters, ListsSupportedPrintersInReverseOfTheSpoolerOrder) {
  FakeSettings settings{{u"Kelva LP-100", u"01.00"}, {u"Kelva LP-200", u"02.10"}};
  const std::vector<InstalledPrinter> printers = {
      {u"First", u"Kelva LP-100"},
      {u"Office", u"Other PS"},
      {u"Second", u"Kelva LP-200"},
      {u"Third", u"Kelva LP-100"},
  };
  const DiscoveryResult result = SelectSupportedPrinters(printers, settings.Reader());
  EXPECT_THAT(result.rows, ElementsAre(Row(u"Third", u"Kelva LP-100"), Row(u"Second", u"Kelva LP-200"),
                                       Row(u"First", u"Kelva LP-100")));
  EXPECT_EQ(result.found, 1);
}

TEST(SelectSupportedPrinters, KeepsPrintersReportedTwice) {
  FakeSettings settings{{u"Kelva LP-100", u"01.00"}};
  const std::vector<InstalledPrinter> printers = {{u"Same", u"Kelva LP-100"}, {u"Same", u"Kelva LP-100"}};
  const DiscoveryResult result = SelectSupportedPrinters(printers, settings.Reader());
  EXPECT_THAT(result.rows, ElementsAre(Row(u"Same", u"Kelva LP-100"), Row(u"Same", u"Kelva LP-100")));
}

TEST(SelectSupportedPrinters, LooksUpOnlyDriversCarryingTheWordInItsOwnCase) {
  struct Case {
    std::u16string driver;
    bool lookedUp;
  } const cases[] = {
      {u"Kelva", true},
      {u"Kelva LP-100", true},
      {u"LP-100 Kelva", true},
      {u"NetKelvaPro", true},
      {u"\U0001F5A8Kelva\U0001F5A8", true},
      {u"KELVA LP-100", false},
      {u"kelva LP-100", false},
      {u"Kelv a", false},
      {u"Kelv", false},
      {u"", false},
      // The word is matched on whole units, not on a prefix of a wider text.
      {u"K\u00E9lva", false},
  };
  for (const Case& c : cases) {
    FakeSettings settings{{c.driver, u"01.00"}};
    const DiscoveryResult result = SelectSupportedPrinters({{u"P", c.driver}}, settings.Reader());
    EXPECT_EQ(settings.lookedUp.size(), c.lookedUp ? 1u : 0u) << "driver #" << (&c - cases);
    EXPECT_EQ(result.found, c.lookedUp ? 1 : 0) << "driver #" << (&c - cases);
  }
}

TEST(SelectSupportedPrinters, SkipsDriversWithoutAValue) {
  FakeSettings settings{{u"Kelva Empty", u""}, {u"Kelva Listed", u"x"}};
  const std::vector<InstalledPrinter> printers = {
      {u"A", u"Kelva Empty"}, {u"B", u"Kelva Missing"}, {u"C", u"Kelva Listed"}};
  const DiscoveryResult result = SelectSupportedPrinters(printers, settings.Reader());
  EXPECT_THAT(result.rows, ElementsAre(Row(u"C", u"Kelva Listed")));
  EXPECT_THAT(settings.lookedUp, ElementsAre(u"Kelva Empty", u"Kelva Missing", u"Kelva Listed"));
}

TEST(SelectSupportedPrinters, NoSupportedPrinterGivesNoRowsAndNoFlag) {
  FakeSettings settings;
  for (const auto& printers : {std::vector<InstalledPrinter>{}, std::vector<InstalledPrinter>{{u"A", u""}},
                               std::vector<InstalledPrinter>{{u"A", u"Kelva LP-100"}}}) {
    const DiscoveryResult result = SelectSupportedPrinters(printers, settings.Reader());
    EXPECT_THAT(result.rows, IsEmpty());
    EXPECT_EQ(result.found, 0);
  }
}

TEST(SelectSupportedPrinters, CopiesNamesUnchanged) {
  const std::u16string printer = u"\\\\server\\Kelva \U0001F5A8 " + std::u16string(300, u'p');
  const std::u16string driver = u"Kelva \U00020000 LP";
  FakeSettings settings{{driver, u"01.00"}};
  const DiscoveryResult result = SelectSupportedPrinters({{printer, driver}, {u"", driver}}, settings.Reader());
  EXPECT_THAT(result.rows, ElementsAre(Row(u"", driver), Row(printer, driver)));
}

std::u16string Numbered(std::size_t i) {
  const std::string digits = std::to_string(i);
  return u"P" + std::u16string(digits.begin(), digits.end());
}

TEST(SelectSupportedPrinters, StopsAtTheRowsTheDialogCanCount) {
  FakeSettings settings{{u"Kelva", u"1"}};
  std::vector<InstalledPrinter> printers;
  for (std::size_t i = 0; i < kMaxPrinterRows + 10; ++i) {
    printers.push_back({u"unsupported", u"Other"});  // counts for nothing
    printers.push_back({Numbered(i), u"Kelva"});
  }
  const DiscoveryResult result = SelectSupportedPrinters(printers, settings.Reader());
  ASSERT_EQ(result.rows.size(), kMaxPrinterRows);
  EXPECT_EQ(result.found, 1);
  EXPECT_EQ(result.rows.front().strPrinterName, Numbered(kMaxPrinterRows - 1));
  EXPECT_EQ(result.rows.back().strPrinterName, Numbered(0));
  EXPECT_EQ(settings.lookedUp.size(), kMaxPrinterRows);
}

}  // namespace
}  // namespace somv
