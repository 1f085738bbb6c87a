#pragma once
// What the timer settings dialog shows for a timer code, when its companion
// controls are enabled, and what its OK button does.
#include <cstdint>
#include <optional>

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

// The code OK writes for a choice (list index) and the box; nothing when the
// index names no choice.
std::optional<std::uint16_t> TimerCodeOfChoice(int choiceIndex, bool powerOffEnabled);

// A setting asked for without the dialog: off and on keep the printer's
// choice; a number selects that choice and switches power-off on, as ticking
// the box and picking from the list would.
struct TimerSetting {
  enum class Kind { Off, On, Choice } kind = Kind::On;
  int choice = 0;  // 1 to 8 for Kind::Choice
};

enum class TimerPlanAction { Write, AlreadySet, NoChoiceToKeep };

struct TimerWritePlan {
  TimerPlanAction action = TimerPlanAction::NoChoiceToKeep;
  std::uint16_t code = 0;  // the code the printer is to hold; 0 when no choice to keep
};

// What OK would write for `setting` over a printer holding `codeRead`, and
// whether that differs from it. Bits the dialog never writes are replaced.
TimerWritePlan PlanTimerWrite(const TimerSetting& setting, std::uint16_t codeRead);

}  // namespace somv
