// Values of the settings file as the profile reader hands them over: a
// buffer of fixed capacity filled as the reader liked, read as a driver's
// entry (listed when non-empty) and as the minimum firmware version that the
// gate compares with the printer's.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/device_requests.h"
#include "printers/discovery.h"
#include "settings/settings_value.h"
#include "tests/fuzz/fuzz_input.h"

using namespace somv;
using namespace somv::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::uint8_t major = input.Byte();
  const std::uint8_t minor = input.Byte();
  const bool fileExists = (input.Byte() & 1) != 0;
  const std::u16string written = input.Text(u'\xFFFF');
  std::vector<char16_t> buffer(kSettingsValueCapacity, u'\0');
  std::copy_n(written.begin(), std::min<std::size_t>(written.size(), buffer.size()), buffer.begin());

  const std::u16string value = ValueInBuffer(buffer.data(), buffer.size());
  FUZZ_CHECK(value.size() < kSettingsValueCapacity && value.find(u'\0') == std::u16string::npos);
  FUZZ_CHECK(written.compare(0, value.size(), value) == 0);

  const std::u16string version = FirmwareVersionText(major, minor);
  bool consulted = false;
  const bool passes = FirmwareGatePasses(version, u"D", [&](const std::u16string&) {
    consulted = true;
    return fileExists ? std::optional<std::u16string>(value) : std::nullopt;
  });
  const bool belowThreshold = version < u"01.00";
  FUZZ_CHECK(consulted == !belowThreshold);
  FUZZ_CHECK(passes == (belowThreshold || (fileExists && value <= version)));

  const DiscoveryResult listed =
      SelectSupportedPrinters({{u"P", u"Kelva P"}}, [&](const std::u16string&) { return value; });
  FUZZ_CHECK(listed.found == (value.empty() ? 0 : 1));
  return 0;
}
