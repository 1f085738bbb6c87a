#pragma once
// One printer as the console program reports it, and the two forms of the
// report: tab-separated lines under a header, or JSON.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace somv {

struct PrinterReport {
  std::u16string printerName;
  std::u16string driverName;
  std::u16string minimumFirmware;            // as the settings file has it
  std::optional<std::u16string> firmware;    // once the printer told it
  std::optional<bool> gatePasses;            // once the gate has decided
  std::optional<std::uint16_t> timerCode;    // as read, or as written by set
  std::u16string failure;                    // what failed; empty when nothing did
  std::u16string failureCode;                // the failure for scripts: "open-failed", ...

  // test and set only: the code read, the code the printer holds afterwards
  // (or, checked, would hold), and what the run decided.
  std::optional<std::uint16_t> before;
  std::optional<std::uint16_t> after;
  std::optional<bool> changed;
  std::optional<bool> inDesiredState;
};

// The fields both forms share, each already a text or nothing.
struct ReportFields {
  std::optional<std::u16string> gate;
  std::optional<std::u16string> powerOff;
  std::optional<int> choice;
  std::optional<std::u16string> code;
  std::u16string status;
};

ReportFields FieldsOf(const PrinterReport& report);

// "0x0003", as the report shows a timer code.
std::u16string TimerCodeText(std::uint16_t code);

// A header line and one line per printer, each ended by CR LF. Tabs, line
// breaks and other control characters inside a text show as \t, \n, \r or
// \xNN, so that every printer stays one line.
std::u16string FormatReportTable(const std::vector<PrinterReport>& reports);

// The same fields as JSON: an array of objects, or one object alone.
std::u16string FormatReportJson(const std::vector<PrinterReport>& reports);
std::u16string FormatReportJson(const PrinterReport& report);

}  // namespace somv
