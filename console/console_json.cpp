#include "console/console_json.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "console/console_text.h"
#include "console/diagnosis_report.h"
#include "console/json_writer.h"

namespace somv {
namespace {

// A message longer than this would crowd the printers out of the line.
constexpr std::size_t kMessageLimit = 400;

std::optional<std::u16string> CodeText(const std::optional<std::uint16_t>& code) {
  if (!code) return std::nullopt;
  return TimerCodeText(*code);
}

std::u16string ErrorJson(const char16_t* word, const std::u16string& message) {
  return JsonObject(JsonCharacters::Ascii).Text(u"code", word).Text(u"message", message, kMessageLimit).Close();
}

std::optional<bool> ChangedFlag(const PrinterRecord& record, const ConsoleResult& result) {
  if (!record.codeMeant || !record.codeRead || record.error == PrinterError::TimedOut) return std::nullopt;
  // test only reads: what it finds is drift, not a change.
  return result.command == ConsoleCommand::Set && record.Drifts();
}

JsonObject PrinterFieldsJson(const PrinterRecord& record, const ConsoleResult& result, JsonCharacters characters) {
  const PrinterFields fields = FieldsOf(record, result);
  JsonObject object(characters);
  object.Text(u"printer", record.printerName)
      .Text(u"driver", record.driverName)
      .TextOrNull(u"firmware", record.firmware)
      .Text(u"minimum", record.minimumFirmware)
      .TextOrNull(u"gate", fields.gate)
      .TextOrNull(u"powerOff", fields.powerOff)
      .Number(u"choice", fields.choice)
      .TextOrNull(u"code", fields.code)
      .Text(u"status", fields.status, kMessageLimit);
  return object;
}

std::u16string PrinterAnswerJson(const PrinterRecord& record, const ConsoleResult& result) {
  JsonObject object = PrinterFieldsJson(record, result, JsonCharacters::Ascii);
  if (result.Converging()) {
    std::optional<bool> inDesiredState;
    if (record.codeMeant && record.codeRead) inDesiredState = *record.codeMeant == *record.codeRead;
    object.TextOrNull(u"before", CodeText(record.codeRead))
        .TextOrNull(u"after", CodeText(record.CodeAfter()))
        .Flag(u"changed", ChangedFlag(record, result))
        .Flag(u"inDesiredState", inDesiredState);
  }
  const bool failed = record.error != PrinterError::None;
  return object.Raw(u"error", failed ? ErrorJson(WordOf(record.error), PrinterMessage(record, result)) : u"null")
      .Close();
}

std::u16string SummaryJson(const ConsoleResult& result) {
  const Tally tally = TallyOf(result.printers);
  JsonObject object(JsonCharacters::Ascii);
  switch (result.command.value_or(ConsoleCommand::Help)) {
    case ConsoleCommand::Test:
      object.Number(u"drift", tally.changed).Number(u"ok", tally.unchanged);
      break;
    case ConsoleCommand::Set:
      object.Number(u"changed", tally.changed).Number(u"unchanged", tally.unchanged);
      break;
    case ConsoleCommand::List:
    case ConsoleCommand::Get:
      object.Number(u"printers", static_cast<long long>(result.printers.size()));
      break;
    case ConsoleCommand::Diagnose:
      return result.diagnosis ? DiagnosisSummaryJson(*result.diagnosis) : u"null";
    default: return u"null";
  }
  return object.Number(u"failed", tally.failed).Close();
}

JsonObject AnswerHead(const ConsoleResult& result, std::u16string_view program, std::u16string_view version,
                      bool truncated) {
  const Tally tally = TallyOf(result.printers);
  JsonObject object(JsonCharacters::Ascii);
  object.Number(u"schema", 1)
      .Text(u"program", program)
      .Text(u"version", version)
      .TextOrNull(u"command", result.command ? std::optional<std::u16string>(CommandWord(*result.command)) : std::nullopt)
      .Flag(u"check", result.check)
      .Number(u"exit", result.ExitStatus())
      .Flag(u"changed", result.command == ConsoleCommand::Set && tally.changed > 0)
      .Flag(u"inDesiredState", result.Converging() ? std::optional<bool>(tally.changed == 0 && tally.failed == 0)
                                                   : std::nullopt)
      .Raw(u"error", result.error == RunError::None
                         ? u"null"
                         : ErrorJson(RowOf(result.error).word, RunErrorMessage(result)))
      .Flag(u"truncated", truncated)
      .Raw(u"summary", SummaryJson(result));
  return object;
}

std::u16string WithPrinters(JsonObject head, const std::vector<std::u16string>& printers,
                            const ConsoleResult& result) {
  head.Array(u"printers", printers);
  if (result.diagnosis) AddDiagnosisFields(head, *result.diagnosis);
  return head.Close();
}

}  // namespace

std::u16string FormatAnswerJson(const ConsoleResult& result, std::u16string_view program,
                                std::u16string_view version) {
  std::vector<std::u16string> objects;
  // Drift and failures are what an engine acts on: printers in the state,
  // or listed, are left out first.
  std::vector<bool> settled;
  if (result.diagnosis) {
    for (DiagnosedPrinterJson& printer : DiagnosedPrintersJson(*result.diagnosis)) {
      objects.push_back(std::move(printer.object));
      settled.push_back(printer.listed);
    }
  }
  for (const PrinterRecord& record : result.printers) {
    objects.push_back(PrinterAnswerJson(record, result));
    settled.push_back(record.error == PrinterError::None && !record.Drifts());
  }
  const std::u16string line = WithPrinters(AnswerHead(result, program, version, false), objects, result);
  if (line.size() <= kJsonAnswerLimit) return line;

  const JsonObject head = AnswerHead(result, program, version, true);
  std::size_t room = kJsonAnswerLimit - std::min(kJsonAnswerLimit, WithPrinters(head, {}, result).size());
  std::vector<bool> kept(objects.size(), false);
  for (const bool keepSettled : {false, true}) {
    for (std::size_t i = 0; i < objects.size(); ++i) {
      if (settled[i] != keepSettled || objects[i].size() + 2 > room) continue;
      kept[i] = true;
      room -= objects[i].size() + 2;
    }
  }
  std::vector<std::u16string> shown;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    if (kept[i]) shown.push_back(objects[i]);
  }
  return WithPrinters(head, shown, result);
}

std::u16string FormatPrinterArrayJson(const ConsoleResult& result) {
  std::u16string out = u"[";
  for (std::size_t i = 0; i < result.printers.size(); ++i) {
    out += i == 0 ? u"\r\n  " : u",\r\n  ";
    out += PrinterFieldsJson(result.printers[i], result, JsonCharacters::Utf8).Close();
  }
  return out + (result.printers.empty() ? u"]\r\n" : u"\r\n]\r\n");
}

}  // namespace somv
