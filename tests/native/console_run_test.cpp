#include "console/console_run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "console/console_text.h"
#include "tests/native/fake_status_library.h"

namespace somv {
namespace {

using namespace testing_fakes;
using Args = std::vector<std::u16string>;

// Two supported printers in list order, over the fake library; a stop is
// requested once the library has seen the call `stopAt`.
struct FakeSystem {
  FakeLibrary library;
  bool settingsThere = true;
  bool listingFails = false;
  bool libraryMissing = false;
  bool toolRunning = false;
  std::string stopAt;
  std::vector<TimerWriteEvent> events;

  ConsoleEntryPoints EntryPoints() {
    ConsoleEntryPoints entry;
    entry.settingsPath = [](const std::optional<std::u16string>& named) { return named.value_or(u"C:\\p\\S.INI"); };
    entry.fileExists = [this](const std::u16string&) { return settingsThere; };
    entry.firstBytes = [](const std::u16string&, std::size_t) { return std::string("[SU"); };
    entry.findPrinters = [this](const std::u16string&) {
      DiscoveryResult found;
      found.listingFailed = listingFails;
      if (!listingFails) found.rows = {{u"Kelva A", u"Kelva D"}, {u"Kelva B", u"Kelva D"}};
      return found;
    };
    entry.minimumsOf = [](const std::u16string&) {
      return [](const std::u16string&) { return std::optional<std::u16string>(u"01.02"); };
    };
    entry.bindStatusLibrary = [this](DeviceConnection& connection) {
      if (!libraryMissing) Bind(connection);
      return !libraryMissing;
    };
    entry.releaseStatusLibrary = [](DeviceConnection&) {};
    // The settings file's path reaches it only when the file is there.
    entry.diagnose = [this](const std::u16string& path) {
      Diagnosis found;
      found.printersListed = !listingFails;
      const PrinterReason reason = path.empty() ? PrinterReason::DriverNotInSettings : PrinterReason::Listed;
      if (!listingFails) found.printers = {{u"Kelva A", u"Kelva D", reason}};
      found.statusLibrary = {u"C:\\d\\3\\L.DLL", true, ThisBuildMachine(), true, {}, false};
      return found;
    };
    entry.runsElevated = [] { return true; };
    entry.underWow64 = [] { return false; };
    entry.withToolMutexes = [this](int, const std::function<void()>& whileHeld) {
      if (!toolRunning) whileHeld();
      return !toolRunning;
    };
    entry.registerEventSource = [] { return std::u16string(); };
    entry.recordEvent = [this](const TimerWriteEvent& event) { events.push_back(event); };
    entry.stopRequested = [this] {
      return !stopAt.empty() && std::find(library.calls.begin(), library.calls.end(), stopAt) != library.calls.end();
    };
    entry.writeOutput = entry.writeError = [](std::u16string_view) { return true; };
    return entry;
  }
};

std::string Outcomes(const ConsoleResult& result) {
  std::string words;
  for (const PrinterRecord& record : result.printers) {
    const std::u16string word = record.error == PrinterError::None ? u"ok" : WordOf(record.error);
    words += (words.empty() ? "" : " ") + std::string(word.begin(), word.end());
  }
  return words;
}

TEST(ConsoleRun, TakesItsStepsInOrderAndNamesWhatFailed) {
  struct Row {
    const char* what;
    Args args;
    void (*arrange)(FakeSystem&);
    int status;
    RunError error;
    std::u16string subject;
    std::string outcomes;
    std::string events;  // w: written, f: a failed write
    std::uint16_t codeHeld;
  };
  const Row rows[] = {
      {"settings missing", {u"list"}, [](FakeSystem& s) { s.settingsThere = false; }, 6, RunError::SettingsMissing,
       u"C:\\p\\S.INI", "", "", 0x8005},
      {"spooler unavailable", {u"list"}, [](FakeSystem& s) { s.listingFails = true; }, 8,
       RunError::PrintersUnavailable, u"", "", "", 0x8005},
      {"library missing", {u"get", u"Kelva A"}, [](FakeSystem& s) { s.libraryMissing = true; }, 4,
       RunError::StatusLibrary, u"Kelva A", "", "", 0x8005},
      {"printer not found", {u"set", u"Kelva Z", u"3"}, [](FakeSystem&) {}, 3, RunError::PrinterNotFound, u"Kelva Z",
       "", "", 0x8005},
      {"tool running", {u"list"}, [](FakeSystem& s) { s.toolRunning = true; }, 7, RunError::ToolRunning, u"", "", "",
       0x8005},
      {"one printer fails under --all", {u"set", u"--all", u"3"},
       [](FakeSystem& s) { s.library.unopenable = {"Kelva A"}; }, 5, RunError::PrinterFailed, u"", "open-failed ok",
       "w", 3},
      {"a write fails", {u"set", u"Kelva B", u"3"}, [](FakeSystem& s) { s.library.failingRequests = {12}; }, 5,
       RunError::PrinterFailed, u"", "write-failed", "f", 0x8005},
      {"stop before a printer", {u"set", u"--all", u"3"}, [](FakeSystem& s) { s.stopAt = "close 256"; }, 10,
       RunError::Stopped, u"", "ok", "w", 3},
      {"stop during one", {u"set", u"--all", u"3"}, [](FakeSystem& s) { s.stopAt = "request 11"; }, 10,
       RunError::Stopped, u"", "stopped", "", 0x8005},
      {"set converges", {u"set", u"--all", u"3"}, [](FakeSystem&) {}, 0, RunError::None, u"", "ok ok", "w", 3},
      {"set --check writes nothing", {u"set", u"--all", u"3", u"--check"}, [](FakeSystem&) {}, 0, RunError::None, u"",
       "ok ok", "", 0x8005},
      {"test with drift and a failure", {u"test", u"--all", u"3"},
       [](FakeSystem& s) { s.library.unopenable = {"Kelva B"}; }, 1, RunError::PrinterFailed, u"", "ok open-failed",
       "", 0x8005},
      {"diagnose while the tool runs", {u"diagnose"}, [](FakeSystem& s) { s.toolRunning = true; }, 0, RunError::None,
       u"", "", "", 0x8005},
      {"diagnose without settings", {u"diagnose"}, [](FakeSystem& s) { s.settingsThere = false; }, 13,
       RunError::FoundSomethingToMend, u"", "", "", 0x8005},
      {"diagnose without the spooler", {u"diagnose"}, [](FakeSystem& s) { s.listingFails = true; }, 8,
       RunError::PrintersUnavailable, u"", "", "", 0x8005},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    FakeSystem system;
    system.library.timerCode = 0x8005;
    row.arrange(system);
    g_fake = &system.library;
    const ConsoleEntryPoints entry = system.EntryPoints();
    ConsoleStart start = StartConsoleRun(row.args, entry);
    EXPECT_EQ(FinishConsoleRun(start, entry), row.status);
    EXPECT_EQ(start.result.error, row.error);
    EXPECT_EQ(start.result.errorSubject, row.subject);
    EXPECT_EQ(Outcomes(start.result), row.outcomes);
    std::string events;
    for (const TimerWriteEvent& event : system.events) events += event.written ? "w" : "f";
    EXPECT_EQ(events, row.events);
    EXPECT_EQ(system.library.timerCode, row.codeHeld);
    g_fake = nullptr;
  }
}

// A time limit cuts the run off with what it had learnt before its printers.
TEST(RunProgress, CutOffKeepsWhatTheRunHadLearnt) {
  RunProgress progress;
  ConsoleResult begun;
  begun.settingsWithUtf8Mark = u"C:\\p\\S.INI";
  begun.elevated = false;
  progress.Began(begun);
  PrinterRecord done;
  done.printerName = u"Kelva A";
  progress.PrinterDone(done);
  PrinterRecord opening = done;
  opening.printerName = u"Kelva B";
  progress.StepTaken(opening);
  const std::optional<ConsoleResult> cut = progress.CutOff(ConsoleResult());
  ASSERT_TRUE(cut.has_value());
  EXPECT_EQ(cut->error, RunError::TimedOut);
  EXPECT_EQ(cut->settingsWithUtf8Mark, begun.settingsWithUtf8Mark);
  EXPECT_FALSE(cut->elevated);
  EXPECT_EQ(Outcomes(*cut), "ok timed-out");
  progress.Finish();
  EXPECT_FALSE(progress.CutOff(ConsoleResult()).has_value());
}

}  // namespace
}  // namespace somv
