#include "tests/e2e/uidriver/remote_memory.h"

#include "tests/e2e/uidriver/driver.h"

namespace uidriver {
namespace {

bool IsWow64(HANDLE process) {
  BOOL wow64 = FALSE;
  return IsWow64Process(process, &wow64) && wow64;
}

}  // namespace

RemoteProcess::RemoteProcess(HWND window) {
  DWORD pid = ProcessOf(window);
  m_process.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!m_process) FailWithLastError(L"opening process " + std::to_wstring(pid));
  const bool selfIs32 = sizeof(void*) == 4;
  const bool targetIs32 = IsWow64(m_process.Get()) || (selfIs32 && !IsWow64(GetCurrentProcess()));
  // A 32-bit driver cannot name addresses in a 64-bit target's space.
  if (selfIs32 && !targetIs32) Fail(L"the target is a 64-bit process; use the 64-bit uidriver");
  m_bitness = targetIs32 ? Bitness::k32 : Bitness::k64;
}

RemoteBuffer::RemoteBuffer(const RemoteProcess& process, size_t size) : m_process(process.Get()), m_size(size) {
  m_base = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (m_base == nullptr) FailWithLastError(L"allocating memory in the target");
}

RemoteBuffer::~RemoteBuffer() { VirtualFreeEx(m_process, m_base, 0, MEM_RELEASE); }

void RemoteBuffer::Write(size_t offset, const void* data, size_t size) const {
  if (offset > m_size || size > m_size - offset) Fail(L"write past the end of a remote buffer");
  SIZE_T written = 0;
  if (!WriteProcessMemory(m_process, static_cast<char*>(m_base) + offset, data, size, &written) || written != size)
    FailWithLastError(L"writing the target's memory");
}

void RemoteBuffer::Read(size_t offset, void* data, size_t size) const {
  if (offset > m_size || size > m_size - offset) Fail(L"read past the end of a remote buffer");
  SIZE_T read = 0;
  if (!ReadProcessMemory(m_process, static_cast<char*>(m_base) + offset, data, size, &read) || read != size)
    FailWithLastError(L"reading the target's memory");
}

}  // namespace uidriver
