// Started by the launch directory tests under a program name of the tool, so
// that the decision about its own file can be seen from outside. Writes what
// it found to the file named by its argument: "1" or "0" for the temporary
// copy, a line break, then the launch-directory path of the settings file.
#include <windows.h>

#include <string>

#include "common/names.h"
#include "common/unique_handle_win.h"
#include "common/win_text.h"
#include "settings/launch_dir_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  const std::wstring report = std::wstring(somv::IsRunningFromTempCopy() ? L"1" : L"0") + L"\n" +
                              somv::GetLaunchFilePath(somv::WidePtr(somv::kSettingsFileName));
  somv::UniqueKernelHandle file(
      ::CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 3;
  DWORD written = 0;
  const DWORD bytes = static_cast<DWORD>(report.size() * sizeof(wchar_t));
  return ::WriteFile(file.Get(), report.data(), bytes, &written, nullptr) && written == bytes ? 0 : 3;
}
