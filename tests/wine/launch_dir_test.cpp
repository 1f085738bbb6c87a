#include "app/launch_dir_win.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/settings_win.h"
#include "tests/wine/support/scoped_files.h"

namespace somv {
namespace {

using test::ScopedCurrentDirectory;
using test::ScopedTempDir;
using test::WriteFileBytes;

// A directory of exactly `length` units under `base`, made of nested parts.
std::wstring MakeDirectoryOfLength(const std::wstring& base, std::size_t length) {
  std::wstring path = base;
  while (path.size() < length) {
    const std::size_t part = std::min<std::size_t>(100, length - path.size() - 1);
    path += L"\\" + std::wstring(part, L'd');
    if (!::CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr)) return {};
  }
  return path;
}

TEST(LaunchDirectory, TheTestProgramIsNoTemporaryCopy) { EXPECT_FALSE(IsRunningFromTempCopy()); }

TEST(LaunchDirectory, FilesAreLookedUpInTheCurrentDirectory) {
  ScopedTempDir dir;
  ScopedCurrentDirectory cd(dir.Path());
  ASSERT_TRUE(cd.Moved());
  EXPECT_EQ(GetLaunchFilePath(L"ZELV4PO.INI"), dir.PathOf(L"ZELV4PO.INI"));
}

TEST(LaunchDirectory, ADirectoryEndingInABackslashGetsNoSecondOne) {
  wchar_t windows[MAX_PATH] = {};
  ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 2u);
  const std::wstring root(windows, 3);  // "C:\"
  ScopedCurrentDirectory cd(root);
  ASSERT_TRUE(cd.Moved());
  EXPECT_EQ(GetLaunchFilePath(L"ZELV4PO.INI"), root + L"ZELV4PO.INI");
}

TEST(LaunchDirectory, APathThatWouldNotFitNamesNoFile) {
  ScopedTempDir dir;
  const std::wstring name = L"ZELV4PO.INI";
  // Directory, backslash, name and terminator fill 260 units exactly.
  const std::wstring fits = MakeDirectoryOfLength(dir.Path(), 260 - 1 - name.size() - 1);
  ASSERT_FALSE(fits.empty());
  const std::wstring tooLong = MakeDirectoryOfLength(fits, fits.size() + 2);
  ASSERT_FALSE(tooLong.empty());
  ASSERT_TRUE(WriteFileBytes(L"\\\\?\\" + tooLong + L"\\" + name, "[Debug]\r\nDebugUI=1\r\n"));

  {
    ScopedCurrentDirectory cd(fits);
    ASSERT_TRUE(cd.Moved());
    EXPECT_EQ(GetLaunchFilePath(name), fits + L"\\" + name);
  }
  ScopedCurrentDirectory cd(tooLong);
  if (!cd.Moved()) GTEST_SKIP() << "this system refuses a current directory of " << tooLong.size() << " units";
  EXPECT_EQ(GetLaunchFilePath(name), L"");
  EXPECT_FALSE(FileExists(SettingsFilePath()));
  EXPECT_FALSE(IsDebugUIEnabled());
}

}  // namespace
}  // namespace somv
