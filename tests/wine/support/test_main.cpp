// The Wine suite's entry point: GoogleTest with a watchdog for dialogs that
// no test drives, which would otherwise wait for a click that never comes.
#include <gtest/gtest.h>

#include "tests/wine/support/dialog_watchdog.h"
#include "tests/wine/support/screenshot_hold.h"

namespace {

constexpr DWORD kDialogPatienceMs = 10000;

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Screenshot runs hold their windows open on purpose.
  if (!somv::test::ScreenshotDirectory().empty()) return RUN_ALL_TESTS();
  somv::test::DialogWatchdog watchdog(kDialogPatienceMs);
  ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
  listeners.Append(&watchdog);
  const int result = RUN_ALL_TESTS();
  listeners.Release(&watchdog);
  return result;
}
