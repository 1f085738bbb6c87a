#include "console/diagnosis.h"

#include <gtest/gtest.h>

#include <map>

#include "console/console_json.h"
#include "framework/image_header.h"

namespace somv {
namespace {

using Entries = std::map<std::u16string, std::u16string>;

std::vector<DiagnosedPrinter> Judged(const std::vector<InstalledPrinter>& printers, const Entries& entries) {
  return DiagnosePrinters(
      printers,
      [&](const std::u16string& driver) { return entries.count(driver) ? entries.at(driver) : u""; },
      [&](const std::u16string& driver) { return entries.count(driver) > 0; });
}

// The machine once mended: one printer listed, a library that binds.
Diagnosis Mended() {
  Diagnosis diagnosis;
  diagnosis.settings = {u"C:\\T\\ZELV4PO.INI", true, SettingsEncoding::Ansi, {{u"Kelva A", u"01.05"}}, false};
  diagnosis.printersListed = true;
  diagnosis.printers = {{u"A", u"Kelva A", PrinterReason::Listed}, {u"O", u"Acme 5", PrinterReason::OtherVendor}};
  diagnosis.statusLibrary.path = u"C:\\D\\3\\ZELV4SMD.DLL";
  diagnosis.statusLibrary.present = true;
  diagnosis.statusLibrary.machine = ThisBuildMachine();
  diagnosis.statusLibrary.loads = true;
  return diagnosis;
}

std::vector<FindingCode> Codes(const Diagnosis& diagnosis) {
  std::vector<FindingCode> codes;
  for (const Finding& finding : FindingsOf(diagnosis)) codes.push_back(finding.code);
  return codes;
}

TEST(DiagnosePrinters, ListsExactlyWhatDiscoveryListsAndSaysWhyNotForTheRest) {
  const Entries entries{{u"Kelva A", u"01.05"}, {u"Kelva E", u""}, {u"KELVA U", u"01.00"}};
  const std::vector<InstalledPrinter> printers = {
      {u"A", u"Kelva A"}, {u"O", u"Acme 5"}, {u"N", u"Kelva N"}, {u"E", u"Kelva E"}, {u"U", u"KELVA U"}, {u"B", u""}};
  const std::vector<DiagnosedPrinter> judged = Judged(printers, entries);
  const PrinterReason expected[] = {PrinterReason::Listed,       PrinterReason::OtherVendor,
                                    PrinterReason::DriverNotInSettings, PrinterReason::EmptyMinimum,
                                    PrinterReason::OtherVendor,  PrinterReason::OtherVendor};
  ASSERT_EQ(judged.size(), printers.size());
  for (std::size_t i = 0; i < judged.size(); ++i) EXPECT_EQ(judged[i].reason, expected[i]) << i;
  const DiscoveryResult found = SelectSupportedPrinters(
      printers, [&](const std::u16string& driver) { return entries.count(driver) ? entries.at(driver) : u""; });
  ASSERT_EQ(found.rows.size(), 1u);
  EXPECT_EQ(found.rows[0].strPrinterName, judged[0].printer);
}

TEST(Diagnosis, FindsWhatToMendAndEndsWithItsStatus) {
  struct Case {
    const char* what;
    void (*breakIt)(Diagnosis&);
    std::vector<FindingCode> codes;
  } const cases[] = {
      {"mended", [](Diagnosis&) {}, {}},
      {"minimum 1.2", [](Diagnosis& d) { d.settings.entries.push_back({u"Kelva B", u"1.2"}); },
       {FindingCode::MinimumNotInForm}},
      {"utf-16le", [](Diagnosis& d) { d.settings.encoding = SettingsEncoding::Utf16Le; }, {}},
      {"utf-8 mark", [](Diagnosis& d) { d.settings.encoding = SettingsEncoding::Utf8WithMark; },
       {FindingCode::SettingsUtf8Mark}},
      {"vendor printers left out",
       [](Diagnosis& d) {
         d.printers = {{u"N", u"Kelva N", PrinterReason::DriverNotInSettings},
                       {u"E", u"Kelva E", PrinterReason::EmptyMinimum}};
       },
       {FindingCode::VendorPrinterNotListed, FindingCode::NoPrinterListed}},
      {"settings missing",
       [](Diagnosis& d) {
         d.settings = {u"C:\\T\\ZELV4PO.INI", false, std::nullopt, {}, false};
         d.printers[0].reason = PrinterReason::DriverNotInSettings;
       },
       {FindingCode::SettingsMissing, FindingCode::VendorPrinterNotListed, FindingCode::NoPrinterListed}},
      {"library missing", [](Diagnosis& d) { d.statusLibrary = {d.statusLibrary.path, false, {}, false, {}, false}; },
       {FindingCode::StatusLibraryMissing}},
      {"library of the other bitness",
       [](Diagnosis& d) { d.statusLibrary = {d.statusLibrary.path, true, kMachineI386, false, {}, false}; },
       {FindingCode::StatusLibraryOtherBitness}},
      {"library lacking an entry point",
       [](Diagnosis& d) { d.statusLibrary.missingEntryPoints = {"SmPsw_DeviceRequest3"}; },
       {FindingCode::StatusLibraryEntryPoints}},
      {"diagnostic mode", [](Diagnosis& d) { d.settings.diagnosticMode = true; }, {FindingCode::DiagnosticModeOn}},
      {"spooler refused",
       [](Diagnosis& d) {
         d.printersListed = false;
         d.printers.clear();
       },
       {FindingCode::PrintersUnavailable}},
  };
  for (const Case& c : cases) {
    Diagnosis diagnosis = Mended();
    c.breakIt(diagnosis);
    EXPECT_EQ(Codes(diagnosis), c.codes) << c.what;
    const int status = !diagnosis.printersListed ? 8 : c.codes.empty() ? 0 : 13;
    EXPECT_EQ(RowOf(ErrorOfDiagnosis(diagnosis)).exitStatus, status) << c.what;
  }
}

TEST(Diagnosis, TellsTheEncodingFromTheFirstBytesAndTheMinimumsForm) {
  const unsigned char utf16[] = {0xFF, 0xFE, '['};
  const unsigned char utf8[] = {0xEF, 0xBB, 0xBF};
  const unsigned char ansi[] = {'[', 'S', 'U'};
  EXPECT_EQ(EncodingOfFileStart(utf16, 3), SettingsEncoding::Utf16Le);
  EXPECT_EQ(EncodingOfFileStart(utf8, 3), SettingsEncoding::Utf8WithMark);
  EXPECT_EQ(EncodingOfFileStart(utf8, 2), SettingsEncoding::Ansi);
  EXPECT_EQ(EncodingOfFileStart(ansi, 3), SettingsEncoding::Ansi);
  EXPECT_EQ(EncodingOfFileStart(nullptr, 0), SettingsEncoding::Ansi);
  for (const char16_t* minimum : {u"01.05", u"99.00"}) EXPECT_TRUE(HasFirmwareForm(minimum)) << "in form";
  for (const char16_t* minimum : {u"1.2", u"01.5", u"001.05", u"01,05", u"0a.05", u"01.05 "}) {
    EXPECT_FALSE(HasFirmwareForm(minimum)) << "not in form";
  }
}

// However many printers and however long their names, the line stays within
// the bound and keeps the printers that need mending.
TEST(Diagnosis, AnswersInOneBoundedLineLeavingOutListedPrintersFirst) {
  ConsoleResult result;
  result.command = ConsoleCommand::Diagnose;
  result.diagnosis = Mended();
  Diagnosis& diagnosis = *result.diagnosis;
  diagnosis.settings.path = std::u16string(259, u'\u00e9');
  diagnosis.statusLibrary.path = diagnosis.settings.path;
  diagnosis.settings.encoding = SettingsEncoding::Utf8WithMark;
  diagnosis.settings.entries.push_back({u"Kelva B", u"1.2"});
  diagnosis.settings.diagnosticMode = true;
  diagnosis.statusLibrary.missingEntryPoints = {"SmPsw_OpenPrinter3W", "SmPsw_ClosePrinter3"};
  for (int i = 0; i < 40; ++i) diagnosis.printers.push_back({u"A", u"Kelva A", PrinterReason::Listed});
  diagnosis.printers.push_back({u"needs mending", u"Kelva N", PrinterReason::DriverNotInSettings});
  result.error = ErrorOfDiagnosis(diagnosis);
  std::u16string line = FormatAnswerJson(result, u"ZELV4PCD.EXE", u"1.0.0.0");
  EXPECT_LE(line.size(), kJsonAnswerLimit);
  EXPECT_NE(line.find(u"\"truncated\": true"), std::u16string::npos);
  EXPECT_NE(line.find(u"needs mending"), std::u16string::npos);
  EXPECT_NE(line.find(u"\"printers\": 43, \"listed\": 41"), std::u16string::npos);
  EXPECT_NE(line.find(u"\"findings\": 5}"), std::u16string::npos);

  diagnosis.printers.assign(30, {std::u16string(300, u'\u00e9'), u"Kelva N", PrinterReason::EmptyMinimum});
  line = FormatAnswerJson(result, u"ZELV4PCD.EXE", u"1.0.0.0");
  EXPECT_LE(line.size(), kJsonAnswerLimit);
  EXPECT_EQ(line.substr(line.size() - 2), u"]}");
}

}  // namespace
}  // namespace somv
