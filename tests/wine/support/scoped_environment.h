#pragma once
// An environment variable of this process set for the length of a test;
// children started meanwhile inherit it.
#include <windows.h>

#include <string>

namespace somv::test {

class ScopedEnvironment {
 public:
  ScopedEnvironment(const wchar_t* name, const std::wstring& value) : m_name(name) {
    const DWORD length = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (length > 0) {
      m_previous.resize(length);
      m_previous.resize(::GetEnvironmentVariableW(name, m_previous.data(), length));
      m_hadValue = true;
    }
    ::SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedEnvironment() { ::SetEnvironmentVariableW(m_name.c_str(), m_hadValue ? m_previous.c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::wstring m_name;
  std::wstring m_previous;
  bool m_hadValue = false;
};

}  // namespace somv::test
