#include "common/tool_exclusion.h"

#include <gtest/gtest.h>

namespace somv {
namespace {

using A = MutexAnswer;
using E = Exclusion;

struct ExclusionCase {
  const char* what;
  std::uint32_t session;
  MutexAnswer local;
  MutexAnswer global;
  Exclusion expected;
};

TEST(ToolExclusion, GoesOnOnlyWhereNoOtherProcessHoldsEitherName) {
  const ExclusionCase cases[] = {
      {"alone in a user's session", 1, A::kCreated, A::kCreated, E::kGoesOn},
      {"the global namespace refuses the companion", 1, A::kCreated, A::kFailed, E::kGoesOn},
      {"the tool or a run in this session", 1, A::kExisted, A::kFailed, E::kHeldInThisSession},
      {"the name is another kind of object", 1, A::kFailed, A::kFailed, E::kHeldInThisSession},
      {"a run as SYSTEM in session 0", 1, A::kCreated, A::kExisted, E::kHeldElsewhere},
      {"another account's tool in session 2", 1, A::kCreated, A::kDenied, E::kHeldElsewhere},
      // In session 0 the companion is the name just created, not another's.
      {"alone in session 0: one object under both names", 0, A::kCreated, A::kExisted, E::kGoesOn},
      {"another run in session 0", 0, A::kExisted, A::kFailed, E::kHeldInThisSession},
  };
  for (const ExclusionCase& c : cases) {
    EXPECT_EQ(DecideExclusion(c.session, c.local, c.global), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace somv
