#include "timer/timer_rules.h"

#include <gtest/gtest.h>

#include "timer/timer_choices.h"

namespace somv {
namespace {

struct ViewCase {
  std::uint16_t code;
  bool powerOffEnabled;
  int choiceIndex;
  std::uint16_t storedCode;
};

TEST(PowerOffTimer, DecodesTheDisabledBitAndTheChoiceAndEncodesAChoiceBack) {
  const ViewCase cases[] = {
      {0x0005, true, 4, 0x0005},   {0x8002, false, 1, 0x0002},  {0x0000, true, kNoChoice, 0x0000},
      {0x0009, true, kNoChoice, 0x0009}, {0x8000, false, kNoChoice, 0x0000}, {0xFFFF, false, kNoChoice, 0x7FFF},
      {0x0001, true, 0, 0x0001},   {0x8008, false, 7, 0x0008},  {0x4005, true, kNoChoice, 0x4005},
  };
  for (const ViewCase& c : cases) {
    SCOPED_TRACE(c.code);
    const PowerOffTimer timer = PowerOffTimer::Decode(c.code);
    EXPECT_EQ(timer.powerOffEnabled, c.powerOffEnabled);
    EXPECT_EQ(timer.ChoiceIndex(), c.choiceIndex);
    EXPECT_EQ(timer.timerValue, c.storedCode);
    if (c.choiceIndex != kNoChoice) {
      EXPECT_EQ(PowerOffTimer::OfChoice(c.choiceIndex, c.powerOffEnabled).Encode(), c.code);
    }
  }
}

TEST(TimerControlsEnabled, OnlyWhenTheBoxIsExactlyChecked) {
  EXPECT_FALSE(TimerControlsEnabled(kCheckUnchecked));
  EXPECT_TRUE(TimerControlsEnabled(kCheckChecked));
  EXPECT_FALSE(TimerControlsEnabled(2));  // indeterminate
}

struct OkCase {
  bool diagnostic;
  int selected;
  int check;
  TimerOkAction action;
  std::uint16_t code;
};

TEST(DecideTimerOk, ClosesInDiagnosticModeAsksForAChoiceOrWritesTheCode) {
  const OkCase cases[] = {
      {true, kNoChoice, kCheckUnchecked, TimerOkAction::Close, 0},
      {true, 3, kCheckChecked, TimerOkAction::Close, 0},
      {false, kNoChoice, kCheckChecked, TimerOkAction::ReportNoChoice, 0},
      {false, kNoChoice, kCheckUnchecked, TimerOkAction::ReportNoChoice, 0},
      {false, 0, kCheckChecked, TimerOkAction::Write, 0x0001},
      {false, 0, kCheckUnchecked, TimerOkAction::Write, 0x8001},
      {false, 7, kCheckChecked, TimerOkAction::Write, 0x0008},
      {false, 7, kCheckUnchecked, TimerOkAction::Write, 0x8008},
      {false, 1, kCheckUnchecked, TimerOkAction::Write, 0x8002},
      {false, 4, kCheckChecked, TimerOkAction::Write, 0x0005},
  };
  for (const OkCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.diagnostic << " " << c.selected << " " << c.check);
    const TimerOkDecision decision = DecideTimerOk(c.diagnostic, c.selected, c.check);
    EXPECT_EQ(decision.action, c.action);
    if (c.action == TimerOkAction::Write) {
      EXPECT_EQ(decision.timerCode, c.code);
    }
  }
}

// Every code the dialog can show comes back unchanged when OK is pressed
// without changes.
TEST(DecideTimerOk, RewritesTheShownCodeUnchanged) {
  for (std::uint16_t value = 1; value <= 8; ++value) {
    for (std::uint16_t disabled : {0x0000, 0x8000}) {
      const auto code = static_cast<std::uint16_t>(value | disabled);
      const PowerOffTimer timer = PowerOffTimer::Decode(code);
      const TimerOkDecision decision =
          DecideTimerOk(false, timer.ChoiceIndex(), timer.powerOffEnabled ? kCheckChecked : kCheckUnchecked);
      EXPECT_EQ(decision.timerCode, code);
    }
  }
}

TEST(PlanTimerWrite, WritesWhatTheDialogsOkWouldOnlyWhereItDiffersFromTheCodeRead) {
  using Kind = TimerSetting::Kind;
  using Plan = TimerPlanAction;
  struct Case {
    std::uint16_t read;
    TimerSetting setting;
    Plan action;
    std::uint16_t code;
  };
  const Case cases[] = {
      {0x0003, {Kind::Choice, 3}, Plan::AlreadySet, 0x0003}, {0x8005, {Kind::Choice, 3}, Plan::Write, 0x0003},
      {0x8005, {Kind::Choice, 2}, Plan::Write, 0x0002},      {0x8005, {Kind::Off, 0}, Plan::AlreadySet, 0x8005},
      {0x0005, {Kind::Off, 0}, Plan::Write, 0x8005},         {0x0003, {Kind::Off, 0}, Plan::Write, 0x8003},
      {0x8005, {Kind::On, 0}, Plan::Write, 0x0005},          {0x8003, {Kind::On, 0}, Plan::Write, 0x0003},
      {0x0003, {Kind::On, 0}, Plan::AlreadySet, 0x0003},
      // A code no choice names: off/on keep nothing; a number writes.
      {0x0009, {Kind::Off, 0}, Plan::NoChoiceToKeep, 0},     {0x8000, {Kind::On, 0}, Plan::NoChoiceToKeep, 0},
      {0x0009, {Kind::Choice, 8}, Plan::Write, 0x0008},
      // Bits the dialog never writes are replaced, not kept.
      {0x4003, {Kind::Choice, 3}, Plan::Write, 0x0003},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    const TimerWritePlan plan = PlanTimerWrite(c.setting, c.read);
    EXPECT_EQ(plan.action, c.action);
    EXPECT_EQ(plan.code, c.code);
  }
}

}  // namespace
}  // namespace somv
