#include "console/console_run.h"

#include <string>
#include <utility>

#include "common/names.h"
#include "common/ordinal.h"
#include "console/console_identity.h"
#include "console/console_json.h"
#include "console/console_text.h"
#include "console/printer_road.h"
#include "settings/settings_encoding.h"

namespace somv {
namespace {

SettingsEncoding EncodingOf(const ConsoleEntryPoints& entry, const std::u16string& path) {
  const std::string start = entry.firstBytes(path, kEncodingMarkBytes);
  return EncodingOfFileStart(reinterpret_cast<const unsigned char*>(start.data()), start.size());
}

// The profile reader takes a UTF-8 byte-order mark as part of the first
// line, so Windows finds no section at the file's start; Wine does.
bool StartsWithUtf8Mark(const ConsoleEntryPoints& entry, const std::u16string& path) {
  return EncodingOf(entry, path) == SettingsEncoding::Utf8WithMark;
}

std::optional<std::vector<PrinterRow>> SelectedRows(const ConsoleInvocation& invocation,
                                                    const DiscoveryResult& found) {
  if (invocation.command == ConsoleCommand::List || invocation.allPrinters) return found.rows;
  for (const PrinterRow& candidate : found.rows) {
    if (OrdinalCompare(candidate.strPrinterName, invocation.printerName) == 0) {
      return std::vector<PrinterRow>{candidate};
    }
  }
  return std::nullopt;
}

// The library is released before the connection goes, so that a handle a
// refused close left recorded is forgotten, not offered to the library again.
class BoundStatusLibrary {
 public:
  explicit BoundStatusLibrary(const ConsoleEntryPoints& entry)
      : m_entry(entry), m_bound(entry.bindStatusLibrary(m_connection)) {}
  ~BoundStatusLibrary() { m_entry.releaseStatusLibrary(m_connection); }
  BoundStatusLibrary(const BoundStatusLibrary&) = delete;
  BoundStatusLibrary& operator=(const BoundStatusLibrary&) = delete;

  const ConsoleEntryPoints& m_entry;
  DeviceConnection m_connection;
  const bool m_bound;
};

void TakeEachRoad(const ConsoleInvocation& invocation, const ConsoleEntryPoints& entry,
                  const std::vector<PrinterRow>& rows, const std::u16string& settingsPath, ConsoleResult& result,
                  RunProgress& progress) {
  BoundStatusLibrary library(entry);
  if (!library.m_bound) {
    result.error = RunError::StatusLibrary;
    const bool onePrinter = !invocation.allPrinters && invocation.command != ConsoleCommand::List;
    result.errorSubject = onePrinter ? invocation.printerName : u"";
    result.underWow64 = entry.underWow64();
    return;
  }
  const MinimumFirmwareReader readMinimum = entry.minimumsOf(settingsPath);
  PrinterTask task;
  task.plan = result.Converging();
  task.write = invocation.command == ConsoleCommand::Set && !invocation.check;
  task.setting = invocation.setting;
  const RoadWatch watch{[&] { return !entry.stopRequested(); },
                        [&](const PrinterRecord& record) { progress.StepTaken(record); }};
  for (const PrinterRow& row : rows) {
    if (entry.stopRequested()) return;
    result.printers.push_back(TakePrinterRoad(library.m_connection, readMinimum, row, task, watch));
    const PrinterRecord& record = result.printers.back();
    if (const std::optional<TimerWriteEvent> event = EventOf(invocation, result, record)) entry.recordEvent(*event);
    progress.PrinterDone(record);
  }
}

void RunPrinters(const ConsoleInvocation& invocation, const ConsoleEntryPoints& entry, ConsoleResult& result,
                 RunProgress& progress) {
  const std::u16string settingsPath = entry.settingsPath(invocation.settingsPath);
  if (settingsPath.empty() || !entry.fileExists(settingsPath)) {
    result.error = RunError::SettingsMissing;
    result.errorSubject = settingsPath.empty() ? invocation.settingsPath.value_or(kSettingsFileName) : settingsPath;
    return;
  }
  if (StartsWithUtf8Mark(entry, settingsPath)) result.settingsWithUtf8Mark = settingsPath;
  result.elevated = entry.runsElevated();
  progress.Began(result);
  const DiscoveryResult found = entry.findPrinters(settingsPath);
  if (entry.stopRequested()) {
    result.error = RunError::Stopped;
    return;
  }
  if (found.listingFailed) {
    result.error = RunError::PrintersUnavailable;
    return;
  }
  const std::optional<std::vector<PrinterRow>> rows = SelectedRows(invocation, found);
  if (!rows) {
    result.error = RunError::PrinterNotFound;
    result.errorSubject = invocation.printerName;
    return;
  }
  if (!rows->empty()) TakeEachRoad(invocation, entry, *rows, settingsPath, result, progress);
  if (result.error != RunError::None) return;
  result.error = entry.stopRequested() ? RunError::Stopped : ErrorAfterPrinters(result);
}

// Reads what the tool would read and changes nothing: no mutex, no printer.
void Diagnose(const ConsoleInvocation& invocation, const ConsoleEntryPoints& entry, ConsoleResult& result) {
  const std::u16string path = entry.settingsPath(invocation.settingsPath);
  const bool exists = !path.empty() && entry.fileExists(path);
  Diagnosis diagnosis = entry.diagnose(exists ? path : u"");
  diagnosis.settings.path = path.empty() ? invocation.settingsPath.value_or(u"") : path;
  diagnosis.settings.exists = exists;
  if (exists) diagnosis.settings.encoding = EncodingOf(entry, path);
  diagnosis.process = {entry.runsElevated(), entry.underWow64()};
  result.error = ErrorOfDiagnosis(diagnosis);
  result.diagnosis = std::move(diagnosis);
}

}  // namespace

ConsoleStart StartConsoleRun(const std::vector<std::u16string>& arguments, const ConsoleEntryPoints& entry) {
  const ArgumentReading reading = ReadConsoleArguments(arguments);
  ConsoleStart start;
  ConsoleResult& result = start.result;
  if (!reading.invocation) {
    result.error = RunError::WrongUse;
    result.errorSubject = reading.error;
    start.form = reading.json ? AnswerForm::Json : AnswerForm::Text;
    return start;
  }
  start.invocation = reading.invocation;
  const ConsoleInvocation& invocation = *start.invocation;
  start.form = invocation.form;
  result.command = invocation.command;
  result.check = invocation.check;
  result.timeoutSeconds = invocation.timeoutSeconds;
  if (invocation.command == ConsoleCommand::RegisterEventSource) {
    result.errorSubject = entry.registerEventSource();
    if (!result.errorSubject.empty()) result.error = RunError::RegistrationFailed;
  }
  if (invocation.command == ConsoleCommand::Diagnose) Diagnose(invocation, entry, result);
  return start;
}

void RunPrinterCommand(const ConsoleInvocation& invocation, const ConsoleEntryPoints& entry, ConsoleResult& result,
                       RunProgress& progress) {
  const bool held = entry.withToolMutexes(invocation.waitSeconds,
                                          [&] { RunPrinters(invocation, entry, result, progress); });
  if (!held) result.error = entry.stopRequested() ? RunError::Stopped : RunError::ToolRunning;
}

std::optional<TimerWriteEvent> EventOf(const ConsoleInvocation& invocation, const ConsoleResult& result,
                                       const PrinterRecord& record) {
  if (invocation.command != ConsoleCommand::Set || invocation.check || !record.codeRead || !record.codeMeant) {
    return std::nullopt;
  }
  if (!record.written && record.error != PrinterError::WriteFailed) return std::nullopt;
  TimerWriteEvent event{record.printerName, *record.codeRead, *record.codeMeant, invocation.reason, record.written,
                        {}};
  if (!record.written) event.failure = PrinterMessage(record, result);
  return event;
}

int Answer(AnswerForm form, const ConsoleResult& result, const ConsoleEntryPoints& entry) {
  std::u16string out;
  if (form == AnswerForm::Json) {
    out = FormatAnswerJson(result, std::u16string(kConsoleName) + u".EXE", kConsoleVersion) + u"\r\n";
  } else if (form == AnswerForm::PrinterArray && result.ReachedPrinters()) {
    out = FormatPrinterArrayJson(result);
  } else {
    out = FormatText(result);
  }
  entry.writeError(FormatErrorLines(result));
  if (out.empty() || entry.writeOutput(out)) return result.ExitStatus();
  ConsoleResult refused;
  refused.error = RunError::OutputFailed;
  entry.writeError(FormatErrorLines(refused));
  return refused.ExitStatus();
}

int FinishConsoleRun(ConsoleStart& start, const ConsoleEntryPoints& entry) {
  if (start.ReachesPrinters()) {
    RunProgress progress;
    RunPrinterCommand(*start.invocation, entry, start.result, progress);
  }
  return Answer(start.form, start.result, entry);
}

}  // namespace somv
