#pragma once
// Whether a program of the tool may go on, from what creating the tool's two
// mutexes answered: the tool and the console programs never talk to the
// printers at the same time, whichever sessions they run in.
#include <cstdint>

namespace somv {

// What creating one named mutex answered.
enum class MutexAnswer {
  kCreated,  // this process holds the name now
  kExisted,  // another process holds it
  kDenied,   // it exists but is closed to this process: an elevated or another account's holder
  kFailed,   // neither: the namespace refuses, or the name belongs to another kind of object
};

enum class Exclusion {
  kGoesOn,
  kHeldInThisSession,  // by the tool or a run here, or a name this process cannot take
  kHeldElsewhere,      // by another session's tool or a run as a service, seen through the companion
};

// `local` and `global` answered, in that order, for the session's name and its
// companion in the global namespace. In session 0 (services, and agents running
// as SYSTEM) a name without a prefix already lives in the global namespace, so
// there both names are one object and the second answer is the first's echo.
Exclusion DecideExclusion(std::uint32_t session, MutexAnswer local, MutexAnswer global);

}  // namespace somv
