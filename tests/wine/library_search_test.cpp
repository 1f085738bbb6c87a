// Where libraries loaded on demand come from, with the system's two search
// functions replaced, as on systems with and without the library loading
// update.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/library_search_win.h"

namespace somv {
namespace {

std::vector<std::wstring> g_calls;
BOOL g_setDefaultResult = TRUE;

BOOL WINAPI FakeSetDefaultDllDirectories(DWORD flags) {
  g_calls.push_back(L"default " + std::to_wstring(flags));
  return g_setDefaultResult;
}

BOOL WINAPI FakeSetDllDirectory(LPCWSTR directory) {
  g_calls.push_back(directory == nullptr ? L"directory null" : L"directory '" + std::wstring(directory) + L"'");
  return TRUE;
}

TEST(LibrarySearch, TheSystemFolderAloneWhereTheSystemCanOtherwiseNoCurrentDirectory) {
  struct Case {
    const char* what;
    SetDefaultDllDirectoriesFunction setDefault;
    BOOL setDefaultResult;
    bool systemFolderOnly;
    std::vector<std::wstring> calls;
  } const cases[] = {
      {"with the update", FakeSetDefaultDllDirectories, TRUE, true, {L"default 2048"}},
      {"without it", nullptr, TRUE, false, {L"directory ''"}},
      {"refused", FakeSetDefaultDllDirectories, FALSE, false, {L"default 2048", L"directory ''"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_calls.clear();
    g_setDefaultResult = c.setDefaultResult;
    EXPECT_EQ(RestrictLibrarySearch(c.setDefault, FakeSetDllDirectory), c.systemFolderOnly);
    EXPECT_EQ(g_calls, c.calls);
  }
}

}  // namespace
}  // namespace somv
