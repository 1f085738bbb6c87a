#include "timer/power_off_timer.h"

#include "timer/timer_choices.h"
#include "timer/timer_rules.h"

namespace somv {
namespace {

constexpr std::uint16_t kPowerOffDisabledBit = 0x8000;

}  // namespace

PowerOffTimer PowerOffTimer::Decode(std::uint16_t code) {
  return {(code & kPowerOffDisabledBit) == 0, static_cast<std::uint16_t>(code & ~kPowerOffDisabledBit)};
}

PowerOffTimer PowerOffTimer::OfChoice(int choiceIndex, bool powerOffEnabled) {
  return {powerOffEnabled, static_cast<std::uint16_t>((choiceIndex + 1) & ~kPowerOffDisabledBit)};
}

std::uint16_t PowerOffTimer::Encode() const {
  const auto value = static_cast<std::uint16_t>(timerValue & ~kPowerOffDisabledBit);
  return powerOffEnabled ? value : static_cast<std::uint16_t>(value | kPowerOffDisabledBit);
}

int PowerOffTimer::ChoiceIndex() const { return ChoiceIndexOf(timerValue, kTimerChoices); }

}  // namespace somv
