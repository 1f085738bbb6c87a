// Whole-process runs of the relaunch: relaunch_probe.exe, copied under the
// program's name, relaunches itself from a private temporary directory and
// reports from both processes (see relaunch_probe.cpp).
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/relaunch_win.h"
#include "common/names.h"
#include "common/unique_handle_win.h"
#include "common/win_text.h"
#include "common/wow64_win.h"
#include "resources/resource_ids.h"
#include "tests/wine/support/scoped_environment.h"
#include "tests/wine/support/scoped_files.h"

namespace somv {
namespace {

using test::ReadFileBytes;
using test::ScopedEnvironment;
using test::WriteFileBytes;

using Report = std::map<std::wstring, std::wstring>;

constexpr DWORD kWaitMilliseconds = 60000;

const std::wstring kProgram = WidePtr(ThisBuild().program);
const std::wstring kSettings = WidePtr(kSettingsFileName);
const std::wstring kLibrary = WidePtr(ThisBuild().resourceLibrary);

std::wstring ProbePath() { return test::TestProgramDirectory() + L"relaunch_probe.exe"; }
std::wstring RacerPath() { return test::TestProgramDirectory() + L"relaunch_racer.exe"; }

bool SamePath(const std::wstring& left, const std::wstring& right) {
  return ::lstrcmpiW(left.c_str(), right.c_str()) == 0;
}

std::vector<std::wstring> FileNames(const std::wstring& directory, const wchar_t* pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((directory + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

// A fresh directory tree per test, gone afterwards:
//   bin\      the program as started
//   start\    its current directory, holding the companion files
//   temp\     its temporary directory
//   reports\  what the probe's processes report
class RelaunchScratch {
 public:
  explicit RelaunchScratch(const std::wstring& tempName = L"temp") {
    static int counter = 0;
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    // Unique across runs too: the system's list of deletions at restart keeps
    // the paths of earlier runs, and Wine reuses process ids.
    m_root = std::wstring(base) + L"somv-relaunch-" + std::to_wstring(::GetCurrentProcessId()) +
             L"-" + std::to_wstring(::GetTickCount64()) + L"-" + std::to_wstring(++counter) + L"\\";
    m_temp = m_root + tempName + L"\\";
    for (const std::wstring& directory : {m_root, Bin(), Start(), m_temp, Reports()}) {
      ::CreateDirectoryW(directory.c_str(), nullptr);
    }
    ::CopyFileW(ProbePath().c_str(), (Bin() + kProgram).c_str(), FALSE);
    EXPECT_TRUE(WriteFileBytes(Start() + kSettings, "[Debug]\r\nDebugUI=0\r\n; fresh settings\r\n"));
    EXPECT_TRUE(WriteFileBytes(Start() + kLibrary, "fresh library"));
  }
  ~RelaunchScratch() {
    test::RemoveTree(m_root);
    if (!m_elsewhere.empty()) test::RemoveTree(m_elsewhere);
  }

  // `directory`, with its trailing backslash, as the temporary directory
  // instead: made if need be, and removed afterwards when it was.
  void TakeTempElsewhere(const std::wstring& directory) {
    m_temp = directory;
    if (::CreateDirectoryW(directory.c_str(), nullptr)) m_elsewhere = directory;
  }

  const std::wstring& Root() const { return m_root; }
  std::wstring Bin() const { return m_root + L"bin\\"; }
  std::wstring Start() const { return m_root + L"start\\"; }
  const std::wstring& Temp() const { return m_temp; }
  std::wstring Reports() const { return m_root + L"reports\\"; }

 private:
  std::wstring m_root;
  std::wstring m_temp;
  std::wstring m_elsewhere;
};


Report ParseReport(const std::wstring& path) {
  const std::string bytes = ReadFileBytes(path);
  const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()),
                          bytes.size() / sizeof(wchar_t));
  Report report;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = text.substr(start, end - start);
    const std::size_t equals = line.find(L'=');
    if (equals != std::wstring::npos) report[line.substr(0, equals)] = line.substr(equals + 1);
    start = end + 1;
  }
  return report;
}

std::vector<Report> Reports(const RelaunchScratch& scratch, const wchar_t* role) {
  std::vector<Report> reports;
  for (const std::wstring& name : FileNames(scratch.Reports(), (std::wstring(role) + L"-*.txt").c_str())) {
    reports.push_back(ParseReport(scratch.Reports() + name));
  }
  return reports;
}

void WaitForProcess(DWORD processId) {
  UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (process) ::WaitForSingleObject(process.Get(), kWaitMilliseconds);
}

// The copy runs on after the program as started has ended; its report is
// awaited and then the copy itself, so that its files can be removed.
std::vector<Report> AwaitCopyReports(const RelaunchScratch& scratch) {
  for (DWORD waited = 0; waited < kWaitMilliseconds; waited += 100) {
    std::vector<Report> copies = Reports(scratch, L"copy");
    if (!copies.empty()) {
      for (const Report& copy : copies) WaitForProcess(std::stoul(copy.at(L"pid")));
      return copies;
    }
    ::Sleep(100);
  }
  return {};
}

// Runs the program as started from bin\ with start\ as its current directory
// and temp\ as its temporary directory, with the probe's `fault` if any;
// `whileSuspended`, if given, runs between the program's creation and its
// first instruction. Returns its own report.
Report RunProgram(const RelaunchScratch& scratch, const wchar_t* fault = L"",
                  const std::function<void()>& whileSuspended = nullptr) {
  ScopedEnvironment tmp(L"TMP", scratch.Temp());
  ScopedEnvironment temp(L"TEMP", scratch.Temp());
  ScopedEnvironment reports(L"SOMV_PROBE_REPORTS", scratch.Reports());
  ScopedEnvironment faults(L"SOMV_PROBE_FAULT", fault);

  const std::wstring program = scratch.Bin() + kProgram;
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        whileSuspended ? CREATE_SUSPENDED : 0, nullptr, scratch.Start().c_str(), &startup, &info)) {
    ADD_FAILURE() << "the program did not start: " << ::GetLastError();
    return {};
  }
  UniqueKernelHandle process(info.hProcess);
  UniqueKernelHandle thread(info.hThread);
  if (whileSuspended) {
    whileSuspended();
    ::ResumeThread(thread.Get());
  }
  EXPECT_EQ(::WaitForSingleObject(process.Get(), kWaitMilliseconds), WAIT_OBJECT_0);
  DWORD status = 0;
  ::GetExitCodeProcess(process.Get(), &status);
  EXPECT_EQ(status, 1u);

  const std::vector<Report> firsts = Reports(scratch, L"first");
  EXPECT_EQ(firsts.size(), 1u) << "exactly the program as started ran as the program";
  return firsts.empty() ? Report() : firsts.front();
}

std::wstring Upper(std::wstring text) {
  ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// The restart's deletions as the system keeps them, upper-cased.
std::wstring PendingDeletions() {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                      0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return {};
  }
  DWORD size = 0;
  ::RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &size);
  std::wstring value(size / sizeof(wchar_t), L'\0');
  ::RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                     reinterpret_cast<BYTE*>(value.data()), &size);
  ::RegCloseKey(key);
  return Upper(value);
}

bool PendingDeletionOnce(const std::wstring& pending, const std::wstring& path) {
  const std::size_t first = pending.find(Upper(path));
  return first != std::wstring::npos && first == pending.rfind(Upper(path));
}

void ExpectCopiesInTemp(const RelaunchScratch& scratch) {
  const std::wstring pending = PendingDeletions();
  for (const std::wstring& name : {kProgram, kSettings, kLibrary}) {
    const std::wstring target = scratch.Temp() + name;
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "missing in temp: " << ToU16(name).size();
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              0u);
    EXPECT_TRUE(PendingDeletionOnce(pending, target)) << "registered for deletion at restart once";
  }
  EXPECT_EQ(ReadFileBytes(scratch.Temp() + kProgram), ReadFileBytes(ProbePath()));
  EXPECT_EQ(ReadFileBytes(scratch.Temp() + kSettings), ReadFileBytes(scratch.Start() + kSettings));
  EXPECT_EQ(ReadFileBytes(scratch.Temp() + kLibrary), ReadFileBytes(scratch.Start() + kLibrary));
}

void ExpectCopyTookOver(const RelaunchScratch& scratch, const Report& first) {
  EXPECT_EQ(first.at(L"relaunched"), L"1");
  EXPECT_EQ(first.at(L"mutexHandle"), L"0") << "the mutex is left for the copy";
  EXPECT_EQ(first.at(L"mutexFreeAtStart"), L"1");
  EXPECT_EQ(first.at(L"startDirectory"), scratch.Start()) << "with its trailing backslash";

  const std::vector<Report> copies = AwaitCopyReports(scratch);
  ASSERT_EQ(copies.size(), 1u) << "the copy never reported";
  const Report& copy = copies.front();
  EXPECT_TRUE(SamePath(copy.at(L"module"), scratch.Temp() + kProgram)) << ToU16(copy.at(L"module")).size();
  EXPECT_TRUE(SamePath(copy.at(L"cwd") + L"\\", scratch.Start()));
  EXPECT_TRUE(SamePath(copy.at(L"settings"), scratch.Temp() + kSettings));
  EXPECT_TRUE(SamePath(copy.at(L"library"), scratch.Temp() + kLibrary));
  EXPECT_EQ(copy.at(L"firstInstance"), L"1");
  EXPECT_EQ(copy.at(L"firstEndedBeforeHold"), L"0") << "let go of the copies before the copy held them";
  EXPECT_EQ(copy.at(L"strayInherited"), L"0") << "only the hand-over event passes to the copy";
}

TEST(Relaunch, CopiesTheFilesIntoTempAndRunsTheCopyFromThereEachStartRegisteringThemOnce) {
  RelaunchScratch scratch;
  for (int start = 0; start < 3; ++start) {
    const Report first = RunProgram(scratch);
    ASSERT_FALSE(first.empty());
    ExpectCopyTookOver(scratch, first);
    ExpectCopiesInTemp(scratch);
    for (const std::wstring& name : FileNames(scratch.Reports(), L"*.txt")) {
      ::DeleteFileW((scratch.Reports() + name).c_str());
    }
  }
}

// A leftover of an earlier run is replaced; a hard link planted under a
// copy's name, to a file elsewhere, leaves that file as it was.
TEST(Relaunch, ReplacesReadOnlyLeftoversButNeverWritesThroughAPlantedLink) {
  for (const bool planted : {false, true}) {
    RelaunchScratch scratch;
    DWORD attributes = 0;
    for (const std::wstring& name : {kProgram, kSettings, kLibrary}) {
      const std::wstring file = planted ? scratch.Root() + L"elsewhere-" + name : scratch.Temp() + name;
      ASSERT_TRUE(WriteFileBytes(file, "left over from an earlier run"));
      ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
      attributes = ::GetFileAttributesW(file.c_str());
      if (planted) {
        ASSERT_TRUE(::CreateHardLinkW((scratch.Temp() + name).c_str(), file.c_str(), nullptr));
      }
    }
    const Report first = RunProgram(scratch);
    ASSERT_FALSE(first.empty());
    if (planted) {
      for (const std::wstring& name : {kProgram, kSettings, kLibrary}) {
        const std::wstring elsewhere = scratch.Root() + L"elsewhere-" + name;
        EXPECT_EQ(ReadFileBytes(elsewhere), "left over from an earlier run");
        EXPECT_EQ(::GetFileAttributesW(elsewhere.c_str()), attributes);
      }
    }
    // Where the system cannot remove a read-only file's second name, in place.
    if (planted && first.at(L"relaunched") == L"0") {
      EXPECT_EQ(first.at(L"mutexHandle"), L"1");
      continue;
    }
    ExpectCopyTookOver(scratch, first);
    ExpectCopiesInTemp(scratch);
  }
}

TEST(Relaunch, StartsExactlyTheCopiedProgramFromATempDirectoryWithASpace) {
  RelaunchScratch scratch(L"tmp dir");
  // What the system would run if it cut the command line at the space.
  ::CopyFileW(ProbePath().c_str(), (scratch.Root() + L"tmp.exe").c_str(), FALSE);
  const Report first = RunProgram(scratch);
  ASSERT_FALSE(first.empty());
  EXPECT_TRUE(SamePath(first.at(L"startApplication"), scratch.Temp() + kProgram));
  EXPECT_EQ(first.at(L"startCommandLine"), L"\"" + first.at(L"startApplication") + L"\"");
  ExpectCopyTookOver(scratch, first);
}

TEST(Relaunch, RunsInPlaceLeavingNothingInTempWhenNoCopyCanBeMadeOrKept) {
  const std::pair<std::wstring, const wchar_t*> cases[] = {  // a missing file, the probe's fault
      {kSettings, L""}, {kLibrary, L""}, {L"", L"refuse-registration"}, {L"", L"overwrite-written-copy"}};
  for (const auto& [missing, fault] : cases) {
    RelaunchScratch scratch;
    if (!missing.empty()) ::DeleteFileW((scratch.Start() + missing).c_str());
    const Report first = RunProgram(scratch, fault);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.at(L"relaunched"), L"0") << fault;
    EXPECT_EQ(first.at(L"mutexHandle"), L"1");
    EXPECT_EQ(first.at(L"starts"), L"0");
    EXPECT_TRUE(FileNames(scratch.Temp(), L"*").empty()) << "nothing left in temp";
  }
}

// A start that took the name while the copy failed to start is the one
// instance; this one then ends as a second start does.
TEST(Relaunch, AFailedStartRunsInPlaceHoldingTheMutexAgainUnlessAnotherStartTookIt) {
  for (const bool taken : {false, true}) {
    RelaunchScratch scratch;
    const Report first = RunProgram(scratch, taken ? L"refuse-start-name-taken" : L"refuse-start");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.at(L"starts"), L"1");
    EXPECT_EQ(first.at(L"mutexFreeAtStart"), L"1");
    EXPECT_EQ(first.at(L"relaunched"), taken ? L"1" : L"0");
    EXPECT_EQ(first.at(L"mutexHandle"), taken ? L"0" : L"1");
    EXPECT_EQ(first.at(L"mutexExists"), L"1");
    ExpectCopiesInTemp(scratch);
    EXPECT_TRUE(Reports(scratch, L"copy").empty());
  }
}

// relaunch_racer.exe overwriting `target` with itself for as long as it
// lives, or with `swap` putting itself under the running program's name.
class Racer {
 public:
  Racer(const std::wstring& target, const std::wstring& reports, bool swap = false)
      : m_stop(::CreateEventW(nullptr, TRUE, FALSE, EventName().c_str())) {
    ScopedEnvironment mark(L"SOMV_PROBE_REPORTS", reports);
    std::wstring commandLine = L"\"" + RacerPath() + (swap ? L"\" --swap \"" : L"\" \"") + target + L"\" " +
                               EventName();
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    EXPECT_TRUE(::CreateProcessW(RacerPath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                 nullptr, nullptr, &startup, &info));
    m_process.Reset(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
  }
  ~Racer() { Stop(); }
  bool Ended() const { return ::WaitForSingleObject(m_process.Get(), kWaitMilliseconds) == WAIT_OBJECT_0; }
  // How many times it overwrote the target; whether it swapped the program.
  DWORD Stop() {
    ::SetEvent(m_stop.Get());
    DWORD overwrites = 0;
    if (::WaitForSingleObject(m_process.Get(), kWaitMilliseconds) == WAIT_OBJECT_0) {
      ::GetExitCodeProcess(m_process.Get(), &overwrites);
    }
    return overwrites;
  }

 private:
  static std::wstring EventName() {
    return L"somv-racer-stop-" + std::to_wstring(::GetCurrentProcessId());
  }
  UniqueKernelHandle m_stop;
  UniqueKernelHandle m_process;
};

// Rounds with and without a leftover for the racer to open from the start.
TEST(Relaunch, AProcessOverwritingTheCopyNeverGetsItsProgramStarted) {
  for (const bool leftover : {false, true, false, true}) {
    RelaunchScratch scratch;
    if (leftover) ASSERT_TRUE(WriteFileBytes(scratch.Temp() + kProgram, "left over"));
    Racer racer(scratch.Temp() + kProgram, scratch.Reports());
    const Report first = RunProgram(scratch);
    const DWORD overwrites = racer.Stop();
    ASSERT_FALSE(first.empty());
    if (first.at(L"relaunched") == L"0") {
      EXPECT_EQ(first.at(L"mutexHandle"), L"1") << "in place, as the one instance";
    }
    // What was started, if anything, reports as the copy or marks as the impostor.
    for (DWORD waited = 0; first.at(L"relaunched") == L"1" && waited < kWaitMilliseconds; waited += 100) {
      if (!Reports(scratch, L"impostor").empty()) break;
      if (!Reports(scratch, L"copy").empty()) {
        EXPECT_EQ(AwaitCopyReports(scratch).size(), 1u) << "the copy, unchanged, runs the tool";
        break;
      }
      ::Sleep(100);
    }
    if (first.at(L"relaunched") == L"1") EXPECT_FALSE(Reports(scratch, L"copy").empty());
    EXPECT_TRUE(Reports(scratch, L"impostor").empty())
        << "the racer's program ran; it overwrote the copy " << overwrites << " times";
  }
}

// The racer renames the running program away and puts itself under its name,
// once before the program's first instruction, then racing its start.
TEST(Relaunch, AProgramPutUnderTheRunningProgramsNameIsNeverStarted) {
  for (const bool beforeStart : {true, false, false}) {
    RelaunchScratch scratch;
    std::optional<Racer> racer;
    const Report first = RunProgram(scratch, L"", [&] {
      racer.emplace(scratch.Bin() + kProgram, scratch.Reports(), true);
      if (beforeStart) EXPECT_TRUE(racer->Ended());
    });
    const DWORD swapped = racer->Stop();
    ASSERT_FALSE(first.empty());
    if (beforeStart) EXPECT_EQ(swapped, 1u);
    // Racing, it may also swap the names once the program has ended.
    if (beforeStart || first.at(L"relaunched") == L"0") {
      EXPECT_EQ(first.at(L"relaunched"), L"0") << "in place: the file under the name is not the program";
      EXPECT_EQ(first.at(L"mutexHandle"), L"1");
      EXPECT_TRUE(FileNames(scratch.Temp(), L"*").empty());
    } else {
      ExpectCopyTookOver(scratch, first);
      ExpectCopiesInTemp(scratch);
    }
    EXPECT_TRUE(Reports(scratch, L"impostor").empty()) << "the racer's program ran";
  }
}

// Where Wine keeps what \\somv-server\share holds, made if need be.
bool MakeShare() {
  wchar_t prefix[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  std::wstring directory = L"Z:" + std::wstring(prefix);
  std::replace(directory.begin(), directory.end(), L'/', L'\\');
  for (const wchar_t* part : {L"\\dosdevices\\unc", L"\\somv-server", L"\\share"}) {
    directory += part;
    ::CreateDirectoryW(directory.c_str(), nullptr);
  }
  return ::GetFileAttributesW(L"\\\\somv-server\\share") != INVALID_FILE_ATTRIBUTES;
}

// A subfolder of the profile's temporary directory is every other test's.
TEST(Relaunch, TakesTheTemporaryDirectoryOnlyWhenItIsTheUsersOwn) {
  wchar_t profileTemp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, profileTemp);
  ASSERT_TRUE(MakeShare());
  const std::wstring unique = std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount64());
  const std::pair<std::wstring, bool> cases[] = {
      {profileTemp, true},
      {L"C:\\somv-administrators-" + unique + L"\\", false},
      {L"\\\\somv-server\\share\\somv-" + unique + L"\\", false},
  };
  for (const auto& [temp, own] : cases) {
    SCOPED_TRACE(ToU16(temp).size());
    RelaunchScratch scratch;
    scratch.TakeTempElsewhere(temp);
    for (const std::wstring& name : {kProgram, kSettings, kLibrary}) {
      if (!own) {
        ASSERT_TRUE(WriteFileBytes(temp + name, "installed"));
      }
    }
    const Report first = RunProgram(scratch);
    ASSERT_FALSE(first.empty());
    if (own) {
      ExpectCopyTookOver(scratch, first);
      ExpectCopiesInTemp(scratch);
      for (const std::wstring& name : {kProgram, kSettings, kLibrary}) ::DeleteFileW((temp + name).c_str());
      continue;
    }
    EXPECT_EQ(first.at(L"relaunched"), L"0");
    EXPECT_EQ(first.at(L"mutexHandle"), L"1");
    EXPECT_EQ(first.at(L"starts"), L"0");
    const std::wstring pending = PendingDeletions();
    for (const std::wstring& name : {kProgram, kSettings, kLibrary}) {
      EXPECT_EQ(ReadFileBytes(temp + name), "installed");
      EXPECT_EQ(pending.find(Upper(temp + name)), std::wstring::npos) << "registered for deletion at restart";
    }
  }
}

TEST(Wow64, A64BitProcessIsNeverUnderWow64) {
#ifdef _WIN64
  EXPECT_EQ(IsWow64(), FALSE);
#else
  GTEST_SKIP() << "the answer depends on the system the 32-bit build runs on";
#endif
}

std::string ResourceText(HMODULE module, LPCWSTR type, int id) {
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (found == nullptr) return {};
  const char* data = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
  return data ? std::string(data, ::SizeofResource(module, found)) : std::string();
}

std::wstring ProgramString(HMODULE module, UINT id) {
  wchar_t text[256] = {};
  ::LoadStringW(module, id, text, 256);
  return text;
}

TEST(ProgramResources, CarryTheStartFailureTextsManifestAndVersion) {
  UniqueModule program(::LoadLibraryExW(ProbePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(program);
  EXPECT_EQ(ProgramString(program.Get(), IDS_MSG_START_FAILED),
            L"Could not start Somnivar Tool because the necessary files could not be found.");
  EXPECT_EQ(ProgramString(program.Get(), IDS_CAPTION_START_FAILED), L"Warning");
  EXPECT_EQ(ProgramString(program.Get(), IDS_MSG_SETUP_MISSING), L"") << "no other strings";

  const std::string manifest = ResourceText(program.Get(), RT_MANIFEST, 1);
  EXPECT_NE(manifest.find("level=\"requireAdministrator\" uiAccess=\"false\""), std::string::npos);
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  const bool listsSystems = manifest.find("supportedOS") != std::string::npos;
  EXPECT_EQ(listsSystems, ThisBuild().startupInfoSize == kBuild32.startupInfoSize)
      << "only the 32-bit build names its systems";
  if (listsSystems) {
    for (const char* system : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}",
                               "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                               "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"}) {
      EXPECT_NE(manifest.find(system), std::string::npos) << system;
    }
  }
  EXPECT_FALSE(ResourceText(program.Get(), RT_VERSION, 1).empty());
}

}  // namespace
}  // namespace somv
