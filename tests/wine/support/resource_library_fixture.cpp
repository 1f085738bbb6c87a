#include "tests/wine/support/resource_library_fixture.h"

#include "framework/resource_module_win.h"

namespace somv::test {
namespace {

std::wstring TestsDirectory() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory(path, length);
  return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

}  // namespace

std::wstring ResourceLibraryPath(bool rightToLeft) {
  std::wstring path = TestsDirectory() + SOMV_RESOURCES_FROM_TESTS + L"\\";
  if (rightToLeft) path += L"rtl\\";
  return path + SOMV_RESOURCE_LIBRARY_NAME;
}

std::wstring FixtureLibraryPath(const std::wstring& name) {
  return TestsDirectory() + L"fixtures\\" + name + L".dll";
}

ScopedResourceModule::ScopedResourceModule(const std::wstring& path)
    : m_module(LoadResourceOnlyLibrary(path)), m_previous(GetResourceModule()) {
  if (m_module) SetResourceModule(m_module.Get());
}

ScopedResourceModule::~ScopedResourceModule() {
  if (m_module) SetResourceModule(m_previous);
}

std::wstring LibraryString(unsigned id) {
  std::wstring text;
  LoadResString(id, text);
  return text;
}

}  // namespace somv::test
