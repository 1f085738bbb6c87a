#include "tests/wine/support/simulated_printer.h"

#include <windows.h>
#include <winspool.h>

#include <sstream>

#include "common/names.h"
#include "common/win_text.h"

namespace somv::test {

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

std::string SimulatedPrinterScope::ReadState() const { return ReadFileBytes(m_dir.PathOf(L"SIMPRN.INI")); }

std::vector<std::string> SimulatedPrinterScope::LoggedCalls() const {
  std::vector<std::string> lines;
  std::istringstream stream(ReadFileBytes(m_dir.PathOf(L"calls.log")));
  std::string line;
  while (std::getline(stream, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void SimulatedPrinterScope::ClearLog() const { ::DeleteFileW(m_dir.PathOf(L"calls.log").c_str()); }

std::wstring StatusLibraryName() { return WidePtr(ThisBuild().statusLibrary); }

std::wstring InstalledStatusLibraryPath() {
  wchar_t directory[MAX_PATH] = {};
  DWORD needed = 0;
  if (!::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory), sizeof directory,
                                    &needed)) {
    return {};
  }
  return std::wstring(directory) + L"\\3\\" + StatusLibraryName();
}

bool IsStatusLibraryLoaded() { return ::GetModuleHandleW(StatusLibraryName().c_str()) != nullptr; }

ScopedStatusLibraryReplacement::ScopedStatusLibraryReplacement(const std::wstring& replacement)
    : m_installed(InstalledStatusLibraryPath()), m_aside(m_installed + L".aside") {
  m_moved = ::MoveFileExW(m_installed.c_str(), m_aside.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  if (!replacement.empty()) ::CopyFileW(replacement.c_str(), m_installed.c_str(), FALSE);
}

ScopedStatusLibraryReplacement::~ScopedStatusLibraryReplacement() {
  if (m_moved) ::MoveFileExW(m_aside.c_str(), m_installed.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace somv::test
