#pragma once
// The resource libraries the build made, found from the test program's own
// directory, and a scope in which one of them is the current resource module.
#include <windows.h>

#include <string>

#include "common/unique_handle_win.h"

namespace somv::test {

std::wstring ResourceLibraryPath(bool rightToLeft);
// A resource-only fixture of tests/wine/fixtures, by name ("program_strings").
std::wstring FixtureLibraryPath(const std::wstring& name);

class ScopedResourceModule {
 public:
  explicit ScopedResourceModule(const std::wstring& path);
  ~ScopedResourceModule();
  ScopedResourceModule(const ScopedResourceModule&) = delete;
  ScopedResourceModule& operator=(const ScopedResourceModule&) = delete;

  bool Loaded() const { return static_cast<bool>(m_module); }
  HMODULE Get() const { return m_module.Get(); }

 private:
  UniqueModule m_module;
  HINSTANCE m_previous;
};

// String `id` of the current resource module; empty when it holds none.
std::wstring LibraryString(unsigned id);

}  // namespace somv::test
