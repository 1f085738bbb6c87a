#include "settings/launch_dir_win.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/names.h"
#include "common/unique_handle_win.h"
#include "common/win_text.h"
#include "settings/settings_win.h"
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

// Points the temporary directory of every process started meanwhile at `dir`.
class ScopedTempEnvironment {
 public:
  explicit ScopedTempEnvironment(const std::wstring& dir) : m_tmp(Get(L"TMP")), m_temp(Get(L"TEMP")) {
    ::SetEnvironmentVariableW(L"TMP", dir.c_str());
    ::SetEnvironmentVariableW(L"TEMP", dir.c_str());
  }
  ~ScopedTempEnvironment() {
    Restore(L"TMP", m_tmp);
    Restore(L"TEMP", m_temp);
  }

 private:
  static std::wstring Get(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
    return length < MAX_PATH ? value : L"";
  }
  static void Restore(const wchar_t* name, const std::wstring& value) {
    ::SetEnvironmentVariableW(name, value.empty() ? nullptr : value.c_str());
  }
  std::wstring m_tmp;
  std::wstring m_temp;
};

std::wstring ProbeProgram() {
  wchar_t self[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"launch_probe.exe";
}

struct ProbeReport {
  bool ran = false;
  std::wstring tempCopy;
  std::wstring settingsPath;
};

// Runs the probe from `program` in `currentDir`, with `tempDir` as the
// temporary directory.
ProbeReport RunProbe(const std::wstring& program, const std::wstring& currentDir, const std::wstring& tempDir,
                     const std::wstring& reportFile) {
  ProbeReport report;
  if (!::CopyFileW(ProbeProgram().c_str(), program.c_str(), FALSE)) return report;
  ScopedTempEnvironment temp(tempDir);
  std::wstring commandLine = L"\"" + program + L"\" \"" + reportFile + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentDir.c_str(), &startup, &process)) {
    return report;
  }
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  DWORD exitCode = 1;
  if (::WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0 ||
      !::GetExitCodeProcess(process.hProcess, &exitCode) || exitCode != 0) {
    return report;
  }
  std::ifstream in(std::filesystem::path(reportFile), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  const std::size_t lineBreak = text.find(L'\n');
  if (lineBreak == std::wstring::npos) return report;
  report.ran = true;
  report.tempCopy = text.substr(0, lineBreak);
  report.settingsPath = text.substr(lineBreak + 1);
  return report;
}

TEST(LaunchDirectory, TheTemporaryCopyUsesItsOwnDirectory) {
  const std::wstring program = ToWide(ThisBuild().program);
  std::wstring lowerCase = program;
  std::transform(lowerCase.begin(), lowerCase.end(), lowerCase.begin(), ::towlower);
  ScopedTempDir temp;
  ScopedTempDir elsewhere;
  ScopedTempDir current;
  struct Case {
    std::wstring program;
    std::wstring tempCopy;
    std::wstring settingsPath;
  } const cases[] = {
      {temp.PathOf(program), L"1", temp.PathOf(L"ZELV4PO.INI")},
      {temp.PathOf(lowerCase), L"1", temp.PathOf(L"ZELV4PO.INI")},
      {temp.PathOf(L"RENAMED.EXE"), L"0", current.PathOf(L"ZELV4PO.INI")},
      {elsewhere.PathOf(program), L"0", current.PathOf(L"ZELV4PO.INI")},
  };
  for (const Case& c : cases) {
    const ProbeReport report = RunProbe(c.program, current.Path(), temp.Path(), elsewhere.PathOf(L"report.bin"));
    ASSERT_TRUE(report.ran) << "case #" << (&c - cases);
    EXPECT_EQ(report.tempCopy, c.tempCopy) << "case #" << (&c - cases);
    EXPECT_EQ(report.settingsPath, c.settingsPath) << "case #" << (&c - cases);
    ::DeleteFileW(c.program.c_str());
  }
}

}  // namespace
}  // namespace somv
