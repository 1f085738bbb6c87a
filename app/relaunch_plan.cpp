#include "app/relaunch_plan.h"

#include "common/path_join.h"

namespace somv {

std::optional<TempCopyPlan> PlanTempCopies(std::u16string_view tempDirectory,
                                           std::u16string_view programPath,
                                           std::u16string_view settingsSource,
                                           std::u16string_view librarySource,
                                           const BuildNames& names) {
  TempCopyPlan plan{{
      {std::u16string(programPath), JoinWithinCapacity(tempDirectory, names.program)},
      {std::u16string(settingsSource), JoinWithinCapacity(tempDirectory, kSettingsFileName)},
      {std::u16string(librarySource), JoinWithinCapacity(tempDirectory, names.resourceLibrary)},
  }};
  for (const FileCopy& copy : plan) {
    if (copy.source.empty() || copy.target.empty()) return std::nullopt;
  }
  return plan;
}

std::u16string QuotedCommandLine(std::u16string_view programPath) {
  std::u16string line = u"\"";
  line += programPath;
  line += u'"';
  return line;
}

}  // namespace somv
