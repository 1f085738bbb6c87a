#include "tests/wine/support/simulated_printer.h"

#include <windows.h>

#include <sstream>

#include "framework/unique_handle.h"

namespace somv::test {
namespace {

std::string ReadWholeFile(const std::wstring& path) {
  UniqueKernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::string text;
  char chunk[4096];
  DWORD read = 0;
  while (::ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) && read > 0) text.append(chunk, read);
  return text;
}

std::wstring VariableValue(const std::wstring& name, bool& exists) {
  const DWORD needed = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  exists = needed > 0;
  if (!exists) return {};
  std::wstring value(needed, L'\0');
  value.resize(::GetEnvironmentVariableW(name.c_str(), value.data(), needed));
  return value;
}

}  // namespace

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::wstring name, const std::wstring& value)
    : m_name(std::move(name)), m_previous(VariableValue(m_name, m_hadValue)) {
  ::SetEnvironmentVariableW(m_name.c_str(), value.c_str());
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
  ::SetEnvironmentVariableW(m_name.c_str(), m_hadValue ? m_previous.c_str() : nullptr);
}

SimulatedPrinterScope::SimulatedPrinterScope()
    : m_stateVariable(L"SOMV_SIMPRINTER_STATE", m_dir.PathOf(L"SIMPRN.INI")),
      m_logVariable(L"SOMV_SIMPRINTER_LOG", m_dir.PathOf(L"calls.log")),
      m_current(m_dir.Path()) {}

bool SimulatedPrinterScope::WriteState(const std::string& text) const {
  return WriteFileBytes(m_dir.PathOf(L"SIMPRN.INI"), text);
}

bool SimulatedPrinterScope::WriteSettings(const std::string& text) const {
  return WriteFileBytes(m_dir.PathOf(L"ZELV4PO.INI"), text);
}

std::string SimulatedPrinterScope::ReadState() const { return ReadWholeFile(m_dir.PathOf(L"SIMPRN.INI")); }

std::vector<std::string> SimulatedPrinterScope::LoggedCalls() const {
  std::vector<std::string> lines;
  std::istringstream stream(ReadWholeFile(m_dir.PathOf(L"calls.log")));
  std::string line;
  while (std::getline(stream, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void SimulatedPrinterScope::ClearLog() const { ::DeleteFileW(m_dir.PathOf(L"calls.log").c_str()); }

}  // namespace somv::test
