#pragma once
// A block of memory inside another process, for messages whose argument is a
// pointer the target must read or write (list view items, header rectangles).
#include <windows.h>

#include <cstdint>
#include <string>

#include "common/unique_handle_win.h"

namespace uidriver {

// How the target lays out pointers; decides which structure layout to send.
enum class Bitness { k32, k64 };

class RemoteProcess {
 public:
  explicit RemoteProcess(HWND window);
  HANDLE Get() const { return m_process.Get(); }
  Bitness TargetBitness() const { return m_bitness; }

 private:
  somv::UniqueKernelHandle m_process;
  Bitness m_bitness = Bitness::k64;
};

class RemoteBuffer {
 public:
  RemoteBuffer(const RemoteProcess& process, size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  uint64_t Address() const { return reinterpret_cast<uintptr_t>(m_base); }
  LPARAM AsLParam() const { return reinterpret_cast<LPARAM>(m_base); }
  void Write(size_t offset, const void* data, size_t size) const;
  void Read(size_t offset, void* data, size_t size) const;

 private:
  HANDLE m_process;
  void* m_base = nullptr;
  size_t m_size = 0;
};

}  // namespace uidriver
