#include "printers/discovery_win.h"

#include <windows.h>
#include <winspool.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/win_text.h"
#include "settings/settings_win.h"
#include "tests/wine/support/scoped_files.h"
#include "tests/wine/support/scoped_printer.h"

namespace somv {
namespace {

using test::ScopedCurrentDirectory;
using test::ScopedPrinter;
using test::ScopedTempDir;
using test::Utf16LeWithBom;
using test::WriteFileBytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

MATCHER_P2(Row, printer, driver, "") {
  return arg.strPrinterName == ToU16(printer) && arg.strDriverName == ToU16(driver);
}

struct Listed {
  std::wstring name;
  bool hasDriver;
};

// The local printers as the spooler lists them, ours only.
std::vector<Listed> SpoolerPrinters(const std::wstring& prefix) {
  DWORD size = 0;
  DWORD count = 0;
  ::EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &size, &count);
  std::vector<PRINTER_INFO_2W> records(size / sizeof(PRINTER_INFO_2W) + 1);
  if (size == 0 || !::EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, reinterpret_cast<BYTE*>(records.data()), size,
                                    &size, &count)) {
    return {};
  }
  std::vector<Listed> listed;
  for (DWORD i = 0; i < count; ++i) {
    const std::wstring name = records[i].pPrinterName;
    if (name.rfind(prefix, 0) == 0) listed.push_back({name, records[i].pDriverName != nullptr});
  }
  return listed;
}

MATCHER_P2(Printer, name, hasDriver, "") { return arg.name == name && arg.hasDriver == hasDriver; }

TEST(Spooler, ListsRegistryPrintersAtOnceInNameOrderWithoutRegardToCase) {
  {
    ScopedPrinter second(L"somv spooler B", L"Any Driver");
    ScopedPrinter first(L"somv spooler a", std::nullopt);
    ScopedPrinter third(L"somv spooler C", L"Any Driver");
    ASSERT_TRUE(first.Added() && second.Added() && third.Added());
    EXPECT_THAT(SpoolerPrinters(L"somv spooler "),
                ElementsAre(Printer(L"somv spooler a", false), Printer(L"somv spooler B", true),
                            Printer(L"somv spooler C", true)));
  }
  EXPECT_THAT(SpoolerPrinters(L"somv spooler "), IsEmpty());
}

// A launch directory with a settings file, and printers to go with it.
class Discovery : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_cd.Moved()); }
  void WriteSettings(std::string_view bytes) {
    ASSERT_TRUE(WriteFileBytes(m_dir.PathOf(L"ZELV4PO.INI"), bytes));
  }
  ScopedTempDir m_dir;
  ScopedCurrentDirectory m_cd{m_dir.Path()};
};

TEST_F(Discovery, ListsSupportedPrintersInReverseOfTheSpoolerOrder) {
  WriteSettings(
      "[SUPPORT_DEVICE]\r\nKelva LP-100=01.00\r\nKelva LP-200=02.00\r\nKELVA LP-300=01.00\r\n"
      "kelva lp-400=01.00\r\nKelva Empty=\r\nOther PS=01.00\r\n");
  ScopedPrinter b(L"somv B", L"Kelva LP-200");
  ScopedPrinter a(L"somv A", L"Kelva LP-100");
  ScopedPrinter c(L"somv C", L"Kelva LP-100");
  ScopedPrinter capitals(L"somv D", L"KELVA LP-300");
  ScopedPrinter smalls(L"somv E", L"kelva lp-400");
  ScopedPrinter empty(L"somv F", L"Kelva Empty");
  ScopedPrinter other(L"somv G", L"Other PS");
  ScopedPrinter unlisted(L"somv H", L"Kelva LP-999");
  ScopedPrinter noDriver(L"somv I", std::nullopt);
  ASSERT_TRUE(a.Added() && b.Added() && c.Added() && noDriver.Added());

  const DiscoveryResult result = FindSupportedPrinters();
  EXPECT_THAT(result.rows, ElementsAre(Row(L"somv C", L"Kelva LP-100"), Row(L"somv B", L"Kelva LP-200"),
                                       Row(L"somv A", L"Kelva LP-100")));
  EXPECT_EQ(result.found, 1);
}

TEST_F(Discovery, KeysMatchDriverNamesWithoutRegardToCase) {
  WriteSettings("[support_device]\r\nKELVA lp-100=01.00\r\n");
  ScopedPrinter printer(L"somv A", L"Kelva LP-100");
  ASSERT_TRUE(printer.Added());
  EXPECT_THAT(FindSupportedPrinters().rows, ElementsAre(Row(L"somv A", L"Kelva LP-100")));
}

TEST_F(Discovery, AMissingSettingsFileListsNothing) {
  ScopedPrinter printer(L"somv A", L"Kelva LP-100");
  ASSERT_TRUE(printer.Added());
  const DiscoveryResult result = FindSupportedPrinters();
  EXPECT_THAT(result.rows, IsEmpty());
  EXPECT_EQ(result.found, 0);
}

TEST_F(Discovery, LongNamesAndNamesOutsideTheBasicPlaneComeThroughUnchanged) {
  const std::wstring longName = L"somv " + std::wstring(200, L'p');
  const std::wstring driver = L"Kelva \U0001F5A8 LP-\U00020000";
  WriteSettings(Utf16LeWithBom(u"[SUPPORT_DEVICE]\r\nKelva \U0001F5A8 LP-\U00020000=" +
                               std::u16string(200, u'9') + u"\r\n"));
  ScopedPrinter printer(longName, driver);
  ScopedPrinter symbol(L"somv \U0001F5A8", driver);
  ASSERT_TRUE(printer.Added() && symbol.Added());
  EXPECT_THAT(FindSupportedPrinters().rows,
              ElementsAre(Row(L"somv \U0001F5A8", driver), Row(longName, driver)));
}

// The spooler's own enumeration, with a printer installed after each of the
// first `growths` calls, as another program installing printers would.
struct GrowingSpooler {
  std::size_t growths = 0;
  int calls = 0;
  std::vector<std::unique_ptr<ScopedPrinter>> installed;
};
GrowingSpooler* g_spooler = nullptr;

BOOL WINAPI EnumPrintersWhileInstalling(DWORD flags, LPWSTR name, DWORD level, LPBYTE buffer, DWORD size,
                                        LPDWORD needed, LPDWORD returned) {
  const BOOL result = ::EnumPrintersW(flags, name, level, buffer, size, needed, returned);
  ++g_spooler->calls;
  if (g_spooler->installed.size() < g_spooler->growths) {
    const std::wstring late = L"somv late " + std::to_wstring(g_spooler->installed.size());
    g_spooler->installed.push_back(std::make_unique<ScopedPrinter>(late, L"Kelva LP-100"));
  }
  return result;
}

TEST_F(Discovery, AListThatGrewSinceItWasSizedIsAskedForAgain) {
  WriteSettings("[SUPPORT_DEVICE]\r\nKelva LP-100=01.00\r\n");
  ScopedPrinter early(L"somv A", L"Kelva LP-100");
  ASSERT_TRUE(early.Added());
  struct Case {
    std::size_t growths;
    int calls;
    std::size_t rows;
    bool listingFailed;
  } const cases[] = {{1, 3, 2, false}, {1000, 5, 0, true}};  // one printer installed; printers installed without end
  for (const Case& c : cases) {
    SCOPED_TRACE(c.growths);
    GrowingSpooler spooler;
    spooler.growths = c.growths;
    g_spooler = &spooler;
    const DiscoveryResult result = FindSupportedPrinters(SettingsFilePath(), EnumPrintersWhileInstalling);
    EXPECT_EQ(spooler.calls, c.calls);
    EXPECT_EQ(result.rows.size(), c.rows);
    EXPECT_EQ(result.listingFailed, c.listingFailed);
    if (c.rows == 2) {
      EXPECT_THAT(result.rows, ElementsAre(Row(L"somv late 0", L"Kelva LP-100"), Row(L"somv A", L"Kelva LP-100")));
    }
  }
}

BOOL WINAPI SpoolerRefusing(DWORD, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD) {
  *needed = 0;
  ::SetLastError(RPC_S_SERVER_UNAVAILABLE);
  return FALSE;
}

// A stopped spooler must not read as a machine without printers.
TEST_F(Discovery, ASpoolerThatRefusesIsToldApartFromNoPrinter) {
  WriteSettings("[SUPPORT_DEVICE]\r\nKelva LP-100=01.00\r\n");
  ScopedPrinter printer(L"somv A", L"Kelva LP-100");
  ASSERT_TRUE(printer.Added());
  const DiscoveryResult refused = FindSupportedPrinters(SettingsFilePath(), SpoolerRefusing);
  EXPECT_TRUE(refused.listingFailed);
  EXPECT_TRUE(refused.rows.empty());
  EXPECT_EQ(refused.found, 0);
  const DiscoveryResult listed = FindSupportedPrinters();
  EXPECT_FALSE(listed.listingFailed);
  EXPECT_EQ(listed.rows.size(), 1u);
}

}  // namespace
}  // namespace somv
