#pragma once
// What a run watches while it talks to printers: Ctrl+C, Ctrl+Break, the
// closing of its console window and the system's shutdown, which end the run
// only between steps.
namespace somv {

// From here on Ctrl+C, Ctrl+Break, the console window's close and a shutdown
// only ask the run to stop; it stops before its next printer or write, never
// within a write. After a close the system ends the process about 5 s later,
// so the run has that long to finish its write and answer. A user's logoff,
// which reaches every console process of session 0, leaves the run alone.
void DeferConsoleInterrupts();
bool StopRequested();

}  // namespace somv
