#pragma once
// Whether a program file holds the program that the system mapped and runs.
// Another process may rename a running program's file and put its own under
// the name before this process first opens it; the name then proves nothing,
// and the system's own record of the mapped file's name need not follow the
// rename. The bytes do not lie: the loader maps the headers as they are in the
// file and every section at its place, changing a section that is not
// writable only by the base relocations (and the import address table, which
// the loader fills).
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace somv {

// True when `file`'s headers and every section that is not writable read as
// the image mapped at `image` does, once relocated to where it was mapped.
// The image's own headers are trusted only as far as the image reaches: any
// field that points outside it, a relocation of a kind the loader would not
// apply to this image, or a file too short gives false.
bool IsFileOfMappedImage(std::string_view file, const unsigned char* image);

}  // namespace somv
