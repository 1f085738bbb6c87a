#pragma once
// The run's answer: every verb's one JSON line, and the summary line that
// ends the text of `test` and `set`.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_report.h"

namespace somv {

struct AnswerError {
  std::u16string code;  // "wrong-use", "printer-not-found", ...
  std::u16string message;
};

struct ConsoleAnswer {
  std::u16string command;   // the command word; empty when none was read
  bool check = false;
  bool converging = false;  // test and set: whether printers changed or are in that state
  int exit = 0;
  std::optional<AnswerError> error;
  std::vector<PrinterReport> printers;
};

struct Tally {
  int changed = 0;  // not in the state when found: changed, would change, or drift
  int unchanged = 0;
  int failed = 0;
};

Tally TallyOf(const std::vector<PrinterReport>& printers);

// test: 0 in the state, 1 drift; set: 0; either 5 once a printer failed.
int ConvergingExitStatus(bool test, const Tally& tally);

// Management agents keep about this much of a detection's output.
inline constexpr std::size_t kTestAnswerLimit = 2048;

// One line without its line end, ASCII only. For test, printers already in
// the state are left out ("truncated": true) when the line would pass
// kTestAnswerLimit.
std::u16string FormatAnswerJson(const ConsoleAnswer& answer, std::u16string_view program,
                                std::u16string_view version);

// "summary: drift=N ok=N failed=N" for test, "summary: [check ]changed=N
// unchanged=N failed=N" for set.
std::u16string SummaryLine(const ConsoleAnswer& answer);

}  // namespace somv
