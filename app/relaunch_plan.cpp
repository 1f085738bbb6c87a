#include "app/relaunch_plan.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/path_join.h"
#include "framework/image_header.h"

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

char16_t FoldAscii(char16_t unit) {
  return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

// Paths differ in case from one writer to another; letters beyond ASCII are
// compared as they are, which at worst registers a path twice or, for a
// folder, runs the tool in place.
bool SameAsciiFolded(std::u16string_view left, std::u16string_view right) {
  const auto fold = FoldAscii;
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

std::vector<std::u16string_view> SplitAt(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  for (std::size_t end = text.find(separator); end != std::u16string_view::npos;
       start = end + 1, end = text.find(separator, start)) {
    parts.push_back(text.substr(start, end - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace

bool DeletionPendingAtRestart(std::u16string_view operations, std::u16string_view path) {
  const std::u16string ntPath = NtPathOf(path);
  const std::vector<std::u16string_view> parts = SplitAt(operations, u'\0');
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

namespace {

bool OnDriveLetter(std::u16string_view path) {
  return path.size() >= 3 && FoldAscii(path[0]) >= u'A' && FoldAscii(path[0]) <= u'Z' && path[1] == u':' &&
         path[2] == u'\\';
}

bool HasDotComponent(std::u16string_view path) {
  for (const std::u16string_view part : SplitAt(path, u'\\')) {
    if (part == u"." || part == u"..") return true;
  }
  return false;
}

}  // namespace

bool IsBelowFolder(std::u16string_view path, std::u16string_view folder) {
  while (!folder.empty() && folder.back() == u'\\') folder.remove_suffix(1);
  if (!OnDriveLetter(path) || !OnDriveLetter(std::u16string(folder) + u'\\') || HasDotComponent(path)) {
    return false;
  }
  return path.size() > folder.size() + 1 && path[folder.size()] == u'\\' &&
         SameAsciiFolded(path.substr(0, folder.size()), folder) && path[folder.size() + 1] != u'\\';
}

std::u16string ExpandedProfilePath(std::u16string_view value, std::u16string_view systemRoot) {
  const std::u16string_view systemDrive = systemRoot.substr(0, 2);
  const std::pair<std::u16string_view, std::u16string_view> variables[] = {
      {u"%SYSTEMDRIVE%", systemDrive}, {u"%SYSTEMROOT%", systemRoot}};
  std::u16string expanded;
  for (std::size_t at = 0; at < value.size();) {
    if (value[at] != u'%') {
      expanded += value[at++];
      continue;
    }
    const auto known = std::find_if(std::begin(variables), std::end(variables), [&](const auto& variable) {
      return SameAsciiFolded(value.substr(at, variable.first.size()), variable.first);
    });
    if (known == std::end(variables) || !OnDriveLetter(std::u16string(systemRoot) + u'\\')) return {};
    expanded += known->second;
    at += known->first.size();
  }
  return expanded;
}

std::u16string SidText(const unsigned char* sid, std::size_t size) {
  constexpr std::size_t kFixedPart = 8;
  if (sid == nullptr || size < kFixedPart || sid[0] != 1 || size < kFixedPart + 4u * sid[1]) return {};
  std::uint64_t authority = 0;
  for (std::size_t i = 2; i < kFixedPart; ++i) authority = (authority << 8) | sid[i];
  std::string text = "S-1-" + std::to_string(authority);
  for (std::size_t i = 0; i < sid[1]; ++i) {
    text += "-" + std::to_string(ReadLittleEndian(sid + kFixedPart + 4 * i, 4));
  }
  return std::u16string(text.begin(), text.end());
}

}  // namespace somv
