#pragma once
// A fresh launch directory for the length of a test, with the state file and
// the call log of the simulated status library that scripts/prepare-prefix.sh
// installs, and the settings file beside them.
#include <string>
#include <vector>

#include "tests/wine/support/scoped_files.h"

namespace somv::test {

class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(std::wstring name, const std::wstring& value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  std::wstring m_name;
  std::wstring m_previous;
  bool m_hadValue = false;
};

class SimulatedPrinterScope {
 public:
  SimulatedPrinterScope();

  // False when the directory could not be made or entered.
  bool Ready() const { return !m_dir.Path().empty() && m_current.Moved(); }

  // The simulator's whole state file: one section per printer.
  bool WriteState(const std::string& text) const;
  // ZELV4PO.INI in the launch directory.
  bool WriteSettings(const std::string& text) const;
  std::string ReadState() const;

  // One line per call into the library since the last ClearLog.
  std::vector<std::string> LoggedCalls() const;
  void ClearLog() const;

 private:
  ScopedTempDir m_dir;
  ScopedEnvironmentVariable m_stateVariable;
  ScopedEnvironmentVariable m_logVariable;
  ScopedCurrentDirectory m_current;
};

}  // namespace somv::test
