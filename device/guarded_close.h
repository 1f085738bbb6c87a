#pragma once
// The one call into the status library that may throw. The vendor's library
// is built with another compiler, whose C++ exceptions are structured
// exceptions this program's own catch clauses never see; an exception that
// escapes the library's close would otherwise end the process.
#include <cstdint>

#include "device/status_api.h"

namespace somv {

// The close's own answer, or 0 when the library threw instead of answering.
std::int32_t CloseGuarded(ClosePrinterFn close, void* device);

}  // namespace somv
