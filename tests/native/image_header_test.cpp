#include "framework/image_header.h"

#include <gtest/gtest.h>

#include <vector>

namespace somv {
namespace {

// A DOS header pointing at a PE header at `pe` that names `machine`.
std::vector<unsigned char> Image(std::uint32_t pe, std::uint16_t machine, std::size_t size = 512) {
  std::vector<unsigned char> image(size, 0);
  image[0] = 'M';
  image[1] = 'Z';
  for (int i = 0; i < 4; ++i) image[0x3C + i] = static_cast<unsigned char>(pe >> (8 * i));
  if (pe + 6 <= size) {
    image[pe] = 'P';
    image[pe + 1] = 'E';
    image[pe + 4] = static_cast<unsigned char>(machine);
    image[pe + 5] = static_cast<unsigned char>(machine >> 8);
  }
  return image;
}

TEST(ImageMachine, ReadsTheMachineOfEitherBuild) {
  EXPECT_EQ(ImageMachine(Image(0x80, kMachineAmd64).data(), 512), kMachineAmd64);
  EXPECT_EQ(ImageMachine(Image(0x80, kMachineI386).data(), 512), kMachineI386);
  // The header may end exactly where the readable bytes do.
  EXPECT_EQ(ImageMachine(Image(506, kMachineI386).data(), 512), kMachineI386);
}

TEST(ImageMachine, ReadsNothingPastTheReadableBytesOrFromWhatIsNoImage) {
  EXPECT_EQ(ImageMachine(Image(507, kMachineI386).data(), 512), std::nullopt);
  EXPECT_EQ(ImageMachine(Image(0xFFFFFFF0u, kMachineAmd64).data(), 512), std::nullopt);
  EXPECT_EQ(ImageMachine(Image(0x80, kMachineAmd64).data(), 0x3F), std::nullopt);
  EXPECT_EQ(ImageMachine(nullptr, 512), std::nullopt);
  std::vector<unsigned char> text = Image(0x80, kMachineAmd64);
  text[0] = 'n';
  EXPECT_EQ(ImageMachine(text.data(), text.size()), std::nullopt);
  std::vector<unsigned char> noSignature = Image(0x80, kMachineAmd64);
  noSignature[0x81] = 'X';
  EXPECT_EQ(ImageMachine(noSignature.data(), noSignature.size()), std::nullopt);
}

TEST(ImageResourceMapping, OnlyAHandleTaggedAsAnImageMapping) {
  struct Case {
    std::uintptr_t module;
    bool image;
  } const cases[] = {
      {0x10000002u, true},
      {0x10000001u, false},  // the system fell back to a data-file view
      {0x10000000u, false},  // a module loaded to run
      {0x10000003u, false},
      {0x2u, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsImageResourceMapping(c.module), c.image) << std::hex << c.module;
  }
}

}  // namespace
}  // namespace somv
