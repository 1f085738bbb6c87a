#include "common/tool_mutexes_win.h"

#include "common/names.h"
#include "common/win_text.h"

namespace somv {
namespace {

// Every road to a mutex of the tool: created not inheritable, and kept only
// where this process created the name.
MutexAnswer CreateToolMutex(const char16_t* name, UniqueKernelHandle& held) {
  UniqueKernelHandle created(::CreateMutexW(nullptr, FALSE, WidePtr(name)));
  const DWORD error = ::GetLastError();
  if (created && error != ERROR_ALREADY_EXISTS) {
    held = std::move(created);
    return MutexAnswer::kCreated;
  }
  if (error == ERROR_ALREADY_EXISTS) return MutexAnswer::kExisted;
  return error == ERROR_ACCESS_DENIED ? MutexAnswer::kDenied : MutexAnswer::kFailed;
}

std::uint32_t ThisSession() {
  DWORD session = 0;
  // Unknown, it counts as a user's session: a companion found there refuses.
  return ::ProcessIdToSessionId(::GetCurrentProcessId(), &session) ? session : 1;
}

}  // namespace

ToolMutexes TakeToolMutexes() {
  ToolMutexes mutexes;
  const MutexAnswer local = CreateToolMutex(kMutexName, mutexes.local);
  // Only the name's holder takes the companion: a start refused here must
  // not hold it for a moment against the one that goes on.
  const MutexAnswer global =
      local == MutexAnswer::kCreated ? CreateToolMutex(kGlobalMutexName, mutexes.global) : MutexAnswer::kFailed;
  mutexes.exclusion = DecideExclusion(ThisSession(), local, global);
  if (!mutexes.Held()) {
    mutexes.local.Reset();
    mutexes.global.Reset();
  }
  return mutexes;
}

bool TakeGlobalToolMutexAgain(UniqueKernelHandle& global) {
  const MutexAnswer answer = CreateToolMutex(kGlobalMutexName, global);
  return DecideExclusion(ThisSession(), MutexAnswer::kCreated, answer) == Exclusion::kGoesOn;
}

bool TakeToolMutexAgain(UniqueKernelHandle& local) {
  return CreateToolMutex(kMutexName, local) == MutexAnswer::kCreated;
}

}  // namespace somv
