#include "device/device_requests.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "device/device_connection.h"
#include "device/printer_session.h"
#include "device/status_library_path.h"

namespace somv {
namespace {

TEST(TimerBlocks, AreLittleEndianWithSelector28AndTheCodeAtOffset12) {
  EXPECT_EQ(MakeReadTimerBlock(), (ReadTimerBlock{0x1C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(MakeWriteTimerBlock(0x0001),
            (WriteTimerBlock{0x1C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x00, 0, 0}));
  EXPECT_EQ(MakeWriteTimerBlock(0x8001),
            (WriteTimerBlock{0x1C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x80, 0, 0}));
}

TEST(FirmwareVersionText, HasTwoDigitsAtLeastOnEachSide) {
  EXPECT_EQ(FirmwareVersionText(0, 9), u"00.09");
  EXPECT_EQ(FirmwareVersionText(1, 5), u"01.05");
  EXPECT_EQ(FirmwareVersionText(100, 0), u"100.00");
  EXPECT_EQ(FirmwareVersionText(255, 255), u"255.255");
}

struct GateCase {
  const char16_t* version;
  bool settingsExist;
  const char16_t* minimum;
  bool passes;
  bool consulted;
};

TEST(FirmwareGate, ComparesTextOrdinallyAndReadsSettingsOnlyFrom0100Up) {
  const GateCase cases[] = {
      {u"00.09", false, u"", true, false},
      {u"00.99", true, u"99.99", true, false},
      {u"01.00", true, u"", true, true},  // no entry for the driver
      {u"01.00", false, u"", false, true},
      {u"01.04", true, u"01.05", false, true},
      {u"01.04", true, u"01.04", true, true},
      {u"01.04", true, u"01.03", true, true},
      {u"01.04", true, u"1.0", false, true},
      {u"02.00", true, u"01.99", true, true},
      {u"100.00", true, u"01.00", true, true},
      {u"100.00", true, u"2", false, true},
  };
  for (const GateCase& c : cases) {
    SCOPED_TRACE(std::string(c.version, c.version + std::char_traits<char16_t>::length(c.version)) +
                 " vs " +
                 std::string(c.minimum, c.minimum + std::char_traits<char16_t>::length(c.minimum)));
    bool consulted = false;
    const bool passes = FirmwareGatePasses(c.version, u"D", [&](const std::u16string&) {
      consulted = true;
      return c.settingsExist ? std::optional<std::u16string>(c.minimum) : std::nullopt;
    });
    EXPECT_EQ(passes, c.passes);
    EXPECT_EQ(consulted, c.consulted);
  }
}

// Records every request and answers from a scripted reply.
struct ScriptedLibrary {
  std::int32_t result = 1;
  std::vector<std::uint8_t> reply;
  std::uint32_t reportedLength = 0;
  std::uint32_t code = 0;
  std::vector<std::uint8_t> input;
  bool inputNull = false;
  void* output = nullptr;
  std::uint32_t capacity = 0;
  std::uint32_t* count = nullptr;
  std::uint32_t countOnEntry = 0xFFFFFFFF;
};
ScriptedLibrary* g_library = nullptr;

std::int32_t SOMV_STATUS_API ScriptedRequest(void*, std::uint32_t code, const void* input,
                                             std::uint32_t inputLength, void* output,
                                             std::uint32_t capacity, std::uint32_t* count) {
  ScriptedLibrary& lib = *g_library;
  lib.code = code;
  lib.inputNull = input == nullptr;
  const auto* in = static_cast<const std::uint8_t*>(input);
  lib.input.assign(in, in + (input != nullptr ? inputLength : 0));
  lib.output = output;
  lib.capacity = capacity;
  lib.count = count;
  if (count != nullptr) lib.countOnEntry = *count;
  if (lib.result != 0 && output != nullptr) {
    std::memcpy(output, lib.reply.data(), std::min<std::size_t>(lib.reply.size(), capacity));
  }
  if (count != nullptr) *count = lib.reportedLength;
  return lib.result;
}

bool GatePasses(DeviceConnection& connection, MinimumFirmwareReader readMinimum) {
  PrinterSession session(connection, std::move(readMinimum));
  return session.CheckFirmware(u"Kelva LP-100 Driver").outcome == SessionOutcome::Done;
}

class DeviceRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_library = &library;
    static char module;
    connection.m_hStatusLib.Reset(reinterpret_cast<HINSTANCE__*>(&module));
    connection.m_pfnDeviceRequest = ScriptedRequest;
    connection.m_hDevice = reinterpret_cast<void*>(1);
  }
  void TearDown() override { g_library = nullptr; }

  void ReplyVersion(std::uint8_t major, std::uint8_t minor, std::size_t length) {
    library.reply.assign(length, 0xEE);
    if (length > 8) library.reply[8] = major;
    if (length > 9) library.reply[9] = minor;
    library.reportedLength = static_cast<std::uint32_t>(length);
  }

  ScriptedLibrary library;
  DeviceConnection connection;
};

TEST_F(DeviceRequestsTest, VersionRequestSends22WithTheFullBufferAndAZeroedCount) {
  ReplyVersion(1, 5, 10);
  std::u16string version;
  ASSERT_EQ(RequestFirmwareVersion(connection, version), 1);
  EXPECT_EQ(version, u"01.05");
  EXPECT_EQ(library.code, 22u);
  EXPECT_TRUE(library.inputNull);
  EXPECT_NE(library.output, nullptr);
  EXPECT_EQ(library.capacity, 32768u);
  ASSERT_NE(library.count, nullptr);
  EXPECT_EQ(library.countOnEntry, 0u);
}

TEST_F(DeviceRequestsTest, VersionReplyOfTheWrongLengthFailsTheRequest) {
  struct Case {
    std::size_t delivered;
    std::uint32_t reported;
    int result;
  } const cases[] = {
      {10, 10, 1}, {32768, 32768, 1}, {9, 9, 0}, {0, 0, 0}, {32768, 32769, 0}, {10, 0xFFFFFFFF, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reported);
    ReplyVersion(2, 0, c.delivered);
    library.reportedLength = c.reported;
    std::u16string version;
    EXPECT_EQ(RequestFirmwareVersion(connection, version), c.result);
    EXPECT_EQ(GatePasses(connection, [](const std::u16string&) { return std::optional<std::u16string>(u""); }),
              c.result == 1);
  }
}

TEST_F(DeviceRequestsTest, GateFailsWhenThePrinterDoesNotAnswer) {
  ReplyVersion(0, 9, 10);
  library.result = 0;
  bool consulted = false;
  EXPECT_FALSE(GatePasses(connection, [&](const std::u16string&) {
    consulted = true;
    return std::optional<std::u16string>(u"");
  }));
  EXPECT_FALSE(consulted);
}

TEST_F(DeviceRequestsTest, GateOutcomeSaysWhyThePrinterWasRefused) {
  struct Case {
    std::int32_t result;
    std::optional<std::u16string> minimum;
    SessionOutcome outcome;
    std::u16string version;
  } const cases[] = {
      {1, u"01.05", SessionOutcome::Done, u"01.05"},
      {1, u"01.06", SessionOutcome::FirmwareTooOld, u"01.05"},
      {1, std::nullopt, SessionOutcome::SettingsMissing, u"01.05"},
      {0, u"", SessionOutcome::FirmwareUnreadable, u""},
  };
  for (const Case& c : cases) {
    ReplyVersion(1, 5, 10);
    library.result = c.result;
    PrinterSession session(connection, [&](const std::u16string& driver) {
      EXPECT_EQ(driver, u"Kelva LP-100 Driver");
      return c.minimum;
    });
    const FirmwareCheck check = session.CheckFirmware(u"Kelva LP-100 Driver");
    EXPECT_EQ(check.outcome, c.outcome);
    EXPECT_EQ(check.version, c.version);
  }
}

TEST_F(DeviceRequestsTest, ReadTimerSends11AndTakesWhatWasWrittenIntoAZeroedCode) {
  library.reply = {0x03, 0x80};
  library.reportedLength = 2;
  std::uint16_t code = 0;
  ASSERT_EQ(ReadTimerCode(connection, code), 1);
  EXPECT_EQ(code, 0x8003);
  EXPECT_EQ(library.code, 11u);
  const ReadTimerBlock block = MakeReadTimerBlock();
  EXPECT_EQ(library.input, std::vector<std::uint8_t>(block.begin(), block.end()));
  EXPECT_NE(library.output, nullptr);
  EXPECT_EQ(library.capacity, 2u);
  ASSERT_NE(library.count, nullptr);
  EXPECT_EQ(library.countOnEntry, 0u);

  // The count need not be set for this request; a reply the library did
  // not write reads as 0, never as the code held before.
  struct Case {
    std::vector<std::uint8_t> delivered;
    std::uint32_t reported;
    std::uint16_t code;
  } const cases[] = {{{0x05, 0x00}, 0, 0x0005}, {{0x05, 0x00}, 3, 0x0005}, {{}, 0, 0x0000}};
  for (const Case& c : cases) {
    library.reply = c.delivered;
    library.reportedLength = c.reported;
    code = 0x8003;
    EXPECT_EQ(ReadTimerCode(connection, code), 1) << c.reported;
    EXPECT_EQ(code, c.code) << c.reported;
  }
  library.result = 0;
  code = 0x8003;
  EXPECT_EQ(ReadTimerCode(connection, code), 0);
  EXPECT_EQ(code, 0x8003);
}

TEST_F(DeviceRequestsTest, WriteTimerSends12WithTheBlockAndNoOutput) {
  ASSERT_EQ(WriteTimerCode(connection, 0x8001), 1);
  EXPECT_EQ(library.code, 12u);
  const WriteTimerBlock block = MakeWriteTimerBlock(0x8001);
  EXPECT_EQ(library.input, std::vector<std::uint8_t>(block.begin(), block.end()));
  EXPECT_EQ(library.output, nullptr);
  EXPECT_EQ(library.capacity, 0u);
  EXPECT_EQ(library.count, nullptr);

  library.result = 0;
  EXPECT_EQ(WriteTimerCode(connection, 0x0001), 0);
}

TEST_F(DeviceRequestsTest, RequestsFailWithoutABoundLibrary) {
  connection.m_hStatusLib.Reset();
  std::uint16_t code = 0;
  std::u16string version;
  EXPECT_EQ(RequestFirmwareVersion(connection, version), 0);
  EXPECT_EQ(ReadTimerCode(connection, code), 0);
  EXPECT_EQ(WriteTimerCode(connection, 1), 0);
  EXPECT_EQ(library.code, 0u);  // never called
}

TEST(StatusLibraryPath, JoinsSubdirectory3AndRefusesAnUnterminatedDirectory) {
  char16_t directory[kDriverDirectoryCapacity] = u"C:\\windows\\system32\\spool\\drivers\\x64";
  EXPECT_EQ(StatusLibraryPath(directory, kDriverDirectoryCapacity, u"ZELV4SMD.DLL"),
            u"C:\\windows\\system32\\spool\\drivers\\x64\\3\\ZELV4SMD.DLL");

  std::fill(std::begin(directory), std::end(directory), u'd');
  directory[0] = u'D';
  directory[1] = u':';
  directory[2] = u'\\';
  EXPECT_EQ(StatusLibraryPath(directory, kDriverDirectoryCapacity, u"ZELV4SMD.DLL"), u"");
  directory[kDriverDirectoryCapacity - 1] = u'\0';  // 127 units: the longest that fits
  EXPECT_EQ(StatusLibraryPath(directory, kDriverDirectoryCapacity, u"ZELV4SMD.DLL").size(),
            127u + 3u + 12u);
  EXPECT_EQ(StatusLibraryPath(directory, kDriverDirectoryCapacity, std::u16string(130, u'f')), u"");
}

// Only a drive's or a share's path names one place; anything else would be
// searched for, the current directory among the places.
TEST(StatusLibraryPath, TakesOnlyADirectoryOnADriveOrAShare) {
  struct Case {
    std::u16string directory;
    bool taken;
  } const cases[] = {
      {u"C:\\windows\\system32\\spool\\drivers\\x64", true},
      {u"\\\\printhost\\print$\\x64", true},
      {u"", false},
      {u"drivers\\x64", false},
      {u"\\windows\\system32\\spool\\drivers\\x64", false},
      {u"C:drivers\\x64", false},
      {u"C:/windows/system32", false},
      {u"\\\\printhost", false},
      {u"\\\\\\share", false},
      {u"\\\\.\\C:\\drivers", false},
      {u"\\\\?\\C:\\drivers", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.directory.begin(), c.directory.end()));
    const std::u16string path = StatusLibraryPath(c.directory.c_str(), c.directory.size() + 1, u"ZELV4SMD.DLL");
    EXPECT_EQ(path.empty(), !c.taken);
  }
}

}  // namespace
}  // namespace somv
