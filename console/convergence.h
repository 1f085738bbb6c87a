#pragma once
// What `test` and `set` do with one printer once its code has been read: the
// code the timer dialog's OK would write for the same choice, written only
// when it differs from the code read.
#include <cstdint>
#include <optional>

#include "console/console_args.h"

namespace somv {

struct Convergence {
  std::optional<std::uint16_t> target;  // nothing: off/on found no choice to keep
  bool write = false;                   // the library is asked to write `target`
  bool changed = false;                 // the printer ends (or, checked, would end) with another code
  bool inDesiredState = false;          // the code read is already `target`
};

// `check` decides the same but never writes.
Convergence DecideConvergence(std::uint16_t codeRead, const TimerSetting& setting, bool check);

}  // namespace somv
