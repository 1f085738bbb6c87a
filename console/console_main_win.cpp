// The console companion: the tool's discovery, settings, status library,
// firmware gate and timer codes, driven from a command line instead of the
// dialogs, for scripts and management agents.
#include <windows.h>

#include <string>
#include <vector>

#include "common/library_search_win.h"
#include "common/names.h"
#include "common/ordinal.h"
#include "common/path_join.h"
#include "common/win_text.h"
#include "console/console_answer.h"
#include "console/console_args.h"
#include "console/console_identity.h"
#include "console/console_output_win.h"
#include "console/console_report.h"
#include "console/convergence.h"
#include "console/event_log_win.h"
#include "console/printer_access_win.h"
#include "console/run_guards_win.h"
#include "framework/unique_handle.h"
#include "printers/discovery_win.h"
#include "settings/launch_dir_win.h"
#include "settings/settings_win.h"

namespace somv {
namespace {

enum ExitStatus : int {
  kDone = 0,
  kWrongUse = 2,
  kPrinterNotFound = 3,
  kStatusLibraryUnusable = 4,
  kPrinterFailed = 5,
  kSettingsMissing = 6,
  kToolRunning = 7,
  kPrintersUnavailable = 8,
  kOutputFailed = 9,
  kStopped = 10,
  kRegistrationFailed = 11,
};

constexpr char16_t kHelp[] =
    u"Sets the automatic power-off timer of the supported printers of this machine.\r\n"
    u"\r\n"
    u"  list                          every supported printer with its firmware and power-off setting\r\n"
    u"  get PRINTER|--all             the same for one printer, by its exact name, or for all\r\n"
    u"  test PRINTER|--all off|on|N   whether the printers already have that setting (status 1: not all)\r\n"
    u"  set PRINTER|--all off|on|N    power-off off or on keeping the printer's choice, or choice N (1-8)\r\n"
    u"                                and on; writes only where the setting differs\r\n"
    u"  register-event-source         registers the event log source (run it elevated)\r\n"
    u"\r\n"
    u"  --check                       set: say what would change, write nothing\r\n"
    u"  --reason TEXT                 set: the reason the event log records with a change\r\n"
    u"  --json                        one line of JSON answering the run, failures included\r\n"
    u"  --json=array                  list: the printers as a JSON array\r\n"
    u"  --settings PATH               the settings file to use instead of " SOMV_SETTINGS_FILE " beside this program\r\n"
    u"  --version, --help             the program's version, this text\r\n"
    u"\r\n"
    u"Exit status: 0 done, 1 test found a printer to change, 2 wrong use, 3 printer not found among\r\n"
    u"the supported ones, 4 status library missing or unusable, 5 a printer failed or its firmware is\r\n"
    u"too old, 6 settings file missing, 7 " SOMV_TITLE " is running, 8 the printers could not be listed,\r\n"
    u"9 the output could not be written, 10 stopped by Ctrl+C, Ctrl+Break or the console window's close,\r\n"
    u"11 registration failed.\r\n";

std::u16string ProgramFileName() { return std::u16string(kConsoleName) + u".EXE"; }

std::u16string Quoted(const std::u16string& text) { return u"\"" + text + u"\""; }

std::u16string CommandWord(ConsoleCommand command) {
  switch (command) {
    case ConsoleCommand::Help: return u"help";
    case ConsoleCommand::Version: return u"version";
    case ConsoleCommand::List: return u"list";
    case ConsoleCommand::Get: return u"get";
    case ConsoleCommand::Test: return u"test";
    case ConsoleCommand::Set: return u"set";
    case ConsoleCommand::RegisterEventSource: return u"register-event-source";
  }
  return {};
}

void SayError(const std::u16string& message) {
  WriteStandardError(std::u16string(kConsoleName) + u": " + message + u"\r\n");
}

bool RunsUnderWow64() {
  BOOL wow64 = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

std::u16string StatusLibraryMissing() {
  std::u16string message = u"the status library " + std::u16string(ThisBuild().statusLibrary) +
                           u" is missing from the printer driver directory or lacks an entry point";
  if (RunsUnderWow64()) {
    message += u" (this 32-bit program looks in the 32-bit driver folder: on 64-bit Windows use " +
               std::u16string(kConsoleName64) + u")";
  }
  return message;
}

// The profile reader takes a UTF-8 byte-order mark as part of the first
// line, so Windows finds no section at the file's start; Wine does.
bool StartsWithUtf8Mark(const std::wstring& path) {
  const UniqueKernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  unsigned char start[3] = {};
  DWORD read = 0;
  return file && ::ReadFile(file.Get(), start, sizeof start, &read, nullptr) && read == 3 && start[0] == 0xEF &&
         start[1] == 0xBB && start[2] == 0xBF;
}

// A relative path is taken from the current directory: the profile reader
// would look for a bare file name in the Windows directory instead.
std::wstring SettingsPathOf(const ConsoleInvocation& invocation) {
  if (!invocation.settingsPath) return GetProgramFolderFilePath(WidePtr(kSettingsFileName));
  wchar_t full[kPathCapacity] = {};
  const DWORD length = ::GetFullPathNameW(WidePtr(*invocation.settingsPath), kPathCapacity, full, nullptr);
  if (length == 0 || length >= kPathCapacity) return {};
  return full;
}

class ConsoleRun {
 public:
  // `understood`: false when the arguments named no command that can run.
  ConsoleRun(const ConsoleInvocation& invocation, bool understood) : m_invocation(invocation) {
    if (understood) m_answer.command = CommandWord(invocation.command);
    m_answer.check = invocation.check;
    m_answer.converging = invocation.command == ConsoleCommand::Test || invocation.command == ConsoleCommand::Set;
  }

  int Run();

  // Ends the run with `status`, one error line, and the JSON line if asked.
  int Fail(int status, const std::u16string& code, const std::u16string& message) {
    SayError(message);
    m_answer.error = AnswerError{code, message};
    m_answer.exit = status;
    return m_invocation.json ? Answer({}) : status;
  }

 private:
  int RunPrinters(const std::wstring& settingsPath);
  std::optional<std::vector<PrinterRow>> SelectedRows(const DiscoveryResult& found);
  void ReachPrinter(PrinterAccess& access, const PrinterRow& row);
  void RecordEvent(const PrinterReport& report) const;
  int StatusAfterPrinters() const;
  // Ends the run after Ctrl+C, Ctrl+Break or a close with what was done until then.
  int Stop();
  // Writes the answer; 9 when standard output refused it.
  int Answer(const std::u16string& text);

  const ConsoleInvocation& m_invocation;
  ConsoleAnswer m_answer;
};

int ConsoleRun::Answer(const std::u16string& text) {
  const std::u16string out =
      m_invocation.json ? FormatAnswerJson(m_answer, ProgramFileName(), kConsoleVersion) + u"\r\n" : text;
  if (out.empty() || WriteStandardOutput(out)) return m_answer.exit;
  SayError(u"standard output could not be written (closed or full)");
  return kOutputFailed;
}

int ConsoleRun::Run() {
  if (m_invocation.command == ConsoleCommand::Version) {
    return Answer(std::u16string(kConsoleName) + u" " + kConsoleVersion + u"\r\n");
  }
  if (m_invocation.command == ConsoleCommand::RegisterEventSource) {
    const std::u16string failure = RegisterTheEventSource();
    if (!failure.empty()) return Fail(kRegistrationFailed, u"registration-failed", failure);
    return Answer(u"the event source " + std::u16string(kEventSource) + u" is registered\r\n");
  }
  const ToolMutexes mutexes = TakeToolMutexes();
  if (!mutexes.Held()) {
    return Fail(kToolRunning, u"tool-running",
                SOMV_WIDE(SOMV_TITLE) u" is running (or another run of this program): close it and try again");
  }
  const std::wstring settingsPath = SettingsPathOf(m_invocation);
  if (!FileExists(settingsPath)) {
    const std::u16string shown = settingsPath.empty() ? m_invocation.settingsPath.value_or(kSettingsFileName)
                                                      : ToU16(settingsPath);
    return Fail(kSettingsMissing, u"settings-missing", u"the settings file " + Quoted(shown) + u" is missing");
  }
  if (StartsWithUtf8Mark(settingsPath)) {
    SayError(u"warning: the settings file " + Quoted(ToU16(settingsPath)) +
             u" starts with a UTF-8 byte-order mark, which Windows reads as part of its first line: "
             u"save it as ANSI or as UTF-16LE with its byte-order mark");
  }
  return RunPrinters(settingsPath);
}

std::optional<std::vector<PrinterRow>> ConsoleRun::SelectedRows(const DiscoveryResult& found) {
  if (m_invocation.command == ConsoleCommand::List || m_invocation.allPrinters) return found.rows;
  for (const PrinterRow& candidate : found.rows) {
    if (OrdinalCompare(candidate.strPrinterName, m_invocation.printerName) == 0) {
      return std::vector<PrinterRow>{candidate};
    }
  }
  return std::nullopt;
}

int ConsoleRun::RunPrinters(const std::wstring& settingsPath) {
  const DiscoveryResult found = FindSupportedPrinters(settingsPath);
  if (StopRequested()) return Stop();
  if (found.listingFailed) {
    return Fail(kPrintersUnavailable, u"printers-unavailable",
                u"the installed printers could not be listed: the print spooler is stopped or refused");
  }
  const std::optional<std::vector<PrinterRow>> rows = SelectedRows(found);
  const std::u16string printer = u"printer " + Quoted(m_invocation.printerName);
  if (!rows) {
    return Fail(kPrinterNotFound, u"printer-not-found", printer + u" is not among the supported printers");
  }
  if (!rows->empty()) {
    PrinterAccess access(settingsPath);
    if (!access.Bind()) {
      const std::u16string prefix = m_invocation.allPrinters || m_invocation.command == ConsoleCommand::List
                                        ? u""
                                        : printer + u": ";
      return Fail(kStatusLibraryUnusable, u"status-library", prefix + StatusLibraryMissing());
    }
    for (const PrinterRow& row : *rows) {
      if (StopRequested()) break;
      ReachPrinter(access, row);
    }
  }
  if (StopRequested()) return Stop();
  m_answer.exit = StatusAfterPrinters();
  if (m_answer.exit == kPrinterFailed) {
    m_answer.error = AnswerError{u"printer-failed", u"a printer failed"};
  }
  if (m_invocation.jsonArray) return Answer(FormatReportJson(m_answer.printers));
  std::u16string text = FormatReportTable(m_answer.printers);
  if (m_answer.converging) text += SummaryLine(m_answer) + u"\r\n";
  return Answer(text);
}

void ConsoleRun::ReachPrinter(PrinterAccess& access, const PrinterRow& row) {
  const bool set = m_invocation.command == ConsoleCommand::Set;
  PrinterReport report = m_answer.converging
                             ? access.Converge(row, m_invocation.setting, !set || m_invocation.check,
                                               [] { return !StopRequested(); })
                             : access.Read(row);
  if (set) RecordEvent(report);
  // test only reads: what it finds is drift, not a change.
  if (!set && report.changed) report.changed = false;
  if (!report.failure.empty() && m_invocation.command != ConsoleCommand::List) {
    SayError(u"printer " + Quoted(row.strPrinterName) + u": " + report.failure +
             (set && !report.changed.value_or(false) ? u"; nothing was written" : u""));
  }
  m_answer.printers.push_back(std::move(report));
}

void ConsoleRun::RecordEvent(const PrinterReport& report) const {
  if (m_invocation.check || !report.before) return;
  TimerWriteEvent event{report.printerName, *report.before, report.after.value_or(*report.before),
                        m_invocation.reason};
  if (report.changed.value_or(false)) {
    RecordTimerChanged(event);
  } else if (report.failureCode == u"write-failed") {
    event.after = DecideConvergence(*report.before, m_invocation.setting, false).target.value_or(event.after);
    RecordTimerWriteFailed(event, report.failure);
  }
}

int ConsoleRun::Stop() {
  const int status = Fail(kStopped, u"stopped", u"stopped by Ctrl+C, Ctrl+Break or the console window's close");
  if (m_invocation.json) return status;
  std::u16string text = FormatReportTable(m_answer.printers);
  if (m_answer.converging) text += SummaryLine(m_answer) + u"\r\n";
  return Answer(text);
}

int ConsoleRun::StatusAfterPrinters() const {
  const Tally tally = TallyOf(m_answer.printers);
  switch (m_invocation.command) {
    case ConsoleCommand::List: return kDone;
    case ConsoleCommand::Get: return tally.failed > 0 ? kPrinterFailed : kDone;
    default: return ConvergingExitStatus(m_invocation.command == ConsoleCommand::Test, tally);
  }
}

int Run(const std::vector<std::u16string>& arguments) {
  const ArgumentReading reading = ReadConsoleArguments(arguments);
  if (!reading.invocation) {
    ConsoleInvocation wrong;
    wrong.json = reading.json;
    ConsoleRun run(wrong, false);
    return run.Fail(kWrongUse, u"wrong-use", reading.error + u" (--help lists the commands)");
  }
  const ConsoleInvocation& invocation = *reading.invocation;
  if (invocation.command == ConsoleCommand::Help) return WriteStandardOutput(kHelp) ? kDone : kOutputFailed;
  ConsoleRun run(invocation, true);
  return run.Run();
}

}  // namespace
}  // namespace somv

int wmain(int argc, wchar_t** argv) {
  // Management agents run it elevated from folders others may write to.
  somv::HardenLibraryLoading();
  // Unattended: a library that cannot load, or a crash inside one, must end
  // the run with a status, not wait for someone to close a system dialog.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
  somv::DeferConsoleInterrupts();
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(somv::ToU16(argv[i]));
  return somv::Run(arguments);
}
