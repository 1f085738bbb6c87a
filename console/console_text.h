#pragma once
// The run's result in words: the table and summary for people, the error
// lines, and the texts the JSON line carries as well.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_result.h"

namespace somv {

// `text` for one tab-separated cell: controls as \t, \n, \r or \xNN.
std::u16string TableText(std::u16string_view text);

// "0x0003", as every form shows a timer code.
std::u16string TimerCodeText(std::uint16_t code);

// A printer's columns, each already a text or nothing.
struct PrinterFields {
  std::optional<std::u16string> gate;
  std::optional<std::u16string> powerOff;
  std::optional<long long> choice;
  std::optional<std::u16string> code;  // as read, or as written by set
  std::u16string status;               // "ok" or what failed
};

PrinterFields FieldsOf(const PrinterRecord& record, const ConsoleResult& result);

// What failed for the printer; empty when nothing did.
std::u16string PrinterMessage(const PrinterRecord& record, const ConsoleResult& result);
// The run's error in one line, without the program's name.
std::u16string RunErrorMessage(const ConsoleResult& result);

// What standard output says, CR LF line ends: a header and one tab-separated
// line per printer (controls inside a text as \t, \n, \r or \xNN), ended by
// the summary for test and set; or the version, the registration, the help.
std::u16string FormatText(const ConsoleResult& result);

// "summary: drift=N ok=N failed=N" for test, "summary: [check ]changed=N
// unchanged=N failed=N" for set.
std::u16string SummaryLine(const ConsoleResult& result);

// The error stream: a warning about the settings file, one line per failed
// printer (not for list), then the run's error.
std::u16string FormatErrorLines(const ConsoleResult& result);

}  // namespace somv
