#include "buffers/FileFormats.h"

#include <algorithm>
#include <cstring>

#include "base/AsciiCase.h"
#include "buffers/ElfImage.h"
#include "buffers/FileLimits.h"
#include "buffers/IntelHex.h"
#include "buffers/SRecord.h"
#include "text/UiText.h"

namespace zavuv::buffers {

namespace {

using text::Msg;

constexpr std::string_view kHexExtensions[] = {"hex", "eep", "ihx", "ihex"};
constexpr std::string_view kSRecordExtensions[] = {"srec", "s19", "s28", "s37", "mot"};
constexpr std::string_view kElfExtensions[] = {"elf"};
constexpr std::string_view kBinaryExtensions[] = {"bin"};
constexpr std::string_view kEepromExtension = "eep";

DecodeResult readHex(std::span<const std::uint8_t> content, ChecksumPolicy checksums) {
    auto result = readIntelHex(content, {kMaxImageSize, checksums});
    if (auto* image = std::get_if<ImageSegments>(&result))
        return DecodedFile{.image = std::move(*image)};
    const HexError error = std::get<HexError>(result);
    if (error.problem == HexProblem::WrongChecksum)
        return FormatFailure{text::GetUiText(Msg::ErrorInHexFile),
                             text::GetUiText(Msg::HexChecksumQuestion)};
    return FormatFailure{text::GetUiText(Msg::ErrorInHexFile)};
}

DecodeResult readSRecords(std::span<const std::uint8_t> content, ChecksumPolicy checksums) {
    auto result = readSRecord(content, {kMaxImageSize, checksums});
    if (auto* image = std::get_if<SRecordImage>(&result))
        return DecodedFile{.image = std::move(image->segments)};
    const SRecordError error = std::get<SRecordError>(result);
    FormatFailure failure{text::formatUiText(Msg::ErrorInSRecordFile, error.line)};
    if (error.problem == SRecordProblem::WrongChecksum)
        failure.checksumQuestion = text::formatUiText(Msg::SRecordChecksumQuestion, error.line);
    return failure;
}

std::string elfReason(const ElfError& error) {
    switch (error.problem) {
    case ElfProblem::NotElf:
        return text::GetUiText(Msg::ElfNotElf);
    case ElfProblem::Truncated:
        return text::GetUiText(Msg::ElfTruncated);
    case ElfProblem::SixtyFourBit:
        return text::GetUiText(Msg::ElfSixtyFourBit);
    case ElfProblem::BigEndian:
        return text::GetUiText(Msg::ElfBigEndian);
    case ElfProblem::WrongMachine:
        return text::formatUiText(Msg::ElfWrongMachine, error.detail);
    case ElfProblem::Unreadable:
        return text::formatUiText(Msg::ElfUnreadable, error.detail);
    case ElfProblem::SegmentPastEnd:
        return text::formatUiText(Msg::ElfSegmentPastEnd, error.detail);
    case ElfProblem::SectionPastEnd:
        return text::formatUiText(Msg::ElfSectionPastEnd, error.detail);
    case ElfProblem::WrongSectionSize:
        return text::formatUiText(Msg::ElfWrongSectionSize, error.detail);
    case ElfProblem::OutsideMemories:
        return text::formatUiText(Msg::ElfOutsideMemories, error.detail, error.address);
    case ElfProblem::Overlap:
        return text::formatUiText(Msg::ElfOverlap, error.address);
    }
    return {};
}

DecodeResult readElf(std::span<const std::uint8_t> content, ChecksumPolicy) {
    auto result = readElfImage(content);
    if (const auto* error = std::get_if<ElfError>(&result))
        return FormatFailure{text::formatUiText(Msg::ErrorInElfFile, elfReason(*error))};
    ElfImage& elf = std::get<ElfImage>(result);
    DecodedFile file{.image = std::move(elf.flash), .fuses = elf.fuses, .lock = elf.lock};
    // The EEPROM goes back to its place in avr-gcc's address space, where the
    // buffers look for it in every format.
    for (auto& segment : elf.eeprom) {
        segment.address += static_cast<std::uint32_t>(kAvrEepromRange.begin);
        file.image.push_back(std::move(segment));
    }
    // avr-libc stores the signature's last byte first.
    if (elf.signature)
        file.signature = std::array{(*elf.signature)[2], (*elf.signature)[1], (*elf.signature)[0]};
    return file;
}

DecodeResult readBinary(std::span<const std::uint8_t> content, ChecksumPolicy) {
    if (content.size() > kMaxImageSize)
        return FormatFailure{text::GetUiText(Msg::CannotLoadFile)};
    DecodedFile file;
    if (!content.empty())
        file.image.push_back({0, {content.begin(), content.end()}});
    return file;
}

bool looksLikeElf(std::span<const std::uint8_t> content) {
    constexpr std::array<std::uint8_t, 4> kMagic = {0x7F, 'E', 'L', 'F'};
    return content.size() >= kMagic.size() && std::ranges::equal(content.first(4), kMagic);
}

std::string fileName(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string writeHex(const ImageSegments& image, const std::string&) {
    return writeIntelHex(image);
}

// The header record names the file, as other tools' headers do.
std::string writeSRecords(const ImageSegments& image, const std::string& path) {
    const std::string name = fileName(path);
    return writeSRecord(image, {reinterpret_cast<const std::uint8_t*>(name.data()), name.size()});
}

// Gaps become erased bytes: a binary file has no other way to skip them.
std::string writeBinary(const ImageSegments& image, const std::string&) {
    const auto flat = flatten(image, 0xFF);
    return {flat.begin(), flat.end()};
}

constexpr FileFormat kFormats[] = {
    {FileFormatId::IntelHex, "HEX Files", kHexExtensions, looksLikeIntelHex, readHex, writeHex},
    {FileFormatId::SRecord, "S-record Files", kSRecordExtensions, looksLikeSRecord, readSRecords,
     writeSRecords},
    {FileFormatId::Elf, "ELF Files", kElfExtensions, looksLikeElf, readElf, nullptr},
    {FileFormatId::Binary, "BIN Files", kBinaryExtensions, nullptr, readBinary, writeBinary},
};

std::string_view extensionOf(std::string_view path) {
    const auto dot = path.rfind('.');
    const auto slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return path.substr(dot + 1);
}

}  // namespace

std::span<const FileFormat> fileFormats() {
    return kFormats;
}

const FileFormat& fileFormat(FileFormatId id) {
    return *std::ranges::find(kFormats, id, &FileFormat::id);
}

const FileFormat* formatNamedBy(std::string_view path) {
    const std::string_view extension = extensionOf(path);
    if (extension.empty())
        return nullptr;
    for (const FileFormat& format : kFormats)
        for (const std::string_view known : format.extensions)
            if (base::equalsIgnoringAsciiCase(extension, known))
                return &format;
    return nullptr;
}

const FileFormat& formatForReading(std::string_view path, std::span<const std::uint8_t> content) {
    if (const FileFormat* named = formatNamedBy(path))
        return *named;
    for (const FileFormat& format : kFormats)
        if (format.looksLike != nullptr && format.looksLike(content))
            return format;
    return fileFormat(FileFormatId::Binary);
}

std::vector<FileFilter> bufferFileFilters(bool isEeprom, bool saving) {
    std::vector<FileFilter> filters;
    for (const FileFormat& format : kFormats) {
        if (saving && format.write == nullptr)
            continue;
        FileFilter filter{format.filterName, {}};
        for (const std::string_view extension : format.extensions)
            filter.extensions.emplace_back(extension);
        if (isEeprom)
            std::stable_partition(filter.extensions.begin(), filter.extensions.end(),
                                  [](const std::string& e) { return e == kEepromExtension; });
        filters.push_back(std::move(filter));
    }
    return filters;
}

std::string_view defaultBufferExtension(bool isEeprom) {
    return isEeprom ? kEepromExtension : kHexExtensions[0];
}

}  // namespace zavuv::buffers
