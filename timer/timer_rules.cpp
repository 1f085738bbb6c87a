#include "timer/timer_rules.h"

namespace somv {

int ChoiceIndexOf(std::uint16_t timerValue, const TimerChoice* choices) {
  for (int index = 0; choices[index].timerValue != 0; ++index) {
    if (choices[index].timerValue == timerValue) return index;
  }
  return kNoChoice;
}

bool TimerControlsEnabled(int checkState) { return checkState == kCheckChecked; }

TimerOkDecision DecideTimerOk(bool diagnosticMode, int selectedIndex, int checkState) {
  if (diagnosticMode) return {TimerOkAction::Close, 0};
  if (selectedIndex < 0) return {TimerOkAction::ReportNoChoice, 0};
  return {TimerOkAction::Write, PowerOffTimer::OfChoice(selectedIndex, checkState != kCheckUnchecked).Encode()};
}

}  // namespace somv
