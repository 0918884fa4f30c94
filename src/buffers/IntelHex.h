#pragma once
// Intel HEX text to byte image and back.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/UserPort.h"

namespace zavuv::buffers {

// Decodes the bytes of a file as Intel HEX. The image starts at address 0; bytes
// that no record writes are 0xFF. Returns nothing when the bytes are no usable
// HEX file: the caller then takes them byte for byte. On the way the person is
// told about a broken record or data beyond the image limit ("Error in HEX
// file") and asked whether to go on past a wrong checksum.
std::optional<std::vector<std::uint8_t>> readIntelHex(std::span<const std::uint8_t> text,
                                                      base::UserPort& port);

// The image as Intel HEX text, 16 data bytes a record, CR LF after every line.
// Images up to 1 MB use extended segment address records (type 02), larger ones
// extended linear address records (type 04) at every 64 KB boundary.
std::string writeIntelHex(std::span<const std::uint8_t> image);

}  // namespace zavuv::buffers
