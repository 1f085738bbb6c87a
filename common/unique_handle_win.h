#pragma once
// The owners of the Win32 handles the program holds.
#include <windows.h>

#include "common/unique_handle.h"

namespace somv {

using ModuleTraits = NullableHandleTraits<HMODULE, ::FreeLibrary>;

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};

using IconTraits = NullableHandleTraits<HICON, ::DestroyIcon>;

using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;

}  // namespace somv
