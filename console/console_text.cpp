#include "console/console_text.h"

#include <cstdio>
#include <string_view>

#include "common/names.h"
#include "console/console_identity.h"
#include "console/diagnosis_report.h"
#include "console/json_writer.h"
#include "timer/power_off_timer.h"

namespace somv {
namespace {

constexpr char16_t kNone[] = u"-";

constexpr char16_t kCommandsHelp[] =
    u"Sets the automatic power-off timer of the supported printers of this machine.\r\n"
    u"\r\n"
    u"  list                          every supported printer with its firmware and power-off setting\r\n"
    u"  get PRINTER|--all             the same for one printer, by its exact name, or for all\r\n"
    u"  test PRINTER|--all off|on|N   whether the printers already have that setting (status 1: not all)\r\n"
    u"  set PRINTER|--all off|on|N    power-off off or on keeping the printer's choice, or choice N (1-";
constexpr char16_t kOptionsHelp[] =
    u")\r\n"
    u"                                and on; writes only where the setting differs\r\n"
    u"  register-event-source         registers the event log source (run it elevated)\r\n"
    u"  diagnose                      why each installed printer is listed or not, and what to mend\r\n"
    u"\r\n"
    u"  --check                       set: say what would change, write nothing\r\n"
    u"  --reason TEXT                 set: the reason the event log records with a change\r\n"
    u"  --json                        one line of JSON answering the run, failures included\r\n"
    u"  --json=array                  list: the printers as a JSON array\r\n"
    u"  --settings PATH               the settings file to use instead of " SOMV_SETTINGS_FILE " beside this program\r\n"
    u"  --wait SECONDS                while " SOMV_TITLE " or another run holds the printers, try again until then\r\n"
    u"  --timeout SECONDS             end the run by then with what it did (status 12)\r\n"
    u"  --version, --help             the program's version, this text\r\n"
    u"\r\n";

// The help's line width for the exit statuses.
constexpr std::size_t kHelpWidth = 98;

// `text` broken between words into lines of at most kHelpWidth units.
std::u16string Wrapped(std::u16string_view text) {
  std::u16string out;
  std::size_t lineStart = 0;
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t space = text.find(u' ', from);
    const std::size_t wordEnd = space == std::u16string_view::npos ? text.size() : space;
    if (out.size() > lineStart && out.size() - lineStart + 1 + (wordEnd - from) > kHelpWidth) {
      out += u"\r\n";
      lineStart = out.size();
    } else if (out.size() > lineStart) {
      out += u' ';
    }
    out.append(text.substr(from, wordEnd - from));
    from = wordEnd + 1;
  }
  return out + u"\r\n";
}

// Every status of kRunErrors, drift in its place by number.
std::u16string StatusesHelp() {
  std::u16string text = u"Exit status:";
  bool driftNamed = false;
  for (const RunErrorRow& row : kRunErrors) {
    if (!driftNamed && row.exitStatus > kDriftStatus) {
      text += u" " + DecimalText(kDriftStatus) + u" test found a printer to change,";
      driftNamed = true;
    }
    text += u" " + DecimalText(row.exitStatus) + u" " + row.meaning + u",";
  }
  text.back() = u'.';
  return Wrapped(text);
}

std::u16string HelpText() {
  return kCommandsHelp + DecimalText(TimerChoiceCount()) + kOptionsHelp + StatusesHelp();
}

std::u16string Ascii(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

}  // namespace

std::u16string TableText(std::u16string_view text) {
  std::u16string out;
  for (char16_t unit : text) {
    if (unit == u'\t') {
      out += u"\\t";
    } else if (unit == u'\n') {
      out += u"\\n";
    } else if (unit == u'\r') {
      out += u"\\r";
    } else if (unit < 0x20 || unit == 0x7F) {
      char escape[8] = {};
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(unit));
      out += Ascii(escape);
    } else {
      out += unit;
    }
  }
  return out;
}

namespace {

std::u16string TableCell(const std::optional<std::u16string>& text) { return text ? TableText(*text) : kNone; }

// The status library may need administrator rights for what failed; the
// program never asks for them, so the failure says where they come from.
std::u16string WithRightsHint(const ConsoleResult& result, std::u16string failure) {
  if (!result.elevated) {
    failure += u" (not running elevated: run it from an elevated shell or an agent with administrator rights)";
  }
  return failure;
}

std::u16string TimedOutMessage(const PrinterRecord& record) {
  switch (record.step) {
    case RoadStep::Open: return u"the time limit passed while the printer was being opened";
    case RoadStep::Firmware: return u"the time limit passed while the firmware version was being read";
    case RoadStep::Read: return u"the time limit passed while the timer setting was being read";
    case RoadStep::Write:
      return u"the time limit passed while the timer setting was being written: whether it was written is unknown";
    case RoadStep::Done: break;
  }
  return u"the time limit passed";
}

const PrinterRecord* PrinterWaitedOn(const ConsoleResult& result) {
  for (const PrinterRecord& record : result.printers) {
    if (record.error == PrinterError::TimedOut) return &record;
  }
  return nullptr;
}

std::u16string StatusLibraryMissing(const ConsoleResult& result) {
  std::u16string message = result.errorSubject.empty() ? u"" : u"printer " + Quoted(result.errorSubject) + u": ";
  message += u"the status library " + std::u16string(ThisBuild().statusLibrary) +
             u" is missing from the printer driver directory or lacks an entry point";
  if (result.underWow64) {
    message += u" (this 32-bit program looks in the 32-bit driver folder: on 64-bit Windows use " +
               std::u16string(kConsoleName64) + u")";
  }
  return message;
}

std::u16string PrinterTable(const ConsoleResult& result) {
  std::u16string out = u"printer\tdriver\tfirmware\tminimum\tgate\tpower-off\tchoice\tcode\tstatus\r\n";
  for (const PrinterRecord& record : result.printers) {
    const PrinterFields fields = FieldsOf(record, result);
    out += TableText(record.printerName) + u'\t' + TableText(record.driverName) + u'\t' +
           TableCell(record.firmware) + u'\t' + TableText(record.minimumFirmware) + u'\t' +
           TableCell(fields.gate) + u'\t' + TableCell(fields.powerOff) + u'\t' +
           (fields.choice ? DecimalText(*fields.choice) : kNone) + u'\t' + TableCell(fields.code) + u'\t' +
           TableText(fields.status) + u"\r\n";
  }
  if (result.Converging()) out += SummaryLine(result) + u"\r\n";
  return out;
}

std::u16string ErrorLine(std::u16string_view message) {
  return std::u16string(kConsoleName) + u": " + std::u16string(message) + u"\r\n";
}

}  // namespace

std::u16string TimerCodeText(std::uint16_t code) {
  char text[8] = {};
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(code));
  return Ascii(text);
}

PrinterFields FieldsOf(const PrinterRecord& record, const ConsoleResult& result) {
  PrinterFields fields;
  if (record.gatePasses) fields.gate = *record.gatePasses ? u"pass" : u"fail";
  const std::optional<std::uint16_t> code = record.written ? record.codeMeant : record.codeRead;
  if (code) {
    const PowerOffTimer timer = PowerOffTimer::Decode(*code);
    fields.powerOff = timer.powerOffEnabled ? u"on" : u"off";
    if (timer.ChoiceIndex() != kNoChoice) fields.choice = timer.ChoiceIndex() + 1;
    fields.code = TimerCodeText(*code);
  }
  fields.status = record.error == PrinterError::None ? u"ok" : PrinterMessage(record, result);
  return fields;
}

std::u16string PrinterMessage(const PrinterRecord& record, const ConsoleResult& result) {
  const std::u16string firmware = u"firmware " + record.firmware.value_or(u"");
  switch (record.error) {
    case PrinterError::None: return {};
    case PrinterError::OpenFailed: return WithRightsHint(result, u"the printer could not be opened");
    case PrinterError::FirmwareUnreadable: return u"the firmware version could not be read";
    case PrinterError::FirmwareTooOld: return firmware + u" is below the minimum " + record.minimumFirmware;
    case PrinterError::SettingsMissing: return firmware + u" cannot be checked: the settings file is gone";
    case PrinterError::ReadFailed: return WithRightsHint(result, u"the timer setting could not be read");
    case PrinterError::WriteFailed: return WithRightsHint(result, u"the timer setting could not be written");
    case PrinterError::NoChoiceToKeep:
      return u"the printer's timer code " + TimerCodeText(record.codeRead.value_or(0)) +
             u" is none of the choices, so there is none to keep: give a choice number";
    case PrinterError::Stopped: return u"stopped before the write";
    case PrinterError::TimedOut: return TimedOutMessage(record);
  }
  return {};
}

std::u16string RunErrorMessage(const ConsoleResult& result) {
  const std::u16string& subject = result.errorSubject;
  switch (result.error) {
    case RunError::None: return {};
    case RunError::WrongUse: return subject + u" (--help lists the commands)";
    case RunError::PrinterNotFound: return u"printer " + Quoted(subject) + u" is not among the supported printers";
    case RunError::StatusLibrary: return StatusLibraryMissing(result);
    case RunError::PrinterFailed: return u"a printer failed";
    case RunError::SettingsMissing: return u"the settings file " + Quoted(subject) + u" is missing";
    case RunError::ToolRunning:
      return SOMV_WIDE(SOMV_TITLE) u" is running (or another run of this program): close it and try again";
    case RunError::PrintersUnavailable:
      return u"the installed printers could not be listed: the print spooler is stopped or refused";
    case RunError::OutputFailed: return u"standard output could not be written (closed or full)";
    case RunError::Stopped: return u"stopped by Ctrl+C, Ctrl+Break or the console window's close";
    case RunError::RegistrationFailed: return subject;
    case RunError::FoundSomethingToMend: return RowOf(result.error).meaning;
    case RunError::TimedOut: {
      std::u16string message = u"the time limit of " + DecimalText(result.timeoutSeconds) + u" s passed";
      if (const PrinterRecord* waited = PrinterWaitedOn(result)) {
        message += u" while waiting on printer " + Quoted(waited->printerName);
      }
      return message;
    }
  }
  return {};
}

std::u16string FormatText(const ConsoleResult& result) {
  if (!result.command) return {};
  switch (*result.command) {
    case ConsoleCommand::Help: return HelpText();
    case ConsoleCommand::Version: return std::u16string(kConsoleName) + u" " + kConsoleVersion + u"\r\n";
    case ConsoleCommand::RegisterEventSource:
      if (result.error != RunError::None) return {};
      return u"the event source " + std::u16string(kEventSource) + u" is registered\r\n";
    case ConsoleCommand::Diagnose: return result.diagnosis ? FormatDiagnosisText(*result.diagnosis) : u"";
    default: return result.ReachedPrinters() ? PrinterTable(result) : u"";
  }
}

std::u16string SummaryLine(const ConsoleResult& result) {
  const Tally tally = TallyOf(result.printers);
  if (result.command == ConsoleCommand::Test) {
    return u"summary: drift=" + DecimalText(tally.changed) + u" ok=" + DecimalText(tally.unchanged) +
           u" failed=" + DecimalText(tally.failed);
  }
  return u"summary: " + std::u16string(result.check ? u"check " : u"") + u"changed=" + DecimalText(tally.changed) +
         u" unchanged=" + DecimalText(tally.unchanged) + u" failed=" + DecimalText(tally.failed);
}

std::u16string FormatErrorLines(const ConsoleResult& result) {
  std::u16string out;
  if (!result.settingsWithUtf8Mark.empty()) {
    out += ErrorLine(u"warning: the settings file " + Quoted(result.settingsWithUtf8Mark) +
                     u" starts with a UTF-8 byte-order mark, which Windows reads as part of its first line: "
                     u"save it as ANSI or as UTF-16LE with its byte-order mark");
  }
  if (result.command != ConsoleCommand::List) {
    for (const PrinterRecord& record : result.printers) {
      if (record.error == PrinterError::None) continue;
      const bool writeUnknown = record.error == PrinterError::TimedOut && record.step == RoadStep::Write;
      const bool set = result.command == ConsoleCommand::Set;
      out += ErrorLine(u"printer " + Quoted(record.printerName) + u": " + PrinterMessage(record, result) +
                       (set && !writeUnknown ? u"; nothing was written" : u""));
    }
  }
  if (result.error != RunError::None && result.error != RunError::PrinterFailed) {
    out += ErrorLine(RunErrorMessage(result));
  }
  return out;
}

}  // namespace somv
