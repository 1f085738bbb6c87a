#pragma once
// What a run holds and watches while it talks to printers: the tool's
// mutexes, and Ctrl+C, Ctrl+Break or the closing of its console window,
// which end the run only between steps.
#include "common/tool_mutexes_win.h"

namespace somv {

// From here on Ctrl+C, Ctrl+Break and the console window's close only ask the
// run to stop; it stops before its next printer or write, never within a
// write. After a close the system ends the process about 5 s later, so the
// run has that long to finish its write and answer.
void DeferConsoleInterrupts();
bool StopRequested();

}  // namespace somv
