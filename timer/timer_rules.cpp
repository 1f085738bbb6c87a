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
  const std::optional<std::uint16_t> code = TimerCodeOfChoice(selectedIndex, checkState != kCheckUnchecked);
  if (!code) return {TimerOkAction::ReportNoChoice, 0};
  return {TimerOkAction::Write, *code};
}

std::optional<std::uint16_t> TimerCodeOfChoice(int choiceIndex, bool powerOffEnabled) {
  if (choiceIndex < 0) return std::nullopt;
  return PowerOffTimer::OfChoice(choiceIndex, powerOffEnabled).Encode();
}

TimerWritePlan PlanTimerWrite(const TimerSetting& setting, std::uint16_t codeRead) {
  const int choiceIndex = setting.kind == TimerSetting::Kind::Choice ? setting.choice - 1
                                                                     : PowerOffTimer::Decode(codeRead).ChoiceIndex();
  const std::optional<std::uint16_t> code = TimerCodeOfChoice(choiceIndex, setting.kind != TimerSetting::Kind::Off);
  if (!code) return {};
  return {*code == codeRead ? TimerPlanAction::AlreadySet : TimerPlanAction::Write, *code};
}

}  // namespace somv
