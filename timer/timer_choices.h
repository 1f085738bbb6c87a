#pragma once
// The eight timer choices, in list order, ended by a zero row.
namespace somv {

struct TimerChoice {
  unsigned timerValue;     // written to the printer; index in the list + 1
  unsigned labelStringId;  // label in the resource library
};

extern const TimerChoice kTimerChoices[];

}  // namespace somv
