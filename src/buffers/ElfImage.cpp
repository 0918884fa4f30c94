#include "buffers/ElfImage.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include <elf.h>
#include <libelf.h>

#include "buffers/SegmentBuilder.h"

namespace zavuv::buffers {

namespace {

constexpr std::string_view kFuseSection = ".fuse";
constexpr std::string_view kLockSection = ".lock";
constexpr std::string_view kSignatureSection = ".signature";
constexpr std::size_t kMaxFuseBytes = 3;  // low, high, extended
constexpr std::size_t kLockBytes = 1;
constexpr std::size_t kSignatureBytes = 3;

using ElfHandle = std::unique_ptr<Elf, decltype(&elf_end)>;

ElfError failure(ElfProblem problem, std::string detail = {}, std::uint64_t address = 0) {
    return {problem, std::move(detail), address};
}

std::string libelfReason() {
    const char* reason = elf_errmsg(-1);
    return reason != nullptr ? reason : "";
}

// Whether [offset, offset + size) lies within a file of fileSize bytes.
bool inFile(std::uint64_t offset, std::uint64_t size, std::size_t fileSize) {
    return offset <= fileSize && size <= fileSize - offset;
}

// The checks on the identification bytes and the header's own tables, made on
// the raw bytes before libelf sees them, so that a cut file is told apart from
// one libelf cannot read.
std::optional<ElfError> checkHeader(std::span<const std::uint8_t> file) {
    if (file.size() < SELFMAG || std::memcmp(file.data(), ELFMAG, SELFMAG) != 0)
        return failure(ElfProblem::NotElf);
    if (file.size() < EI_NIDENT)
        return failure(ElfProblem::Truncated);
    if (file[EI_CLASS] == ELFCLASS64)
        return failure(ElfProblem::SixtyFourBit);
    if (file[EI_CLASS] != ELFCLASS32)
        return failure(ElfProblem::NotElf);
    if (file[EI_DATA] == ELFDATA2MSB)
        return failure(ElfProblem::BigEndian);
    if (file[EI_DATA] != ELFDATA2LSB)
        return failure(ElfProblem::NotElf);
    if (file.size() < sizeof(Elf32_Ehdr))
        return failure(ElfProblem::Truncated);

    const auto field = [&](std::size_t offset, std::size_t width) {
        std::uint64_t value = 0;
        for (std::size_t i = width; i-- > 0;)
            value = value << 8 | file[offset + i];
        return value;
    };
    const auto machine = field(offsetof(Elf32_Ehdr, e_machine), sizeof(Elf32_Half));
    if (machine != EM_AVR)
        return failure(ElfProblem::WrongMachine, std::to_string(machine));
    const auto segmentTable = field(offsetof(Elf32_Ehdr, e_phoff), sizeof(Elf32_Off));
    const auto segmentCount = field(offsetof(Elf32_Ehdr, e_phnum), sizeof(Elf32_Half));
    const auto sectionTable = field(offsetof(Elf32_Ehdr, e_shoff), sizeof(Elf32_Off));
    const auto sectionCount = field(offsetof(Elf32_Ehdr, e_shnum), sizeof(Elf32_Half));
    if (!inFile(segmentTable, segmentCount * sizeof(Elf32_Phdr), file.size()) ||
        !inFile(sectionTable, sectionCount * sizeof(Elf32_Shdr), file.size()))
        return failure(ElfProblem::Truncated);
    return std::nullopt;
}

bool libelfReady() {
    static const bool ready = elf_version(EV_CURRENT) != EV_NONE;
    return ready;
}

// The address avr-objcopy loads the section at: through the loadable segment
// whose file bytes and memory hold it, else its own address.
std::uint64_t loadAddress(const Elf32_Shdr& section, std::span<const Elf32_Phdr> segments) {
    for (const auto& segment : segments) {
        if (segment.p_type != PT_LOAD)
            continue;
        const bool inBytes = section.sh_offset >= segment.p_offset &&
                             std::uint64_t{section.sh_offset} + section.sh_size <=
                                 std::uint64_t{segment.p_offset} + segment.p_filesz;
        const bool inMemory = section.sh_addr >= segment.p_vaddr &&
                              std::uint64_t{section.sh_addr} + section.sh_size <=
                                  std::uint64_t{segment.p_vaddr} + segment.p_memsz;
        if (inBytes && inMemory)
            return std::uint64_t{segment.p_paddr} + (section.sh_offset - segment.p_offset);
    }
    return section.sh_addr;
}

class ImageCollector {
public:
    ImageCollector(Elf* elf, std::span<const std::uint8_t> file,
                   std::span<const Elf32_Phdr> segments, std::size_t namesIndex)
        : elf_(elf), file_(file), segments_(segments), namesIndex_(namesIndex) {}

    std::optional<ElfError> take(std::size_t index, const Elf32_Shdr& section) {
        if ((section.sh_flags & SHF_ALLOC) == 0 || section.sh_type == SHT_NOBITS ||
            section.sh_size == 0)
            return std::nullopt;
        names_.resize(std::max(names_.size(), index + 1));
        names_[index] = nameOf(index, section);
        const std::string& name = names_[index];
        if (!inFile(section.sh_offset, section.sh_size, file_.size()))
            return failure(ElfProblem::SectionPastEnd, name);
        // Sections never share file bytes; a file whose sections do could
        // otherwise make the image many times its own size.
        takenBytes_ += section.sh_size;
        if (takenBytes_ > file_.size())
            return failure(ElfProblem::Overlap, name);
        const auto bytes = file_.subspan(section.sh_offset, section.sh_size);

        if (name == kFuseSection || name == kLockSection || name == kSignatureSection)
            return takeConfiguration(name, bytes);
        const std::uint64_t address = loadAddress(section, segments_);
        const std::uint64_t end = address + bytes.size();
        if (kAvrFlashRange.contains(address, end))
            flash_.add(static_cast<std::uint32_t>(address), bytes, index);
        else if (kAvrEepromRange.contains(address, end))
            eeprom_.add(static_cast<std::uint32_t>(address - kAvrEepromRange.begin), bytes, index);
        else
            return failure(ElfProblem::OutsideMemories, name, address);
        return std::nullopt;
    }

    std::variant<ElfImage, ElfError> finish() {
        if (auto problem = finishMemory(flash_, image_.flash, 0))
            return *problem;
        if (auto problem = finishMemory(eeprom_, image_.eeprom, kAvrEepromRange.begin))
            return *problem;
        return std::move(image_);
    }

private:
    std::string nameOf(std::size_t index, const Elf32_Shdr& section) const {
        const char* name = elf_strptr(elf_, namesIndex_, section.sh_name);
        return name != nullptr ? name : "#" + std::to_string(index);
    }

    std::optional<ElfError> takeConfiguration(const std::string& name,
                                              std::span<const std::uint8_t> bytes) {
        if (name == kFuseSection && bytes.size() <= kMaxFuseBytes) {
            image_.fuses.assign(bytes.begin(), bytes.end());
        } else if (name == kLockSection && bytes.size() == kLockBytes) {
            image_.lock = bytes[0];
        } else if (name == kSignatureSection && bytes.size() == kSignatureBytes) {
            image_.signature.emplace();
            std::ranges::copy(bytes, image_.signature->begin());
        } else {
            return failure(ElfProblem::WrongSectionSize, name);
        }
        return std::nullopt;
    }

    std::optional<ElfError> finishMemory(SegmentBuilder& builder, ImageSegments& into,
                                         std::uint64_t base) {
        auto built = builder.finish();
        if (const auto* conflict = std::get_if<SegmentBuilder::Conflict>(&built))
            return failure(ElfProblem::Overlap, names_[conflict->origin], conflict->address + base);
        into = std::move(std::get<ImageSegments>(built));
        return std::nullopt;
    }

    Elf* elf_;
    std::span<const std::uint8_t> file_;
    std::span<const Elf32_Phdr> segments_;
    std::size_t namesIndex_;
    std::vector<std::string> names_;  // by section index, for the sections taken
    std::uint64_t takenBytes_ = 0;
    SegmentBuilder flash_;
    SegmentBuilder eeprom_;
    ElfImage image_;
};

}  // namespace

bool elfFilesReadable() {
    return true;
}

std::variant<ElfImage, ElfError> readElfImage(std::span<const std::uint8_t> file) {
    if (auto problem = checkHeader(file))
        return *problem;
    if (!libelfReady())
        return failure(ElfProblem::Unreadable, libelfReason());
    // libelf may convert the bytes it is given in place: it gets a copy.
    std::vector<char> copy(file.begin(), file.end());
    const ElfHandle elf(elf_memory(copy.data(), copy.size()), &elf_end);
    if (!elf || elf_kind(elf.get()) != ELF_K_ELF)
        return failure(ElfProblem::Unreadable, libelfReason());

    // libelf hands out headers where they lie in the file, which need not be
    // aligned for their type: they are copied before use.
    std::size_t segmentCount = 0;
    if (elf_getphdrnum(elf.get(), &segmentCount) != 0)
        return failure(ElfProblem::Unreadable, libelfReason());
    std::vector<Elf32_Phdr> segments(segmentCount);
    if (segmentCount > 0) {
        const Elf32_Phdr* table = elf32_getphdr(elf.get());
        if (table == nullptr)
            return failure(ElfProblem::Unreadable, libelfReason());
        std::memcpy(segments.data(), table, segmentCount * sizeof(Elf32_Phdr));
    }
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (segments[i].p_type == PT_LOAD &&
            !inFile(segments[i].p_offset, segments[i].p_filesz, file.size()))
            return failure(ElfProblem::SegmentPastEnd, std::to_string(i));
    }

    std::size_t sectionCount = 0;
    std::size_t namesIndex = 0;
    if (elf_getshdrnum(elf.get(), &sectionCount) != 0 ||
        (sectionCount > 0 && elf_getshdrstrndx(elf.get(), &namesIndex) != 0))
        return failure(ElfProblem::Unreadable, libelfReason());
    ImageCollector collector(elf.get(), file, segments, namesIndex);
    for (std::size_t i = 1; i < sectionCount; ++i) {
        const Elf32_Shdr* header = elf32_getshdr(elf_getscn(elf.get(), i));
        if (header == nullptr)
            return failure(ElfProblem::Unreadable, libelfReason());
        Elf32_Shdr section;
        std::memcpy(&section, header, sizeof section);
        if (auto problem = collector.take(i, section))
            return *problem;
    }
    return collector.finish();
}

}  // namespace zavuv::buffers
