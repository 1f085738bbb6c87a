#include "console/console_result.h"

namespace somv {

const RunErrorRow& RowOf(RunError error) {
  for (const RunErrorRow& row : kRunErrors) {
    if (row.error == error) return row;
  }
  return kRunErrors[0];
}

const char16_t* WordOf(PrinterError error) {
  switch (error) {
    case PrinterError::None: return u"";
    case PrinterError::OpenFailed: return u"open-failed";
    case PrinterError::FirmwareUnreadable: return u"firmware-unreadable";
    case PrinterError::FirmwareTooOld: return u"firmware-too-old";
    case PrinterError::SettingsMissing: return u"settings-missing";
    case PrinterError::ReadFailed: return u"read-failed";
    case PrinterError::WriteFailed: return u"write-failed";
    case PrinterError::NoChoiceToKeep: return u"no-choice-to-keep";
    case PrinterError::Stopped: return u"stopped";
    case PrinterError::TimedOut: return u"timed-out";
  }
  return u"";
}

std::optional<std::uint16_t> PrinterRecord::CodeAfter() const {
  if (!codeMeant) return std::nullopt;
  // A write the time limit cut off may or may not have reached the printer.
  if (error == PrinterError::TimedOut) return std::nullopt;
  if (error == PrinterError::WriteFailed || error == PrinterError::Stopped) return codeRead;
  return codeMeant;
}

bool PrinterRecord::Drifts() const {
  return error == PrinterError::None && codeMeant && codeRead && *codeMeant != *codeRead;
}

int ConsoleResult::ExitStatus() const {
  const bool mayDrift = error == RunError::None || error == RunError::PrinterFailed;
  if (mayDrift && command == ConsoleCommand::Test && TallyOf(printers).changed > 0) return kDriftStatus;
  return RowOf(error).exitStatus;
}

bool ConsoleResult::ReachedPrinters() const {
  return ReachesPrinters() && (error == RunError::None || error == RunError::PrinterFailed ||
                            error == RunError::Stopped || error == RunError::TimedOut);
}

Tally TallyOf(const std::vector<PrinterRecord>& printers) {
  Tally tally;
  for (const PrinterRecord& record : printers) {
    if (record.error != PrinterError::None) {
      ++tally.failed;
    } else if (record.Drifts()) {
      ++tally.changed;
    } else {
      ++tally.unchanged;
    }
  }
  return tally;
}

RunError ErrorAfterPrinters(const ConsoleResult& result) {
  if (result.command == ConsoleCommand::List || TallyOf(result.printers).failed == 0) return RunError::None;
  return RunError::PrinterFailed;
}

RunError ErrorOfDiagnosis(const Diagnosis& diagnosis) {
  if (!diagnosis.printersListed) return RunError::PrintersUnavailable;
  return FindingsOf(diagnosis).empty() ? RunError::None : RunError::FoundSomethingToMend;
}

}  // namespace somv
