#include "console/diagnosis.h"

#include "common/names.h"
#include "console/console_identity.h"
#include "framework/image_header.h"

namespace somv {
namespace {

bool IsDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

bool IsThisBuild64() { return &ThisBuild() == &kBuild64; }

std::u16string ThisLibrary() { return ThisBuild().statusLibrary; }

std::u16string MissingLibraryMessage(const StatusLibraryFacts& library) {
  if (library.path.empty()) return u"the spooler named no driver directory: start the print spooler";
  if (library.present) return ThisLibrary() + u" is there but does not load: reinstall the printer driver";
  if (library.otherBuildPresent.value_or(false)) {
    if (!IsThisBuild64()) return u"only the 64-bit status library is installed: run " + std::u16string(kConsoleName64);
    return u"only the 32-bit status library is installed: install the printer driver for 64-bit Windows";
  }
  return u"install the printer driver: it puts " + ThisLibrary() + u" into folder 3 of the driver directory";
}

std::optional<Finding> StatusLibraryFinding(const StatusLibraryFacts& library) {
  if (library.machine && *library.machine != ThisBuildMachine()) {
    return Finding{FindingCode::StatusLibraryOtherBitness,
                   ThisLibrary() + u" is built for the other bitness: install the printer driver for this Windows"};
  }
  if (!library.loads) return Finding{FindingCode::StatusLibraryMissing, MissingLibraryMessage(library)};
  if (library.missingEntryPoints.empty()) return std::nullopt;
  const char* first = library.missingEntryPoints.front();
  return Finding{FindingCode::StatusLibraryEntryPoints,
                 ThisLibrary() + u" lacks " + std::u16string(first, first + std::char_traits<char>::length(first)) +
                     u": install the printer driver's complete library"};
}

bool AnyVendorPrinterLeftOut(const Diagnosis& diagnosis) {
  for (const DiagnosedPrinter& printer : diagnosis.printers) {
    if (printer.reason == PrinterReason::DriverNotInSettings || printer.reason == PrinterReason::EmptyMinimum) {
      return true;
    }
  }
  return false;
}

bool AnyListed(const Diagnosis& diagnosis) {
  for (const DiagnosedPrinter& printer : diagnosis.printers) {
    if (printer.reason == PrinterReason::Listed) return true;
  }
  return false;
}

void AddSettingsFindings(const SettingsFacts& settings, std::vector<Finding>& findings) {
  if (!settings.exists) {
    findings.push_back({FindingCode::SettingsMissing, u"put " + std::u16string(kSettingsFileName) +
                                                          u" beside the program, or name it with --settings"});
    return;
  }
  if (settings.encoding == SettingsEncoding::Utf8WithMark) {
    findings.push_back({FindingCode::SettingsUtf8Mark,
                        u"save the settings file as ANSI or as UTF-16LE: Windows reads a UTF-8 mark as part of "
                        u"the first line"});
  }
  if (MinimumsNotInForm(settings) > 0) {
    findings.push_back({FindingCode::MinimumNotInForm,
                        u"write each minimum as printers write their firmware: two digits, a dot, two digits "
                        u"(01.05)"});
  }
}

}  // namespace

const char16_t* WordOf(PrinterReason reason) {
  switch (reason) {
    case PrinterReason::Listed: return u"listed";
    case PrinterReason::OtherVendor: return u"other-vendor";
    case PrinterReason::DriverNotInSettings: return u"driver-not-in-settings";
    case PrinterReason::EmptyMinimum: return u"empty-minimum";
  }
  return u"";
}

const char16_t* WordOf(FindingCode code) {
  switch (code) {
    case FindingCode::SettingsMissing: return u"settings-missing";
    case FindingCode::SettingsUtf8Mark: return u"settings-utf8-mark";
    case FindingCode::MinimumNotInForm: return u"minimum-not-in-form";
    case FindingCode::VendorPrinterNotListed: return u"vendor-printer-not-listed";
    case FindingCode::StatusLibraryMissing: return u"status-library-missing";
    case FindingCode::StatusLibraryOtherBitness: return u"status-library-other-bitness";
    case FindingCode::StatusLibraryEntryPoints: return u"status-library-entry-points";
    case FindingCode::NoPrinterListed: return u"no-printer-listed";
    case FindingCode::DiagnosticModeOn: return u"diagnostic-mode-on";
    case FindingCode::PrintersUnavailable: return u"printers-unavailable";
  }
  return u"";
}

std::vector<DiagnosedPrinter> DiagnosePrinters(const std::vector<InstalledPrinter>& printers,
                                               const SupportEntryReader& readSupportEntry,
                                               const SupportEntryPresence& hasSupportEntry) {
  std::vector<DiagnosedPrinter> diagnosed;
  for (const InstalledPrinter& printer : printers) {
    PrinterReason reason = PrinterReason::Listed;
    switch (JudgePrinter(printer, readSupportEntry)) {
      case PrinterVerdict::Listed: break;
      case PrinterVerdict::OtherVendor: reason = PrinterReason::OtherVendor; break;
      case PrinterVerdict::NotSupported:
        reason = hasSupportEntry(printer.driverName) ? PrinterReason::EmptyMinimum
                                                     : PrinterReason::DriverNotInSettings;
        break;
    }
    diagnosed.push_back({printer.printerName, printer.driverName, reason});
  }
  return diagnosed;
}

bool HasFirmwareForm(const std::u16string& minimum) {
  return minimum.size() == 5 && IsDigit(minimum[0]) && IsDigit(minimum[1]) && minimum[2] == u'.' &&
         IsDigit(minimum[3]) && IsDigit(minimum[4]);
}

int MinimumsNotInForm(const SettingsFacts& settings) {
  int count = 0;
  for (const SupportEntry& entry : settings.entries) {
    count += !entry.minimum.empty() && !HasFirmwareForm(entry.minimum) ? 1 : 0;
  }
  return count;
}

std::uint16_t ThisBuildMachine() { return IsThisBuild64() ? kMachineAmd64 : kMachineI386; }

std::vector<Finding> FindingsOf(const Diagnosis& diagnosis) {
  std::vector<Finding> findings;
  AddSettingsFindings(diagnosis.settings, findings);
  if (AnyVendorPrinterLeftOut(diagnosis)) {
    findings.push_back({FindingCode::VendorPrinterNotListed,
                        u"add the driver of each printer not listed to [SUPPORT_DEVICE] with its minimum "
                        u"firmware (01.05)"});
  }
  if (const std::optional<Finding> library = StatusLibraryFinding(diagnosis.statusLibrary)) {
    findings.push_back(*library);
  }
  if (!diagnosis.printersListed) {
    findings.push_back({FindingCode::PrintersUnavailable,
                        u"start the print spooler: the installed printers could not be listed"});
  } else if (!AnyListed(diagnosis)) {
    findings.push_back({FindingCode::NoPrinterListed,
                        u"no printer is listed: install a supported printer or mend the findings above"});
  }
  if (diagnosis.settings.diagnosticMode) {
    findings.push_back({FindingCode::DiagnosticModeOn,
                        u"set [Debug] DebugUI=0: in diagnostic mode the tool opens no printer"});
  }
  return findings;
}

}  // namespace somv
