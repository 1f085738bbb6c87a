// The device channel against the simulated status library that
// scripts/world.sh installs in the prefix's driver directory.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/names.h"
#include "common/win_text.h"
#include "device/device_connection.h"
#include "device/device_requests.h"
#include "device/firmware_gate_win.h"
#include "device/printer_session.h"
#include "settings/settings_win.h"
#include "timer/power_off_timer.h"
#include "tests/wine/support/scoped_environment.h"
#include "tests/wine/support/scoped_files.h"
#include "tests/wine/support/simulated_printer.h"

namespace somv {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;
using test::ScopedCurrentDirectory;
using test::ScopedEnvironment;
using test::ScopedTempDir;
using test::ScopedStatusLibraryReplacement;
using test::InstalledStatusLibraryPath;
using test::IsStatusLibraryLoaded;
using test::StatusLibraryName;

// The variant without the request entry point, built beside this program.
std::wstring NoRequestLibraryPath() {
  return test::TestProgramDirectory() + L"..\\..\\simprinter\\no-request\\" + StatusLibraryName();
}


std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}


constexpr char kPrinter[] = "Kelva LP-100";
constexpr char16_t kPrinterU16[] = u"Kelva LP-100";
constexpr wchar_t kDriver[] = L"Kelva LP-100 Driver";

// A state file and a call log for the simulated library, in a fresh directory
// that is also the current (launch) directory.
class DeviceTest : public ::testing::Test {
 protected:
  DeviceTest()
      : m_state(m_dir.PathOf(L"SIMPRN.INI")),
        m_log(m_dir.PathOf(L"calls.log")),
        m_settings(m_dir.PathOf(L"ZELV4PO.INI")),
        m_stateVariable(L"SOMV_SIMPRINTER_STATE", m_state),
        m_logVariable(L"SOMV_SIMPRINTER_LOG", m_log),
        m_current(m_dir.Path()) {}

  void SetPrinter(const std::string& keys) {
    ASSERT_TRUE(WriteFileBytes(m_state, std::string("[") + kPrinter + "]\r\n" + keys));
  }
  std::vector<std::string> LoggedCalls() const { return Lines(ReadFileBytes(m_log)); }
  void ClearLog() const { ::DeleteFileW(m_log.c_str()); }

  void BindAndOpen() {
    ASSERT_EQ(m_connection.LoadStatusLibrary(), 1);
    ASSERT_EQ(m_connection.OpenDevice(kPrinterU16), 1);
    ClearLog();
  }
  void TearDown() override {
    if (m_connection.m_hDevice != nullptr) m_connection.CloseDevice();
    m_connection.FreeStatusLibrary();
  }

  ScopedTempDir m_dir;
  std::wstring m_state;
  std::wstring m_log;
  std::wstring m_settings;
  ScopedEnvironment m_stateVariable;
  ScopedEnvironment m_logVariable;
  ScopedCurrentDirectory m_current;
  DeviceConnection m_connection;
};

TEST_F(DeviceTest, BindsTheInstalledLibraryAndReleasesIt) {
  ASSERT_EQ(m_connection.LoadStatusLibrary(), 1);
  EXPECT_EQ(m_connection.m_hStatusLib.Get(), ::GetModuleHandleW(InstalledStatusLibraryPath().c_str()));
  EXPECT_NE(m_connection.m_pfnOpenPrinter, nullptr);
  EXPECT_NE(m_connection.m_pfnClosePrinter, nullptr);
  EXPECT_NE(m_connection.m_pfnDeviceRequest, nullptr);
  EXPECT_EQ(m_connection.FreeStatusLibrary(), 1);
  EXPECT_EQ(m_connection.m_hStatusLib.Get(), nullptr);
  EXPECT_FALSE(IsStatusLibraryLoaded());
  EXPECT_EQ(m_connection.FreeStatusLibrary(), 1);  // nothing left to release
}

TEST_F(DeviceTest, BindingFailsWithoutTheLibraryFile) {
  ScopedStatusLibraryReplacement none(L"");
  ASSERT_TRUE(none.Moved());
  EXPECT_EQ(m_connection.LoadStatusLibrary(), 0);
  EXPECT_EQ(m_connection.m_hStatusLib.Get(), nullptr);
}

TEST_F(DeviceTest, BindingFailsAndUnloadsWhenAnEntryPointIsMissing) {
  ScopedStatusLibraryReplacement variant(NoRequestLibraryPath());
  ASSERT_TRUE(variant.Moved());
  EXPECT_EQ(m_connection.LoadStatusLibrary(), 0);
  EXPECT_EQ(m_connection.m_hStatusLib.Get(), nullptr);
  EXPECT_FALSE(IsStatusLibraryLoaded());
  // The device calls refuse rather than go through what was bound.
  EXPECT_EQ(m_connection.OpenDevice(kPrinterU16), 0);
}

TEST_F(DeviceTest, OpenFailsForAFailingOrUnknownPrinter) {
  SetPrinter("Fail=open\r\n");
  ASSERT_EQ(m_connection.LoadStatusLibrary(), 1);
  EXPECT_EQ(m_connection.OpenDevice(kPrinterU16), 0);
  EXPECT_EQ(m_connection.OpenDevice(u"No Such Printer"), 0);
  EXPECT_EQ(m_connection.m_hDevice, nullptr);
  EXPECT_EQ(LoggedCalls(),
            (std::vector<std::string>{"open name=Kelva LP-100 reserved=0,0 -> 0 handle=0",
                                      "open name=No Such Printer reserved=0,0 -> 0 handle=0"}));
}

TEST_F(DeviceTest, FailedCloseKeepsTheHandleUntilTheNextOpen) {
  ASSERT_TRUE(WriteFileBytes(m_state, "[Stuck]\r\nFail=close\r\n[Kelva LP-100]\r\nMajor=0\r\n"));
  ASSERT_EQ(m_connection.LoadStatusLibrary(), 1);
  ASSERT_EQ(m_connection.OpenDevice(u"Stuck"), 1);
  void* const stuck = m_connection.m_hDevice;
  EXPECT_EQ(m_connection.CloseDevice(), 0);
  EXPECT_EQ(m_connection.m_hDevice, stuck);
  ASSERT_EQ(m_connection.OpenDevice(kPrinterU16), 1);
  EXPECT_NE(m_connection.m_hDevice, stuck);
  EXPECT_EQ(m_connection.CloseDevice(), 1);
  EXPECT_EQ(m_connection.m_hDevice, nullptr);
}

TEST_F(DeviceTest, RequestsCarryTheExactBytesAndTheWriteIsStored) {
  SetPrinter("Major=1\r\nMinor=5\r\nTimerCode=0x8003\r\n");
  ASSERT_TRUE(WriteFileBytes(m_settings, "[SUPPORT_DEVICE]\r\nKelva LP-100 Driver=01.05\r\n"));
  BindAndOpen();

  PrinterSession session(m_connection, MinimumsFromSettingsFile(SettingsFilePath()));
  EXPECT_EQ(session.CheckFirmware(ToU16(kDriver)).outcome, SessionOutcome::Done);
  std::uint16_t code = 0;
  ASSERT_EQ(ReadTimerCode(m_connection, code), 1);
  EXPECT_EQ(code, 0x8003);
  ASSERT_EQ(WriteTimerCode(m_connection, 0x0001), 1);
  ASSERT_EQ(ReadTimerCode(m_connection, code), 1);
  EXPECT_EQ(code, 0x0001);

  const std::string handle = std::to_string(reinterpret_cast<std::uintptr_t>(m_connection.m_hDevice));
  const std::string read = "request handle=" + handle +
                           " code=11 inlen=12 out=yes cap=2 count=0 in=1C0000000000000000000000 -> 1";
  EXPECT_EQ(LoggedCalls(),
            (std::vector<std::string>{
                "request handle=" + handle + " code=22 inlen=0 out=yes cap=32768 count=0 in=- -> 1",
                read,
                "request handle=" + handle +
                    " code=12 inlen=16 out=no cap=0 count=null in=1C000000000000000000000001000000 -> 1",
                read}));
  EXPECT_NE(ReadFileBytes(m_state).find("TimerCode=0x0001"), std::string::npos);
}

TEST_F(DeviceTest, UncheckedPowerOffWritesBit15) {
  SetPrinter("TimerCode=1\r\n");
  BindAndOpen();
  ASSERT_EQ(WriteTimerCode(m_connection, PowerOffTimer::OfChoice(0, false).Encode()), 1);
  ASSERT_EQ(LoggedCalls().size(), 1u);
  EXPECT_NE(LoggedCalls()[0].find("in=1C000000000000000000000001800000"), std::string::npos);
}

TEST_F(DeviceTest, FailingReadAndWriteReportFailure) {
  SetPrinter("Fail=read,write\r\n");
  BindAndOpen();
  std::uint16_t code = 0;
  EXPECT_EQ(ReadTimerCode(m_connection, code), 0);
  EXPECT_EQ(WriteTimerCode(m_connection, 0x0002), 0);
  EXPECT_EQ(ReadFileBytes(m_state).find("TimerCode"), std::string::npos);
}

TEST_F(DeviceTest, FirmwareGateUsesTheSettingsFileOfTheLaunchDirectory) {
  struct Case {
    const char* printer;
    const char* settings;  // nullptr: no settings file
    int passes;
  } const cases[] = {
      {"Major=0\r\nMinor=9\r\n", nullptr, 1},
      {"Major=1\r\nMinor=0\r\n", nullptr, 0},
      {"Major=1\r\nMinor=0\r\n", "[SUPPORT_DEVICE]\r\nOther=09.00\r\n", 1},
      {"Major=1\r\nMinor=4\r\n", "[SUPPORT_DEVICE]\r\nKelva LP-100 Driver=01.05\r\n", 0},
      {"Major=1\r\nMinor=4\r\n", "[SUPPORT_DEVICE]\r\nKelva LP-100 Driver=01.04\r\n", 1},
      {"Major=1\r\nMinor=4\r\n", "[SUPPORT_DEVICE]\r\nKelva LP-100 Driver=1.0\r\n", 0},
      {"Major=0\r\nMinor=9\r\nFail=version\r\n", nullptr, 0},
      {"Major=0\r\nMinor=9\r\nVersionLength=9\r\n", nullptr, 0},
      {"Major=0\r\nMinor=9\r\nReportedLength=40000\r\n", nullptr, 0},
  };
  ASSERT_EQ(m_connection.LoadStatusLibrary(), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.printer) + (c.settings ? c.settings : "(no settings)"));
    SetPrinter(c.printer);
    if (c.settings) {
      ASSERT_TRUE(WriteFileBytes(m_settings, c.settings));
    } else {
      ::DeleteFileW(m_settings.c_str());
    }
    ASSERT_EQ(m_connection.OpenDevice(kPrinterU16), 1);
    PrinterSession session(m_connection, MinimumsFromSettingsFile(SettingsFilePath()));
    EXPECT_EQ(session.CheckFirmware(ToU16(kDriver)).outcome == SessionOutcome::Done, c.passes == 1);
    EXPECT_EQ(m_connection.CloseDevice(), 1);
  }
}

TEST_F(DeviceTest, TeardownClosesALeftHandleOnlyWhileTheLibraryIsBound) {
  SetPrinter("Major=1\r\n");
  ASSERT_EQ(m_connection.LoadStatusLibrary(), 1);
  {
    // Teardown releases no library, so this one borrows the fixture's binding.
    DeviceConnection connection;
    connection.m_hStatusLib.Reset(m_connection.m_hStatusLib.Get());
    connection.m_pfnOpenPrinter = m_connection.m_pfnOpenPrinter;
    connection.m_pfnClosePrinter = m_connection.m_pfnClosePrinter;
    connection.m_pfnDeviceRequest = m_connection.m_pfnDeviceRequest;
    ASSERT_EQ(connection.OpenDevice(kPrinterU16), 1);
    ClearLog();
  }
  EXPECT_EQ(LoggedCalls(), std::vector<std::string>{"close handle=1 -> 1"});
  ASSERT_EQ(m_connection.FreeStatusLibrary(), 1);
  ClearLog();
  {
    DeviceConnection connection;
    ASSERT_EQ(connection.LoadStatusLibrary(), 1);
    ASSERT_EQ(connection.OpenDevice(kPrinterU16), 1);
    ASSERT_EQ(connection.FreeStatusLibrary(), 1);
    ASSERT_FALSE(IsStatusLibraryLoaded());
    EXPECT_NE(connection.m_hDevice, nullptr);
  }
  const std::vector<std::string> calls = LoggedCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].rfind("open ", 0), 0u);
}

// The vendor's library is built with another compiler, whose C++ exceptions
// are structured exceptions 0xE06D7363 (Raise), as are its delay-load failures
// (RaiseCode). Our own compiler's exception (Throw) reaches the guard only
// through the 64-bit unwinder: the 32-bit library's own runtime ends the
// process before any frame of ours is asked.
TEST_F(DeviceTest, TeardownSwallowsAnExceptionFromTheLibrarysClose) {
  std::vector<std::pair<std::string, std::string>> faults = {
      {"Raise=close\r\n", "raise 0xE06D7363"},
      {"Raise=close\r\nRaiseCode=0xC06D007E\r\n", "raise 0xC06D007E"}};
#if defined(_WIN64)
  faults.push_back({"Throw=close\r\n", ""});
#endif
  for (const auto& [fault, raised] : faults) {
    SCOPED_TRACE(fault);
    SetPrinter(fault);
    ASSERT_EQ(m_connection.LoadStatusLibrary(), 1);
    {
      DeviceConnection connection;
      connection.m_hStatusLib.Reset(m_connection.m_hStatusLib.Get());
      connection.m_pfnClosePrinter = m_connection.m_pfnClosePrinter;
      connection.m_pfnOpenPrinter = m_connection.m_pfnOpenPrinter;
      ASSERT_EQ(connection.OpenDevice(kPrinterU16), 1);
      ClearLog();
      EXPECT_EQ(connection.CloseDevice(), 0);
      EXPECT_NE(connection.m_hDevice, nullptr);
    }
    // Raised twice, by the close and by the teardown; neither returned to log.
    const std::vector<std::string> expected =
        raised.empty() ? std::vector<std::string>{} : std::vector<std::string>{raised, raised};
    EXPECT_EQ(LoggedCalls(), expected);
    ASSERT_EQ(m_connection.FreeStatusLibrary(), 1);
  }
}

}  // namespace
}  // namespace somv
