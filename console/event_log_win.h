#pragma once
// The audit trail of `set`: one Application event per printer it changed or
// failed to change. An event that cannot be written never fails the run.
#include <cstdint>
#include <string>

namespace somv {

struct TimerWriteEvent {
  std::u16string printer;
  std::uint16_t before = 0;
  std::uint16_t after = 0;  // the code written, or the one that failed
  std::u16string reason;    // --reason, may be empty
};

// Event 1000, information.
void RecordTimerChanged(const TimerWriteEvent& event);
// Event 1001, warning; `failure` says what the printer answered.
void RecordTimerWriteFailed(const TimerWriteEvent& event, const std::u16string& failure);

// The source's registry entry, pointing at this program for the sentences;
// safe to repeat. Empty on success, else what failed.
std::u16string RegisterTheEventSource();

}  // namespace somv
