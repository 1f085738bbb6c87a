#include "tests/wine/support/screenshot_hold.h"

#include <windows.h>

namespace somv::test {

std::wstring ScreenshotDirectory() {
  wchar_t directory[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"SOMV_SCREENSHOT_DIR", directory, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(directory) + L"\\" : std::wstring();
}

void HoldForScreenshot(const std::wstring& directory, const std::wstring& name) {
  const std::wstring marker = directory + name + L".pending";
  ::CloseHandle(::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  for (int i = 0; i < 750 && ::GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(20);
  ::DeleteFileW(marker.c_str());
}

}  // namespace somv::test
