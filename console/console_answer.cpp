#include "console/console_answer.h"

#include "console/json_text.h"

namespace somv {
namespace {

std::u16string Number(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string Flag(bool value) { return value ? u"true" : u"false"; }

std::u16string TextOrNull(const std::optional<std::u16string>& text) {
  return text ? AsciiJsonString(*text) : u"null";
}

std::u16string CodeOrNull(const std::optional<std::uint16_t>& code) {
  return code ? AsciiJsonString(TimerCodeText(*code)) : u"null";
}

std::u16string FlagOrNull(const std::optional<bool>& value) { return value ? Flag(*value) : u"null"; }

std::u16string ErrorJson(const std::u16string& code, const std::u16string& message) {
  if (code.empty()) return u"null";
  return u"{\"code\": " + AsciiJsonString(code) + u", \"message\": " + AsciiJsonString(message) + u"}";
}

std::u16string PrinterJson(const PrinterReport& report, bool converging) {
  const ReportFields fields = FieldsOf(report);
  std::u16string out = u"{\"printer\": " + AsciiJsonString(report.printerName) +
                       u", \"driver\": " + AsciiJsonString(report.driverName) +
                       u", \"firmware\": " + TextOrNull(report.firmware) +
                       u", \"minimum\": " + AsciiJsonString(report.minimumFirmware) +
                       u", \"gate\": " + TextOrNull(fields.gate) + u", \"powerOff\": " + TextOrNull(fields.powerOff) +
                       u", \"choice\": " + (fields.choice ? Number(*fields.choice) : u"null") +
                       u", \"code\": " + TextOrNull(fields.code) + u", \"status\": " + AsciiJsonString(fields.status);
  if (converging) {
    out += u", \"before\": " + CodeOrNull(report.before) + u", \"after\": " + CodeOrNull(report.after) +
           u", \"changed\": " + FlagOrNull(report.changed) +
           u", \"inDesiredState\": " + FlagOrNull(report.inDesiredState);
  }
  return out + u", \"error\": " + ErrorJson(report.failureCode, report.failure) + u"}";
}

std::u16string AnswerJson(const ConsoleAnswer& answer, std::u16string_view program, std::u16string_view version,
                          bool leaveOutSettled) {
  const Tally tally = TallyOf(answer.printers);
  std::u16string out = u"{\"schema\": 1, \"program\": " + AsciiJsonString(program) +
                       u", \"version\": " + AsciiJsonString(version) +
                       u", \"command\": " + (answer.command.empty() ? u"null" : AsciiJsonString(answer.command)) +
                       u", \"check\": " + Flag(answer.check) + u", \"exit\": " + Number(answer.exit) +
                       u", \"changed\": " + Flag(answer.command == u"set" && tally.changed > 0) + u", \"inDesiredState\": " +
                       (answer.converging ? Flag(tally.changed == 0 && tally.failed == 0) : u"null");
  out += u", \"error\": " + (answer.error ? ErrorJson(answer.error->code, answer.error->message) : u"null");
  out += u", \"truncated\": " + Flag(leaveOutSettled) + u", \"printers\": [";
  bool first = true;
  for (const PrinterReport& report : answer.printers) {
    if (leaveOutSettled && report.inDesiredState.value_or(false)) continue;
    if (!first) out += u", ";
    first = false;
    out += PrinterJson(report, answer.converging);
  }
  return out + u"]}";
}

}  // namespace

Tally TallyOf(const std::vector<PrinterReport>& printers) {
  Tally tally;
  for (const PrinterReport& report : printers) {
    if (!report.failureCode.empty()) {
      ++tally.failed;
    } else if (!report.inDesiredState.value_or(true)) {
      ++tally.changed;
    } else {
      ++tally.unchanged;
    }
  }
  return tally;
}

int ConvergingExitStatus(bool test, const Tally& tally) {
  if (tally.failed > 0) return 5;
  return test && tally.changed > 0 ? 1 : 0;
}

std::u16string FormatAnswerJson(const ConsoleAnswer& answer, std::u16string_view program,
                                std::u16string_view version) {
  std::u16string line = AnswerJson(answer, program, version, false);
  if (answer.command == u"test" && line.size() > kTestAnswerLimit) line = AnswerJson(answer, program, version, true);
  return line;
}

std::u16string SummaryLine(const ConsoleAnswer& answer) {
  const Tally tally = TallyOf(answer.printers);
  if (answer.command == u"test") {
    return u"summary: drift=" + Number(tally.changed) + u" ok=" + Number(tally.unchanged) +
           u" failed=" + Number(tally.failed);
  }
  return u"summary: " + std::u16string(answer.check ? u"check " : u"") + u"changed=" + Number(tally.changed) +
         u" unchanged=" + Number(tally.unchanged) + u" failed=" + Number(tally.failed);
}

}  // namespace somv
