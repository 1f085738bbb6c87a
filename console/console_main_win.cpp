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
#include "console/console_args.h"
#include "console/console_output_win.h"
#include "console/console_report.h"
#include "console/printer_access_win.h"
#include "framework/unique_handle.h"
#include "printers/discovery_win.h"
#include "settings/launch_dir_win.h"
#include "settings/settings_win.h"

namespace somv {
namespace {

#if defined(_WIN64)
constexpr char16_t kConsoleName[] = SOMV_WIDE(SOMV_CONSOLE_64);
#else
constexpr char16_t kConsoleName[] = SOMV_WIDE(SOMV_CONSOLE_32);
#endif

enum ExitStatus : int {
  kDone = 0,
  kWrongUse = 2,
  kPrinterNotFound = 3,
  kStatusLibraryUnusable = 4,
  kPrinterFailed = 5,
  kSettingsMissing = 6,
  kToolRunning = 7,
};

constexpr char16_t kHelp[] =
    u"Sets the automatic power-off timer of the supported printers of this machine.\r\n"
    u"\r\n"
    u"  list                     every supported printer with its firmware and power-off setting\r\n"
    u"  get PRINTER              the same for one printer, by its exact name\r\n"
    u"  set PRINTER off|on|N     power-off off or on keeping the printer's choice, or choice N (1-8) and on\r\n"
    u"\r\n"
    u"  --json                   list and get as JSON\r\n"
    u"  --settings PATH          the settings file to use instead of " SOMV_SETTINGS_FILE " beside this program\r\n"
    u"  --help                   this text\r\n"
    u"\r\n"
    u"Exit status: 0 done, 2 wrong use, 3 printer not found among the supported ones,\r\n"
    u"4 status library missing or unusable, 5 the printer failed or its firmware is too old,\r\n"
    u"6 settings file missing, 7 " SOMV_TITLE " is running.\r\n";

int Fail(int status, const std::u16string& message) {
  WriteStandardError(std::u16string(kConsoleName) + u": " + message + u"\r\n");
  return status;
}

std::u16string Quoted(const std::u16string& text) { return u"\"" + text + u"\""; }

std::u16string StatusLibraryMissing() {
  return u"the status library " + std::u16string(ThisBuild().statusLibrary) +
         u" is missing from the printer driver directory or lacks an entry point";
}

// Held while the program runs, so that the tool does not start meanwhile;
// refused while the tool (or another run of this program) holds it.
class InstanceMutex {
 public:
  InstanceMutex() : m_mutex(::CreateMutexW(nullptr, FALSE, WidePtr(kMutexName))) {
    // Created by an elevated tool, it may exist but be closed to us: null.
    if (m_mutex && ::GetLastError() == ERROR_ALREADY_EXISTS) m_mutex.Reset();
  }

  bool Held() const { return static_cast<bool>(m_mutex); }

 private:
  UniqueKernelHandle m_mutex;
};

// A relative path is taken from the current directory: the profile reader
// would look for a bare file name in the Windows directory instead.
std::wstring SettingsPathOf(const ConsoleInvocation& invocation) {
  if (!invocation.settingsPath) return GetProgramFolderFilePath(WidePtr(kSettingsFileName));
  wchar_t full[kPathCapacity] = {};
  const DWORD length = ::GetFullPathNameW(WidePtr(*invocation.settingsPath), kPathCapacity, full, nullptr);
  if (length == 0 || length >= kPathCapacity) return {};
  return full;
}

int RunList(const ConsoleInvocation& invocation, const std::wstring& settingsPath, const DiscoveryResult& found) {
  std::vector<PrinterReport> reports;
  if (!found.rows.empty()) {
    PrinterAccess access(settingsPath);
    if (!access.Bind()) return Fail(kStatusLibraryUnusable, StatusLibraryMissing());
    for (const PrinterRow& row : found.rows) reports.push_back(access.Read(row));
  }
  WriteStandardOutput(invocation.json ? FormatReportJson(reports) : FormatReportTable(reports));
  return kDone;
}

int RunOnePrinter(const ConsoleInvocation& invocation, const std::wstring& settingsPath, const DiscoveryResult& found) {
  const PrinterRow* row = nullptr;
  for (const PrinterRow& candidate : found.rows) {
    if (OrdinalCompare(candidate.strPrinterName, invocation.printerName) == 0) {
      row = &candidate;
      break;
    }
  }
  const std::u16string printer = u"printer " + Quoted(invocation.printerName);
  if (row == nullptr) return Fail(kPrinterNotFound, printer + u" is not among the supported printers");

  PrinterAccess access(settingsPath);
  if (!access.Bind()) return Fail(kStatusLibraryUnusable, printer + u": " + StatusLibraryMissing());
  const bool set = invocation.command == ConsoleCommand::Set;
  const PrinterReport report = set ? access.Set(*row, invocation.setting) : access.Read(*row);
  if (!set || report.failure.empty()) {
    WriteStandardOutput(invocation.json ? FormatReportJson(report) + u"\r\n" : FormatReportTable({report}));
  }
  if (report.failure.empty()) return kDone;
  return Fail(kPrinterFailed, printer + u": " + report.failure + (set ? u"; nothing was written" : u""));
}

int Run(const std::vector<std::u16string>& arguments) {
  const ArgumentReading reading = ReadConsoleArguments(arguments);
  if (!reading.invocation) return Fail(kWrongUse, reading.error + u" (--help lists the commands)");
  const ConsoleInvocation& invocation = *reading.invocation;
  if (invocation.command == ConsoleCommand::Help) {
    WriteStandardOutput(kHelp);
    return kDone;
  }

  const InstanceMutex mutex;
  if (!mutex.Held()) {
    return Fail(kToolRunning, SOMV_WIDE(SOMV_TITLE) u" is running (or another run of this program): close it and try again");
  }
  const std::wstring settingsPath = SettingsPathOf(invocation);
  if (!FileExists(settingsPath)) {
    const std::u16string shown = settingsPath.empty() ? invocation.settingsPath.value_or(kSettingsFileName)
                                                      : ToU16(settingsPath);
    return Fail(kSettingsMissing, u"the settings file " + Quoted(shown) + u" is missing");
  }
  const DiscoveryResult found = FindSupportedPrinters(settingsPath);
  return invocation.command == ConsoleCommand::List ? RunList(invocation, settingsPath, found)
                                                    : RunOnePrinter(invocation, settingsPath, found);
}

}  // namespace
}  // namespace somv

int wmain(int argc, wchar_t** argv) {
  // Management agents run it elevated from folders others may write to.
  somv::HardenLibraryLoading();
  // Unattended: a library that cannot load, or a crash inside one, must end
  // the run with a status, not wait for someone to close a system dialog.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(somv::ToU16(argv[i]));
  return somv::Run(arguments);
}
