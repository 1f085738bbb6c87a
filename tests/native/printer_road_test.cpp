#include "console/printer_road.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/native/fake_status_library.h"

namespace somv {
namespace {

using namespace testing_fakes;
using Kind = TimerSetting::Kind;

struct RoadCase {
  const char* what;
  std::int32_t openResult;
  std::uint8_t minor;                     // firmware 01.<minor>; the driver's minimum is 01.02
  std::optional<std::u16string> minimum;  // nothing: the settings file is gone
  std::set<std::uint32_t> failing;
  std::uint16_t code;
  PrinterTask task;
  bool mayWrite;
  PrinterError error;
  RoadStep step;
  std::optional<std::uint16_t> meant;
  bool written;
  std::uint16_t codeHeld;  // by the printer afterwards
};

const PrinterTask kGet{false, false, {}};
const PrinterTask kSet3{true, true, {Kind::Choice, 3}};
const PrinterTask kCheck3{true, false, {Kind::Choice, 3}};

TEST(TakePrinterRoad, GatesReadsPlansAndWritesOnlyWhatDiffers) {
  const RoadCase cases[] = {
      {"get", 1, 5, u"01.02", {}, 0x8005, kGet, true, PrinterError::None, RoadStep::Done, {}, false, 0x8005},
      {"open fails", 0, 5, u"01.02", {}, 3, kSet3, true, PrinterError::OpenFailed, RoadStep::Open, {}, false, 3},
      {"no version", 1, 5, u"01.02", {22}, 3, kSet3, true, PrinterError::FirmwareUnreadable, RoadStep::Firmware, {}, false, 3},
      {"too old", 1, 1, u"01.02", {}, 3, kSet3, true, PrinterError::FirmwareTooOld, RoadStep::Firmware, {}, false, 3},
      {"settings gone", 1, 5, {}, {}, 3, kSet3, true, PrinterError::SettingsMissing, RoadStep::Firmware, {}, false, 3},
      {"read fails", 1, 5, u"01.02", {11}, 3, kSet3, true, PrinterError::ReadFailed, RoadStep::Read, {}, false, 3},
      {"set", 1, 5, u"01.02", {}, 0x8005, kSet3, true, PrinterError::None, RoadStep::Done, 0x0003, true, 0x0003},
      {"set, in the state", 1, 5, u"01.02", {}, 3, kSet3, true, PrinterError::None, RoadStep::Done, 0x0003, false, 3},
      {"check", 1, 5, u"01.02", {}, 0x8005, kCheck3, true, PrinterError::None, RoadStep::Done, 0x0003, false, 0x8005},
      {"off keeps no choice", 1, 5, u"01.02", {}, 9, {true, true, {Kind::Off, 0}}, true, PrinterError::NoChoiceToKeep,
       RoadStep::Read, {}, false, 9},
      {"write fails", 1, 5, u"01.02", {12}, 0x8005, kSet3, true, PrinterError::WriteFailed, RoadStep::Write, 0x0003,
       false, 0x8005},
      {"stopped before the write", 1, 5, u"01.02", {}, 0x8005, kSet3, false, PrinterError::Stopped, RoadStep::Read,
       0x0003, false, 0x8005},
  };
  for (const RoadCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeLibrary fake;
    fake.openResult = c.openResult;
    fake.minor = c.minor;
    fake.failingRequests = c.failing;
    fake.timerCode = c.code;
    g_fake = &fake;
    DeviceConnection connection;
    Bind(connection);
    int minimumReads = 0;
    const MinimumFirmwareReader readMinimum = [&](const std::u16string& driver) {
      EXPECT_EQ(driver, u"Kelva D");
      ++minimumReads;
      return c.minimum;
    };
    std::vector<RoadStep> steps;
    const RoadWatch watch{[&] { return c.mayWrite; }, [&](const PrinterRecord& r) { steps.push_back(r.step); }};
    const PrinterRecord record = TakePrinterRoad(connection, readMinimum, {u"P", u"Kelva D"}, c.task, watch);
    EXPECT_EQ(record.error, c.error);
    EXPECT_EQ(record.step, c.step);
    EXPECT_EQ(record.codeMeant, c.meant);
    EXPECT_EQ(record.written, c.written);
    EXPECT_EQ(fake.timerCode, c.codeHeld);
    EXPECT_EQ(record.minimumFirmware, c.minimum.value_or(u""));
    EXPECT_EQ(minimumReads, 1);
    EXPECT_EQ(steps.back(), c.step == RoadStep::Done ? steps.back() : c.step);
    // Whatever happened, a device opened is closed once.
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "close 256"), c.openResult);
    g_fake = nullptr;
  }
}

// test ends 1 whenever a printer drifts, so that detection leads to
// remediation; a failure alone ends 5.
TEST(ConsoleResult, ExitStatusOfAConvergingRun) {
  PrinterRecord drifts;
  drifts.codeRead = 0x8005;
  drifts.codeMeant = 0x0003;
  PrinterRecord settled = drifts;
  settled.codeMeant = 0x8005;
  PrinterRecord failed;
  failed.error = PrinterError::OpenFailed;
  struct Case {
    ConsoleCommand command;
    std::vector<PrinterRecord> printers;
    bool stopped;
    int status;
  } const cases[] = {
      {ConsoleCommand::Test, {settled, settled}, false, 0},
      {ConsoleCommand::Test, {drifts, settled}, false, 1},
      {ConsoleCommand::Test, {drifts, failed}, false, 1},
      {ConsoleCommand::Test, {settled, failed}, false, 5},
      {ConsoleCommand::Test, {drifts}, true, 10},
      {ConsoleCommand::Set, {drifts, settled}, false, 0},
      {ConsoleCommand::Set, {drifts, failed}, false, 5},
      {ConsoleCommand::Get, {failed}, false, 5},
      {ConsoleCommand::List, {failed}, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    ConsoleResult result;
    result.command = c.command;
    result.printers = c.printers;
    result.error = c.stopped ? RunError::Stopped : ErrorAfterPrinters(result);
    EXPECT_EQ(result.ExitStatus(), c.status);
  }
}

}  // namespace
}  // namespace somv
