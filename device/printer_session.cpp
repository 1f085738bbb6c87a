#include "device/printer_session.h"

#include <utility>

#include "device/device_requests.h"

namespace somv {

PrinterSession::PrinterSession(DeviceConnection& connection, MinimumFirmwareReader readMinimum)
    : m_connection(connection), m_readMinimum(std::move(readMinimum)) {}

PrinterSession::~PrinterSession() { Close(); }

SessionOutcome PrinterSession::Open(const std::u16string& printerName) {
  if (m_connection.OpenDevice(printerName) == 0) return SessionOutcome::OpenFailed;
  m_opened = true;
  return SessionOutcome::Done;
}

FirmwareCheck PrinterSession::CheckFirmware(const std::u16string& driverName) {
  FirmwareCheck check;
  if (RequestFirmwareVersion(m_connection, check.version) == 0) {
    check.version.clear();
    return check;
  }
  bool settingsMissing = false;
  const bool passes = FirmwareGatePasses(check.version, driverName, [&](const std::u16string& driver) {
    check.minimum = m_readMinimum(driver);
    settingsMissing = !check.minimum;
    return check.minimum;
  });
  check.outcome = passes            ? SessionOutcome::Done
                  : settingsMissing ? SessionOutcome::SettingsMissing
                                    : SessionOutcome::FirmwareTooOld;
  return check;
}

SessionOutcome PrinterSession::ReadTimerCode(std::uint16_t& code) {
  return somv::ReadTimerCode(m_connection, code) != 0 ? SessionOutcome::Done : SessionOutcome::ReadFailed;
}

SessionOutcome PrinterSession::WriteTimerCode(std::uint16_t code) {
  return somv::WriteTimerCode(m_connection, code) != 0 ? SessionOutcome::Done : SessionOutcome::WriteFailed;
}

void PrinterSession::Close() {
  if (!std::exchange(m_opened, false)) return;
  m_connection.CloseDevice();
}

}  // namespace somv
