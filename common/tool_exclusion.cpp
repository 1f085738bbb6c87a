#include "common/tool_exclusion.h"

namespace somv {

Exclusion DecideExclusion(std::uint32_t session, MutexAnswer local, MutexAnswer global) {
  constexpr std::uint32_t kServicesSession = 0;
  if (local != MutexAnswer::kCreated) return Exclusion::kHeldInThisSession;
  switch (global) {
    case MutexAnswer::kExisted:
      return session == kServicesSession ? Exclusion::kGoesOn : Exclusion::kHeldElsewhere;
    case MutexAnswer::kDenied:
      return Exclusion::kHeldElsewhere;
    case MutexAnswer::kCreated:
    case MutexAnswer::kFailed:  // where the global namespace refuses us, this goes on without it
      break;
  }
  return Exclusion::kGoesOn;
}

}  // namespace somv
