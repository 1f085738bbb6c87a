#include "tests/wine/support/scoped_printer.h"

#include <windows.h>

namespace somv::test {
namespace {

const wchar_t kPrintersKey[] = L"System\\CurrentControlSet\\Control\\Print\\Printers";

bool SetText(HKEY key, const wchar_t* valueName, const std::wstring& text) {
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes) ==
         ERROR_SUCCESS;
}

}  // namespace

ScopedPrinter::ScopedPrinter(std::wstring name, std::optional<std::wstring> driver, std::wstring port)
    : m_name(std::move(name)) {
  const std::wstring path = std::wstring(kPrintersKey) + L"\\" + m_name;
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        &disposition) != ERROR_SUCCESS) {
    return;
  }
  // A key left behind by someone else is not ours to remove.
  if (disposition != REG_CREATED_NEW_KEY) {
    ::RegCloseKey(key);
    return;
  }
  m_added = true;
  const bool written = SetText(key, L"Name", m_name) && SetText(key, L"Port", port) &&
                       (!driver || SetText(key, L"Printer Driver", *driver));
  ::RegCloseKey(key);
  if (!written) {
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
    m_added = false;
  }
}

ScopedPrinter::~ScopedPrinter() {
  if (!m_added) return;
  const std::wstring path = std::wstring(kPrintersKey) + L"\\" + m_name;
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
}

}  // namespace somv::test
