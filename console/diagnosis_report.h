#pragma once
// The diagnosis in words: sections for people, the findings last so that the
// last lines say what to do; and the parts of the one JSON line.
#include <string>
#include <vector>

#include "console/diagnosis.h"
#include "console/json_writer.h"

namespace somv {

std::u16string FormatDiagnosisText(const Diagnosis& diagnosis);

// Every printer counted by reason, and the findings.
std::u16string DiagnosisSummaryJson(const Diagnosis& diagnosis);

struct DiagnosedPrinterJson {
  std::u16string object;
  bool listed;  // left out first when the line would grow too long
};

std::vector<DiagnosedPrinterJson> DiagnosedPrintersJson(const Diagnosis& diagnosis);

// "settings", "statusLibrary", "process" and "findings", each text cut so
// that the line stays bounded.
void AddDiagnosisFields(JsonObject& answer, const Diagnosis& diagnosis);

}  // namespace somv
