#include "settings/launch_path.h"

namespace somv {

std::u16string ProgramDirectory(std::u16string_view programPath, std::u16string_view programName) {
  if (programPath.size() < programName.size()) return {};
  return std::u16string(programPath.substr(0, programPath.size() - programName.size()));
}

}  // namespace somv
