#include "device/status_library_path.h"

#include "common/path_join.h"

namespace somv {
namespace {

bool IsDriveRoot(std::u16string_view path) {
  if (path.size() < 3) return false;
  const char16_t letter = path[0];
  const bool isLetter = (letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z');
  return isLetter && path[1] == u':' && path[2] == u'\\';
}

// "\\server\share", but not the device namespaces "\\.\" and "\\?\".
bool IsShare(std::u16string_view path) {
  if (path.size() < 2 || path[0] != u'\\' || path[1] != u'\\') return false;
  const std::u16string_view rest = path.substr(2);
  const std::size_t serverEnd = rest.find(u'\\');
  if (serverEnd == 0 || serverEnd == std::u16string_view::npos) return false;
  const std::u16string_view server = rest.substr(0, serverEnd);
  if (server == u"." || server == u"?") return false;
  const std::u16string_view share = rest.substr(serverEnd + 1);
  return !share.empty() && share[0] != u'\\';
}

}  // namespace

std::u16string StatusLibraryPath(const char16_t* driverDirectory, std::size_t bufferUnits,
                                 std::u16string_view fileName) {
  if (driverDirectory == nullptr) return {};
  std::size_t length = 0;
  while (length < bufferUnits && driverDirectory[length] != u'\0') ++length;
  if (length == bufferUnits) return {};
  std::u16string directory(driverDirectory, length);
  if (!IsDriveRoot(directory) && !IsShare(directory)) return {};
  directory += u"\\3\\";
  return JoinWithinCapacity(directory, fileName);
}

}  // namespace somv
