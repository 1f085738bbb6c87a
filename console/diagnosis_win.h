#pragma once
// `diagnose` on this machine: reads what the tool would read and changes
// nothing. No printer is opened; the status library is loaded only to see
// that it binds, and none of its functions is called.
#include <string>

#include "console/diagnosis.h"

namespace somv {

// The settings entries and diagnostic mode of the file at `settingsPath`
// (none when it is empty), the installed printers judged against it, and the
// status library.
Diagnosis DiagnoseThisMachine(const std::u16string& settingsPath);

}  // namespace somv
