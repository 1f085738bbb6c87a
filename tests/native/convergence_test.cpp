#include "console/convergence.h"

#include <gtest/gtest.h>

namespace somv {
namespace {

using Kind = TimerSetting::Kind;

TEST(DecideConvergence, WritesOnlyWhatDiffersFromTheCodeRead) {
  struct Case {
    std::uint16_t read;
    TimerSetting setting;
    bool check;
    std::optional<std::uint16_t> target;
    bool write;
    bool changed;
    bool inDesiredState;
  };
  const Case cases[] = {
      {0x0003, {Kind::Choice, 3}, false, 0x0003, false, false, true},
      {0x8005, {Kind::Choice, 3}, false, 0x0003, true, true, false},
      {0x8005, {Kind::Choice, 3}, true, 0x0003, false, true, false},
      {0x8005, {Kind::Off, 0}, false, 0x8005, false, false, true},
      {0x0005, {Kind::Off, 0}, false, 0x8005, true, true, false},
      {0x8005, {Kind::On, 0}, true, 0x0005, false, true, false},
      {0x0003, {Kind::On, 0}, true, 0x0003, false, false, true},
      // A code no choice names: off/on keep nothing; a number writes.
      {0x0009, {Kind::Off, 0}, false, std::nullopt, false, false, false},
      {0x8000, {Kind::On, 0}, true, std::nullopt, false, false, false},
      {0x0009, {Kind::Choice, 8}, false, 0x0008, true, true, false},
      // Bits the dialog never writes are replaced, not kept.
      {0x4003, {Kind::Choice, 3}, false, 0x0003, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    const Convergence decision = DecideConvergence(c.read, c.setting, c.check);
    EXPECT_EQ(decision.target, c.target);
    EXPECT_EQ(decision.write, c.write);
    EXPECT_EQ(decision.changed, c.changed);
    EXPECT_EQ(decision.inDesiredState, c.inDesiredState);
  }
}

}  // namespace
}  // namespace somv
