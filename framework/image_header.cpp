#include "framework/image_header.h"

namespace somv {
namespace {

constexpr std::size_t kNewHeaderOffsetAt = 0x3C;
constexpr std::size_t kMachineAfterSignature = 4;

}  // namespace

std::uint64_t ReadLittleEndian(const unsigned char* at, std::size_t units) {
  std::uint64_t value = 0;
  for (std::size_t i = units; i > 0; --i) value = (value << 8) | at[i - 1];
  return value;
}

std::optional<std::uint16_t> ImageMachine(const unsigned char* image, std::size_t readable) {
  if (image == nullptr || readable < kNewHeaderOffsetAt + 4) return std::nullopt;
  if (image[0] != 'M' || image[1] != 'Z') return std::nullopt;
  const std::size_t pe = ReadLittleEndian(image + kNewHeaderOffsetAt, 4);
  if (pe > readable || readable - pe < kMachineAfterSignature + 2) return std::nullopt;
  const unsigned char signature[] = {'P', 'E', 0, 0};
  for (std::size_t i = 0; i < 4; ++i) {
    if (image[pe + i] != signature[i]) return std::nullopt;
  }
  return static_cast<std::uint16_t>(ReadLittleEndian(image + pe + kMachineAfterSignature, 2));
}

bool IsImageResourceMapping(std::uintptr_t module) {
  constexpr std::uintptr_t kTagBits = 3;
  constexpr std::uintptr_t kImageResourceTag = 2;
  return (module & kTagBits) == kImageResourceTag && (module & ~kTagBits) != 0;
}

}  // namespace somv
