#pragma once
// The printers as the console program reaches them: the status library bound
// once per run, and one printer session for each printer in turn.
#include <functional>
#include <string>

#include "console/console_args.h"
#include "console/console_report.h"
#include "device/device_connection.h"
#include "device/printer_session.h"
#include "printers/discovery.h"

namespace somv {

class PrinterAccess {
 public:
  explicit PrinterAccess(std::wstring settingsPath) : m_settingsPath(std::move(settingsPath)) {}
  ~PrinterAccess();
  PrinterAccess(const PrinterAccess&) = delete;
  PrinterAccess& operator=(const PrinterAccess&) = delete;

  // The tool's binding of the status library; false when it is missing or
  // lacks an entry point.
  bool Bind() { return m_connection.LoadStatusLibrary() != 0; }

  // Firmware, gate and timer; the report's failure says what did not work.
  PrinterReport Read(const PrinterRow& row);

  // After the gate and the read, writes what the timer dialog's OK would for
  // `setting` when that differs from the code read, unless `check` or
  // `mayWrite` says no; the report holds the code the printer then has.
  PrinterReport Converge(const PrinterRow& row, const TimerSetting& setting, bool check,
                         const std::function<bool()>& mayWrite);

 private:
  bool Open(PrinterSession& session, const PrinterRow& row, PrinterReport& report);
  bool ReadOpened(PrinterSession& session, const PrinterRow& row, PrinterReport& report);
  void ConvergeOpened(PrinterSession& session, const TimerSetting& setting, bool check,
                      const std::function<bool()>& mayWrite, PrinterReport& report);

  std::wstring m_settingsPath;
  DeviceConnection m_connection;
};

}  // namespace somv
