#pragma once
// Where the printer selection dialog runs once start-up has passed its checks.
#include <functional>

namespace somv {

enum class Placement {
  kInPlace,     // run the dialog in this process
  kHandedOver,  // the temporary copy has taken over; end without a window
};

// Asked in this order, stopping at the first that decides: diagnostic mode
// and the temporary copy stay where they are; otherwise `relaunch` runs, and
// only its success hands over. The relaunch copies files and may give up the
// single-instance mutex, so it must not run once an earlier test decided.
Placement DecidePlacement(const std::function<bool()>& debugUIEnabled,
                          const std::function<bool()>& runningFromTempCopy,
                          const std::function<bool()>& relaunch);

}  // namespace somv
