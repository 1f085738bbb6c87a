#pragma once
// One printer from open to close: the road the dialogs and the console
// programs both take. Each step answers with an outcome that the dialogs turn
// into a message and the console programs into an exit status.
#include <cstdint>
#include <optional>
#include <string>

#include "device/device_connection.h"
#include "device/device_requests.h"

namespace somv {

enum class SessionOutcome {
  Done,
  OpenFailed,          // the library did not open the printer
  FirmwareUnreadable,  // the version request failed or delivered too little
  FirmwareTooOld,      // the driver's minimum is above the printer's version
  SettingsMissing,     // the version needs a minimum and the settings file is gone
  ReadFailed,
  WriteFailed,
};

struct FirmwareCheck {
  SessionOutcome outcome = SessionOutcome::FirmwareUnreadable;
  std::u16string version;  // "%02u.%02u"; empty when the printer did not tell
  // The minimum the gate compared the version with, once it read one.
  std::optional<std::u16string> minimum;
};

class PrinterSession {
 public:
  // Borrows `connection`, which must outlive the session; the library is
  // bound and released by whoever owns the connection.
  PrinterSession(DeviceConnection& connection, MinimumFirmwareReader readMinimum);
  // Closes the device this session opened, once, whatever the close answers.
  ~PrinterSession();
  PrinterSession(const PrinterSession&) = delete;
  PrinterSession& operator=(const PrinterSession&) = delete;

  SessionOutcome Open(const std::u16string& printerName);
  // The version request and the gate: versions below 01.00 pass without the
  // settings file; from there the minimum must not be above the version.
  FirmwareCheck CheckFirmware(const std::u16string& driverName);
  // On Done, `code` is the code exactly as the printer sent it.
  SessionOutcome ReadTimerCode(std::uint16_t& code);
  SessionOutcome WriteTimerCode(std::uint16_t code);
  // Closes now instead of at the end of the session; the answer is ignored
  // as it is there.
  void Close();

 private:
  DeviceConnection& m_connection;
  MinimumFirmwareReader m_readMinimum;
  bool m_opened = false;
};

}  // namespace somv
