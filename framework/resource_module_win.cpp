#include "framework/resource_module_win.h"

#include <cstdint>

#include "common/win_text.h"
#include "framework/image_header.h"
#include "framework/string_block.h"

namespace somv {
namespace {

HINSTANCE g_resourceModule = nullptr;

#ifdef _WIN64
constexpr std::uint16_t kThisMachine = kMachineAmd64;
#else
constexpr std::uint16_t kThisMachine = kMachineI386;
#endif

// The system marks a module mapped as data in the low bits of its handle.
const unsigned char* MappedImage(HMODULE module) {
  return reinterpret_cast<const unsigned char*>(reinterpret_cast<std::uintptr_t>(module) &
                                                ~static_cast<std::uintptr_t>(3));
}

bool IsForThisMachine(HMODULE module) {
  const unsigned char* image = MappedImage(module);
  MEMORY_BASIC_INFORMATION region{};
  if (::VirtualQuery(image, &region, sizeof region) == 0 || region.State != MEM_COMMIT ||
      (region.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0) {
    return false;
  }
  const auto* regionStart = static_cast<const unsigned char*>(region.BaseAddress);
  const std::size_t readable = region.RegionSize - static_cast<std::size_t>(image - regionStart);
  return ImageMachine(image, readable) == kThisMachine;
}

}  // namespace

HMODULE LoadResourceOnlyLibrary(const std::wstring& path) {
  HMODULE module =
      ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
  if (module != nullptr &&
      (!IsImageResourceMapping(reinterpret_cast<std::uintptr_t>(module)) || !IsForThisMachine(module))) {
    ::FreeLibrary(module);
    module = nullptr;
  }
  return module;
}

HINSTANCE GetResourceModule() {
  return g_resourceModule != nullptr ? g_resourceModule : ::GetModuleHandleW(nullptr);
}

void SetResourceModule(HINSTANCE module) { g_resourceModule = module; }

bool LoadResString(unsigned id, std::wstring& text) {
  const HINSTANCE module = GetResourceModule();
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(StringBlockId(id)), RT_STRING);
  if (found == nullptr) return false;
  HGLOBAL loaded = ::LoadResource(module, found);
  const void* block = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (block == nullptr) return false;
  std::u16string read;
  if (!ReadStringFromBlock(block, ::SizeofResource(module, found), id, read)) return false;
  text = ToWide(read);
  return true;
}

UniqueIcon LoadResIconSized(unsigned id, int width, int height) {
  return UniqueIcon(static_cast<HICON>(
      ::LoadImageW(GetResourceModule(), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
}

bool HasDialogTemplate(unsigned id) {
  return ::FindResourceW(GetResourceModule(), MAKEINTRESOURCEW(id), RT_DIALOG) != nullptr;
}

}  // namespace somv
