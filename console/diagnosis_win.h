#pragma once
// `diagnose` on this machine: reads what the tool would read and changes
// nothing. No mutex, no printer opened; the status library is loaded only to
// see that it binds, and none of its functions is called.
#include <string>

#include "console/diagnosis.h"

namespace somv {

Diagnosis DiagnoseThisMachine(const std::wstring& settingsPath);

}  // namespace somv
