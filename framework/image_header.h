#pragma once
// Reading the header of a program image that the system has mapped, without
// trusting a word of it.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace somv {

inline constexpr std::uint16_t kMachineI386 = 0x014C;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;

// The `units` bytes (at most 8) at `at`, the least significant first, as
// images and security identifiers store their numbers.
std::uint64_t ReadLittleEndian(const unsigned char* at, std::size_t units);

// The machine field of the image's file header, read from the `readable`
// bytes at `image`; nothing when they hold no complete DOS and PE header.
std::optional<std::uint16_t> ImageMachine(const unsigned char* image, std::size_t readable);

// Whether a module handle that a load for resources returned is an image
// mapping (the system tags it 2 in its low bits). A plain data-file view
// (tag 1) has no image layout, so the resource sizes read from it are not
// checked against anything.
bool IsImageResourceMapping(std::uintptr_t module);

}  // namespace somv
