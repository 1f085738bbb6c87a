#include "app/relaunch_win.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <cstdint>
#include <cwchar>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/relaunch_plan.h"
#include "app/running_image.h"
#include "common/library_search_win.h"
#include "common/names.h"
#include "common/path_join.h"
#include "common/tool_mutexes_win.h"
#include "common/unique_handle_win.h"
#include "common/win_text.h"
#include "settings/launch_dir_win.h"
#include "settings/launch_path.h"
#include "settings/settings_win.h"

namespace somv {
namespace {

static_assert(sizeof(STARTUPINFOW) == ThisBuild().startupInfoSize,
              "the start-up record has the size this build's platform expects");

// Empty when the platform gave nothing or more than a path buffer holds.
std::u16string PathFrom(DWORD length, const wchar_t* buffer) {
  if (length == 0 || length >= kPathCapacity) return {};
  return ToU16(buffer);
}

std::u16string TempDirectory() {
  wchar_t buffer[kPathCapacity] = {};
  return PathFrom(::GetTempPathW(kPathCapacity, buffer), buffer);
}

// The current directory with a trailing backslash, or empty when it does not
// fit in a path buffer that way.
std::u16string WorkingDirectoryForCopy() {
  wchar_t buffer[kPathCapacity] = {};
  return WithTrailingBackslash(PathFrom(::GetCurrentDirectoryW(kPathCapacity, buffer), buffer));
}

std::u16string ExistingLaunchFile(const char16_t* name) {
  const std::wstring path = GetLaunchFilePath(WidePtr(name));
  return FileExists(path) ? ToU16(path) : std::u16string();
}

// Larger files are no companion of ours; reading them whole is not tried.
constexpr LONGLONG kLargestCopiedFile = 64LL * 1024 * 1024;

// Names, in the copy's inherited environment, the inherited event by which the
// copy says it holds its files. Unnamed and inherited only by the copy, no
// other process can set it, and waiting for it needs nothing but the kernel.
constexpr wchar_t kHandOverVariable[] = L"SOMNIVARF_TOOL_HANDOVER";

UniqueKernelHandle OwnedFile(HANDLE file) {
  return UniqueKernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// Sharing reading only keeps every other process from writing, renaming or
// deleting the file for as long as the handle is open; the loader's own
// open of a program still succeeds, as it asks only to read and execute.
UniqueKernelHandle OpenSharingReadOnly(const std::u16string& path, DWORD access, DWORD disposition) {
  return OwnedFile(::CreateFileW(WidePtr(path), access, FILE_SHARE_READ, nullptr, disposition,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

bool MarkDeleted(HANDLE file) {
  FILE_DISPOSITION_INFO disposition = {TRUE};
  return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof(disposition));
}

// Windows 10 1809 and later: the name goes at once, read-only or not, and the
// attributes of a file with other names stay as they are.
// The system's names; the headers give them only to builds for those systems.
constexpr auto kFileDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
constexpr DWORD kFileDispositionFlagDelete = 0x1;
constexpr DWORD kFileDispositionFlagPosixSemantics = 0x2;
constexpr DWORD kFileDispositionFlagIgnoreReadOnlyAttribute = 0x10;

bool MarkDeletedIgnoringReadOnly(HANDLE file) {
  DWORD flags = kFileDispositionFlagDelete | kFileDispositionFlagPosixSemantics |
                kFileDispositionFlagIgnoreReadOnlyAttribute;
  return ::SetFileInformationByHandle(file, kFileDispositionInfoEx, &flags, sizeof(flags));
}

// A plain file with no other name, so changing it changes nothing elsewhere.
bool IsLoneFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info = {};
  return ::GetFileInformationByHandle(file, &info) && info.nNumberOfLinks == 1 &&
         (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

// The path by which `file` was reached, as the system reads it: every link
// and junction on the way resolved. Empty when it does not fit.
std::u16string FinalPath(HANDLE file) {
  wchar_t buffer[kPathCapacity + 8] = {};
  const DWORD length = ::GetFinalPathNameByHandleW(file, buffer, kPathCapacity + 8,
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= kPathCapacity + 8) return {};
  return WithoutLongPathPrefix(ToU16(buffer));
}

bool SamePathIgnoringCase(const std::u16string& left, const std::u16string& right) {
  return ::CompareStringOrdinal(WidePtr(left), -1, WidePtr(right), -1, TRUE) == CSTR_EQUAL;
}

// Reached through no link or junction along the way.
bool HasFinalPath(HANDLE file, const std::u16string& finalPath) {
  const std::u16string found = FinalPath(file);
  return !found.empty() && SamePathIgnoringCase(found, finalPath);
}

// The one file of that path: no other name, and reached through no link or
// junction along the way.
bool IsTheFileMeant(HANDLE file, const std::u16string& finalPath) {
  return IsLoneFile(file) && HasFinalPath(file, finalPath);
}

// Through a second handle to the same file, asked for only now: a name may
// lead to a file whose attributes this process may not change, and that
// must not keep its name from being removed.
bool MakeNormal(HANDLE file) {
  const UniqueKernelHandle writable = OwnedFile(
      ::ReOpenFile(file, DELETE | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                   FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS));
  FILE_BASIC_INFO basic = {};
  basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  return writable && ::SetFileInformationByHandle(writable.Get(), FileBasicInfo, &basic, sizeof(basic));
}

// Whatever is found under a copy's name goes as a name, never written
// through: a hard link's file keeps its bytes and attributes, a symbolic link
// or junction is removed itself. Only a read-only leftover with no other name
// is made writable first, where the system cannot delete it regardless. A
// name that is not where the checked directory put it stays.
bool RemoveName(const std::u16string& path, const std::u16string& finalPath) {
  const UniqueKernelHandle found = OwnedFile(::CreateFileW(
      WidePtr(path), DELETE | FILE_READ_ATTRIBUTES,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
      FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!found) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  if (!HasFinalPath(found.Get(), finalPath)) return false;
  if (MarkDeletedIgnoringReadOnly(found.Get()) || MarkDeleted(found.Get())) return true;
  return IsLoneFile(found.Get()) && MakeNormal(found.Get()) && MarkDeleted(found.Get());
}

// With a long name for every short one, as a final path has them; empty when
// the directory cannot be found or the result does not fit in a path buffer.
std::u16string LongPath(const std::u16string& path) {
  wchar_t buffer[kPathCapacity] = {};
  return PathFrom(::GetLongPathNameW(WidePtr(path), buffer, kPathCapacity), buffer);
}


std::optional<std::string> ReadWholeFile(HANDLE file) {
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file, &size) || size.QuadPart > kLargestCopiedFile) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    return std::nullopt;
  }
  return bytes;
}

bool WriteWholeFile(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  return bytes.empty() ||
         (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
          written == bytes.size());
}

// Created anew, never through a name that was there: CREATE_NEW fails on any
// name, and the final component is not followed if it is a link.
bool WriteNewFile(const std::u16string& target, const std::u16string& finalPath,
                  const std::string& bytes) {
  const UniqueKernelHandle writer =
      OpenSharingReadOnly(target, GENERIC_WRITE | FILE_READ_ATTRIBUTES | DELETE, CREATE_NEW);
  if (!writer) return false;
  if (IsTheFileMeant(writer.Get(), finalPath) && WriteWholeFile(writer.Get(), bytes)) return true;
  MarkDeleted(writer.Get());
  return false;
}

struct CopyTarget {
  const FileCopy& copy;
  const std::u16string& finalPath;  // the target as its final path reads
};

// The writing handle must be closed before the copy can start, and no handle
// that denies writing can be opened while it is; what another process wrote
// in between is found by the comparison.
UniqueKernelHandle WriteAndHold(const CopyTarget& target, const std::string& bytes,
                                CopyWrittenFunction copyWritten) {
  if (!RemoveName(target.copy.target, target.finalPath)) return {};
  if (!WriteNewFile(target.copy.target, target.finalPath, bytes)) return {};
  if (copyWritten != nullptr) copyWritten(WidePtr(target.copy.target));
  UniqueKernelHandle held = OpenSharingReadOnly(target.copy.target, GENERIC_READ, OPEN_EXISTING);
  if (held && IsTheFileMeant(held.Get(), target.finalPath) && ReadWholeFile(held.Get()) == bytes) {
    return held;
  }
  // What is there now may be half written or another process's.
  held.Reset();
  RemoveName(target.copy.target, target.finalPath);
  return {};
}

// The program's bytes from the file this process held from its start, and
// only when they are the program that runs: a file put under the program's
// name before that is another program.
std::optional<std::string> RunningProgramBytes(HANDLE programFile) {
  LARGE_INTEGER start = {};
  if (programFile == nullptr || !::SetFilePointerEx(programFile, start, nullptr, FILE_BEGIN)) return std::nullopt;
  std::optional<std::string> bytes = ReadWholeFile(programFile);
  const auto* image = reinterpret_cast<const unsigned char*>(::GetModuleHandleW(nullptr));
  if (!bytes || !IsFileOfMappedImage(*bytes, image)) return std::nullopt;
  return bytes;
}

std::optional<std::string> CompanionBytes(const std::u16string& source) {
  // Shared as CopyFileW shares its source: nobody writes it while it is read.
  const UniqueKernelHandle file =
      OwnedFile(::CreateFileW(WidePtr(source), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file ? ReadWholeFile(file.Get()) : std::nullopt;
}

using RegOpenKeyExFunction = LSTATUS(WINAPI*)(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY);
using RegQueryValueExFunction = LSTATUS(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
using RegCloseKeyFunction = LSTATUS(WINAPI*)(HKEY);

// A text value under HKEY_LOCAL_MACHINE of one of the `types`, read through
// the kernel's own registry functions (Windows 7 and later) so that the
// program as started loads no other library; empty when it cannot be read.
std::u16string MachineRegistryText(const wchar_t* subkey, const wchar_t* name,
                                   std::initializer_list<DWORD> types) {
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32");
  const auto open = BoundExport<RegOpenKeyExFunction>(kernel, "RegOpenKeyExW");
  const auto query = BoundExport<RegQueryValueExFunction>(kernel, "RegQueryValueExW");
  const auto close = BoundExport<RegCloseKeyFunction>(kernel, "RegCloseKey");
  HKEY key = nullptr;
  if (open == nullptr || query == nullptr || close == nullptr ||
      open(HKEY_LOCAL_MACHINE, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return {};
  }
  std::u16string text;
  DWORD type = 0;
  DWORD size = 0;
  if (query(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      std::find(types.begin(), types.end(), type) != types.end()) {
    text.resize(size / sizeof(char16_t));
    if (query(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS) {
      text.clear();
    }
    text.resize(size / sizeof(char16_t));
  }
  close(key);
  return text;
}

// The system's list of file operations at restart.
std::u16string PendingRestartOperations() {
  return MachineRegistryText(L"SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                             L"PendingFileRenameOperations", {REG_MULTI_SZ});
}

using OpenProcessTokenFunction = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
using GetTokenInformationFunction = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);

// Where Windows 7 and later keep them, in a library every process has
// loaded; before that, from the system folder.
template <typename Fn>
Fn SecurityFunction(const char* name) {
  if (const auto found = BoundExport<Fn>(::GetModuleHandleW(L"kernelbase"), name)) return found;
  return BoundExport<Fn>(LoadSystemLibrary(L"advapi32.dll"), name);
}

// The text form of the security identifier this process runs as.
std::u16string OwnSidText() {
  const auto openToken = SecurityFunction<OpenProcessTokenFunction>("OpenProcessToken");
  const auto tokenInformation = SecurityFunction<GetTokenInformationFunction>("GetTokenInformation");
  HANDLE token = nullptr;
  if (openToken == nullptr || tokenInformation == nullptr ||
      !openToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
    return {};
  }
  const UniqueKernelHandle ownedToken(token);
  // Room for a user record with the largest identifier there is.
  alignas(TOKEN_USER) unsigned char buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
  DWORD size = 0;
  if (!tokenInformation(token, TokenUser, buffer, sizeof(buffer), &size)) return {};
  const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer);
  const auto* sid = static_cast<const unsigned char*>(user->User.Sid);
  const auto* end = buffer + sizeof(buffer);
  if (sid < buffer || sid >= end) return {};
  return SidText(sid, static_cast<std::size_t>(end - sid));
}

// The user's profile folder as the system's profile list names it; the
// environment's USERPROFILE is the user's to set.
std::u16string ProfileFolder() {
  const std::u16string sid = OwnSidText();
  if (sid.empty()) return {};
  const std::wstring key = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\" + ToWide(sid);
  std::u16string value =
      MachineRegistryText(key.c_str(), L"ProfileImagePath", {REG_SZ, REG_EXPAND_SZ});
  while (!value.empty() && value.back() == u'\0') value.pop_back();
  wchar_t systemRoot[kPathCapacity] = {};
  const std::u16string root = PathFrom(::GetSystemWindowsDirectoryW(systemRoot, kPathCapacity), systemRoot);
  return LongPath(ExpandedProfilePath(value, root));
}

bool OnLocalFixedDrive(const std::u16string& path) {
  wchar_t volume[kPathCapacity] = {};
  return ::GetVolumePathNameW(WidePtr(path), volume, kPathCapacity) && ::GetDriveTypeW(volume) == DRIVE_FIXED;
}

// The temporary directory, as TMP or TEMP name it and as its final path
// reads, taken only when it is the user's own: TMP and TEMP are the user's to
// set, and the copies' names are removed there. Held, so that it cannot be
// renamed or replaced until the relaunch is done.
struct OwnTempDirectory {
  std::u16string path;
  std::u16string finalPath;
  UniqueKernelHandle held;
};

std::optional<OwnTempDirectory> UsersOwnTempDirectory() {
  OwnTempDirectory directory;
  directory.path = TempDirectory();
  if (directory.path.empty()) return std::nullopt;
  directory.finalPath = LongPath(directory.path);
  if (directory.finalPath.empty()) return std::nullopt;
  directory.held = OwnedFile(::CreateFileW(WidePtr(directory.path), FILE_READ_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                           FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!directory.held ||
      !SamePathIgnoringCase(WithTrailingBackslash(FinalPath(directory.held.Get())), directory.finalPath) ||
      !IsBelowFolder(directory.finalPath, ProfileFolder()) || !OnLocalFixedDrive(directory.finalPath)) {
    return std::nullopt;
  }
  return directory;
}

// A copy that the system will not delete at restart is not left behind.
UniqueKernelHandle CopyForThisBoot(const CopyTarget& target, const std::optional<std::string>& bytes,
                                   const std::u16string& pendingOperations,
                                   RegisterDeletionFunction registerDeletion, CopyWrittenFunction copyWritten) {
  UniqueKernelHandle held = bytes ? WriteAndHold(target, *bytes, copyWritten) : UniqueKernelHandle();
  if (!held || DeletionPendingAtRestart(pendingOperations, target.copy.target)) return held;
  if (!registerDeletion(WidePtr(target.copy.target), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    held.Reset();
    RemoveName(target.copy.target, target.finalPath);
    return {};
  }
  return held;
}

void ReleaseInstanceMutex(HANDLE& mutex) {
  if (mutex == nullptr) return;
  ::ReleaseMutex(mutex);
  ::CloseHandle(mutex);
  mutex = nullptr;
}

// Inherited by the copy, the one handle that passes to it.
UniqueKernelHandle HandOverEvent() {
  SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
  return UniqueKernelHandle(::CreateEventW(&inherited, TRUE, FALSE, nullptr));
}

using InitializeAttributesFunction = BOOL(WINAPI*)(LPPROC_THREAD_ATTRIBUTE_LIST, DWORD, DWORD, PSIZE_T);
using UpdateAttributeFunction = BOOL(WINAPI*)(LPPROC_THREAD_ATTRIBUTE_LIST, DWORD, DWORD_PTR, PVOID, SIZE_T,
                                              PVOID, PSIZE_T);
using DeleteAttributesFunction = VOID(WINAPI*)(LPPROC_THREAD_ATTRIBUTE_LIST);

// The start's attributes naming the one handle the copy inherits. Null where
// the system has no such list; every inheritable handle then passes, among
// them those this process inherited itself.
class InheritedHandleList {
 public:
  explicit InheritedHandleList(HANDLE* handle) {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32");
    const auto initialize = BoundExport<InitializeAttributesFunction>(kernel, "InitializeProcThreadAttributeList");
    const auto update = BoundExport<UpdateAttributeFunction>(kernel, "UpdateProcThreadAttribute");
    m_delete = BoundExport<DeleteAttributesFunction>(kernel, "DeleteProcThreadAttributeList");
    if (initialize == nullptr || update == nullptr || m_delete == nullptr) return;
    SIZE_T size = 0;
    initialize(nullptr, 1, 0, &size);
    m_buffer.resize(size);
    const auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_buffer.data());
    if (size == 0 || !initialize(list, 1, 0, &size)) return;
    m_initialized = list;
    if (update(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handle, sizeof(*handle), nullptr, nullptr)) {
      m_list = list;
    }
  }
  ~InheritedHandleList() {
    if (m_initialized != nullptr) m_delete(m_initialized);
  }
  InheritedHandleList(const InheritedHandleList&) = delete;
  InheritedHandleList& operator=(const InheritedHandleList&) = delete;

  LPPROC_THREAD_ATTRIBUTE_LIST Get() const { return m_list; }

 private:
  std::vector<unsigned char> m_buffer;
  DeleteAttributesFunction m_delete = nullptr;
  LPPROC_THREAD_ATTRIBUTE_LIST m_initialized = nullptr;
  LPPROC_THREAD_ATTRIBUTE_LIST m_list = nullptr;
};

bool StartCopy(const std::u16string& programTarget, const std::u16string& workingDirectory,
               HANDLE handOver, StartProcessFunction startProcess) {
  HANDLE inherited = handOver;
  const InheritedHandleList handles(&inherited);
  STARTUPINFOEXW startup = {};
  startup.StartupInfo.cb = handles.Get() != nullptr ? sizeof(STARTUPINFOEXW) : sizeof(STARTUPINFOW);
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = SW_SHOW;
  startup.lpAttributeList = handles.Get();
  const DWORD flags = handles.Get() != nullptr ? EXTENDED_STARTUPINFO_PRESENT : 0;
  PROCESS_INFORMATION process = {};
  // The command line must be writable; the application name fixes which
  // program runs whatever the command line's spaces say.
  std::wstring commandLine = ToWide(QuotedCommandLine(programTarget));
  ::SetEnvironmentVariableW(kHandOverVariable,
                            std::to_wstring(reinterpret_cast<std::uintptr_t>(handOver)).c_str());
  const BOOL started = startProcess(WidePtr(programTarget), commandLine.data(), nullptr, nullptr, TRUE, flags,
                                    nullptr, WidePtr(workingDirectory), &startup.StartupInfo, &process);
  ::SetEnvironmentVariableW(kHandOverVariable, nullptr);
  if (!started) return false;
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  const HANDLE either[] = {handOver, processHandle.Get()};
  ::WaitForMultipleObjects(2, either, FALSE, INFINITE);
  return true;
}

// Only an inherited handle is taken for the one the program as started
// passed, so a stray variable can touch no handle this process made itself.
void TellProgramAsStartedFilesAreHeld() {
  wchar_t text[24] = {};
  const DWORD length = ::GetEnvironmentVariableW(kHandOverVariable, text, 24);
  ::SetEnvironmentVariableW(kHandOverVariable, nullptr);
  if (length == 0 || length >= 24) return;
  wchar_t* end = nullptr;
  const unsigned long long value = std::wcstoull(text, &end, 10);
  const auto handle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
  DWORD flags = 0;
  if (value == 0 || *end != L'\0' || !::GetHandleInformation(handle, &flags) ||
      (flags & HANDLE_FLAG_INHERIT) == 0) {
    return;
  }
  const UniqueKernelHandle handOver(handle);
  ::SetEvent(handOver.Get());
}

}  // namespace

bool RelaunchFromTempCopy(HANDLE& mutex, HANDLE programFile, StartProcessFunction startProcess,
                          RegisterDeletionFunction registerDeletion, CopyWrittenFunction copyWritten) {
  const std::optional<OwnTempDirectory> temp = UsersOwnTempDirectory();
  if (!temp) return false;
  const std::u16string programPath = OwnProgramPath();
  if (programPath.empty()) return false;
  const std::u16string settingsSource = ExistingLaunchFile(kSettingsFileName);
  if (settingsSource.empty()) return false;
  const std::u16string librarySource = ExistingLaunchFile(ThisBuild().resourceLibrary);
  if (librarySource.empty()) return false;

  const std::optional<TempCopyPlan> plan =
      PlanTempCopies(temp->path, programPath, settingsSource, librarySource, ThisBuild());
  // The same targets as their final paths read, to check each copy against.
  const std::optional<TempCopyPlan> finalPaths =
      PlanTempCopies(temp->finalPath, programPath, settingsSource, librarySource, ThisBuild());
  if (!plan || !finalPaths) return false;
  const std::array<std::optional<std::string>, std::tuple_size_v<TempCopyPlan>> bytes = {
      RunningProgramBytes(programFile), CompanionBytes(settingsSource), CompanionBytes(librarySource)};
  if (!bytes[0]) return false;

  const std::u16string pendingOperations = PendingRestartOperations();
  // All three are tried whatever the earlier ones gave; held until this returns.
  std::array<UniqueKernelHandle, std::tuple_size_v<TempCopyPlan>> held;
  for (std::size_t index = 0; index < held.size(); ++index) {
    const CopyTarget target{(*plan)[index], (*finalPaths)[index].target};
    held[index] = CopyForThisBoot(target, bytes[index], pendingOperations, registerDeletion, copyWritten);
  }
  for (const UniqueKernelHandle& copy : held) {
    if (!copy) return false;
  }

  const std::u16string workingDirectory = WorkingDirectoryForCopy();
  const UniqueKernelHandle handOver = HandOverEvent();
  if (workingDirectory.empty() || !handOver) return false;

  ReleaseInstanceMutex(mutex);
  if (StartCopy((*plan)[0].target, workingDirectory, handOver.Get(), startProcess)) return true;
  // Nobody runs the tool now but a start that took the name meanwhile, which
  // then is the one instance.
  UniqueKernelHandle retaken;
  const bool oneInstanceAgain = TakeToolMutexAgain(retaken);
  mutex = retaken.Release();
  return !oneInstanceAgain;
}

UniqueKernelHandle HoldProgramFile() {
  const std::u16string path = OwnProgramPath();
  return path.empty() ? UniqueKernelHandle() : OpenSharingReadOnly(path, GENERIC_READ, OPEN_EXISTING);
}

HeldCompanionFiles HoldCompanionFiles() {
  const auto hold = [](const char16_t* name) {
    const std::wstring path = GetLaunchFilePath(WidePtr(name));
    return path.empty() ? UniqueKernelHandle() : OpenSharingReadOnly(ToU16(path), GENERIC_READ, OPEN_EXISTING);
  };
  HeldCompanionFiles held{hold(kSettingsFileName), hold(ThisBuild().resourceLibrary)};
  TellProgramAsStartedFilesAreHeld();
  return held;
}

}  // namespace somv
