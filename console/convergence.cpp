#include "console/convergence.h"

namespace somv {

Convergence DecideConvergence(std::uint16_t codeRead, const TimerSetting& setting, bool check) {
  Convergence decision;
  decision.target = TimerCodeToWrite(codeRead, setting);
  if (!decision.target) return decision;
  decision.inDesiredState = *decision.target == codeRead;
  decision.changed = !decision.inDesiredState;
  decision.write = decision.changed && !check;
  return decision;
}

}  // namespace somv
