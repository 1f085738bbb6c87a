#include "console/console_report.h"

#include <cstdio>
#include <string_view>

#include "timer/power_off_timer.h"

namespace somv {
namespace {

constexpr char16_t kNone[] = u"-";

std::u16string Ascii(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

std::u16string Hex(unsigned value, int digits, const char* prefix) {
  char text[16] = {};
  std::snprintf(text, sizeof text, "%s%0*X", prefix, digits, value);
  return Ascii(text);
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

ReportFields FieldsOf(const PrinterReport& report) {
  ReportFields fields;
  if (report.gatePasses) fields.gate = *report.gatePasses ? u"pass" : u"fail";
  if (report.timerCode) {
    const PowerOffTimer timer = PowerOffTimer::Decode(*report.timerCode);
    fields.powerOff = timer.powerOffEnabled ? u"on" : u"off";
    if (timer.ChoiceIndex() != kNoChoice) fields.choice = timer.ChoiceIndex() + 1;
    fields.code = Hex(*report.timerCode, 4, "0x");
  }
  fields.status = report.failure.empty() ? u"ok" : report.failure;
  return fields;
}

std::u16string TimerCodeText(std::uint16_t code) { return Hex(code, 4, "0x"); }

namespace {

std::u16string TableText(std::u16string_view text) {
  std::u16string out;
  for (char16_t unit : text) {
    if (unit == u'\t') out += u"\\t";
    else if (unit == u'\n') out += u"\\n";
    else if (unit == u'\r') out += u"\\r";
    else if (unit < 0x20 || unit == 0x7F) out += Hex(unit, 2, "\\x");
    else out += unit;
  }
  return out;
}

std::u16string TableCell(const std::optional<std::u16string>& text) { return text ? TableText(*text) : kNone; }

// Lone surrogates are escaped, so that the text survives the UTF-8 output.
std::u16string JsonString(std::u16string_view text) {
  std::u16string out = u"\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit == u'"' || unit == u'\\') {
      out += u'\\';
      out += unit;
    } else if (unit == u'\n') {
      out += u"\\n";
    } else if (unit == u'\r') {
      out += u"\\r";
    } else if (unit == u'\t') {
      out += u"\\t";
    } else if (unit < 0x20) {
      out += Hex(unit, 4, "\\u");
    } else if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      out += unit;
      out += text[++i];
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      out += Hex(unit, 4, "\\u");
    } else {
      out += unit;
    }
  }
  return out + u"\"";
}

std::u16string JsonValue(const std::optional<std::u16string>& text) { return text ? JsonString(*text) : u"null"; }

std::u16string ChoiceText(const std::optional<int>& choice) {
  return choice ? Ascii(std::to_string(*choice).c_str()) : std::u16string(u"null");
}

}  // namespace

std::u16string FormatReportTable(const std::vector<PrinterReport>& reports) {
  std::u16string out = u"printer\tdriver\tfirmware\tminimum\tgate\tpower-off\tchoice\tcode\tstatus\r\n";
  for (const PrinterReport& report : reports) {
    const ReportFields fields = FieldsOf(report);
    out += TableText(report.printerName) + u'\t' + TableText(report.driverName) + u'\t' +
           TableCell(report.firmware) + u'\t' + TableText(report.minimumFirmware) + u'\t' +
           TableCell(fields.gate) + u'\t' + TableCell(fields.powerOff) + u'\t' +
           (fields.choice ? ChoiceText(fields.choice) : kNone) + u'\t' + TableCell(fields.code) + u'\t' +
           TableText(fields.status) + u"\r\n";
  }
  return out;
}

std::u16string FormatReportJson(const PrinterReport& report) {
  const ReportFields fields = FieldsOf(report);
  return u"{\"printer\": " + JsonString(report.printerName) + u", \"driver\": " + JsonString(report.driverName) +
         u", \"firmware\": " + JsonValue(report.firmware) + u", \"minimum\": " +
         JsonString(report.minimumFirmware) + u", \"gate\": " + JsonValue(fields.gate) + u", \"powerOff\": " +
         JsonValue(fields.powerOff) + u", \"choice\": " + ChoiceText(fields.choice) + u", \"code\": " +
         JsonValue(fields.code) + u", \"status\": " + JsonString(fields.status) + u"}";
}

std::u16string FormatReportJson(const std::vector<PrinterReport>& reports) {
  std::u16string out = u"[";
  for (std::size_t i = 0; i < reports.size(); ++i) {
    out += i == 0 ? u"\r\n  " : u",\r\n  ";
    out += FormatReportJson(reports[i]);
  }
  return out + (reports.empty() ? u"]\r\n" : u"\r\n]\r\n");
}

}  // namespace somv
