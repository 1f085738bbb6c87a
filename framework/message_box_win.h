#pragma once
// Every message box of the program goes through here, so that tests can see
// exactly what was asked for (Wine draws right-to-left boxes left to right).
#include <windows.h>

#include <string>

namespace somv {

using MessageBoxFunction = int(WINAPI*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style);

// Replaces the function that shows the boxes (MessageBoxW by default; null
// restores it). Returns the one it replaced.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);

}  // namespace somv
