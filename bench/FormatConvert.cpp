// zavuv_format_convert srec|elf IN OUT: reads IN as S-records or as an ELF file
// and writes its Flash image to OUT as binary from address 0, gaps as 0xFF,
// replacing OUT atomically as the program's saves do. scripts/bench-formats.sh
// times it against srec_cat and avr-objcopy on the same files, as whole
// commands. A measuring tool only: users reach the formats through Load.

#include <cstdio>
#include <string>
#include <variant>

#include "buffers/ElfImage.h"
#include "buffers/FileIo.h"
#include "buffers/FileLimits.h"
#include "buffers/SRecord.h"

using namespace zavuv::buffers;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s srec|elf IN OUT\n", argv[0]);
        return 2;
    }
    const std::string format = argv[1];
    const auto input = readWholeFile(argv[2], kMaxInputFileSize);
    if (input.status != ReadStatus::Ok) {
        std::fprintf(stderr, "%s: cannot read\n", argv[2]);
        return 2;
    }
    ImageSegments flash;
    if (format == "srec") {
        auto result = readSRecord(input.bytes, {kMaxImageSize});
        if (const auto* error = std::get_if<SRecordError>(&result)) {
            std::fprintf(stderr, "%s:%zu: problem %d\n", argv[2], error->line,
                         static_cast<int>(error->problem));
            return 1;
        }
        flash = std::move(std::get<SRecordImage>(result).segments);
    } else if (format == "elf") {
        auto result = readElfImage(input.bytes);
        if (const auto* error = std::get_if<ElfError>(&result)) {
            std::fprintf(stderr, "%s: problem %d (%s)\n", argv[2], static_cast<int>(error->problem),
                         error->detail.c_str());
            return 1;
        }
        flash = std::move(std::get<ElfImage>(result).flash);
    } else {
        std::fprintf(stderr, "unknown format %s\n", argv[1]);
        return 2;
    }
    return writeFileAtomically(argv[3], flatten(flash, 0xFF)) ? 0 : 1;
}
