#include "app/running_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace somv {
namespace {

constexpr std::uint64_t kPreferredBase = 0x140000000;
constexpr std::size_t kPe = 0x80;
constexpr std::size_t kOptional = kPe + 24;
constexpr std::size_t kPointerAt = 0x1010;  // in the code section, relocated

void Put(std::string& bytes, std::size_t at, std::uint64_t value, std::size_t units) {
  for (std::size_t i = 0; i < units; ++i, value >>= 8) bytes[at + i] = static_cast<char>(value);
}

// A 64-bit program file: code at 0x1000, writable data at 0x2000, the
// relocations (one pointer in the code) at 0x3000.
std::string ProgramFile() {
  std::string file(0x800, '\0');
  for (std::size_t at = 0x200; at < 0x600; ++at) file[at] = static_cast<char>(at * 7);
  file[0] = 'M';
  file[1] = 'Z';
  Put(file, 0x3C, kPe, 4);
  Put(file, kPe, 0x00004550, 4);
  Put(file, kPe + 6, 3, 2);
  Put(file, kPe + 20, 240, 2);
  Put(file, kOptional, 0x20B, 2);
  Put(file, kOptional + 24, kPreferredBase, 8);
  Put(file, kOptional + 56, 0x4000, 4);
  Put(file, kOptional + 60, 0x200, 4);
  Put(file, kOptional + 108, 16, 4);
  Put(file, kOptional + 112 + 5 * 8, 0x3000, 4);
  Put(file, kOptional + 112 + 5 * 8 + 4, 12, 4);
  const struct {
    std::uint32_t address, rawAt, characteristics;
  } sections[] = {{0x1000, 0x200, 0x60000020}, {0x2000, 0x400, 0xC0000040}, {0x3000, 0x600, 0x42000040}};
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t header = kOptional + 240 + 40 * i;
    Put(file, header + 8, 0x200, 4);
    Put(file, header + 12, sections[i].address, 4);
    Put(file, header + 16, 0x200, 4);
    Put(file, header + 20, sections[i].rawAt, 4);
    Put(file, header + 36, sections[i].characteristics, 4);
  }
  Put(file, 0x600, 0x1000, 4);
  Put(file, 0x604, 12, 4);
  Put(file, 0x608, (10u << 12) | (kPointerAt - 0x1000), 2);
  Put(file, 0x60A, 0, 2);
  Put(file, 0x200 + (kPointerAt - 0x1000), kPreferredBase + 0x1234, 8);
  return file;
}

// `file` as the loader maps it, moved to wherever the buffer is.
std::vector<unsigned char> Mapped(const std::string& file, bool relocated = true) {
  std::vector<unsigned char> image(0x4000, 0);
  const auto base = reinterpret_cast<std::uintptr_t>(image.data());
  std::string layout(0x4000, '\0');
  layout.replace(0, 0x200, file, 0, 0x200);
  for (std::size_t i = 0; i < 3; ++i) layout.replace(0x1000 * (i + 1), 0x200, file, 0x200 * (i + 1), 0x200);
  Put(layout, kOptional + 24, base, 8);
  if (relocated) Put(layout, kPointerAt, base + 0x1234, 8);
  std::copy(layout.begin(), layout.end(), image.begin());
  return image;
}

TEST(IsFileOfMappedImage, OnlyTheFileWhoseHeadersAndReadOnlySectionsTheImageHolds) {
  const std::string file = ProgramFile();
  const std::vector<unsigned char> image = Mapped(file);
  EXPECT_TRUE(IsFileOfMappedImage(file, image.data()));
  const struct {
    const char* what;
    std::size_t at;
    bool same;
  } changes[] = {{"a header", kPe + 8, false}, {"the code", 0x300, false},
                 {"the relocations", 0x60A, false}, {"the writable data", 0x500, true}};
  for (const auto& change : changes) {
    std::string other = file;
    other[change.at] = static_cast<char>(other[change.at] ^ 1);
    EXPECT_EQ(IsFileOfMappedImage(other, image.data()), change.same) << change.what;
  }
  EXPECT_FALSE(IsFileOfMappedImage(file.substr(0, 0x700), image.data())) << "cut short";
  EXPECT_FALSE(IsFileOfMappedImage("MZ", image.data())) << "no program";
  EXPECT_FALSE(IsFileOfMappedImage(file, Mapped(file, false).data())) << "the pointer read unrelocated";
}

}  // namespace
}  // namespace somv
