#include "framework/resource_module_win.h"

#include "framework/string_block.h"
#include "common/win_text.h"

namespace somv {
namespace {

HINSTANCE g_resourceModule = nullptr;

}  // namespace

HINSTANCE GetResourceModule() {
  return g_resourceModule != nullptr ? g_resourceModule : ::GetModuleHandleW(nullptr);
}

void SetResourceModule(HINSTANCE module) { g_resourceModule = module; }

bool LoadResString(unsigned id, std::wstring& text) {
  const HINSTANCE module = GetResourceModule();
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(StringBlockId(id)), MAKEINTRESOURCEW(6));
  if (found == nullptr) return false;
  HGLOBAL loaded = ::LoadResource(module, found);
  const void* block = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (block == nullptr) return false;
  std::u16string read;
  if (!ReadStringFromBlock(block, ::SizeofResource(module, found), id, read)) return false;
  text = ToWide(read);
  return true;
}

HICON LoadResIcon(unsigned id) {
  return ::LoadIconW(GetResourceModule(), MAKEINTRESOURCEW(id));
}

UniqueIcon LoadResIconSized(unsigned id, int width, int height) {
  return UniqueIcon(static_cast<HICON>(
      ::LoadImageW(GetResourceModule(), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
}

bool HasDialogTemplate(unsigned id) {
  return ::FindResourceW(GetResourceModule(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5)) != nullptr;
}

}  // namespace somv
