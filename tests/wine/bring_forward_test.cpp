// A second start brings the running tool forward: here the main window is
// minimised while a pop-up it owns (the timer settings dialog, say) was the
// last active one.
#include <windows.h>
#include <gtest/gtest.h>

#include "framework/window_search_win.h"

namespace somv {
namespace {

void PumpPendingMessages() {
  MSG message;
  for (int round = 0; round < 20; ++round) {
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(10);
  }
}

struct OwnedWindows {
  OwnedWindows() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SomvBringForwardTest";
    ::RegisterClassW(&windowClass);
    main = ::CreateWindowExW(0, windowClass.lpszClassName, L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                             300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    popup = ::CreateWindowExW(0, windowClass.lpszClassName, L"popup", WS_POPUP | WS_CAPTION | WS_VISIBLE, 150, 150,
                              200, 100, main, nullptr, windowClass.hInstance, nullptr);
    // As a modal pop-up leaves its owner.
    ::EnableWindow(main, FALSE);
  }
  ~OwnedWindows() {
    ::DestroyWindow(popup);
    ::DestroyWindow(main);
  }
  OwnedWindows(const OwnedWindows&) = delete;
  OwnedWindows& operator=(const OwnedWindows&) = delete;

  HWND main = nullptr;
  HWND popup = nullptr;
};

TEST(BringForward, RestoresAMinimisedMainWindowAndPutsItsLastActivePopupInFront) {
  OwnedWindows windows;
  ASSERT_NE(windows.popup, nullptr);
  ::SetForegroundWindow(windows.popup);
  ::SetActiveWindow(windows.popup);
  PumpPendingMessages();
  ::ShowWindow(windows.main, SW_MINIMIZE);
  PumpPendingMessages();
  ASSERT_TRUE(::IsIconic(windows.main));
  ASSERT_EQ(::GetLastActivePopup(windows.main), windows.popup);

  BringForwardRestored(windows.main);
  PumpPendingMessages();
  EXPECT_FALSE(::IsIconic(windows.main));
  EXPECT_TRUE(::IsWindowVisible(windows.popup));
  EXPECT_EQ(::GetForegroundWindow(), windows.popup);
}

}  // namespace
}  // namespace somv
