#pragma once
// What the timer settings dialog shows for a timer code, when its companion
// controls are enabled, and what its OK button does.
#include <cstdint>

#include "timer/power_off_timer.h"
#include "timer/timer_choices.h"

namespace somv {

// Check box states as the button control reports them.
inline constexpr int kCheckUnchecked = 0;
inline constexpr int kCheckChecked = 1;

// List index of the first choice whose timer value is `timerValue`.
int ChoiceIndexOf(std::uint16_t timerValue, const TimerChoice* choices);

// The list and its companions follow the box only when it is exactly checked.
bool TimerControlsEnabled(int checkState);

enum class TimerOkAction { Close, ReportNoChoice, Write };

struct TimerOkDecision {
  TimerOkAction action;
  std::uint16_t timerCode;  // meaningful for Write only
};

// Diagnostic mode closes without touching the printer; otherwise a choice is
// needed even to switch power-off off.
TimerOkDecision DecideTimerOk(bool diagnosticMode, int selectedIndex, int checkState);

}  // namespace somv
