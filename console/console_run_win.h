#pragma once
// The console run's entry points bound to the system: the settings file,
// the spooler, the status library, the token, the tool's mutexes, the event
// log, the stop flag and the standard streams.
#include <chrono>

#include "console/console_run.h"

namespace somv {

// `started`: when the process started, from which --wait counts.
ConsoleEntryPoints SystemEntryPoints(std::chrono::steady_clock::time_point started);

}  // namespace somv
