#include "app/placement.h"

namespace somv {

Placement DecidePlacement(const std::function<bool()>& debugUIEnabled,
                          const std::function<bool()>& runningFromTempCopy,
                          const std::function<bool()>& relaunch) {
  if (debugUIEnabled()) return Placement::kInPlace;
  if (runningFromTempCopy()) return Placement::kInPlace;
  return relaunch() ? Placement::kHandedOver : Placement::kInPlace;
}

}  // namespace somv
