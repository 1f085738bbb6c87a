#include "device/device_connection.h"

#include <windows.h>
#include <winspool.h>

#include <type_traits>
#include <utility>

#include "common/library_search_win.h"
#include "common/names.h"
#include "common/spooler_win.h"
#include "common/win_text.h"
#include "device/status_library_path.h"
#include "device/status_library_win.h"

namespace somv {

static_assert(std::is_same_v<HMODULE, HINSTANCE__*>, "m_hStatusLib holds an HMODULE");

void StatusLibraryTraits::Close(Handle h) { ::FreeLibrary(h); }
// The portable entry-point types stand for the library's Win32 ones.
static_assert(sizeof(char16_t) == sizeof(wchar_t) && sizeof(std::int32_t) == sizeof(BOOL) &&
                  sizeof(std::uint32_t) == sizeof(DWORD) &&
                  sizeof(std::uintptr_t) == sizeof(ULONG_PTR) && sizeof(void*) == sizeof(HANDLE),
              "the entry points keep the library's argument widths");

namespace {

std::wstring LibraryInDriverDirectory(const wchar_t* environment, const char16_t* fileName) {
  wchar_t directory[kDriverDirectoryCapacity] = {};
  DWORD needed = 0;
  if (!SpoolerGetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(environment), 1,
                                         reinterpret_cast<BYTE*>(directory), sizeof directory, &needed)) {
    return {};
  }
  return ToWide(StatusLibraryPath(reinterpret_cast<const char16_t*>(directory), kDriverDirectoryCapacity, fileName));
}

}  // namespace

std::wstring StatusLibraryFullPath() { return LibraryInDriverDirectory(nullptr, ThisBuild().statusLibrary); }

std::wstring OtherBuildStatusLibraryPath() {
  return &ThisBuild() == &kBuild64 ? LibraryInDriverDirectory(L"Windows NT x86", kBuild32.statusLibrary)
                  : LibraryInDriverDirectory(L"Windows x64", kBuild64.statusLibrary);
}

HMODULE LoadStatusLibraryModule(const std::wstring& path) {
  // Its own dependencies come from its own folder or the system's, never
  // from the program's folder or the current directory.
  return LoadLibraryByFullPath(path, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

int DeviceConnection::LoadStatusLibrary() {
  const std::wstring path = StatusLibraryFullPath();
  if (path.empty()) return 0;
  StatusLibraryModule library(LoadStatusLibraryModule(path));
  if (!library) return 0;
  m_pfnOpenPrinter = BoundExport<OpenPrinterFn>(library.Get(), kOpenPrinterExport);
  m_pfnClosePrinter = BoundExport<ClosePrinterFn>(library.Get(), kClosePrinterExport);
  m_pfnDeviceRequest = BoundExport<DeviceRequestFn>(library.Get(), kDeviceRequestExport);
  if (m_pfnOpenPrinter == nullptr || m_pfnClosePrinter == nullptr || m_pfnDeviceRequest == nullptr) return 0;
  m_hStatusLib = std::move(library);
  return 1;
}

int DeviceConnection::FreeStatusLibrary() {
  if (!m_hStatusLib) return 1;
  return ::FreeLibrary(m_hStatusLib.Release()) ? 1 : 0;
}

}  // namespace somv
