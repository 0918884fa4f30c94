#include <gtest/gtest.h>

#include <algorithm>

#include "SimHarness.h"

namespace zavuv::sim {
namespace {

using testing::Bytes;
using testing::chipOptions;
using testing::SimHarness;

Bytes pattern(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + seed + (i >> 8));
    }
    return bytes;
}

// Page mode as the host programs AVR Flash: the page in four quarters, then the
// extended address byte and the page write instruction with its word address.
void programPages(SimHarness& sim, const Bytes& image, std::size_t pageBytes) {
    ASSERT_EQ(sim.exchange({'W', 0xDC}, 1), Bytes{0x0D});
    ASSERT_EQ(sim.exchange({':', 0x00, 0x00}, 1), Bytes{0x0D});
    const std::size_t quarter = pageBytes / 4;
    for (std::size_t offset = 0; offset < image.size(); offset += pageBytes) {
        if (std::all_of(image.begin() + offset, image.begin() + offset + pageBytes,
                        [](std::uint8_t b) { return b == 0xFF; })) {
            continue;  // the host skips blank pages
        }
        for (std::size_t q = 0; q < 4; ++q) {
            Bytes block{'{', static_cast<std::uint8_t>(quarter)};
            block.insert(block.end(), image.begin() + offset + q * quarter,
                         image.begin() + offset + (q + 1) * quarter);
            ASSERT_EQ(sim.exchange(block, 1), Bytes{0x0D});
        }
        sim.exchange({'4', 0x4D, 0x00, static_cast<std::uint8_t>(offset >> 17), 0x00}, 1);
        ASSERT_EQ(sim.exchange({'4', 0x4C, static_cast<std::uint8_t>(offset / 512),
                                static_cast<std::uint8_t>(offset / 2), 0x00},
                               1),
                  Bytes{0x0D});
        sim.clock.sleepMs(15);
    }
}

Bytes readBlocks(SimHarness& sim, std::uint8_t command, std::size_t size) {
    EXPECT_EQ(sim.exchange({'W', 0xDC}, 1), Bytes{0x0D});
    Bytes read;
    for (std::size_t offset = 0; offset < size; offset += 64) {
        const auto count = static_cast<std::uint8_t>(std::min<std::size_t>(64, size - offset));
        const Bytes block = sim.exchange({command, count}, count);
        read.insert(read.end(), block.begin(), block.end());
    }
    return read;
}

Bytes writeBlocks(SimHarness& sim, std::uint8_t command, const Bytes& image) {
    Bytes replies;
    for (std::size_t offset = 0; offset < image.size(); offset += 64) {
        const std::size_t count = std::min<std::size_t>(64, image.size() - offset);
        Bytes block{command, static_cast<std::uint8_t>(count)};
        block.insert(block.end(), image.begin() + offset, image.begin() + offset + count);
        const Bytes reply = sim.exchange(block, 1);
        replies.insert(replies.end(), reply.begin(), reply.end());
    }
    return replies;
}

TEST(BlockTransferTest, Atmega128ProgramAndVerifyWholeFlashAt921600Baud) {
    SimHarness sim(chipOptions("ATmega128"));
    sim.connect(2, 2);
    EXPECT_EQ(sim.exchange({'Q'}, 1).size(), 1u);
    EXPECT_EQ(sim.exchange({'='}, 1), Bytes{0x0D});
    Bytes image = pattern(131072, 3);
    std::fill(image.begin() + 256, image.begin() + 512, 0xFF);  // one blank page
    programPages(sim, image, 256);
    EXPECT_EQ(sim.board->chip().flash, image);
    ASSERT_EQ(sim.exchange({':', 0x00, 0x00}, 1), Bytes{0x0D});
    EXPECT_EQ(readBlocks(sim, '}', image.size()), image);
    EXPECT_TRUE(sim.board->board().protocolViolations().empty());
}

TEST(BlockTransferTest, Atmega256xReadsPast128KWithTheExtendedAddress) {
    SimHarness sim(chipOptions("ATmega256x"));
    sim.connectAvr();
    Bytes& flash = sim.board->chip().flash;
    flash[0x20000] = 0x12;
    flash[0x3FFFF] = 0x34;
    const Bytes read = readBlocks(sim, '}', flash.size());
    EXPECT_EQ(read[0x20000], 0x12);
    EXPECT_EQ(read[0x3FFFF], 0x34);
    EXPECT_EQ(read[0x00000], 0xFF);
}

TEST(BlockTransferTest, AvrEepromBlocksWriteAndReadFromTheSetWordAddress) {
    SimHarness sim;
    sim.connectAvr();
    const Bytes image = pattern(100, 9);  // blocks of 64 and 36 bytes
    EXPECT_EQ(sim.exchange({'W', 0xDC}, 1), Bytes{0x0D});
    EXPECT_EQ(writeBlocks(sim, '>', image), (Bytes{0x0D, 0x0D}));
    const Bytes& eeprom = sim.board->chip().eeprom;
    EXPECT_TRUE(std::equal(image.begin(), image.end(), eeprom.begin()));
    EXPECT_EQ(eeprom[100], 0xFF);
    ASSERT_EQ(sim.exchange({':', 0x00, 0x00}, 1), Bytes{0x0D});
    EXPECT_EQ(readBlocks(sim, '<', 100), image);
}

TEST(BlockTransferTest, PollingReportsAByteThatDidNotArrive) {
    SimHarness sim;
    sim.connectAvr(1);
    EXPECT_EQ(writeBlocks(sim, '>', pattern(64, 0)), Bytes{0x0D});
    // LB1 programmed: the chip refuses writes, and the polled read-back differs.
    EXPECT_EQ(sim.exchange({'4', 0xAC, 0xFF, 0xFF, 0xFE}, 1), Bytes{0x0D});
    EXPECT_EQ(writeBlocks(sim, '>', pattern(64, 1)), Bytes{0x1B});
}

TEST(BlockTransferTest, WithoutPollingTheBoardCannotTell) {
    SimHarness sim;
    sim.connectAvr(0);
    EXPECT_EQ(sim.exchange({'4', 0xAC, 0xFF, 0xFF, 0xFE}, 1), Bytes{0x0D});
    EXPECT_EQ(writeBlocks(sim, '>', pattern(64, 1)), Bytes{0x0D});
}

struct At89SCase {
    const char* chip;
    std::uint8_t deviceCode;
    bool hasEeprom;
};

class At89SBlockTest : public ::testing::TestWithParam<At89SCase> {};

TEST_P(At89SBlockTest, FlashAndEepromBlocksRoundTrip) {
    const At89SCase& param = GetParam();
    SimHarness sim(chipOptions(param.chip));
    sim.connect(param.deviceCode);
    EXPECT_EQ(sim.exchange({'+'}, 1).size(), 1u);
    if (param.deviceCode == 12) {
        EXPECT_EQ(sim.exchange({'4', 0xAC, 0x53, 0x00, 0x00}, 1), Bytes{0x0D});
    } else {
        EXPECT_EQ(sim.exchange({'3', 0xAC, 0x53, 0x00}, 1), Bytes{0x0D});
    }
    const ChipImage& chip = sim.board->chip();
    const Bytes flash = pattern(chip.flash.size(), 1);
    EXPECT_EQ(sim.exchange({'W', 0x50}, 1), Bytes{0x0D});
    const Bytes replies = writeBlocks(sim, '{', flash);
    EXPECT_EQ(replies, Bytes(replies.size(), 0x0D));
    EXPECT_EQ(chip.flash, flash);
    ASSERT_EQ(sim.exchange({':', 0x00, 0x00}, 1), Bytes{0x0D});
    EXPECT_EQ(readBlocks(sim, '}', flash.size()), flash);
    if (param.hasEeprom) {
        const Bytes eeprom = pattern(chip.eeprom.size(), 5);
        writeBlocks(sim, '>', eeprom);
        EXPECT_EQ(chip.eeprom, eeprom);
        ASSERT_EQ(sim.exchange({':', 0x00, 0x00}, 1), Bytes{0x0D});
        EXPECT_EQ(readBlocks(sim, '<', eeprom.size()), eeprom);
    }
}

INSTANTIATE_TEST_SUITE_P(InstructionSets, At89SBlockTest,
                         ::testing::Values(At89SCase{"AT89S8252", 1, true},
                                           At89SCase{"AT89S53", 3, false},
                                           At89SCase{"AT89S8253", 12, true}),
                         [](const auto& info) { return std::string(info.param.chip); });

}  // namespace
}  // namespace zavuv::sim
