// Printer, driver and reason texts through the console's JSON line: always
// one line of printable ASCII, and every text decodes back exactly.
#include <cstdint>
#include <string>

#include "console/console_json.h"
#include "console/json_writer.h"
#include "tests/fuzz/fuzz_input.h"

using namespace somv;
using namespace somv::fuzz;

namespace {

int HexDigit(char16_t unit) {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  return -1;
}

// A JSON string's contents as a strict reader would take them.
std::u16string Decoded(const std::u16string& quoted) {
  FUZZ_CHECK(quoted.size() >= 2 && quoted.front() == u'"' && quoted.back() == u'"');
  std::u16string text;
  for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
    FUZZ_CHECK(quoted[i] != u'"');
    if (quoted[i] != u'\\') {
      text += quoted[i];
      continue;
    }
    ++i;
    FUZZ_CHECK(i + 1 < quoted.size());
    if (quoted[i] == u'"' || quoted[i] == u'\\') {
      text += quoted[i];
      continue;
    }
    FUZZ_CHECK(quoted[i] == u'u' && i + 5 < quoted.size());
    int unit = 0;
    for (int k = 1; k <= 4; ++k) {
      const int digit = HexDigit(quoted[i + k]);
      FUZZ_CHECK(digit >= 0);
      unit = unit * 16 + digit;
    }
    text += static_cast<char16_t>(unit);
    i += 4;
  }
  return text;
}

void CheckPrintableAscii(const std::u16string& line) {
  for (char16_t unit : line) FUZZ_CHECK(unit >= 0x20 && unit <= 0x7E);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::u16string name = input.Text(u'\t');
  const std::u16string message = input.Text(u'\n');

  const std::u16string quoted = JsonString(name, JsonCharacters::Ascii);
  CheckPrintableAscii(quoted);
  FUZZ_CHECK(Decoded(quoted) == name);

  ConsoleResult answer;
  answer.command = (input.Byte() & 1) != 0 ? ConsoleCommand::Test : ConsoleCommand::Set;
  answer.error = RunError::WrongUse;
  answer.errorSubject = message;
  while (input.Left() > 0) {
    PrinterRecord record;
    record.printerName = name;
    record.driverName = input.Text(u'\n');
    record.firmware = message;
    record.error = (input.Byte() & 1) != 0 ? PrinterError::FirmwareTooOld : PrinterError::None;
    record.codeRead = static_cast<std::uint16_t>(input.Uint32());
    if ((input.Byte() & 1) != 0) record.codeMeant = static_cast<std::uint16_t>(input.Uint32());
    answer.printers.push_back(record);
  }
  const std::u16string line = FormatAnswerJson(answer, u"ZELV4PCD.EXE", u"1.0.0.0");
  CheckPrintableAscii(line);
  FUZZ_CHECK(line.front() == u'{' && line.back() == u'}');
  FUZZ_CHECK(line.size() <= kJsonAnswerLimit);
  return 0;
}
