#pragma once
// What a run holds and watches while it talks to printers: the tool's
// mutexes, and Ctrl+C or Ctrl+Break, which end the run only between steps.
#include "framework/unique_handle.h"

namespace somv {

// The tool's mutex in this session and its companion in the global
// namespace, which a management agent in session 0 and a second user's
// session see as well. Held for the run, so that the tool does not start.
class ToolMutexes {
 public:
  ToolMutexes();

  // False when the tool (or another run) holds either of them.
  bool Held() const { return m_held; }

 private:
  UniqueKernelHandle m_local;
  UniqueKernelHandle m_global;
  bool m_held = false;
};

// From here on Ctrl+C and Ctrl+Break only ask the run to stop; it stops
// before its next printer or write, never within a write.
void DeferConsoleInterrupts();
bool StopRequested();

}  // namespace somv
