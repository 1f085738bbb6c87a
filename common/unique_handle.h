#pragma once
// One owner per handle: moved, never copied, released exactly once. The
// traits say what a handle is and how it is released.
#include <utility>

namespace somv {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : m_handle(handle) {}
  ~UniqueHandle() { Reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle Get() const { return m_handle; }
  explicit operator bool() const { return Traits::IsValid(m_handle); }

  Handle Release() { return std::exchange(m_handle, Traits::Invalid()); }

  void Reset(Handle handle = Traits::Invalid()) {
    Handle old = std::exchange(m_handle, handle);
    if (Traits::IsValid(old)) Traits::Close(old);
  }

 private:
  Handle m_handle = Traits::Invalid();
};

// A handle whose invalid value is null, released by `release`.
template <typename H, auto release>
struct NullableHandleTraits {
  using Handle = H;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { release(h); }
};

}  // namespace somv
