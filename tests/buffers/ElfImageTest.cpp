#include <gtest/gtest.h>

#include <cstddef>
#include <variant>

#include "TestElf.h"
#include "buffers/ElfImage.h"
#include "support/ScratchFolder.h"

using namespace zavuv::buffers;
using zavuv::testing::bytesOf;
using zavuv::testing::makeTestElf;
using zavuv::testing::TestElf;
using zavuv::testing::TestSection;
using zavuv::testing::TestSegment;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Result = std::variant<ElfImage, ElfError>;

// The bytes alone, exactly as long as the file, so that a read past its end
// is a heap overflow under AddressSanitizer.
Result read(const Bytes& file) {
    const Bytes exact(file);
    return readElfImage(exact);
}

Result read(const TestElf& elf) {
    return read(elf.bytes);
}

ElfImage imageOf(const Result& result) {
    if (const auto* error = std::get_if<ElfError>(&result)) {
        ADD_FAILURE() << "refused: problem " << static_cast<int>(error->problem) << " ("
                      << error->detail << ")";
        return {};
    }
    return std::get<ElfImage>(result);
}

ElfError errorOf(const Result& result) {
    if (const auto* error = std::get_if<ElfError>(&result))
        return *error;
    ADD_FAILURE() << "read although it should not";
    return {};
}

// What avr-gcc makes of a small program: code, initialised data stored after
// it, EEPROM, fuses, lock bits, signature, and sections the reader must pass by.
TestElf typicalElf() {
    return makeTestElf(
        {
            {".text", 0x0000, {0x0C, 0x94, 0x34, 0x00}},
            {".data", 0x800060, {0x11, 0x22}},
            {".bss", 0x800062, {0, 0, 0}, SHT_NOBITS, SHF_ALLOC | SHF_WRITE},
            {".eeprom", 0x810000, {1, 2, 3}},
            {".fuse", 0x820000, {0xE4, 0xD9}},
            {".lock", 0x830000, {0xFC}},
            {".signature", 0x840000, {0x07, 0x93, 0x1E}},
            {".comment", 0, {'g', 'c', 'c'}, SHT_PROGBITS, 0},
        },
        {
            {0, 0, 0x0000, 0x0000},
            {1, 1, 0x800060, 0x0004},  // .data is loaded right after .text
            {3, 3, 0x810000, 0x810000},
            {4, 4, 0x820000, 0x820000},
            {5, 5, 0x830000, 0x830000},
            {6, 6, 0x840000, 0x840000},
        });
}

constexpr std::size_t kShOffset = offsetof(Elf32_Shdr, sh_offset);
constexpr std::size_t kShSize = offsetof(Elf32_Shdr, sh_size);
constexpr std::size_t kShAddr = offsetof(Elf32_Shdr, sh_addr);

}  // namespace

TEST(ElfImage, TakesEveryMemoryAtItsLoadAddress) {
    const auto image = imageOf(read(typicalElf().bytes));
    EXPECT_EQ(image.flash, (ImageSegments{{0, {0x0C, 0x94, 0x34, 0x00, 0x11, 0x22}}}));
    EXPECT_EQ(image.eeprom, (ImageSegments{{0, {1, 2, 3}}}));
    EXPECT_EQ(image.fuses, (Bytes{0xE4, 0xD9}));
    EXPECT_EQ(image.lock, 0xFC);
    EXPECT_EQ(image.signature, (std::array<std::uint8_t, 3>{0x07, 0x93, 0x1E}));
}

TEST(ElfImage, SectionsOutsideEverySegmentLieAtTheirOwnAddress) {
    const auto image = imageOf(read(makeTestElf(
        {{".text", 0x1F000, {1, 2}}, {".eeprom", 0x810010, {3}}, {".fuse", 0, {0xFF}}}, {})));
    EXPECT_EQ(image.flash, (ImageSegments{{0x1F000, {1, 2}}}));
    EXPECT_EQ(image.eeprom, (ImageSegments{{0x10, {3}}}));
    EXPECT_EQ(image.fuses, Bytes{0xFF});
    EXPECT_FALSE(image.lock);
    EXPECT_FALSE(image.signature);
}

TEST(ElfImage, ASegmentThatHoldsOnlyTheFileBytesButNotTheAddressIsNotTheSections) {
    // The segment covers the section's bytes but not its address: avr-objcopy
    // then keeps the section's own address, and so does the reader.
    const auto image = imageOf(read(makeTestElf({{".text", 0x100, {1}}}, {{0, 0, 0x200, 0x300}})));
    EXPECT_EQ(image.flash, (ImageSegments{{0x100, {1}}}));
}

TEST(ElfImage, ReadsTablesAndSectionsAtOddOffsets) {
    // Nothing in a file aligns its tables; libelf then hands out headers that
    // are not aligned for their type (undefined behaviour unless copied).
    const TestElf elf = typicalElf();
    const std::size_t sections = 9;  // eight and the name table
    const std::size_t segments = 6;
    TestElf moved = elf;
    moved.bytes.insert(moved.bytes.begin() + sizeof(Elf32_Ehdr), 0);
    moved.programHeaders += 1;
    moved.sectionHeaders += 1;
    moved.put(offsetof(Elf32_Ehdr, e_phoff), static_cast<std::uint32_t>(moved.programHeaders));
    moved.put(offsetof(Elf32_Ehdr, e_shoff), static_cast<std::uint32_t>(moved.sectionHeaders));
    for (std::size_t n = 0; n < segments; ++n) {
        const auto field = moved.segmentField(n, offsetof(Elf32_Phdr, p_offset));
        moved.put(field, moved.get(field) + 1);
    }
    for (std::size_t n = 1; n <= sections; ++n) {
        const auto field = moved.sectionField(n, kShOffset);
        moved.put(field, moved.get(field) + 1);
    }
    const auto original = imageOf(read(elf));
    const auto image = imageOf(read(moved));
    EXPECT_EQ(image.flash, original.flash);
    EXPECT_EQ(image.eeprom, original.eeprom);
    EXPECT_EQ(image.fuses, original.fuses);
    EXPECT_EQ(image.signature, original.signature);
}

TEST(ElfImage, RefusesWhatIsNoAvrElfFile) {
    EXPECT_EQ(errorOf(read(Bytes{})).problem, ElfProblem::NotElf);
    EXPECT_EQ(errorOf(read(bytesOf("S9030000FC\r\n"))).problem, ElfProblem::NotElf);
    EXPECT_EQ(errorOf(read(bytesOf("\x7F"
                                   "ELF")))
                  .problem,
              ElfProblem::Truncated);

    const Bytes good = typicalElf().bytes;
    auto with = [&](std::size_t offset, std::uint8_t value) {
        Bytes changed = good;
        changed[offset] = value;
        return read(changed);
    };
    EXPECT_EQ(errorOf(with(EI_CLASS, ELFCLASS64)).problem, ElfProblem::SixtyFourBit);
    EXPECT_EQ(errorOf(with(EI_CLASS, 7)).problem, ElfProblem::NotElf);
    EXPECT_EQ(errorOf(with(EI_DATA, ELFDATA2MSB)).problem, ElfProblem::BigEndian);
    EXPECT_EQ(errorOf(with(EI_DATA, 0)).problem, ElfProblem::NotElf);
    const auto arm = errorOf(with(offsetof(Elf32_Ehdr, e_machine), EM_ARM));
    EXPECT_EQ(arm.problem, ElfProblem::WrongMachine);
    EXPECT_EQ(arm.detail, "40");
}

TEST(ElfImage, EveryCutOfAFileIsRefusedWithoutAReadBeyondIt) {
    const Bytes whole = typicalElf().bytes;
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        const auto result = read(cut);
        ASSERT_TRUE(std::holds_alternative<ElfError>(result)) << size << " bytes";
    }
    const Bytes header(whole.begin(), whole.begin() + sizeof(Elf32_Ehdr));
    EXPECT_EQ(errorOf(read(header)).problem, ElfProblem::Truncated);
}

TEST(ElfImage, RefusesHeadersThatLieAboutTheFile) {
    struct Case {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
        std::size_t width;
        ElfProblem problem;
        const char* detail;
    };
    const TestElf elf = typicalElf();
    const std::size_t end = elf.bytes.size();
    const std::vector<Case> cases = {
        {"section bytes past the end", elf.sectionField(1, kShOffset),
         static_cast<std::uint32_t>(end - 2), 4, ElfProblem::SectionPastEnd, ".text"},
        {"section size past the end", elf.sectionField(4, kShSize), 0xFFFFFFFF, 4,
         ElfProblem::SectionPastEnd, ".eeprom"},
        {"segment past the end", elf.segmentField(2, offsetof(Elf32_Phdr, p_filesz)), 0x7FFFFFFF, 4,
         ElfProblem::SegmentPastEnd, "2"},
        {"segment offset past the end", elf.segmentField(0, offsetof(Elf32_Phdr, p_offset)),
         0xFFFFFFF0, 4, ElfProblem::SegmentPastEnd, "0"},
        {"section table past the end", offsetof(Elf32_Ehdr, e_shoff),
         static_cast<std::uint32_t>(end - 40), 4, ElfProblem::Truncated, ""},
        {"too many sections", offsetof(Elf32_Ehdr, e_shnum), 0xFFFE, 2, ElfProblem::Truncated, ""},
        {"program table past the end", offsetof(Elf32_Ehdr, e_phoff), 0xFFFFFF00, 4,
         ElfProblem::Truncated, ""},
        {"code above the Flash", elf.sectionField(1, kShAddr), 0x800000, 4,
         ElfProblem::OutsideMemories, ".text"},
        {"fuse section too long", elf.sectionField(5, kShSize), 4, 4, ElfProblem::WrongSectionSize,
         ".fuse"},
        {"lock section too long", elf.sectionField(6, kShSize), 2, 4, ElfProblem::WrongSectionSize,
         ".lock"},
        {"signature too short", elf.sectionField(7, kShSize), 2, 4, ElfProblem::WrongSectionSize,
         ".signature"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestElf changed = elf;
        changed.put(c.offset, c.value, c.width);
        const auto error = errorOf(read(changed.bytes));
        EXPECT_EQ(error.problem, c.problem);
        EXPECT_EQ(error.detail, c.detail);
    }
}

TEST(ElfImage, RefusesSectionsOutsideTheMemoriesWithTheirAddress) {
    TestElf elf = makeTestElf({{".text", 0, {1}}, {".boot", 0x7FFFFF, {1, 2}}}, {});
    const auto crossing = errorOf(read(elf.bytes));
    EXPECT_EQ(crossing.problem, ElfProblem::OutsideMemories);
    EXPECT_EQ(crossing.detail, ".boot");
    EXPECT_EQ(crossing.address, 0x7FFFFFu);

    elf = makeTestElf({{".eeprom", 0x81FFFF, {1, 2}}}, {});
    EXPECT_EQ(errorOf(read(elf.bytes)).problem, ElfProblem::OutsideMemories);
    elf = makeTestElf({{".data", 0x800100, {1}}}, {});
    EXPECT_EQ(errorOf(read(elf.bytes)).address, 0x800100u) << "RAM is loaded nowhere";
    // A load address beyond 32 bits through a segment near the top.
    elf = makeTestElf({{".text", 0, {1, 2}}}, {{0, 0, 0, 0xFFFFFFFF}});
    EXPECT_EQ(errorOf(read(elf.bytes)).problem, ElfProblem::OutsideMemories);
}

TEST(ElfImage, OverlappingSectionsMustAgreeAndMayNotShareFileBytes) {
    const auto agree = read(makeTestElf({{".a", 0x10, {1, 2, 3}}, {".b", 0x12, {3, 4}}}, {}));
    EXPECT_EQ(imageOf(agree).flash, (ImageSegments{{0x10, {1, 2, 3, 4}}}));

    const auto differ =
        errorOf(read(makeTestElf({{".a", 0x10, {1, 2, 3}}, {".b", 0x12, {9}}}, {})));
    EXPECT_EQ(differ.problem, ElfProblem::Overlap);
    EXPECT_EQ(differ.detail, ".b");
    EXPECT_EQ(differ.address, 0x12u);

    const auto eeprom =
        errorOf(read(makeTestElf({{".eeprom", 0x810004, {1}}, {".e2", 0x810004, {2}}}, {})));
    EXPECT_EQ(eeprom.problem, ElfProblem::Overlap);
    EXPECT_EQ(eeprom.address, 0x810004u) << "in the file's address space";

    // Every section header pointing at the same large run of file bytes would
    // make the image many times the file.
    std::vector<TestSection> many(40, TestSection{".x", 0x100, Bytes(64, 0xAB)});
    TestElf shared = makeTestElf(many, {});
    for (std::size_t n = 1; n <= many.size(); ++n) {
        shared.put(shared.sectionField(n, kShOffset), sizeof(Elf32_Ehdr));
        shared.put(shared.sectionField(n, kShSize), 1024);
    }
    EXPECT_EQ(errorOf(read(shared.bytes)).problem, ElfProblem::Overlap);
}

TEST(ElfImage, SectionNamesThatPointNowhereAreNamedByIndex) {
    TestElf elf = makeTestElf({{".text", 0x900000, {1}}}, {});
    elf.put(elf.sectionField(1, offsetof(Elf32_Shdr, sh_name)), 0xFFFFFF);
    const auto error = errorOf(read(elf.bytes));
    EXPECT_EQ(error.problem, ElfProblem::OutsideMemories);
    EXPECT_EQ(error.detail, "#1");
}

TEST(ElfImage, AFileWithoutLoadableBytesIsAnEmptyImage) {
    const auto image = imageOf(read(makeTestElf(
        {{".bss", 0x800060, {0, 0}, SHT_NOBITS, SHF_ALLOC}, {".debug", 0, {1, 2}, SHT_PROGBITS, 0}},
        {})));
    EXPECT_TRUE(image.flash.empty());
    EXPECT_TRUE(image.eeprom.empty());
    EXPECT_TRUE(image.fuses.empty());
}
