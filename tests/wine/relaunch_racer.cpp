// Another process of the same user during the relaunch tests.
//   relaunch_racer.exe TARGET EVENT
// overwrites TARGET with its own bytes each time it can open it for writing,
// as fast as it can, until the named event is set; its exit status is how
// many times it succeeded.
//   relaunch_racer.exe --swap PROGRAM EVENT
// tries, as fast as it can until the named event is set, to rename the
// running PROGRAM away and put itself under its name; its exit status is 1
// once it did, 0 if it never could. Started without arguments (as the
// impostor it wrote), it leaves "impostor-<pid>.txt" in the directory
// SOMV_PROBE_REPORTS names.
#include <windows.h>

#include <string>

namespace {

std::string OwnBytes() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes(::GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  ::CloseHandle(file);
  return bytes;
}

bool Overwrite(const wchar_t* target, const std::string& bytes) {
  HANDLE file = ::CreateFileW(target, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::SetEndOfFile(file);
  ::CloseHandle(file);
  return true;
}

int Race(const wchar_t* target, const wchar_t* eventName) {
  HANDLE stop = ::OpenEventW(SYNCHRONIZE, FALSE, eventName);
  if (stop == nullptr) return -1;
  const std::string bytes = OwnBytes();
  int overwrites = 0;
  while (::WaitForSingleObject(stop, 0) == WAIT_TIMEOUT) {
    if (Overwrite(target, bytes)) ++overwrites;
  }
  ::CloseHandle(stop);
  return overwrites;
}

int Swap(const wchar_t* program, const wchar_t* eventName) {
  HANDLE stop = ::OpenEventW(SYNCHRONIZE, FALSE, eventName);
  if (stop == nullptr) return -1;
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring renamed = std::wstring(program) + L".renamed";
  int swapped = 0;
  while (swapped == 0 && ::WaitForSingleObject(stop, 0) == WAIT_TIMEOUT) {
    if (::MoveFileW(program, renamed.c_str())) swapped = ::CopyFileW(self, program, TRUE) ? 1 : -2;
  }
  ::CloseHandle(stop);
  return swapped;
}

int LeaveMark() {
  wchar_t directory[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"SOMV_PROBE_REPORTS", directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  const std::wstring mark =
      std::wstring(directory) + L"\\impostor-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
  HANDLE file = ::CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"--swap") return Swap(argv[2], argv[3]);
  return argc == 3 ? Race(argv[1], argv[2]) : LeaveMark();
}
