#pragma once
// A fresh launch directory for the length of a test, with the state file and
// the call log of the simulated status library that scripts/world.sh
// installs, and the settings file beside them.
#include <string>
#include <vector>

#include "tests/wine/support/scoped_environment.h"
#include "tests/wine/support/scoped_files.h"

namespace somv::test {

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
  ScopedEnvironment m_stateVariable;
  ScopedEnvironment m_logVariable;
  ScopedCurrentDirectory m_current;
};

// The simulated status library as the spooler's driver directory holds it.
std::wstring StatusLibraryName();
std::wstring InstalledStatusLibraryPath();
bool IsStatusLibraryLoaded();

// Puts another file (or, given an empty path, none) where the installed
// status library is, and puts the installed one back afterwards.
class ScopedStatusLibraryReplacement {
 public:
  explicit ScopedStatusLibraryReplacement(const std::wstring& replacement);
  ~ScopedStatusLibraryReplacement();
  ScopedStatusLibraryReplacement(const ScopedStatusLibraryReplacement&) = delete;
  ScopedStatusLibraryReplacement& operator=(const ScopedStatusLibraryReplacement&) = delete;

  bool Moved() const { return m_moved; }

 private:
  std::wstring m_installed;
  std::wstring m_aside;
  bool m_moved = false;
};

}  // namespace somv::test
