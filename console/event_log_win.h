#pragma once
// The audit trail of `set`: one Application event per printer it changed or
// failed to change. An event that cannot be written never fails the run.
#include <string>

#include "console/console_run.h"

namespace somv {

// Event 1000, information, for a write; event 1001, warning, for a failed
// one, with what the printer answered.
void RecordTimerEvent(const TimerWriteEvent& event);

// The source's registry entry, pointing at this program for the sentences;
// safe to repeat. Empty on success, else what failed.
std::u16string RegisterTheEventSource();

}  // namespace somv
