// A system that lacks a delay-loaded library, or a function the program
// calls in one: a real process with the program's failure hook makes such a
// call and must end with the program's status 1, not the helper's exception.
#include <windows.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "common/unique_handle_win.h"
#include "tests/wine/support/scoped_files.h"

namespace somv {
namespace {

constexpr DWORD kWaitMs = 30000;

// The probe's exit status; STILL_ACTIVE when it is still running after the
// wait (a crash box, say), and then ended.
DWORD RunProbe(const std::wstring& missing) {
  std::wstring commandLine = L"\"" + test::TestProgramDirectory() + L"delay_load_probe.exe\" " + missing;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
    return 0;
  }
  UniqueKernelHandle process(started.hProcess);
  UniqueKernelHandle thread(started.hThread);
  if (::WaitForSingleObject(process.Get(), kWaitMs) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.Get(), 99);
    ::WaitForSingleObject(process.Get(), kWaitMs);
    return STILL_ACTIVE;
  }
  DWORD status = 0;
  ::GetExitCodeProcess(process.Get(), &status);
  return status;
}

TEST(DelayLoad, AMissingLibraryOrFunctionEndsTheProgramWithStatus1) {
  for (const wchar_t* missing : {L"function", L"library"}) {
    SCOPED_TRACE(std::string(missing, missing + std::wcslen(missing)));
    EXPECT_EQ(RunProbe(missing), 1u);
  }
}

}  // namespace
}  // namespace somv
