// Images with gaps: only the bytes a file gave are written, compared and
// counted; what the chip holds elsewhere stays as it was.

#include <gtest/gtest.h>

#include "buffers/IntelHex.h"
#include "operations/MemoryTesting.h"
#include "operations/OperationFrame.h"

using namespace zavuv;
using namespace zavuv::testing;
using buffers::ImageSegments;

namespace {

// Loads the segments into the buffer through an Intel HEX file.
void loadSegments(SimulatedWorkspace& sim, buffers::MemoryBuffer& buffer,
                  const ImageSegments& image) {
    buffer.loadFile(sim.folder().write("part.hex", buffers::writeIntelHex(image)));
}

// The memory with the segments written over it.
std::vector<std::uint8_t> overlaid(std::vector<std::uint8_t> memory, const ImageSegments& image) {
    for (const auto& segment : image)
        std::ranges::copy(segment.bytes, memory.begin() + segment.address);
    return memory;
}

}  // namespace

TEST(SparseImage, FlashPagesWithoutDataAreNeitherWrittenNorCompared) {
    SimulatedWorkspace sim("ATmega16");
    auto& chip = sim.board().chip().flash;
    chip = patternBytes(chip.size(), 3);
    const auto before = chip;
    // Half a page at 0x40, and a run across the boundary of two pages at 0x3F70.
    const ImageSegments image{{0x40, patternBytes(0x40, 9)}, {0x3F70, patternBytes(0x20, 5)}};
    loadSegments(sim, sim.ws().flash(), image);

    EXPECT_TRUE(operations::programFlash(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Flash program: Done (96 bytes programmed)");
    const auto runs = wire(sim);
    EXPECT_EQ(countRunsStartingWith(runs, "> 34 4C "), 3);
    EXPECT_TRUE(hasRun(runs, "> 34 4C 00 00 00"));
    EXPECT_TRUE(hasRun(runs, "> 34 4C 1F 80 00"));
    EXPECT_TRUE(hasRun(runs, "> 34 4C 1F C0 00"));
    EXPECT_EQ(countState(sim.ws().flash(), buffers::ByteState::Programmed), 96);
    // Untouched pages keep the old program; the simulated page write ANDs, so a
    // written page holds the image's bytes only where the old ones allowed.
    EXPECT_TRUE(std::equal(chip.begin() + 0x80, chip.begin() + 0x3F00, before.begin() + 0x80));

    // The chip's own bytes in the gaps do not count as a difference.
    chip = overlaid(before, image);
    EXPECT_TRUE(operations::verifyFlash(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Flash verify: OK (96 bytes verified)");
    chip[0x41] = 0x00;
    chip[0x3F00] = 0x00;  // fill: not compared
    EXPECT_FALSE(operations::verifyFlash(sim.ws()));
    EXPECT_TRUE(sim.user().lastStatus().starts_with("Flash verify: ERROR at byte 65 (0x41)"));
    EXPECT_TRUE(sim.user().lastStatus().ends_with("read 00; 1 bytes differ"));
}

TEST(SparseImage, EepromRunsAreWrittenWhereTheyLieAndNothingElse) {
    SimulatedWorkspace sim("ATmega16");
    auto& chip = sim.board().chip().eeprom;
    chip = patternBytes(chip.size(), 11);  // calibration kept in low EEPROM
    const auto before = chip;
    const ImageSegments image{{0x10, {0xA5, 0x5A, 0x01}}, {0x20, patternBytes(70, 2)}};
    loadSegments(sim, sim.ws().eeprom(), image);

    EXPECT_TRUE(operations::programEeprom(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Eeprom program: Done (73 bytes programmed)");
    const auto& run = image[1].bytes;
    EXPECT_TRUE(containsInOrder(wire(sim), {"> 3A 00 10", "< 0D", "> 3E 03 A5 5A 01", "< 0D",
                                            "> 3A 00 20", "< 0D", hostRun({0x3E, 64}, run, 0, 64),
                                            "< 0D", hostRun({0x3E, 6}, run, 64, 6)}));
    EXPECT_EQ(chip, overlaid(before, image));

    EXPECT_TRUE(operations::verifyEeprom(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Eeprom verify: OK (73 bytes verified)");
}

TEST(SparseImage, OnlyDataBeyondTheChipIsAskedAboutAndCounted) {
    SimulatedWorkspace sim("ATmega16");  // 512 bytes of EEPROM
    loadSegments(sim, sim.ws().eeprom(), {{0x10, {1, 2}}, {0x300, {3, 4, 5}}});
    sim.user().answerNext(base::Answer::Cancel);
    EXPECT_FALSE(operations::programEeprom(sim.ws()));
    EXPECT_EQ(sim.user().questions(),
              std::vector<std::string>{"Warning: only first 512 bytes Eeprom will be processed; "
                                       "3 data bytes lie beyond them."});

    // Fill past the end (its data edited away) is left out without a question.
    loadSegments(sim, sim.ws().eeprom(), {{0x10, {1, 2}}, {0x300, {7}}});
    sim.ws().eeprom().setState(0x300, buffers::ByteState::Fill);
    EXPECT_TRUE(operations::programEeprom(sim.ws()));
    EXPECT_EQ(sim.user().questions().size(), 1u);
    EXPECT_EQ(sim.user().lastStatus(), "Eeprom program: Done (2 bytes programmed)");
}

TEST(SparseImage, DataFlashMergesAPartPageWithWhatTheChipHolds) {
    SimulatedWorkspace sim("AT45DB161B");
    auto& chip = sim.board().chip().flash;
    std::fill(chip.begin(), chip.begin() + 3 * 528, 0x77);
    const ImageSegments image{{528 + 100, patternBytes(50, 4)}, {2 * 528, patternBytes(528, 6)}};
    loadSegments(sim, sim.ws().flash(), image);

    EXPECT_TRUE(operations::programFlash(sim.ws()));
    const auto runs = wire(sim);
    // The page comes into the chip's buffer first, then the data goes over it.
    EXPECT_TRUE(containsInOrder(runs, {"> 6C", "< 0D", "> 30 00 04 53 00 04 00", "< 0D", "> 6B",
                                       "< 0D", "> 6C", "< 0D", "> 30 00 04 84 00 00 64", "< 0D",
                                       hostRun({0x30, 0x00, 50}, image[0].bytes, 0, 50), "< 0D",
                                       "> 6B", "< 0D", "> 6C", "< 0D", "> 30 00 04 83 00 04 00"}));
    EXPECT_FALSE(hasRun(runs, "> 30 00 04 83 00 00 00"));  // page 0 holds no data
    std::vector<std::uint8_t> expected(3 * 528, 0x77);
    EXPECT_EQ(std::vector<std::uint8_t>(chip.begin(), chip.begin() + 3 * 528),
              overlaid(expected, image));
}

TEST(SparseImage, At25WritesEachRunOnItsOwn) {
    SimulatedWorkspace sim("AT25256");
    auto& chip = sim.board().chip().eeprom;
    chip = patternBytes(chip.size(), 8);
    const auto before = chip;
    const ImageSegments image{{5, {1, 2, 3}}, {40, {4, 5}}};
    loadSegments(sim, sim.ws().eeprom(), image);

    EXPECT_TRUE(operations::programEeprom(sim.ws()));
    const auto runs = wire(sim);
    EXPECT_TRUE(containsInOrder(runs, {"> 36 02", "< 0D", "> 36 00", "< 0D", "> 36 05", "< 0D",
                                       "> 36 01", "< 0D", "> 36 02", "< 0D", "> 36 03"}));
    EXPECT_TRUE(containsInOrder(runs, {"> 36 02", "< 0D", "> 36 00", "< 0D", "> 36 28", "< 0D",
                                       "> 36 04", "< 0D", "> 36 05"}));
    EXPECT_EQ(chip, overlaid(before, image));
}
