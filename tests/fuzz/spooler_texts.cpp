// A printer or driver name as the spooler's reply buffer holds it: the
// pointer may lead anywhere in the buffer or outside it, the terminator may
// be missing, the text need not be aligned.
#include <cstdint>
#include <vector>

#include "printers/discovery.h"
#include "tests/fuzz/fuzz_input.h"

using namespace somv;
using namespace somv::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::uint32_t offset = input.Uint32() % 4096;
  const std::vector<std::uint8_t> buffer = input.Rest();
  const unsigned char* begin = buffer.data();
  const unsigned char* end = begin + buffer.size();
  // Formed as an address, so that one beyond the buffer is no pointer arithmetic.
  const auto text = reinterpret_cast<const char16_t*>(reinterpret_cast<std::uintptr_t>(begin) + offset);
  const std::u16string name = TextInReplyBuffer(text, begin, end);
  if (offset >= buffer.size()) {
    FUZZ_CHECK(name.empty());
  } else {
    FUZZ_CHECK(name.size() <= (buffer.size() - offset) / 2);
    FUZZ_CHECK(name.find(u'\0') == std::u16string::npos);
  }
  return 0;
}
