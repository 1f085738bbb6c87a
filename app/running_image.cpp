#include "app/running_image.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "framework/image_header.h"

namespace somv {
namespace {

constexpr std::uint64_t kNewHeaderAt = 0x3C;
// Mapped before anything else of the headers is known.
constexpr std::uint64_t kFirstPage = 4096;
constexpr std::uint32_t kPeSignature = 0x00004550;
constexpr std::uint64_t kOptionalHeaderAt = 24;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint32_t kSectionWritable = 0x80000000;
constexpr std::uint64_t kRelocationDirectory = 5;
constexpr std::uint64_t kImportAddressDirectory = 12;
constexpr unsigned kRelocationPadding = 0;
constexpr unsigned kRelocationHighLow = 3;
constexpr unsigned kRelocationDir64 = 10;

// The fields of the two optional header forms that the comparison reads.
struct OptionalHeaderForm {
  std::uint16_t magic;
  std::uint64_t baseAt;
  std::uint64_t baseSize;
  std::uint64_t directoryCountAt;
};
constexpr OptionalHeaderForm kForms[] = {{0x10B, 28, 4, 92}, {0x20B, 24, 8, 108}};
constexpr std::uint64_t kImageSizeAt = 56;
constexpr std::uint64_t kHeadersSizeAt = 60;

std::uint64_t Read(const unsigned char* at, std::uint64_t units) {
  return ReadLittleEndian(at, static_cast<std::size_t>(units));
}

void Add(unsigned char* at, std::uint64_t units, std::uint64_t delta) {
  std::uint64_t value = Read(at, units) + delta;
  for (std::uint64_t i = 0; i < units; ++i, value >>= 8) at[i] = static_cast<unsigned char>(value);
}

bool Within(std::uint64_t start, std::uint64_t size, std::uint64_t limit) {
  return start <= limit && size <= limit - start;
}

struct Range {
  std::uint64_t start = 0;
  std::uint64_t size = 0;
};

struct ImageLayout {
  std::uint64_t imageSize = 0;
  std::uint64_t headersSize = 0;
  std::uint64_t baseAt = 0;
  std::uint64_t baseSize = 0;
  std::uint64_t sectionsAt = 0;
  std::uint64_t sectionCount = 0;
  Range relocations;
  Range importAddresses;
};

std::optional<ImageLayout> ReadLayout(const unsigned char* image) {
  if (image == nullptr || image[0] != 'M' || image[1] != 'Z') return std::nullopt;
  const std::uint64_t optional = Read(image + kNewHeaderAt, 4) + kOptionalHeaderAt;
  if (!Within(optional, kHeadersSizeAt + 4, kFirstPage) ||
      Read(image + optional - kOptionalHeaderAt, 4) != kPeSignature) {
    return std::nullopt;
  }
  const std::uint64_t optionalSize = Read(image + optional - 4, 2);
  const std::uint64_t magic = Read(image + optional, 2);
  const auto form = std::find_if(std::begin(kForms), std::end(kForms),
                                 [magic](const OptionalHeaderForm& f) { return f.magic == magic; });
  if (form == std::end(kForms)) return std::nullopt;
  ImageLayout layout;
  layout.imageSize = Read(image + optional + kImageSizeAt, 4);
  layout.headersSize = Read(image + optional + kHeadersSizeAt, 4);
  layout.baseAt = optional + form->baseAt;
  layout.baseSize = form->baseSize;
  layout.sectionsAt = optional + optionalSize;
  layout.sectionCount = Read(image + optional - kOptionalHeaderAt + 6, 2);
  if (layout.headersSize > layout.imageSize || optionalSize < form->directoryCountAt + 4 ||
      !Within(layout.sectionsAt, layout.sectionCount * kSectionHeaderSize, layout.headersSize)) {
    return std::nullopt;
  }
  const std::uint64_t directoryCount = Read(image + optional + form->directoryCountAt, 4);
  const auto directory = [&](std::uint64_t index, Range& range) {
    const std::uint64_t at = optional + form->directoryCountAt + 4 + index * 8;
    if (index >= directoryCount || at + 8 > layout.sectionsAt) return true;
    range = {Read(image + at, 4), Read(image + at + 4, 4)};
    return Within(range.start, range.size, layout.imageSize);
  };
  if (!directory(kRelocationDirectory, layout.relocations) ||
      !directory(kImportAddressDirectory, layout.importAddresses)) {
    return std::nullopt;
  }
  return layout;
}

// Applies to `section`, mapped at `address`, every relocation that the
// image's table holds for it, as the loader did when it moved the image by
// `delta`.
bool Relocate(std::vector<unsigned char>& section, std::uint64_t address, std::uint64_t delta,
              const ImageLayout& layout, const unsigned char* image) {
  const std::uint64_t end = layout.relocations.start + layout.relocations.size;
  for (std::uint64_t block = layout.relocations.start; end - block >= 8;) {
    const std::uint64_t page = Read(image + block, 4);
    const std::uint64_t blockSize = Read(image + block + 4, 4);
    if (blockSize < 8 || blockSize > end - block) return false;
    for (std::uint64_t entry = block + 8; entry + 2 <= block + blockSize; entry += 2) {
      const std::uint64_t value = Read(image + entry, 2);
      const unsigned type = static_cast<unsigned>(value >> 12);
      const std::uint64_t at = page + (value & 0xFFF);
      if (type == kRelocationPadding) continue;
      const std::uint64_t width = type == kRelocationDir64 ? 8 : type == kRelocationHighLow ? 4 : 0;
      if (width == 0) return false;
      if (at + width <= address || at >= address + section.size()) continue;
      if (at < address || at + width > address + section.size()) return false;
      Add(section.data() + (at - address), width, delta);
    }
    block += blockSize;
  }
  return true;
}

// The loader fills the import address table, wherever it lies.
void TakeImportAddresses(std::vector<unsigned char>& section, std::uint64_t address,
                         const ImageLayout& layout, const unsigned char* image) {
  const std::uint64_t from = std::max(address, layout.importAddresses.start);
  const std::uint64_t to = std::min(address + section.size(),
                                    layout.importAddresses.start + layout.importAddresses.size);
  if (from < to) std::copy(image + from, image + to, section.begin() + (from - address));
}

}  // namespace

bool IsFileOfMappedImage(std::string_view file, const unsigned char* image) {
  const std::optional<ImageLayout> layout = ReadLayout(image);
  if (!layout || file.size() < layout->headersSize) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
  // The loader writes where it mapped the image over the preferred base.
  std::vector<unsigned char> headers(bytes, bytes + layout->headersSize);
  const std::uint64_t preferredBase = Read(headers.data() + layout->baseAt, layout->baseSize);
  std::copy(image + layout->baseAt, image + layout->baseAt + layout->baseSize, headers.begin() + layout->baseAt);
  if (!std::equal(headers.begin(), headers.end(), image)) return false;
  const std::uint64_t delta = reinterpret_cast<std::uintptr_t>(image) - preferredBase;

  for (std::uint64_t index = 0; index < layout->sectionCount; ++index) {
    const unsigned char* header = image + layout->sectionsAt + index * kSectionHeaderSize;
    if ((Read(header + 36, 4) & kSectionWritable) != 0) continue;
    const std::uint64_t virtualSize = Read(header + 8, 4);
    const std::uint64_t address = Read(header + 12, 4);
    const std::uint64_t rawSize = Read(header + 16, 4);
    const std::uint64_t rawAt = Read(header + 20, 4);
    const std::uint64_t length = virtualSize == 0 ? rawSize : std::min(virtualSize, rawSize);
    if (!Within(address, length, layout->imageSize) || !Within(rawAt, length, file.size())) return false;
    std::vector<unsigned char> expected(bytes + rawAt, bytes + rawAt + length);
    if (!Relocate(expected, address, delta, *layout, image)) return false;
    TakeImportAddresses(expected, address, *layout, image);
    if (!std::equal(expected.begin(), expected.end(), image + address)) return false;
  }
  return true;
}

}  // namespace somv
