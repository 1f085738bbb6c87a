#pragma once
// An installed printer for the length of a test, made the way Wine's spooler
// keeps them: a key under HKLM\System\CurrentControlSet\Control\Print\Printers
// named after the printer, with the string values "Name", "Printer Driver" and
// "Port". No driver or port needs to exist.
//
// What Wine's spooler does with such a key (checked by the Wine tests):
// - EnumPrintersW in the same process lists it at once and stops listing it
//   once the key is gone; it reads the registry on every call, so nothing is
//   cached between the two calls of one enumeration either.
// - It lists printers in the order of the registry's subkeys, which Wine keeps
//   sorted by name without regard to case, not in the order they were added.
//   Tests that care about order name their printers so that this is the order
//   they mean.
// - A key without "Printer Driver" is listed with a null driver name.
#include <optional>
#include <string>

namespace somv::test {

class ScopedPrinter {
 public:
  // std::nullopt as driver leaves the "Printer Driver" value out.
  ScopedPrinter(std::wstring name, std::optional<std::wstring> driver, std::wstring port = L"FILE:");
  ~ScopedPrinter();
  ScopedPrinter(const ScopedPrinter&) = delete;
  ScopedPrinter& operator=(const ScopedPrinter&) = delete;

  // False when the key could not be written; the test should stop.
  bool Added() const { return m_added; }
  const std::wstring& Name() const { return m_name; }

 private:
  std::wstring m_name;
  bool m_added = false;
};

}  // namespace somv::test
