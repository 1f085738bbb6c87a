#include "app/relaunch_plan.h"

#include <vector>

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

namespace {

// Paths differ in case from one writer to another; letters beyond ASCII are
// compared as they are, which at worst registers a path twice.
bool SameAsciiFolded(std::u16string_view left, std::u16string_view right) {
  const auto fold = [](char16_t unit) {
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
  };
  if (left.size() != right.size()) return false;
  for (std::size_t index = 0; index < left.size(); ++index) {
    if (fold(left[index]) != fold(right[index])) return false;
  }
  return true;
}

std::u16string NtPathOf(std::u16string_view path) {
  if (path.substr(0, 2) == u"\\\\") return u"\\??\\UNC\\" + std::u16string(path.substr(2));
  return u"\\??\\" + std::u16string(path);
}

std::vector<std::u16string_view> SplitAtNulls(std::u16string_view text) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  for (std::size_t end = text.find(u'\0'); end != std::u16string_view::npos;
       start = end + 1, end = text.find(u'\0', start)) {
    parts.push_back(text.substr(start, end - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace

bool DeletionPendingAtRestart(std::u16string_view operations, std::u16string_view path) {
  const std::u16string ntPath = NtPathOf(path);
  const std::vector<std::u16string_view> parts = SplitAtNulls(operations);
  bool deleted = false;
  for (std::size_t index = 0; index + 1 < parts.size(); index += 2) {
    std::u16string_view target = parts[index + 1];
    if (!target.empty() && target.front() == u'!') target.remove_prefix(1);
    if (SameAsciiFolded(parts[index], ntPath)) deleted = target.empty();
    if (SameAsciiFolded(target, ntPath)) deleted = false;
  }
  return deleted;
}

std::u16string WithoutLongPathPrefix(std::u16string_view finalPath) {
  if (finalPath.substr(0, 8) == u"\\\\?\\UNC\\") return u"\\\\" + std::u16string(finalPath.substr(8));
  if (finalPath.substr(0, 4) == u"\\\\?\\") return std::u16string(finalPath.substr(4));
  return std::u16string(finalPath);
}

}  // namespace somv
