#include "console/printer_access_win.h"

#include <windows.h>

#include <cstdio>
#include <optional>

#include "common/win_text.h"
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

PrinterReport PrinterAccess::Set(const PrinterRow& row, const TimerSetting& setting) {
  PrinterReport report;
  PrinterSession session(m_connection, MinimumsFromSettingsFile(m_settingsPath));
  if (Open(session, row, report) && ReadOpened(session, row, report)) WriteOpened(session, setting, report);
  return report;
}

bool PrinterAccess::Open(PrinterSession& session, const PrinterRow& row, PrinterReport& report) {
  report.printerName = row.strPrinterName;
  report.driverName = row.strDriverName;
  report.minimumFirmware = session.MinimumFirmware(row.strDriverName).value_or(u"");
  if (session.Open(row.strPrinterName) == SessionOutcome::Done) return true;
  report.failure = WithRightsHint(u"the printer could not be opened");
  return false;
}

bool PrinterAccess::ReadOpened(PrinterSession& session, const PrinterRow& row, PrinterReport& report) {
  const FirmwareCheck firmware = session.CheckFirmware(row.strDriverName);
  if (firmware.outcome == SessionOutcome::FirmwareUnreadable) {
    report.failure = u"the firmware version could not be read";
    return false;
  }
  report.firmware = firmware.version;
  report.gatePasses = firmware.outcome == SessionOutcome::Done;
  if (firmware.outcome == SessionOutcome::SettingsMissing) {
    report.failure = u"firmware " + firmware.version + u" cannot be checked: the settings file is gone";
    return false;
  }
  if (firmware.outcome == SessionOutcome::FirmwareTooOld) {
    report.failure = u"firmware " + firmware.version + u" is below the minimum " + report.minimumFirmware;
    return false;
  }
  std::uint16_t code = 0;
  if (session.ReadTimerCode(code) != SessionOutcome::Done) {
    report.failure = WithRightsHint(u"the timer setting could not be read");
    return false;
  }
  report.timerCode = code;
  return true;
}

void PrinterAccess::WriteOpened(PrinterSession& session, const TimerSetting& setting, PrinterReport& report) {
  const std::optional<std::uint16_t> code = TimerCodeToWrite(*report.timerCode, setting);
  if (!code) {
    report.failure = u"the printer's timer code " + CodeText(*report.timerCode) +
                     u" is none of the choices, so there is none to keep: give a choice number";
    return;
  }
  if (session.WriteTimerCode(*code) != SessionOutcome::Done) {
    report.failure = WithRightsHint(u"the timer setting could not be written");
    return;
  }
  report.timerCode = *code;
}

}  // namespace somv
