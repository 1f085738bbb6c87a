#pragma once
// What `diagnose` finds on a machine: everything the tool would read, taken
// as facts, and the findings that say what to mend. Nothing here reads the
// machine; the run fills the facts in.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "printers/discovery.h"
#include "settings/settings_encoding.h"

namespace somv {

enum class PrinterReason { Listed, OtherVendor, DriverNotInSettings, EmptyMinimum };

const char16_t* WordOf(PrinterReason reason);

struct SupportEntry {
  std::u16string driver;
  std::u16string minimum;  // as the profile reader gives it
};

struct SettingsFacts {
  std::u16string path;
  bool exists = false;
  std::optional<SettingsEncoding> encoding;  // nothing when it could not be read
  std::vector<SupportEntry> entries;
  bool diagnosticMode = false;
};

struct StatusLibraryFacts {
  std::u16string path;  // empty when the spooler gave no driver directory
  bool present = false;
  std::optional<std::uint16_t> machine;  // from its image header
  bool loads = false;
  std::vector<const char*> missingEntryPoints;  // once it loaded
  std::optional<bool> otherBuildPresent;        // looked for only when it does not load
};

struct ProcessFacts {
  bool elevated = false;
  bool wow64 = false;
};

struct DiagnosedPrinter {
  std::u16string printer;
  std::u16string driver;
  PrinterReason reason = PrinterReason::Listed;
};

struct Diagnosis {
  SettingsFacts settings;
  bool printersListed = false;  // the spooler answered
  std::vector<DiagnosedPrinter> printers;  // in the spooler's order
  StatusLibraryFacts statusLibrary;
  ProcessFacts process;
};

// Whether [SUPPORT_DEVICE] names the driver at all, an empty value included.
using SupportEntryPresence = std::function<bool(const std::u16string& driverName)>;

// Each printer's reason, decided for Listed by discovery's own judgement.
std::vector<DiagnosedPrinter> DiagnosePrinters(const std::vector<InstalledPrinter>& printers,
                                               const SupportEntryReader& readSupportEntry,
                                               const SupportEntryPresence& hasSupportEntry);

// Two digits, a dot, two digits: the form of the printer's firmware text,
// against which a minimum is compared as text.
bool HasFirmwareForm(const std::u16string& minimum);

// The entries whose minimum is set but not in that form.
int MinimumsNotInForm(const SettingsFacts& settings);

// The machine this build's status library must be built for.
std::uint16_t ThisBuildMachine();

enum class FindingCode {
  SettingsMissing,
  SettingsUtf8Mark,
  MinimumNotInForm,
  VendorPrinterNotListed,
  StatusLibraryMissing,
  StatusLibraryOtherBitness,
  StatusLibraryEntryPoints,
  NoPrinterListed,
  DiagnosticModeOn,
  PrintersUnavailable,
};

const char16_t* WordOf(FindingCode code);

struct Finding {
  FindingCode code;
  std::u16string message;  // a sentence of what to do
};

std::vector<Finding> FindingsOf(const Diagnosis& diagnosis);

}  // namespace somv
