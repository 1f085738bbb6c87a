#pragma once
// What a run of the console program did, before it is put into words: the
// text for people and the JSON line for engines both render this.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/names.h"
#include "console/console_args.h"
#include "console/diagnosis.h"

namespace somv {

// Each run error has one exit status and one word (kRunErrors).
enum class RunError {
  None,
  WrongUse,
  PrinterNotFound,
  StatusLibrary,
  PrinterFailed,
  SettingsMissing,
  ToolRunning,
  PrintersUnavailable,
  OutputFailed,
  Stopped,
  RegistrationFailed,
  TimedOut,
  FoundSomethingToMend,
};

struct RunErrorRow {
  RunError error;
  int exitStatus;
  const char16_t* word;     // the JSON answer's code
  const char16_t* meaning;  // the help's line for the status
};

inline constexpr RunErrorRow kRunErrors[] = {
    {RunError::None, 0, u"", u"done"},
    {RunError::WrongUse, 2, u"wrong-use", u"wrong use"},
    {RunError::PrinterNotFound, 3, u"printer-not-found", u"printer not found among the supported ones"},
    {RunError::StatusLibrary, 4, u"status-library", u"status library missing or unusable"},
    {RunError::PrinterFailed, 5, u"printer-failed", u"a printer failed or its firmware is too old"},
    {RunError::SettingsMissing, 6, u"settings-missing", u"settings file missing"},
    {RunError::ToolRunning, 7, u"tool-running", SOMV_WIDE(SOMV_TITLE) u" is running"},
    {RunError::PrintersUnavailable, 8, u"printers-unavailable", u"the printers could not be listed"},
    {RunError::OutputFailed, 9, u"output-failed", u"the output could not be written"},
    {RunError::Stopped, 10, u"stopped", u"stopped by Ctrl+C, Ctrl+Break or the console window's close"},
    {RunError::RegistrationFailed, 11, u"registration-failed", u"registration failed"},
    {RunError::TimedOut, 12, u"timed-out", u"the time limit passed"},
    {RunError::FoundSomethingToMend, 13, u"something-to-mend", u"diagnose found something to mend"},
};

const RunErrorRow& RowOf(RunError error);

// `test` finds drift: status 1 whatever else failed.
inline constexpr int kDriftStatus = 1;

enum class PrinterError {
  None,
  OpenFailed,
  FirmwareUnreadable,
  FirmwareTooOld,
  SettingsMissing,
  ReadFailed,
  WriteFailed,
  NoChoiceToKeep,
  Stopped,
  TimedOut,
};

const char16_t* WordOf(PrinterError error);

// Where a printer's road was when it ended; a time limit names it.
enum class RoadStep { Open, Firmware, Read, Write, Done };

struct PrinterRecord {
  std::u16string printerName;
  std::u16string driverName;
  std::u16string minimumFirmware;          // as the settings file has it; empty when it names none
  std::optional<std::u16string> firmware;  // once the printer told it
  std::optional<bool> gatePasses;          // once the gate has decided
  std::optional<std::uint16_t> codeRead;
  std::optional<std::uint16_t> codeMeant;  // test and set: the code the setting gives the printer
  bool written = false;                    // set wrote codeMeant
  PrinterError error = PrinterError::None;
  RoadStep step = RoadStep::Open;

  // The code the printer holds after the run (with --check or test: would hold);
  // nothing where it is not known.
  std::optional<std::uint16_t> CodeAfter() const;
  bool Drifts() const;  // no failure, and the setting differs from the code read
};

struct ConsoleResult {
  std::optional<ConsoleCommand> command;  // nothing when the arguments named none
  bool check = false;
  RunError error = RunError::None;
  // What the error names: the argument reader's line, a printer, a path, the
  // event log's answer.
  std::u16string errorSubject;
  std::u16string settingsWithUtf8Mark;  // the settings file's path when it starts with that mark
  bool elevated = true;                 // a refusing library may want administrator rights
  bool underWow64 = false;
  int timeoutSeconds = 0;
  std::vector<PrinterRecord> printers;
  std::optional<Diagnosis> diagnosis;  // diagnose

  bool Converging() const { return command == ConsoleCommand::Test || command == ConsoleCommand::Set; }
  bool ReachesPrinters() const { return command && somv::ReachesPrinters(*command); }
  int ExitStatus() const;
  // The run got as far as the printers: the answer shows them.
  bool ReachedPrinters() const;
};

struct Tally {
  int changed = 0;  // drift: changed, would change, or not in the state
  int unchanged = 0;
  int failed = 0;
};

Tally TallyOf(const std::vector<PrinterRecord>& printers);

// After the printers: 5 once one failed (`list` excepted), unless `test`
// found drift.
RunError ErrorAfterPrinters(const ConsoleResult& result);

// 8 when the spooler listed nothing, 13 on any finding.
RunError ErrorOfDiagnosis(const Diagnosis& diagnosis);

}  // namespace somv
