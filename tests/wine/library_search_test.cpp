// Where libraries loaded on demand come from, with the system's two search
// functions replaced, as on systems with and without the library loading
// update.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/library_search_win.h"
#include "common/unique_handle_win.h"
#include "tests/wine/support/scoped_files.h"

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

using FoundDependencyFunction = int (*)();

constexpr int kGenuineDependency = 1;

// A copy of the needed library in the program's folder, where the temporary
// directory of an elevated start would be, for the length of a test.
class PlantedDependency {
 public:
  PlantedDependency() : m_path(test::TestProgramDirectory() + L"somvdep.dll") {
    m_planted = ::CopyFileW((test::TestProgramDirectory() + L"fixtures\\planted\\somvdep.dll").c_str(),
                            m_path.c_str(), FALSE) != FALSE;
  }
  ~PlantedDependency() { ::DeleteFileW(m_path.c_str()); }
  PlantedDependency(const PlantedDependency&) = delete;
  PlantedDependency& operator=(const PlantedDependency&) = delete;

  bool Planted() const { return m_planted; }

 private:
  std::wstring m_path;
  bool m_planted = false;
};

TEST(LibrarySearch, ALibraryByFullPathTakesItsDependenciesFromItsOwnFolderNeverFromTheProgramsFolder) {
  const PlantedDependency planted;
  ASSERT_TRUE(planted.Planted());
  const std::wstring library = test::TestProgramDirectory() + L"fixtures\\genuine\\somvneeds.dll";
  struct Case {
    const char* what;
    bool searchFlagsKnown;
  } const cases[] = {
      {"with the library loading update", true},
      {"without it", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(::GetModuleHandleW(L"somvdep.dll"), nullptr) << "left loaded by an earlier case";
    UniqueModule module(LoadLibraryByFullPath(
        library, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32, c.searchFlagsKnown));
    ASSERT_TRUE(module);
    const auto found = BoundExport<FoundDependencyFunction>(module.Get(), "SomvFoundDependency");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found(), kGenuineDependency);
  }
}

}  // namespace
}  // namespace somv
