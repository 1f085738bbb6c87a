#pragma once
// The tool's two mutexes, taken the one way the tool and the console
// programs both take them.
#include <windows.h>

#include "common/tool_exclusion.h"
#include "common/unique_handle_win.h"

namespace somv {

// Each handle is kept only where this process created the name.
struct ToolMutexes {
  UniqueKernelHandle local;
  UniqueKernelHandle global;
  Exclusion exclusion = Exclusion::kHeldInThisSession;

  bool Held() const { return exclusion == Exclusion::kGoesOn; }
};

// The session's mutex, then its companion in the global namespace.
ToolMutexes TakeToolMutexes();

// The companion again, for a process that let go of it and still holds the
// session's mutex; false when another process took it meanwhile.
bool TakeGlobalToolMutexAgain(UniqueKernelHandle& global);

// The session's mutex again, for a process that let go of it for a copy that
// then could not start; false when another start took it meanwhile, which
// then is the one instance.
bool TakeToolMutexAgain(UniqueKernelHandle& local);

}  // namespace somv
