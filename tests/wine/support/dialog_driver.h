#pragma once
// Drives dialogs of the thread under test from another thread, as a user
// would: find the window, type into a field, press a button.
#include <windows.h>

#include <functional>
#include <string>

#include "framework/dialog_win.h"

namespace somv::test {

std::wstring WindowText(HWND window);

// The first visible, enabled top-level window of `threadId` that `matches`
// accepts; null after `timeoutMs`.
HWND WaitForThreadWindow(DWORD threadId, DWORD timeoutMs, const std::function<bool(HWND)>& matches);
// A dialog of `threadId` with exactly that caption.
HWND WaitForDialog(DWORD threadId, const std::wstring& caption, DWORD timeoutMs = 5000);

// True once `window` is destroyed, false after `timeoutMs`.
bool WaitUntilGone(HWND window, DWORD timeoutMs);

// Posted, so that the press runs inside the dialog's own loop.
void ClickButton(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::wstring& text);
// The window with the keyboard focus in `threadId`.
HWND FocusOf(DWORD threadId);

// Runs `dialog` modally on this thread (`uiThread`) while `drive` works on
// its window, titled `caption`, from another thread; the dialog's result.
INT_PTR RunDriven(CDialog& dialog, DWORD uiThread, const std::wstring& caption,
                  const std::function<void(HWND)>& drive);

}  // namespace somv::test
