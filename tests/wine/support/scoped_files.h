#pragma once
// Files and directories for the length of a test.
#include <string>
#include <string_view>

namespace somv::test {

// A fresh, empty directory under the temporary directory, removed with
// everything in it afterwards.
class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  // Without a trailing backslash; empty when it could not be made.
  const std::wstring& Path() const { return m_path; }
  std::wstring PathOf(const std::wstring& name) const { return m_path + L"\\" + name; }

 private:
  std::wstring m_path;
};

// The process's current directory moved for the length of a test.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::wstring& directory);
  ~ScopedCurrentDirectory();
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

  bool Moved() const { return m_moved; }

 private:
  std::wstring m_previous;
  bool m_moved = false;
};

// Writes `bytes` to `path` exactly as given, replacing any file there.
bool WriteFileBytes(const std::wstring& path, std::string_view bytes);

// The whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);

// Removes `directory` with everything in it, read-only files included.
void RemoveTree(const std::wstring& directory);

// The directory of the running test program, with a trailing backslash.
std::wstring TestProgramDirectory();

// `text` as UTF-16LE behind a byte-order mark.
std::string Utf16LeWithBom(std::u16string_view text);

}  // namespace somv::test
