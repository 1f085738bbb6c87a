#pragma once
// The tool's two mutexes, taken the one way the tool and the console
// programs both take them.
#include <windows.h>

#include "common/tool_exclusion.h"
#include "common/unique_handle.h"

namespace somv {

using UniqueMutex = UniqueHandle<NullableHandleTraits<HANDLE, ::CloseHandle>>;

// Each handle is kept only where this process created the name.
struct ToolMutexes {
  UniqueMutex local;
  UniqueMutex global;
  Exclusion exclusion = Exclusion::kHeldInThisSession;

  bool Held() const { return exclusion == Exclusion::kGoesOn; }
};

// The session's mutex, then its companion in the global namespace.
ToolMutexes TakeToolMutexes();

// The companion again, for a process that let go of it and still holds the
// session's mutex; false when another process took it meanwhile.
bool TakeGlobalToolMutexAgain(UniqueMutex& global);

}  // namespace somv
