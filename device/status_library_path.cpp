#include "device/status_library_path.h"

#include "common/path_join.h"

namespace somv {

std::u16string StatusLibraryPath(const char16_t* driverDirectory, std::size_t bufferUnits,
                                 std::u16string_view fileName) {
  if (driverDirectory == nullptr) return {};
  std::size_t length = 0;
  while (length < bufferUnits && driverDirectory[length] != u'\0') ++length;
  if (length == bufferUnits) return {};
  std::u16string directory(driverDirectory, length);
  directory += u"\\3\\";
  return JoinWithinCapacity(directory, fileName);
}

}  // namespace somv
