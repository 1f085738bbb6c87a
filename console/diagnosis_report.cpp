#include "console/diagnosis_report.h"

#include "console/console_text.h"
#include "console/json_writer.h"
#include "framework/image_header.h"

namespace somv {
namespace {

// Paths and names cut to these many units keep the line within its bound
// whatever the machine holds.
constexpr std::size_t kPathLimit = 200;
constexpr std::size_t kNameLimit = 160;

constexpr PrinterReason kReasons[] = {PrinterReason::Listed, PrinterReason::OtherVendor,
                                      PrinterReason::DriverNotInSettings, PrinterReason::EmptyMinimum};

const char16_t* YesNo(bool value) { return value ? u"yes" : u"no"; }

std::u16string Ascii(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

const char16_t* EncodingWord(SettingsEncoding encoding) {
  switch (encoding) {
    case SettingsEncoding::Ansi: return u"ansi";
    case SettingsEncoding::Utf16Le: return u"utf-16le";
    case SettingsEncoding::Utf8WithMark: return u"utf-8-with-mark";
  }
  return u"";
}

std::optional<std::u16string> EncodingText(const SettingsFacts& settings) {
  if (!settings.encoding) return std::nullopt;
  return EncodingWord(*settings.encoding);
}

std::optional<std::u16string> BitnessText(const StatusLibraryFacts& library) {
  if (!library.machine) return std::nullopt;
  if (*library.machine == kMachineAmd64) return u"64-bit";
  if (*library.machine == kMachineI386) return u"32-bit";
  return u"other";
}

std::u16string EntryPointsText(const StatusLibraryFacts& library) {
  if (!library.loads) return u"-";
  if (library.missingEntryPoints.empty()) return u"all three";
  std::u16string text = u"missing";
  for (const char* name : library.missingEntryPoints) text += u" " + Ascii(name);
  return text;
}

int CountOf(const Diagnosis& diagnosis, PrinterReason reason) {
  int count = 0;
  for (const DiagnosedPrinter& printer : diagnosis.printers) count += printer.reason == reason ? 1 : 0;
  return count;
}

std::u16string SettingsText(const SettingsFacts& settings) {
  std::u16string out = u"settings file: " + TableText(settings.path) + u"\r\n  exists: " + YesNo(settings.exists) +
                       u"\r\n  encoding: " + EncodingText(settings).value_or(u"-") + u"\r\n  diagnostic mode: " +
                       (settings.diagnosticMode ? u"on" : u"off") + u"\r\n";
  for (const SupportEntry& entry : settings.entries) {
    const bool inForm = entry.minimum.empty() || HasFirmwareForm(entry.minimum);
    out += u"  [SUPPORT_DEVICE] " + TableText(entry.driver) + u" = " +
           (entry.minimum.empty() ? u"(empty)" : TableText(entry.minimum)) +
           (inForm ? u"" : u"  (not two digits, a dot, two digits)") + u"\r\n";
  }
  return out;
}

std::u16string PrintersText(const Diagnosis& diagnosis) {
  if (!diagnosis.printersListed) return u"printers: the spooler could not list them\r\n";
  std::u16string out = u"printers:\r\n";
  for (const DiagnosedPrinter& printer : diagnosis.printers) {
    out += u"  " + TableText(printer.printer) + u'\t' + TableText(printer.driver) + u'\t' + WordOf(printer.reason) +
           u"\r\n";
  }
  return out;
}

std::u16string StatusLibraryText(const StatusLibraryFacts& library) {
  std::u16string out = u"status library: " + (library.path.empty() ? u"-" : TableText(library.path)) +
                       u"\r\n  present: " + YesNo(library.present) + u"\r\n  bitness: " +
                       BitnessText(library).value_or(u"-") + u"\r\n  loads: " + YesNo(library.loads) +
                       u"\r\n  entry points: " + EntryPointsText(library) + u"\r\n";
  if (library.otherBuildPresent) out += u"  the other build's library: " + std::u16string(YesNo(*library.otherBuildPresent)) + u"\r\n";
  return out;
}

std::u16string SettingsJson(const SettingsFacts& settings) {
  return JsonObject(JsonCharacters::Ascii)
      .Text(u"path", settings.path, kPathLimit)
      .Flag(u"exists", settings.exists)
      .TextOrNull(u"encoding", EncodingText(settings))
      .Number(u"entries", static_cast<long long>(settings.entries.size()))
      .Number(u"minimumsNotInForm", MinimumsNotInForm(settings))
      .Flag(u"diagnosticMode", settings.diagnosticMode)
      .Close();
}

std::u16string StatusLibraryJson(const StatusLibraryFacts& library) {
  return JsonObject(JsonCharacters::Ascii)
      .Text(u"path", library.path, kPathLimit)
      .Flag(u"present", library.present)
      .TextOrNull(u"bitness", BitnessText(library))
      .Flag(u"loads", library.loads)
      .Flag(u"entryPoints", library.loads ? std::optional<bool>(library.missingEntryPoints.empty()) : std::nullopt)
      .Flag(u"otherBuildPresent", library.otherBuildPresent)
      .Close();
}

std::vector<std::u16string> FindingsJson(const std::vector<Finding>& findings) {
  std::vector<std::u16string> objects;
  for (const Finding& finding : findings) {
    objects.push_back(
        JsonObject(JsonCharacters::Ascii).Text(u"code", WordOf(finding.code)).Text(u"message", finding.message).Close());
  }
  return objects;
}

}  // namespace

std::u16string FormatDiagnosisText(const Diagnosis& diagnosis) {
  std::u16string out = SettingsText(diagnosis.settings) + PrintersText(diagnosis) +
                       StatusLibraryText(diagnosis.statusLibrary) + u"process:\r\n  elevated: " +
                       YesNo(diagnosis.process.elevated) + u"\r\n  WoW64: " + YesNo(diagnosis.process.wow64) +
                       u"\r\n";
  const std::vector<Finding> findings = FindingsOf(diagnosis);
  if (findings.empty()) return out + u"findings: none\r\n";
  out += u"findings:\r\n";
  for (const Finding& finding : findings) out += u"  " + std::u16string(WordOf(finding.code)) + u": " + finding.message + u"\r\n";
  return out;
}

std::u16string DiagnosisSummaryJson(const Diagnosis& diagnosis) {
  JsonObject object(JsonCharacters::Ascii);
  object.Number(u"printers", static_cast<long long>(diagnosis.printers.size()));
  for (const PrinterReason reason : kReasons) object.Number(WordOf(reason), CountOf(diagnosis, reason));
  return object.Number(u"findings", static_cast<long long>(FindingsOf(diagnosis).size())).Close();
}

std::vector<DiagnosedPrinterJson> DiagnosedPrintersJson(const Diagnosis& diagnosis) {
  std::vector<DiagnosedPrinterJson> objects;
  for (const DiagnosedPrinter& printer : diagnosis.printers) {
    objects.push_back({JsonObject(JsonCharacters::Ascii)
                           .Text(u"printer", printer.printer, kNameLimit)
                           .Text(u"driver", printer.driver, kNameLimit)
                           .Text(u"reason", WordOf(printer.reason))
                           .Close(),
                       printer.reason == PrinterReason::Listed});
  }
  return objects;
}

void AddDiagnosisFields(JsonObject& answer, const Diagnosis& diagnosis) {
  const ProcessFacts& process = diagnosis.process;
  answer.Raw(u"settings", SettingsJson(diagnosis.settings))
      .Raw(u"statusLibrary", StatusLibraryJson(diagnosis.statusLibrary))
      .Raw(u"process",
           JsonObject(JsonCharacters::Ascii).Flag(u"elevated", process.elevated).Flag(u"wow64", process.wow64).Close())
      .Array(u"findings", FindingsJson(FindingsOf(diagnosis)));
}

}  // namespace somv
