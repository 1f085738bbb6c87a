#include "common/path_join.h"

namespace somv {

std::u16string JoinWithinCapacity(std::u16string_view directory, std::u16string_view name,
                                  std::size_t capacity) {
  if (directory.size() + name.size() + 1 > capacity) return {};
  std::u16string path(directory);
  path += name;
  return path;
}

std::u16string WithTrailingBackslash(std::u16string_view directory, std::size_t capacity) {
  if (directory.empty() || directory.back() == u'\\') {
    return directory.size() + 1 > capacity ? std::u16string() : std::u16string(directory);
  }
  return JoinWithinCapacity(directory, u"\\", capacity);
}

std::u16string DirectoryOfPath(std::u16string_view path) {
  const std::size_t slash = path.rfind(u'\\');
  if (slash == std::u16string_view::npos) return {};
  return std::u16string(path.substr(0, slash + 1));
}

}  // namespace somv
