#include "tests/wine/support/simulated_printer.h"

#include <windows.h>

#include <sstream>

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

}  // namespace somv::test
