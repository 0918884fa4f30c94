#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "SimHarness.h"
#include "sim/StateDirectory.h"
#include "support/ScratchFolder.h"
#include "support/TextLines.h"

namespace zavuv::sim {
namespace {

using testing::Bytes;
using testing::SimHarness;
using zavuv::testing::ScratchFolder;

std::string readText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return zavuv::testing::unixLineEnds(text.str());
}

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class StateDirectoryTest : public ::testing::Test {
protected:
    SimOptions options(const char* chip = "") const {
        SimOptions result;
        result.chip = chip;
        result.stateDir = folder.path().string();
        return result;
    }
    std::string createError(const SimOptions& options) {
        std::string error;
        EXPECT_EQ(SimulatedBoard::create(options, error), nullptr);
        return error;
    }

    zavuv::testing::ScratchFolder folder;
};

TEST_F(StateDirectoryTest, FreshChipIsWrittenWithItsFactorySettings) {
    {
        SimHarness sim(options());
        EXPECT_EQ(sim.board->stop(), "");
    }
    EXPECT_EQ(readText(folder.path() / "chip.ini"),
              "[Chip]\nName=ATmega8\nSignature=1E 93 07\nLock=FF\nLowFuse=E1\nHighFuse=D9\n"
              "ExtFuse=FF\nCalibration=A8 A5 A2 9F\n");
    EXPECT_EQ(std::filesystem::file_size(folder.path() / "flash.bin"), 8192u);
    EXPECT_EQ(std::filesystem::file_size(folder.path() / "eeprom.bin"), 512u);
}

TEST_F(StateDirectoryTest, ChipRoundTripsThroughTheDirectory) {
    {
        SimHarness sim(options("ATmega16"));
        sim.connectAvr();
        sim.exchange({'4', 0xAC, 0xA8, 0xFF, 0xC9}, 1);
        sim.exchange({'W', 0xC0}, 1);
        sim.exchange({'>', 2, 0x12, 0x34}, 1);
        sim.exchange({'4', 0xAC, 0xFF, 0xFF, 0xFE}, 1);
        sim.board->chip().flash[16383] = 0x5A;
        // Destruction writes the state back when stop() was not called.
    }
    SimHarness again(options());  // the directory names the chip
    const ChipImage& chip = again.board->chip();
    EXPECT_STREQ(chip.device().name, "ATmega16");
    EXPECT_EQ(chip.highFuse, 0xC9);
    EXPECT_EQ(chip.lock, 0xFE);
    EXPECT_EQ(chip.eeprom[0], 0x12);
    EXPECT_EQ(chip.eeprom[1], 0x34);
    EXPECT_EQ(chip.flash[16383], 0x5A);
}

TEST_F(StateDirectoryTest, SignatureFromTheIniIsWhatTheChipReports) {
    writeText(folder.path() / "chip.ini", "[chip]\nname=atmega8\nSignature=0x1E 0x95 0x00\n");
    SimHarness sim(options());
    sim.connectAvr();
    EXPECT_EQ(sim.exchange({'5', 0x30, 0x00, 0x01}, 1), Bytes{0x95});
    EXPECT_EQ(sim.exchange({'5', 0x30, 0x00, 0x02}, 1), Bytes{0x00});
    EXPECT_EQ(sim.board->chip().lowFuse, 0xE1);  // missing keys keep the factory values
}

TEST_F(StateDirectoryTest, SecondNameOfAPairGivesTheAlternativeSignature) {
    SimOptions second = options("ATmega3250");
    second.stateDir.clear();
    SimHarness sim(second);
    sim.connectAvr();
    EXPECT_EQ(sim.exchange({'5', 0x30, 0x00, 0x02}, 1), Bytes{0x06});
}

TEST_F(StateDirectoryTest, ChipOptionMustAgreeWithTheDirectory) {
    writeText(folder.path() / "chip.ini", "[Chip]\nName=ATmega16\n");
    EXPECT_NE(createError(options("ATmega8")).find("holds an ATmega16, not the ATmega8"),
              std::string::npos);
}

TEST_F(StateDirectoryTest, UnusableStateIsRefusedAndLeftAsItWas) {
    const std::pair<std::string, const char*> cases[] = {
        {"[Chip]\nName=ATmega9\n", "Name=ATmega9 is not a chip"},
        {"[Chip]\nName=ATmega8\nSignature=1E 93\n", "Signature=1E 93 should be 3 hex bytes"},
        {"[Chip]\nName=ATmega8\nLock=XYZ\n", "Lock=XYZ should be 1 hex byte"},
        {"[Chip]\nName=ATmega8\nCalibration=A8\n", "Calibration=A8 should be 4 hex bytes"},
    };
    for (const auto& [ini, message] : cases) {
        writeText(folder.path() / "chip.ini", ini);
        EXPECT_NE(createError(options()).find(message), std::string::npos) << ini;
        EXPECT_EQ(readText(folder.path() / "chip.ini"), ini);
    }
}

TEST_F(StateDirectoryTest, MemoryFileOfTheWrongSizeIsRefused) {
    writeText(folder.path() / "chip.ini", "[Chip]\nName=ATmega8\n");
    writeText(folder.path() / "flash.bin", std::string(100, 'x'));
    EXPECT_NE(createError(options()).find("holds 100 bytes, but the ATmega8 Flash has 8192"),
              std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(folder.path() / "flash.bin"), 100u);
}

TEST_F(StateDirectoryTest, UnknownChipNameIsRefused) {
    SimOptions unknown;
    unknown.chip = "ATmega9";
    EXPECT_NE(createError(unknown).find("unknown chip 'ATmega9'"), std::string::npos);
}

TEST_F(StateDirectoryTest, At25KeepsItsStatusRegisterAsLock) {
    {
        SimHarness sim(options("AT25HP512"));
        sim.board->chip().lock = 0x0C;
        sim.board->chip().eeprom[65535] = 0x77;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "flash.bin"));
    const LoadedState state = loadChipState(folder.path());
    ASSERT_TRUE(state.image.has_value()) << state.error;
    EXPECT_EQ(state.image->lock, 0x0C);
    EXPECT_EQ(state.image->eeprom[65535], 0x77);
}

}  // namespace
}  // namespace zavuv::sim
