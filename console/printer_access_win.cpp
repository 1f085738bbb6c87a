#include "console/printer_access_win.h"

#include <windows.h>

#include <cstdio>
#include <optional>

#include "common/win_text.h"
#include "console/convergence.h"
#include "device/device_requests.h"
#include "framework/unique_handle.h"
#include "settings/settings_win.h"

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

PrinterAccess::~PrinterAccess() {
  Close();
  m_connection.FreeStatusLibrary();
}

PrinterReport PrinterAccess::Read(const PrinterRow& row) {
  PrinterReport report;
  if (Open(row, report)) {
    ReadOpened(row, report);
    Close();
  }
  return report;
}

PrinterReport PrinterAccess::Converge(const PrinterRow& row, const TimerSetting& setting, bool check,
                                      const std::function<bool()>& mayWrite) {
  PrinterReport report;
  if (Open(row, report)) {
    if (ReadOpened(row, report)) ConvergeOpened(setting, check, mayWrite, report);
    Close();
  }
  return report;
}

bool PrinterAccess::Open(const PrinterRow& row, PrinterReport& report) {
  report.printerName = row.strPrinterName;
  report.driverName = row.strDriverName;
  report.minimumFirmware = ToU16(ReadSupportDeviceEntry(m_settingsPath, ToWide(row.strDriverName)));
  if (m_connection.OpenDevice(row.strPrinterName) != 0) return true;
  report.failure = WithRightsHint(u"the printer could not be opened");
  report.failureCode = u"open-failed";
  return false;
}

bool PrinterAccess::ReadOpened(const PrinterRow& row, PrinterReport& report) {
  std::u16string version;
  if (RequestFirmwareVersion(m_connection, version) == 0) {
    report.failure = u"the firmware version could not be read";
    report.failureCode = u"firmware-unreadable";
    return false;
  }
  report.firmware = version;
  bool settingsMissing = false;
  report.gatePasses = FirmwareGatePasses(version, [&]() -> std::optional<std::u16string> {
    if (!FileExists(m_settingsPath)) {
      settingsMissing = true;
      return std::nullopt;
    }
    return ToU16(ReadSupportDeviceEntry(m_settingsPath, ToWide(row.strDriverName)));
  });
  if (!*report.gatePasses) {
    report.failure = settingsMissing ? u"firmware " + version + u" cannot be checked: the settings file is gone"
                                     : u"firmware " + version + u" is below the minimum " + report.minimumFirmware;
    report.failureCode = settingsMissing ? u"settings-missing" : u"firmware-too-old";
    return false;
  }
  std::uint16_t code = 0;
  if (ReadTimerCode(m_connection, code) == 0) {
    report.failure = WithRightsHint(u"the timer setting could not be read");
    report.failureCode = u"read-failed";
    return false;
  }
  report.timerCode = code;
  return true;
}

void PrinterAccess::ConvergeOpened(const TimerSetting& setting, bool check, const std::function<bool()>& mayWrite,
                                   PrinterReport& report) {
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
    report.after = codeRead;
    report.changed = false;
    report.failure = u"stopped before the write";
    report.failureCode = u"stopped";
    return;
  }
  if (WriteTimerCode(m_connection, *decision.target) == 0) {
    report.after = codeRead;
    report.changed = false;
    report.failure = WithRightsHint(u"the timer setting could not be written");
    report.failureCode = u"write-failed";
    return;
  }
  report.timerCode = *decision.target;
}

void PrinterAccess::Close() {
  if (m_connection.m_hDevice == nullptr) return;
  // One close per open, whatever it answers: a handle the library refused to
  // close is not offered to it again, and a library that throws from its
  // close must not end the run.
  try {
    m_connection.CloseDevice();
  } catch (...) {
  }
  m_connection.m_hDevice = nullptr;
}

}  // namespace somv
