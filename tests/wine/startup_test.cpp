// The shipped program started whole, as a user starts it: from a program
// directory, with a separate current directory for its companion files and a
// private temporary directory. Everything is observed from outside: windows
// by title and owning process, message boxes, files and exit statuses.
#include <windows.h>
#include <shlwapi.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "common/names.h"
#include "common/unique_handle_win.h"
#include "common/win_text.h"
#include "resources/resource_ids.h"
#include "tests/wine/support/dialog_driver.h"
#include "tests/wine/support/message_box_probe.h"
#include "tests/wine/support/scoped_files.h"

namespace somv {
namespace {

using test::MessageBoxSnapshot;
using test::ScopedTempDir;

constexpr DWORD kWaitMs = 30000;

const std::wstring kProgram = WidePtr(ThisBuild().program);
const std::wstring kSettings = WidePtr(kSettingsFileName);
const std::wstring kLibrary = WidePtr(ThisBuild().resourceLibrary);
const std::wstring kTitle = WidePtr(kMainWindowTitle);

const char kNormalSettings[] = "[Debug]\r\nDebugUI=0\r\n";
const char kDiagnosticSettings[] = "[Debug]\r\nDebugUI=1\r\n";

std::wstring Backslashed(std::wstring path) {
  for (wchar_t& unit : path) {
    if (unit == L'/') unit = L'\\';
  }
  return path;
}

std::wstring TestsDirectory() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring module = path;
  return module.substr(0, module.find_last_of(L'\\') + 1);
}

std::wstring BuiltProgram() { return Backslashed(TestsDirectory() + SOMV_PROGRAM_FROM_TESTS + L"\\" + kProgram); }
std::wstring BuiltLibrary() {
  return Backslashed(TestsDirectory() + SOMV_RESOURCES_FROM_TESTS + L"\\" + kLibrary);
}
std::wstring OtherBuild() { return Backslashed(TestsDirectory() + SOMV_OTHER_BUILD_FROM_TESTS + L"\\"); }
// The other build's resource library: no code, but made for the other machine.
std::wstring OtherBuildLibrary() {
  const BuildNames& other = ThisBuild().startupInfoSize == kBuild64.startupInfoSize ? kBuild32 : kBuild64;
  return OtherBuild() + L"resources\\" + WidePtr(other.resourceLibrary);
}
// An image with code of the other bitness, which this process cannot load.
std::wstring OtherBuildCode() { return OtherBuild() + L"tests\\wine\\launch_probe.exe"; }
std::wstring LibraryWithoutDialogs() { return TestsDirectory() + L"fixtures\\program_strings.dll"; }

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool SamePath(const std::wstring& left, const std::wstring& right) {
  return ::lstrcmpiW(left.c_str(), right.c_str()) == 0;
}

std::wstring LibraryString(UINT id) {
  UniqueModule library(::LoadLibraryExW(BuiltLibrary().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  wchar_t text[512] = {};
  if (library) ::LoadStringW(library.Get(), id, text, 512);
  return text;
}

// Its own copy of this process's environment with TMP and TEMP replaced.
std::vector<wchar_t> EnvironmentWithTemp(const std::wstring& temp) {
  std::vector<wchar_t> block;
  wchar_t* const strings = ::GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry != L'\0'; entry += ::lstrlenW(entry) + 1) {
    if (::StrCmpNIW(entry, L"TMP=", 4) == 0 || ::StrCmpNIW(entry, L"TEMP=", 5) == 0) continue;
    block.insert(block.end(), entry, entry + ::lstrlenW(entry) + 1);
  }
  ::FreeEnvironmentStringsW(strings);
  for (const std::wstring& entry : {L"TMP=" + temp, L"TEMP=" + temp}) {
    block.insert(block.end(), entry.begin(), entry.end());
    block.push_back(L'\0');
  }
  block.push_back(L'\0');
  return block;
}

// Every process a test sees, ended by id if it still runs when the test is
// over, so that no dialog outlives its test and the files can be removed.
class Processes {
 public:
  ~Processes() {
    for (UniqueKernelHandle& process : m_processes) {
      if (::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process.Get(), 99);
        ::WaitForSingleObject(process.Get(), kWaitMs);
      }
    }
  }

  HANDLE Keep(HANDLE process) {
    m_processes.emplace_back(process);
    return process;
  }
  HANDLE Open(DWORD processId) {
    return Keep(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                              processId));
  }

 private:
  std::vector<UniqueKernelHandle> m_processes;
};

struct Started {
  HANDLE process = nullptr;
  DWORD processId = 0;
  DWORD threadId = 0;
};

// Exit status once ended; nothing when it still runs after `timeoutMs`.
std::optional<DWORD> WaitForExit(HANDLE process, DWORD timeoutMs = kWaitMs) {
  if (::WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD status = 0;
  ::GetExitCodeProcess(process, &status);
  return status;
}

std::wstring ImagePath(HANDLE process) {
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  return ::QueryFullProcessImageNameW(process, 0, path, &size) ? std::wstring(path, size) : std::wstring();
}

struct FoundWindow {
  HWND window = nullptr;
  DWORD processId = 0;
};

BOOL CALLBACK CollectMainWindow(HWND window, LPARAM context) {
  auto* found = reinterpret_cast<std::vector<FoundWindow>*>(context);
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  if (std::wstring(className) != L"#32770" || test::WindowText(window) != kTitle) return TRUE;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  found->push_back({window, processId});
  return TRUE;
}

std::vector<FoundWindow> MainWindows() {
  std::vector<FoundWindow> found;
  ::EnumWindows(CollectMainWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The visible main window of whichever process shows one first.
std::optional<FoundWindow> WaitForMainWindow(DWORD timeoutMs = kWaitMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  do {
    for (const FoundWindow& found : MainWindows()) {
      if (::IsWindowVisible(found.window)) return found;
    }
    ::Sleep(50);
  } while (::GetTickCount64() < deadline);
  return std::nullopt;
}

// Ends, by id, every process whose program lies under `root`.
void EndProcessesRunningFrom(const std::wstring& root) {
  UniqueKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
    UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                                             FALSE, entry.th32ProcessID));
    if (!process) continue;
    const std::wstring image = ImagePath(process.Get());
    if (image.size() < root.size() || ::StrCmpNIW(image.c_str(), root.c_str(), static_cast<int>(root.size())) != 0) {
      continue;
    }
    ::TerminateProcess(process.Get(), 99);
    ::WaitForSingleObject(process.Get(), kWaitMs);
  }
}

// A fresh tree per test, gone afterwards with anything still running from it:
//   bin\     the program as started
//   start\   its current directory
//   <temp>\  its temporary directory
class Scratch {
 public:
  explicit Scratch(const std::wstring& tempName = L"temp")
      : m_bin(m_root.PathOf(L"bin") + L"\\"),
        m_start(m_root.PathOf(L"start") + L"\\"),
        m_temp(m_root.PathOf(tempName) + L"\\") {
    for (const std::wstring& directory : {m_bin, m_start, m_temp}) ::CreateDirectoryW(directory.c_str(), nullptr);
    ::CopyFileW(BuiltProgram().c_str(), (m_bin + kProgram).c_str(), FALSE);
  }
  ~Scratch() { EndProcessesRunningFrom(Root()); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  std::wstring Root() const { return m_root.Path() + L"\\"; }
  const std::wstring& Bin() const { return m_bin; }
  const std::wstring& Start() const { return m_start; }
  const std::wstring& Temp() const { return m_temp; }

  // The companion files where a user keeps them: the current directory.
  void PutCompanions(const char* settings = kNormalSettings) const { PutCompanionsIn(m_start, settings); }
  static void PutCompanionsIn(const std::wstring& directory, const char* settings) {
    test::WriteFileBytes(directory + kSettings, settings);
    ::CopyFileW(BuiltLibrary().c_str(), (directory + kLibrary).c_str(), FALSE);
  }

  // Started as a user would, with no arguments.
  Started Run(Processes& processes, const std::wstring& program) const {
    std::wstring commandLine = L"\"" + program + L"\"";
    std::vector<wchar_t> environment = EnvironmentWithTemp(m_temp);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                          environment.data(), m_start.c_str(), &startup, &info)) {
      ADD_FAILURE() << "the program did not start: " << ::GetLastError();
      return {};
    }
    UniqueKernelHandle thread(info.hThread);
    return {processes.Keep(info.hProcess), info.dwProcessId, info.dwThreadId};
  }
  Started Run(Processes& processes) const { return Run(processes, m_bin + kProgram); }

 private:
  ScopedTempDir m_root;
  std::wstring m_bin;
  std::wstring m_start;
  std::wstring m_temp;
};

// Closes the main window as the user would and expects its process to end
// with status 1.
void CloseMainWindow(Processes& processes, const FoundWindow& main) {
  const HANDLE process = processes.Open(main.processId);
  test::ClickButton(main.window, IDCANCEL);
  EXPECT_EQ(WaitForExit(process), std::optional<DWORD>(1));
}

BOOL CALLBACK StopAtIconStatic(HWND child, LPARAM context) {
  if ((::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
  *reinterpret_cast<HWND*>(context) = child;
  return FALSE;
}

// The pixels of `rect` in `dc`, top row first, as 32-bit values.
std::vector<DWORD> Pixels(HDC dc, const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC memory = ::CreateCompatibleDC(dc);
  HBITMAP bitmap = ::CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
  ::SelectObject(memory, previous);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
  ::GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  return pixels;
}

// The icon handle of another process's box tells nothing here, so the box's
// icon is compared as drawn on screen with `systemIcon` drawn by this process
// on the same background.
bool ShowsSystemIcon(HWND box, LPCWSTR systemIcon) {
  HWND iconStatic = nullptr;
  ::EnumChildWindows(box, StopAtIconStatic, reinterpret_cast<LPARAM>(&iconStatic));
  RECT onScreen{};
  if (iconStatic == nullptr || !::GetWindowRect(iconStatic, &onScreen)) return false;
  HDC screen = ::GetDC(nullptr);
  const std::vector<DWORD> shown = Pixels(screen, onScreen);
  const RECT drawn{0, 0, onScreen.right - onScreen.left, onScreen.bottom - onScreen.top};
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, drawn.right, drawn.bottom);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  HBRUSH background = ::CreateSolidBrush(::GetPixel(screen, onScreen.left, onScreen.top));
  ::FillRect(memory, &drawn, background);
  ::DrawIconEx(memory, 0, 0, ::LoadIconW(nullptr, systemIcon), drawn.right, drawn.bottom, 0, nullptr, DI_NORMAL);
  const std::vector<DWORD> expected = Pixels(memory, drawn);
  ::SelectObject(memory, previous);
  ::DeleteObject(background);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return !shown.empty() && shown == expected;
}

// Waits for the box to be painted.
bool BoxShowsSystemIcon(HWND box, LPCWSTR systemIcon) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (ShowsSystemIcon(box, systemIcon)) return true;
    ::Sleep(50);
  }
  return false;
}

// The message box the program shows at start-up; OK is pressed once read.
std::optional<MessageBoxSnapshot> TakeStartupMessage(const Started& started) {
  const HWND box = test::WaitForMessageBox(started.threadId, kWaitMs);
  std::optional<MessageBoxSnapshot> snapshot = test::ReadMessageBox(box);
  if (snapshot) {
    EXPECT_TRUE(BoxShowsSystemIcon(box, IDI_EXCLAMATION)) << "the warning icon";
    EXPECT_FALSE(ShowsSystemIcon(box, IDI_HAND)) << "told apart from the error icon";
  }
  if (box != nullptr) test::ClickButton(box, IDOK);
  return snapshot;
}

// No other process can rewrite, rename or delete `path`.
void ExpectHeldAgainstChange(const std::wstring& path) {
  const HANDLE writer = ::CreateFileW(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE) << "opened for writing";
  if (writer != INVALID_HANDLE_VALUE) ::CloseHandle(writer);
  EXPECT_FALSE(::MoveFileW(path.c_str(), (path + L".moved").c_str()));
  EXPECT_FALSE(::DeleteFileW(path.c_str()));
}

TEST(Startup, ANormalStartHandsOverToTheCopyInTempWhichRunsTheDialog) {
  Scratch scratch;
  Processes processes;
  scratch.PutCompanions();
  const Started first = scratch.Run(processes);
  EXPECT_EQ(WaitForExit(first.process), std::optional<DWORD>(1));
  for (const std::wstring& name : {kProgram, kSettings, kLibrary}) {
    EXPECT_TRUE(Exists(scratch.Temp() + name)) << "not copied into temp: " << ToU16(name).size();
  }

  const std::optional<FoundWindow> main = WaitForMainWindow();
  ASSERT_TRUE(main.has_value()) << "the copy showed no main window";
  EXPECT_NE(main->processId, first.processId);
  const HANDLE copy = processes.Open(main->processId);
  EXPECT_TRUE(SamePath(ImagePath(copy), scratch.Temp() + kProgram));
  EXPECT_EQ(::GetWindow(main->window, GW_OWNER), nullptr);
  // The copy reads these afresh while it runs; only its end lets them go.
  for (const std::wstring& name : {kSettings, kLibrary}) ExpectHeldAgainstChange(scratch.Temp() + name);
  CloseMainWindow(processes, *main);
  EXPECT_TRUE(::DeleteFileW((scratch.Temp() + kSettings).c_str()));
}

TEST(Startup, DiagnosticModeAndTheCopyItselfRunTheDialogWhereTheyWereStarted) {
  struct Case {
    const char* what;
    bool diagnostic;
    bool startedAsTheCopy;
  };
  for (const Case& c : {Case{"diagnostic mode", true, false}, Case{"the copy started by hand", false, true}}) {
    SCOPED_TRACE(c.what);
    Scratch scratch;
    Processes processes;
    const char* settings = c.diagnostic ? kDiagnosticSettings : kNormalSettings;
    // The copy takes its companions from its own directory, whatever the
    // current directory holds.
    if (c.startedAsTheCopy) {
      Scratch::PutCompanionsIn(scratch.Temp(), settings);
      ::CopyFileW(BuiltProgram().c_str(), (scratch.Temp() + kProgram).c_str(), FALSE);
    } else {
      scratch.PutCompanions(settings);
    }
    const Started started =
        c.startedAsTheCopy ? scratch.Run(processes, scratch.Temp() + kProgram) : scratch.Run(processes);

    const std::optional<FoundWindow> main = WaitForMainWindow();
    ASSERT_TRUE(main.has_value());
    EXPECT_EQ(main->processId, started.processId) << "never relaunched";
    if (!c.startedAsTheCopy) {
      EXPECT_FALSE(Exists(scratch.Temp() + kProgram)) << "nothing copied";
    }
    CloseMainWindow(processes, *main);
    EXPECT_EQ(WaitForExit(started.process), std::optional<DWORD>(1));
  }
}

TEST(Startup, ASecondStartBringsTheFirstForwardRestoredAndEndsSilently) {
  Scratch scratch;
  Processes processes;
  scratch.PutCompanions(kDiagnosticSettings);
  const Started first = scratch.Run(processes);
  const std::optional<FoundWindow> main = WaitForMainWindow();
  ASSERT_TRUE(main.has_value());
  ::ShowWindow(main->window, SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(main->window));

  // A message box would keep it running: ending in time means none was shown.
  const Started second = scratch.Run(processes);
  EXPECT_EQ(WaitForExit(second.process), std::optional<DWORD>(1));
  EXPECT_FALSE(::IsIconic(main->window)) << "restored";
  EXPECT_EQ(MainWindows().size(), 1u);

  CloseMainWindow(processes, *main);
  EXPECT_EQ(WaitForExit(first.process), std::optional<DWORD>(1));
}

// Held as a first instance holds the session's name while it is still
// starting, or as a run of another session holds only the companion; once
// let go of, the tool starts as usual.
TEST(Startup, AStartWhileEitherNameIsHeldEndsWithoutAnyWindowUntilItIsLetGo) {
  for (const char16_t* name : {kMutexName, kGlobalMutexName}) {
    SCOPED_TRACE(name == kMutexName ? "the session's name" : "the companion");
    Scratch scratch;
    Processes processes;
    scratch.PutCompanions();
    UniqueKernelHandle mutex(::CreateMutexW(nullptr, FALSE, WidePtr(name)));
    ASSERT_TRUE(mutex);
    const Started refused = scratch.Run(processes);
    EXPECT_EQ(WaitForExit(refused.process), std::optional<DWORD>(1));
    EXPECT_TRUE(MainWindows().empty());
    EXPECT_FALSE(Exists(scratch.Temp() + kProgram)) << "ended before the hand-over";

    mutex.Reset();
    scratch.Run(processes);
    const std::optional<FoundWindow> main = WaitForMainWindow();
    ASSERT_TRUE(main.has_value());
    CloseMainWindow(processes, *main);
  }
}

enum class Library { kBuilt, kMissing, kText, kOtherBuildCode, kOtherBuildResources };

TEST(Startup, MissingOrUnusableFilesInTheCurrentDirectoryEndWithAWarning) {
  const std::wstring startFailed = L"Could not start Somnivar Tool because the necessary files could not be found.";
  const std::wstring setupMissing = LibraryString(IDS_MSG_SETUP_MISSING);
  const std::wstring toolCaption = LibraryString(IDS_CAPTION_TOOL);
  ASSERT_FALSE(setupMissing.empty());
  struct Case {
    const char* what;
    Library library;
    bool settings;
    std::wstring text;
    std::wstring caption;
  };
  const Case cases[] = {
      {"no resource library", Library::kMissing, true, startFailed, L"Warning"},
      {"neither file", Library::kMissing, false, startFailed, L"Warning"},
      {"a text file as resource library", Library::kText, true, startFailed, L"Warning"},
      {"an image with code of the other build", Library::kOtherBuildCode, true, startFailed, L"Warning"},
      {"the other build's resource library", Library::kOtherBuildResources, true, startFailed, L"Warning"},
      {"no settings file", Library::kBuilt, false, setupMissing, toolCaption},
      {"the 64-bit build's resource library on 32-bit Windows", Library::kOtherBuildResources, true, startFailed,
       L"Warning"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring otherBuild = c.library == Library::kOtherBuildCode ? OtherBuildCode() : OtherBuildLibrary();
    if ((c.library == Library::kOtherBuildCode || c.library == Library::kOtherBuildResources) &&
        !Exists(otherBuild)) {
      std::printf("skipped \"%s\": the other build is not beside this one\n", c.what);
      continue;
    }
    Scratch scratch;
    Processes processes;
    // Beside the program is not where it looks.
    Scratch::PutCompanionsIn(scratch.Bin(), kNormalSettings);
    if (c.settings) test::WriteFileBytes(scratch.Start() + kSettings, kNormalSettings);
    const std::wstring library = scratch.Start() + kLibrary;
    if (c.library == Library::kBuilt) ::CopyFileW(BuiltLibrary().c_str(), library.c_str(), FALSE);
    if (c.library == Library::kText) test::WriteFileBytes(library, "not a library\r\n");
    if (c.library == Library::kOtherBuildCode || c.library == Library::kOtherBuildResources) {
      ::CopyFileW(otherBuild.c_str(), library.c_str(), FALSE);
    }

    const Started started = scratch.Run(processes);
    const std::optional<MessageBoxSnapshot> box = TakeStartupMessage(started);
    ASSERT_TRUE(box.has_value()) << "no message";
    EXPECT_EQ(box->text, c.text);
    EXPECT_EQ(box->caption, c.caption);
    EXPECT_EQ(box->owner, nullptr);
    EXPECT_NE(box->icon, nullptr);
    EXPECT_EQ(WaitForExit(started.process), std::optional<DWORD>(1));
    EXPECT_FALSE(Exists(scratch.Temp() + kProgram)) << "nothing copied";
  }
}

TEST(Startup, ALibraryWithoutTheMainDialogEndsWithStatusOneShowingNothing) {
  Scratch scratch;
  Processes processes;
  test::WriteFileBytes(scratch.Start() + kSettings, kDiagnosticSettings);
  ::CopyFileW(LibraryWithoutDialogs().c_str(), (scratch.Start() + kLibrary).c_str(), FALSE);
  const Started started = scratch.Run(processes);
  EXPECT_EQ(WaitForExit(started.process), std::optional<DWORD>(1));
  EXPECT_TRUE(MainWindows().empty());
}

TEST(Startup, ATempDirectoryWithASpaceRelaunchesExactlyTheCopiedProgram) {
  Scratch scratch(L"tmp dir");
  Processes processes;
  scratch.PutCompanions();
  // What the system would start if it cut the command line at the space.
  ::CopyFileW((TestsDirectory() + L"launch_probe.exe").c_str(), (scratch.Root() + L"tmp.exe").c_str(), FALSE);
  const Started first = scratch.Run(processes);
  EXPECT_EQ(WaitForExit(first.process), std::optional<DWORD>(1));

  const std::optional<FoundWindow> main = WaitForMainWindow();
  ASSERT_TRUE(main.has_value()) << "the copy showed no main window";
  EXPECT_TRUE(SamePath(ImagePath(processes.Open(main->processId)), scratch.Temp() + kProgram));
  CloseMainWindow(processes, *main);
}

}  // namespace
}  // namespace somv
