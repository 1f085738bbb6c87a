// String blocks of the resource library: sixteen counted strings whose
// lengths the library's maker chose.
#include <cstdint>
#include <string>

#include "framework/string_block.h"
#include "tests/fuzz/fuzz_input.h"

using namespace somv;
using namespace somv::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const unsigned id = input.Byte() | (input.Byte() << 8);
  const std::vector<std::uint8_t> block = input.Rest();
  std::u16string text = u"before";
  if (ReadStringFromBlock(block.data(), block.size(), id, text)) {
    FUZZ_CHECK(!text.empty() && 2 + text.size() * 2 <= block.size());
  } else {
    FUZZ_CHECK(text == u"before");
  }
  return 0;
}
