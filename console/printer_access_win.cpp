#include "console/printer_access_win.h"

#include <windows.h>

#include <cstdio>
#include <optional>

#include "common/win_text.h"
#include "console/convergence.h"
#include "device/firmware_gate_win.h"
#include "framework/unique_handle.h"

namespace somv {
namespace {

bool RunsElevated() {
  HANDLE opened = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
  const UniqueKernelHandle token(opened);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return ::GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
         elevation.TokenIsElevated != 0;
}

// The status library may need administrator rights for what failed; this
// program never asks for them, so the failure says where they come from.
std::u16string WithRightsHint(std::u16string failure) {
  if (!RunsElevated()) failure += u" (not running elevated: run it from an elevated shell or an agent with administrator rights)";
  return failure;
}

std::u16string CodeText(std::uint16_t code) {
  char text[8] = {};
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(code));
  return std::u16string(text, text + 6);
}

// A write that did not happen leaves the printer with the code read.
void Unchanged(std::u16string failure, const char16_t* code, PrinterReport& report) {
  report.after = report.before;
  report.changed = false;
  report.failure = std::move(failure);
  report.failureCode = code;
}

}  // namespace

// The library is released before the connection goes, so that a handle a
// refused close left recorded is forgotten, not offered to the library again.
PrinterAccess::~PrinterAccess() { m_connection.FreeStatusLibrary(); }

PrinterReport PrinterAccess::Read(const PrinterRow& row) {
  PrinterReport report;
  PrinterSession session(m_connection, MinimumsFromSettingsFile(m_settingsPath));
  if (Open(session, row, report)) ReadOpened(session, row, report);
  return report;
}

PrinterReport PrinterAccess::Converge(const PrinterRow& row, const TimerSetting& setting, bool check,
                                      const std::function<bool()>& mayWrite) {
  PrinterReport report;
  PrinterSession session(m_connection, MinimumsFromSettingsFile(m_settingsPath));
  if (Open(session, row, report) && ReadOpened(session, row, report)) {
    ConvergeOpened(session, setting, check, mayWrite, report);
  }
  return report;
}

bool PrinterAccess::Open(PrinterSession& session, const PrinterRow& row, PrinterReport& report) {
  report.printerName = row.strPrinterName;
  report.driverName = row.strDriverName;
  report.minimumFirmware = session.MinimumFirmware(row.strDriverName).value_or(u"");
  if (session.Open(row.strPrinterName) == SessionOutcome::Done) return true;
  report.failure = WithRightsHint(u"the printer could not be opened");
  report.failureCode = u"open-failed";
  return false;
}

bool PrinterAccess::ReadOpened(PrinterSession& session, const PrinterRow& row, PrinterReport& report) {
  const FirmwareCheck firmware = session.CheckFirmware(row.strDriverName);
  if (firmware.outcome == SessionOutcome::FirmwareUnreadable) {
    report.failure = u"the firmware version could not be read";
    report.failureCode = u"firmware-unreadable";
    return false;
  }
  report.firmware = firmware.version;
  report.gatePasses = firmware.outcome == SessionOutcome::Done;
  if (firmware.outcome == SessionOutcome::SettingsMissing) {
    report.failure = u"firmware " + firmware.version + u" cannot be checked: the settings file is gone";
    report.failureCode = u"settings-missing";
    return false;
  }
  if (firmware.outcome == SessionOutcome::FirmwareTooOld) {
    report.failure = u"firmware " + firmware.version + u" is below the minimum " + report.minimumFirmware;
    report.failureCode = u"firmware-too-old";
    return false;
  }
  std::uint16_t code = 0;
  if (session.ReadTimerCode(code) != SessionOutcome::Done) {
    report.failure = WithRightsHint(u"the timer setting could not be read");
    report.failureCode = u"read-failed";
    return false;
  }
  report.timerCode = code;
  return true;
}

void PrinterAccess::ConvergeOpened(PrinterSession& session, const TimerSetting& setting, bool check,
                                   const std::function<bool()>& mayWrite, PrinterReport& report) {
  const std::uint16_t codeRead = *report.timerCode;
  const Convergence decision = DecideConvergence(codeRead, setting, check);
  report.before = codeRead;
  if (!decision.target) {
    report.failure = u"the printer's timer code " + CodeText(codeRead) +
                     u" is none of the choices, so there is none to keep: give a choice number";
    report.failureCode = u"no-choice-to-keep";
    return;
  }
  report.after = decision.target;
  report.changed = decision.changed;
  report.inDesiredState = decision.inDesiredState;
  if (!decision.write) return;
  if (!mayWrite()) {
    Unchanged(u"stopped before the write", u"stopped", report);
    return;
  }
  if (session.WriteTimerCode(*decision.target) != SessionOutcome::Done) {
    Unchanged(WithRightsHint(u"the timer setting could not be written"), u"write-failed", report);
    return;
  }
  report.timerCode = *decision.target;
}

}  // namespace somv
