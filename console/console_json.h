#pragma once
// The run's result as JSON: the one-line answer of every --json run, and the
// array of `list --json=array`.
#include <cstddef>
#include <string>
#include <string_view>

#include "console/console_result.h"

namespace somv {

// Management agents keep about this much of a program's output.
inline constexpr std::size_t kJsonAnswerLimit = 2048;

// One line without its line end, ASCII only, at most kJsonAnswerLimit
// units: past that, printers in the state (diagnose: listed printers) are
// left out first, then others ("truncated": true); the summary counts every
// printer.
std::u16string FormatAnswerJson(const ConsoleResult& result, std::u16string_view program,
                                std::u16string_view version);

// The printers as an array, one object per line, texts in UTF-8.
std::u16string FormatPrinterArrayJson(const ConsoleResult& result);

}  // namespace somv
