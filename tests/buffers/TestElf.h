#pragma once
// Small AVR ELF files put together field by field, for the reader's tests of bad
// input: after building, any field can be patched to any value, however much it
// lies. Layout: ELF header, program headers, the sections' bytes, the section
// name table, the section headers ([0] null, [1..n] the sections, [n+1] names).

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <elf.h>

namespace zavuv::testing {

static_assert(std::endian::native == std::endian::little,
              "the headers are copied as they lie in memory");

struct TestSection {
    std::string name;
    std::uint32_t address = 0;
    std::vector<std::uint8_t> bytes;
    std::uint32_t type = SHT_PROGBITS;
    std::uint32_t flags = SHF_ALLOC;
};

// A loadable segment over the sections first..last (positions in the list).
struct TestSegment {
    std::size_t first = 0;
    std::size_t last = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t physicalAddress = 0;
};

struct TestElf {
    std::vector<std::uint8_t> bytes;
    std::size_t programHeaders = 0;
    std::size_t sectionHeaders = 0;

    // Offsets of a field of the n-th section header (1 = the first section) and
    // of the n-th program header (from 0).
    std::size_t sectionField(std::size_t n, std::size_t field) const {
        return sectionHeaders + n * sizeof(Elf32_Shdr) + field;
    }
    std::size_t segmentField(std::size_t n, std::size_t field) const {
        return programHeaders + n * sizeof(Elf32_Phdr) + field;
    }
    void put(std::size_t offset, std::uint32_t value, std::size_t width = 4) {
        std::memcpy(bytes.data() + offset, &value, width);
    }
    std::uint32_t get(std::size_t offset) const {
        std::uint32_t value = 0;
        std::memcpy(&value, bytes.data() + offset, sizeof value);
        return value;
    }
};

inline TestElf makeTestElf(const std::vector<TestSection>& sections,
                           const std::vector<TestSegment>& segments) {
    TestElf elf;
    Elf32_Ehdr header{};
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = ELFCLASS32;
    header.e_ident[EI_DATA] = ELFDATA2LSB;
    header.e_ident[EI_VERSION] = EV_CURRENT;
    header.e_type = ET_EXEC;
    header.e_machine = EM_AVR;
    header.e_version = EV_CURRENT;
    header.e_ehsize = sizeof(Elf32_Ehdr);
    header.e_phentsize = sizeof(Elf32_Phdr);
    header.e_shentsize = sizeof(Elf32_Shdr);
    header.e_phoff = segments.empty() ? 0 : sizeof(Elf32_Ehdr);
    header.e_phnum = static_cast<Elf32_Half>(segments.size());
    elf.programHeaders = header.e_phoff;

    std::vector<std::uint8_t> data;
    std::vector<Elf32_Shdr> headers(1);
    std::string names(1, '\0');
    const std::size_t dataStart = sizeof(Elf32_Ehdr) + segments.size() * sizeof(Elf32_Phdr);
    for (const auto& section : sections) {
        Elf32_Shdr h{};
        h.sh_name = static_cast<Elf32_Word>(names.size());
        names += section.name + '\0';
        h.sh_type = section.type;
        h.sh_flags = section.flags;
        h.sh_addr = section.address;
        h.sh_offset = static_cast<Elf32_Off>(dataStart + data.size());
        h.sh_size = static_cast<Elf32_Word>(section.bytes.size());
        h.sh_addralign = 1;
        if (section.type != SHT_NOBITS)
            data.insert(data.end(), section.bytes.begin(), section.bytes.end());
        headers.push_back(h);
    }
    Elf32_Shdr nameTable{};
    nameTable.sh_name = static_cast<Elf32_Word>(names.size());
    names += std::string(".shstrtab") + '\0';
    nameTable.sh_type = SHT_STRTAB;
    nameTable.sh_offset = static_cast<Elf32_Off>(dataStart + data.size());
    nameTable.sh_size = static_cast<Elf32_Word>(names.size());
    nameTable.sh_addralign = 1;
    headers.push_back(nameTable);
    data.insert(data.end(), names.begin(), names.end());

    elf.sectionHeaders = dataStart + data.size();
    header.e_shoff = static_cast<Elf32_Off>(elf.sectionHeaders);
    header.e_shnum = static_cast<Elf32_Half>(headers.size());
    header.e_shstrndx = static_cast<Elf32_Half>(headers.size() - 1);

    auto append = [&](const auto& value) {
        const auto* raw = reinterpret_cast<const std::uint8_t*>(&value);
        elf.bytes.insert(elf.bytes.end(), raw, raw + sizeof value);
    };
    append(header);
    for (const auto& segment : segments) {
        const Elf32_Shdr& first = headers[segment.first + 1];
        const Elf32_Shdr& last = headers[segment.last + 1];
        Elf32_Phdr p{};
        p.p_type = PT_LOAD;
        p.p_offset = first.sh_offset;
        p.p_vaddr = segment.virtualAddress;
        p.p_paddr = segment.physicalAddress;
        p.p_filesz = last.sh_offset + last.sh_size - first.sh_offset;
        p.p_memsz = p.p_filesz;
        p.p_flags = PF_R;
        p.p_align = 1;
        append(p);
    }
    elf.bytes.insert(elf.bytes.end(), data.begin(), data.end());
    for (const auto& h : headers)
        append(h);
    return elf;
}

}  // namespace zavuv::testing
