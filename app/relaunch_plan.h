#pragma once
// Which files the relaunch copies into the temporary directory, and where.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/names.h"

namespace somv {

struct FileCopy {
  std::u16string source;
  std::u16string target;
};

// In copy order: the program, the settings file, the resource library.
using TempCopyPlan = std::array<FileCopy, 3>;

// The three copies, each target the temporary directory followed directly by
// the file's name. Nothing when a source is empty or a target would not fit
// in a path buffer: a relaunch that cannot name its files is not tried.
std::optional<TempCopyPlan> PlanTempCopies(std::u16string_view tempDirectory,
                                           std::u16string_view programPath,
                                           std::u16string_view settingsSource,
                                           std::u16string_view librarySource,
                                           const BuildNames& names);

// The copy's command line: its path in quotes, so that a space in the
// temporary directory cannot make the system look for a shorter program name.
std::u16string QuotedCommandLine(std::u16string_view programPath);

// Whether the system's list of file operations at restart (source and
// target in turn, in the \??\ form, a deletion's target empty, a target
// that replaces prefixed with '!') ends with `path` deleted: then registering
// it again would only lengthen the list that installers and audits read.
bool DeletionPendingAtRestart(std::u16string_view operations, std::u16string_view path);

// The path GetFinalPathNameByHandleW gives, without its \\?\ prefix.
std::u16string WithoutLongPathPrefix(std::u16string_view finalPath);

// Whether `path` lies below `folder`, both absolute on a drive letter and
// compared as paths differ in case: the folder itself, a folder of a like
// name ("C:\Users\op2" for "C:\Users\op"), a share and any "." or ".."
// component are not below it.
bool IsBelowFolder(std::u16string_view path, std::u16string_view folder);

// A profile path as the system's profile list holds it, with the two
// variables it may name taken from the system's folder `systemRoot` rather
// than from the environment, which the user sets; empty when it names any
// other variable.
std::u16string ExpandedProfilePath(std::u16string_view value, std::u16string_view systemRoot);

// The text form of a security identifier ("S-1-5-21-..."), the name of the
// user's key in the system's profile list; empty when `sid` is not one.
std::u16string SidText(const unsigned char* sid, std::size_t size);

}  // namespace somv
