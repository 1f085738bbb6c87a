#include "tests/wine/support/scoped_files.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <vector>

#include "common/unique_handle_win.h"

namespace somv::test {

ScopedTempDir::ScopedTempDir() {
  static std::atomic<unsigned> counter{0};
  wchar_t temp[MAX_PATH] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) return;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::wstring path = std::wstring(temp) + L"somv-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                        std::to_wstring(counter++);
    if (::CreateDirectoryW(path.c_str(), nullptr)) {
      m_path = std::move(path);
      return;
    }
  }
}

ScopedTempDir::~ScopedTempDir() {
  if (!m_path.empty()) RemoveTree(m_path);
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::wstring& directory) {
  std::vector<wchar_t> previous(::GetCurrentDirectoryW(0, nullptr) + 1);
  if (::GetCurrentDirectoryW(static_cast<DWORD>(previous.size()), previous.data()) == 0) return;
  m_previous = previous.data();
  m_moved = ::SetCurrentDirectoryW(directory.c_str()) != FALSE;
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
  if (m_moved) ::SetCurrentDirectoryW(m_previous.c_str());
}

bool WriteFileBytes(const std::wstring& path, std::string_view bytes) {
  UniqueKernelHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::string ReadFileBytes(const std::wstring& path) {
  UniqueKernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::string bytes;
  char chunk[4096];
  DWORD read = 0;
  while (::ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  return bytes;
}

void RemoveTree(const std::wstring& directory) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(directory, ignored)) {
    ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::filesystem::remove_all(std::filesystem::path(directory), ignored);
}

std::wstring TestProgramDirectory() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory = path;
  return directory.substr(0, directory.find_last_of(L'\\') + 1);
}

std::string Utf16LeWithBom(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace somv::test
