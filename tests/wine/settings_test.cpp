#include "settings/settings_win.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/wine/support/scoped_files.h"

namespace somv {
namespace {

using test::ScopedCurrentDirectory;
using test::ScopedTempDir;
using test::Utf16LeWithBom;
using test::WriteFileBytes;

// A launch directory (the current one) that holds the settings file.
class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_cd.Moved()); }
  void Write(std::string_view bytes) { ASSERT_TRUE(WriteFileBytes(m_dir.PathOf(L"ZELV4PO.INI"), bytes)); }

  ScopedTempDir m_dir;
  ScopedCurrentDirectory m_cd{m_dir.Path()};
};

TEST_F(SettingsFile, PathIsInTheLaunchDirectory) {
  EXPECT_EQ(SettingsFilePath(), m_dir.PathOf(L"ZELV4PO.INI"));
  EXPECT_FALSE(FileExists(SettingsFilePath()));
  Write("");
  EXPECT_TRUE(FileExists(SettingsFilePath()));
  EXPECT_FALSE(FileExists(L""));
}

TEST_F(SettingsFile, DiagnosticModeIsOnExactlyWhenDebugUIReadsAsOne) {
  struct Case {
    std::string contents;
    bool enabled;
  } const cases[] = {
      {"[Debug]\r\nDebugUI=1\r\n", true},
      {"[Debug]\r\nDebugUI=01\r\n", true},
      {"[Debug]\nDebugUI=1\n", true},
      {"[debug]\r\ndebugui=1\r\n", true},
      {"[DEBUG]\r\nDEBUGUI=1", true},
      {"[Other]\r\nx=y\r\n[Debug]\r\nDebugUI=1\r\n[More]\r\n", true},
      {Utf16LeWithBom(u"[Debug]\r\nDebugUI=1\r\n"), true},
      {"[Debug]\r\nDebugUI=0\r\n", false},
      {"[Debug]\r\nDebugUI=2\r\n", false},
      {"[Debug]\r\nDebugUI=-1\r\n", false},
      {"[Debug]\r\nDebugUI=11\r\n", false},
      {"[Debug]\r\nDebugUI=abc\r\n", false},
      {"[Debug]\r\nDebugUI=\r\n", false},
      {"[Debug]\r\nOther=1\r\n", false},
      {"[Other]\r\nDebugUI=1\r\n", false},
      {"", false},
      {std::string("\xFF\xD8\x00\x01\x80\x81\x82\x83junk\x00\x1A", 14), false},
  };
  for (const Case& c : cases) {
    Write(c.contents);
    EXPECT_EQ(IsDebugUIEnabled(), c.enabled) << "settings #" << (&c - cases);
  }
}

TEST_F(SettingsFile, NoFileMeansNoDiagnosticMode) { EXPECT_FALSE(IsDebugUIEnabled()); }

TEST_F(SettingsFile, SupportEntriesAreMatchedWithoutRegardToCase) {
  Write("[support_device]\r\nkelva lp-100=01.05\r\nKelva Empty=\r\n");
  const std::wstring path = SettingsFilePath();
  EXPECT_EQ(ReadSupportDeviceEntry(path, L"Kelva LP-100"), L"01.05");
  EXPECT_EQ(ReadSupportDeviceEntry(path, L"KELVA LP-100"), L"01.05");
  EXPECT_EQ(ReadSupportDeviceEntry(path, L"Kelva Empty"), L"");
  EXPECT_EQ(ReadSupportDeviceEntry(path, L"Kelva Missing"), L"");
}

TEST_F(SettingsFile, AnEmptyDriverNameIsNeverSupported) {
  // Without a key the profile reader would hand back every key of the section.
  Write("[SUPPORT_DEVICE]\r\nKelva LP-100=01.00\r\n");
  EXPECT_EQ(ReadSupportDeviceEntry(SettingsFilePath(), L""), L"");
}

TEST_F(SettingsFile, LongValuesAreCutTo127Units) {
  const std::string value(300, 'v');
  Write("[SUPPORT_DEVICE]\r\nKelva LP-100=" + value + "\r\n");
  EXPECT_EQ(ReadSupportDeviceEntry(SettingsFilePath(), L"Kelva LP-100"), std::wstring(127, L'v'));
}

TEST_F(SettingsFile, UnicodeFilesHoldDriverNamesOutsideTheBasicPlane) {
  Write(Utf16LeWithBom(u"[SUPPORT_DEVICE]\r\nKelva \U0001F5A8 LP=02.00\r\n"));
  EXPECT_EQ(ReadSupportDeviceEntry(SettingsFilePath(), L"Kelva \U0001F5A8 LP"), L"02.00");
}

TEST_F(SettingsFile, AMissingFileSupportsNothing) {
  EXPECT_EQ(ReadSupportDeviceEntry(SettingsFilePath(), L"Kelva LP-100"), L"");
}

}  // namespace
}  // namespace somv
