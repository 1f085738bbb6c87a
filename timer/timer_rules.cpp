#include "timer/timer_rules.h"

#include "device/device_requests.h"

namespace somv {

int ChoiceIndexOf(std::uint16_t timerValue, const TimerChoice* choices) {
  for (int index = 0; choices[index].timerValue != 0; ++index) {
    if (choices[index].timerValue == timerValue) return index;
  }
  return kNoChoice;
}

TimerView ViewOfTimerCode(std::uint16_t timerCode, const TimerChoice* choices) {
  const bool disabled = (timerCode & kPowerOffDisabledBit) != 0;
  const auto value = static_cast<std::uint16_t>(timerCode & ~kPowerOffDisabledBit);
  return {!disabled, ChoiceIndexOf(value, choices), value};
}

bool TimerControlsEnabled(int checkState) { return checkState == kCheckChecked; }

TimerOkDecision DecideTimerOk(bool diagnosticMode, int selectedIndex, int checkState) {
  if (diagnosticMode) return {TimerOkAction::Close, 0};
  if (selectedIndex < 0) return {TimerOkAction::ReportNoChoice, 0};
  return {TimerOkAction::Write, ComposeTimerCode(selectedIndex, checkState != kCheckUnchecked)};
}

}  // namespace somv
