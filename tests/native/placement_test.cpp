#include "app/placement.h"

#include <gtest/gtest.h>

#include <string>

namespace somv {
namespace {

struct PlacementCase {
  bool debugUI;
  bool tempCopy;
  bool relaunchSucceeds;
  Placement expected;
  // Which questions were asked, in order: d(ebug), t(emp copy), r(elaunch).
  const char* asked;
};

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, StopsAtTheFirstAnswerThatDecides) {
  const PlacementCase& c = GetParam();
  std::string asked;
  const Placement placement = DecidePlacement([&] { asked += 'd'; return c.debugUI; },
                                              [&] { asked += 't'; return c.tempCopy; },
                                              [&] { asked += 'r'; return c.relaunchSucceeds; });
  EXPECT_EQ(placement, c.expected);
  EXPECT_EQ(asked, c.asked);
}

INSTANTIATE_TEST_SUITE_P(
    AllAnswers, PlacementTest,
    ::testing::Values(
        // Diagnostic mode never relaunches, whatever else holds.
        PlacementCase{true, false, true, Placement::kInPlace, "d"},
        PlacementCase{true, true, true, Placement::kInPlace, "d"},
        // The temporary copy never relaunches again.
        PlacementCase{false, true, true, Placement::kInPlace, "dt"},
        PlacementCase{false, true, false, Placement::kInPlace, "dt"},
        // A normal start hands over only when the relaunch succeeds.
        PlacementCase{false, false, true, Placement::kHandedOver, "dtr"},
        PlacementCase{false, false, false, Placement::kInPlace, "dtr"}));

}  // namespace
}  // namespace somv
