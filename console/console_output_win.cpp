#include "console/console_output_win.h"

#include <windows.h>

#include <string>

namespace somv {
namespace {

// Old consoles refuse long writes; a chunk never splits a surrogate pair.
constexpr std::size_t kConsoleChunk = 4096;

bool WriteToConsole(HANDLE stream, std::u16string_view text) {
  while (!text.empty()) {
    std::size_t length = text.size() < kConsoleChunk ? text.size() : kConsoleChunk;
    if (length < text.size() && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
    DWORD written = 0;
    if (!::WriteConsoleW(stream, text.data(), static_cast<DWORD>(length), &written, nullptr) || written == 0) {
      return false;
    }
    text.remove_prefix(written);
  }
  return true;
}

bool WriteAsUtf8(HANDLE stream, std::u16string_view text) {
  if (text.empty()) return true;
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int units = static_cast<int>(text.size());
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide, units, utf8.data(), bytes, nullptr, nullptr);
  std::size_t done = 0;
  while (done < utf8.size()) {
    DWORD written = 0;
    if (!::WriteFile(stream, utf8.data() + done, static_cast<DWORD>(utf8.size() - done), &written, nullptr) ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

bool WriteStandard(DWORD which, std::u16string_view text) {
  const HANDLE stream = ::GetStdHandle(which);
  // Started without standard handles, as some agents do: nothing to say it to.
  if (stream == nullptr || stream == INVALID_HANDLE_VALUE) return true;
  DWORD mode = 0;
  if (::GetConsoleMode(stream, &mode)) return WriteToConsole(stream, text);
  return WriteAsUtf8(stream, text);
}

}  // namespace

bool WriteStandardOutput(std::u16string_view text) { return WriteStandard(STD_OUTPUT_HANDLE, text); }

bool WriteStandardError(std::u16string_view text) { return WriteStandard(STD_ERROR_HANDLE, text); }

}  // namespace somv
