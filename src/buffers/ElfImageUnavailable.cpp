// The ELF reader of a build without libelf (Windows): every ELF file is
// refused with the reason, so that the user knows to convert it to HEX.
#include "buffers/ElfImage.h"

namespace zavuv::buffers {

bool elfFilesReadable() {
    return false;
}

std::variant<ElfImage, ElfError> readElfImage(std::span<const std::uint8_t>) {
    return ElfError{ElfProblem::Unreadable, "this build reads no ELF files (no libelf)", 0};
}

}  // namespace zavuv::buffers
