// The Wine suite's entry point: GoogleTest with a watchdog for dialogs that
// no test drives, which would otherwise wait for a click that never comes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/wine/support/dialog_watchdog.h"
#include "tests/wine/support/screenshot_hold.h"

namespace {

constexpr DWORD kDialogPatienceMs = 10000;

// An exception nothing handles ends the suite at once, naming the test and
// the exception, instead of waiting in the system's debugger for a click.
LONG WINAPI EndSuiteOnUnhandledException(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name = test != nullptr
                               ? std::string(test->test_suite_name()) + "." + test->name()
                               : "outside any test";
  std::fflush(stdout);
  std::printf("[  FAILED  ] %s: unhandled exception 0x%08lX at %p; the suite ends here\n",
              name.c_str(), record.ExceptionCode, record.ExceptionAddress);
  std::fflush(stdout);
  // Not the exception's code as the status: Wine keeps its low byte alone,
  // which may be zero.
  ::TerminateProcess(::GetCurrentProcess(), 1);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::SetUnhandledExceptionFilter(EndSuiteOnUnhandledException);
  // Screenshot runs hold their windows open on purpose.
  if (!somv::test::ScreenshotDirectory().empty()) return RUN_ALL_TESTS();
  somv::test::DialogWatchdog watchdog(kDialogPatienceMs);
  ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
  listeners.Append(&watchdog);
  const int result = RUN_ALL_TESTS();
  listeners.Release(&watchdog);
  return result;
}
