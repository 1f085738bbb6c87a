#pragma once
// The hourglass while the user-interface thread waits on something slow, put
// back on every way out of the scope.
#include <windows.h>

namespace somv {

class CWaitCursor {
 public:
  CWaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~CWaitCursor() { ::SetCursor(m_previous); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;

 private:
  HCURSOR m_previous;
};

// The result of `request()`, run under the wait cursor.
template <typename Request>
auto WhileWaiting(Request&& request) {
  CWaitCursor waiting;
  return request();
}

}  // namespace somv
