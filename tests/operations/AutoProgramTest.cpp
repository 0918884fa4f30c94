#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "WireRuns.h"
#include "devices/LockoutCheck.h"
#include "operations/AutoProgram.h"
#include "operations/LockFuseOnChip.h"
#include "support/SimulatedWorkspace.h"

using namespace zavuv;
using zavuv::testing::SimulatedWorkspace;

namespace {

// A project with every automatic step off: each test switches on what it needs.
void noSteps(buffers::ProjectSettings& p) {
    p.autoErase = p.autoEmptyCheck = false;
    p.autoFlashReload = p.autoFlashProgram = p.autoFlashVerify = false;
    p.autoEepromReload = p.autoEepromProgram = p.autoEepromVerify = false;
    p.autoIncrementFlash = p.autoIncrement = false;
    p.programFuse = p.programFuseBeforeAll = false;
}

std::string bytes(std::size_t n, int seed) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 7 + seed) & 0x7F);
    return s;
}

bool saw(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class AutoProgramTest : public ::testing::Test {
protected:
    AutoProgramTest() { noSteps(ws().project()); }
    workspace::Workspace& ws() { return sim.ws(); }
    void loadFlash(std::size_t n) {
        ASSERT_TRUE(ws().flash().loadFile(sim.folder().write("f.bin", bytes(n, 1))));
    }
    void loadEeprom(std::size_t n) {
        ASSERT_TRUE(ws().eeprom().loadFile(sim.folder().write("e.bin", bytes(n, 2))));
    }
    // The chip's factory bits, with these fuses changed: safe unless a change makes them not.
    devices::LockFuseState
    factoryBits(std::initializer_list<std::pair<const char*, bool>> changes = {}) {
        const devices::LockFuseLayout& layout = *operations::projectLockFuseLayout(ws());
        devices::LockFuseState state = devices::factoryState(ws().projectDeviceInfo(), layout);
        for (const auto& [name, programmed] : changes) {
            const auto* end = layout.fuseName.begin() + layout.fuseCount;
            const auto* fuse = std::find_if(layout.fuseName.begin(), end,
                                            [&](const char* n) { return std::string(n) == name; });
            EXPECT_NE(fuse, end) << "no fuse " << name;
            if (fuse != end)
                state.fuse[fuse - layout.fuseName.begin()] = programmed;
        }
        return state;
    }
    SimulatedWorkspace sim{"ATmega8"};
};

}  // namespace

TEST_F(AutoProgramTest, ReloadAloneIsNoAction) {
    loadFlash(16);
    ws().flash().setByte(0, 0xAA);
    ws().project().autoFlashReload = true;
    operations::autoProgram(ws());
    EXPECT_EQ(ws().flash().data()[0], 1);
    EXPECT_EQ(sim.user().lastStatus(), "No actions in autoprogram");
    EXPECT_FALSE(ws().results.autoprogramOk);
    EXPECT_TRUE(sim.user().messages().empty());
}

TEST_F(AutoProgramTest, EraseAloneIsDoneWithNoBuffers) {
    sim.board().chip().flash[0] = 0x12;
    ws().project().autoErase = true;
    ws().project().resetStrobeLength = 30;
    operations::autoProgram(ws());
    EXPECT_EQ(sim.user().lastStatus(), "Autoprogram: DONE (no buffers programmed)");
    EXPECT_TRUE(ws().results.autoprogramOk);
    EXPECT_EQ(sim.board().chip().flash[0], 0xFF);
    EXPECT_TRUE(saw(sim.user().statuses(), "Pausing..."));
    const auto pauses = sim.pauses();
    EXPECT_NE(std::find(pauses.begin(), pauses.end(), 30), pauses.end());
    EXPECT_EQ(pauses.back(), 50);  // settling after the erase
    EXPECT_TRUE(sim.boardIdle());
}

TEST_F(AutoProgramTest, NoBoardStopsBeforeAnything) {
    ws().setComPort(0);
    ws().project().autoErase = true;
    operations::autoProgram(ws());
    EXPECT_EQ(sim.user().lastStatus(), "Select COM port or click 'search board'");
    EXPECT_EQ(sim.user().messages(), std::vector<std::string>{"No board specified"});
    EXPECT_FALSE(ws().results.autoprogramOk);
}

TEST_F(AutoProgramTest, BothMemoriesCountTheirBytesWhateverTheIncrement) {
    for (const bool increment : {false, true}) {
        SCOPED_TRACE(increment);
        loadFlash(1000);
        loadEeprom(64);
        auto& p = ws().project();
        p.autoFlashProgram = p.autoFlashVerify = true;
        p.autoEepromProgram = p.autoEepromVerify = true;
        p.autoIncrementFlash = p.autoIncrement = increment;
        p.autoIncAddressFlash = 10;
        p.autoIncAddress = 5;
        ws().results.autoprogramOk = false;
        operations::autoProgram(ws());
        EXPECT_EQ(sim.user().lastStatus(),
                  "Autoprogram: DONE (1000 Flash and 64 Eeprom bytes programmed)");
        EXPECT_TRUE(ws().results.autoprogramOk);
        EXPECT_EQ(p.autoIncrementFlash, increment);
        EXPECT_EQ(p.autoIncrement, increment);
        // The chip holds what the buffer held before any increment.
        EXPECT_EQ(sim.board().chip().flash[10], static_cast<std::uint8_t>((10 * 7 + 1) & 0x7F));
        EXPECT_EQ(sim.board().chip().eeprom[5], static_cast<std::uint8_t>((5 * 7 + 2) & 0x7F));
    }
}

TEST_F(AutoProgramTest, IncrementAfterProgrammingReadiesTheNextChip) {
    std::string image(32, '\0');
    image[7] = 0x05;
    ASSERT_TRUE(ws().flash().loadFile(sim.folder().write("f.bin", image)));
    auto& p = ws().project();
    p.autoFlashProgram = p.autoFlashVerify = true;
    p.autoIncrementFlash = true;
    p.autoIncAddressFlash = 7;
    const auto outcome = operations::autoProgram(ws());
    EXPECT_EQ(sim.board().chip().flash[7], 0x05);
    EXPECT_EQ(ws().flash().data()[7], 0x06);
    EXPECT_EQ(ws().flash().byteStates()[7], buffers::ByteState::Incremented);
    EXPECT_EQ(ws().flash().data()[6], 0x00);
    EXPECT_TRUE(outcome.flashIncremented);
    EXPECT_TRUE(ws().flash().modified());
    EXPECT_TRUE(ws().results.autoprogramOk);
}

TEST_F(AutoProgramTest, VerifyMismatchStopsEverythingAfterIt) {
    loadFlash(256);
    loadEeprom(16);
    auto& p = ws().project();
    p.autoFlashVerify = true;  // the chip is erased: the verify must fail
    p.autoEepromProgram = true;
    p.autoIncrementFlash = true;
    p.autoIncAddressFlash = 3;
    p.programFuse = true;
    p.lockFuse = factoryBits();
    const auto before = ws().flash().data()[3];
    const auto outcome = operations::autoProgram(ws());
    EXPECT_EQ(sim.user().lastStatus(), "Autoprogram: ERROR verifying Flash");
    EXPECT_FALSE(ws().results.autoprogramOk);
    EXPECT_FALSE(outcome.flashIncremented);
    EXPECT_EQ(ws().flash().data()[3], before);
    EXPECT_TRUE(p.autoIncrementFlash);  // on again after the failure ending
    EXPECT_EQ(sim.board().chip().eeprom[0], 0xFF);
    EXPECT_FALSE(saw(sim.user().statuses(), "Lock bits..."));
    EXPECT_TRUE(sim.boardIdle());
}

TEST_F(AutoProgramTest, EmptyFlashBufferSkipsTheFlashSteps) {
    loadEeprom(8);
    auto& p = ws().project();
    p.autoFlashReload = p.autoFlashProgram = p.autoFlashVerify = true;
    p.autoEepromProgram = true;
    operations::autoProgram(ws());
    EXPECT_EQ(sim.user().lastStatus(), "Autoprogram: DONE (8 Eeprom bytes programmed)");
    EXPECT_TRUE(sim.user().messages().empty());
}

TEST_F(AutoProgramTest, LockAndFuseBitsBeforeAllComeAfterEraseAndBlankCheck) {
    loadFlash(64);
    auto& p = ws().project();
    p.autoErase = p.autoEmptyCheck = true;
    p.autoFlashReload = true;
    p.programFuse = p.programFuseBeforeAll = true;
    p.lockFuse = factoryBits();
    operations::autoProgram(ws());
    const auto statuses = sim.user().statuses();
    const auto at = [&](const std::string& text) {
        return std::find(statuses.begin(), statuses.end(), text) - statuses.begin();
    };
    const auto lockBits = at("Lock bits...");
    ASSERT_LT(lockBits, static_cast<long>(statuses.size()));
    EXPECT_LT(at("Blank check: Flash is blank"), lockBits);
    const auto reload =
        std::find_if(statuses.begin(), statuses.end(),
                     [](const std::string& s) { return s.rfind("Flash length: 64 ", 0) == 0; }) -
        statuses.begin();
    EXPECT_LT(lockBits, reload);
}

TEST_F(AutoProgramTest, NotBlankChipEndsWithItsOwnError) {
    sim.board().chip().flash[100] = 0;
    ws().project().autoEmptyCheck = true;
    operations::autoProgram(ws());
    EXPECT_EQ(sim.user().lastStatus(), "Autoprogram: ERROR Flash is not empty");
    EXPECT_FALSE(ws().results.autoprogramOk);
}

TEST_F(AutoProgramTest, UnattendedRunSavesTheIncrementedNumberBack) {
    std::string image(16, '\0');
    image[3] = 0x09;
    const std::string file = sim.folder().write("serial.bin", image);
    ASSERT_TRUE(ws().flash().loadFile(file));
    auto& p = ws().project();
    p.autoFlashProgram = true;
    p.autoIncrementFlash = true;
    p.autoIncAddressFlash = 3;
    ws().results.autoprogramOk = true;  // left from an earlier run: must be cleared
    EXPECT_TRUE(operations::autoProgramUnattended(ws()));
    EXPECT_EQ(sim.folder().read(file)[3], 0x0A);
    EXPECT_FALSE(ws().flash().modified());
    EXPECT_TRUE(saw(sim.user().statuses(), "Serial number saved to " + file));

    ws().project().autoFlashProgram = false;
    ws().project().autoIncrementFlash = false;
    EXPECT_FALSE(operations::autoProgramUnattended(ws()));  // no actions
}

TEST_F(AutoProgramTest, UnattendedRunRefusesLockoutBeforeTouchingTheChip) {
    auto& p = ws().project();
    p.autoErase = true;
    p.programFuse = true;
    p.lockFuse = factoryBits({{"RSTDISBL", true}});
    const auto highBefore = sim.board().chip().highFuse;
    zavuv::testing::forgetWire(sim);
    EXPECT_FALSE(operations::autoProgramUnattended(ws()));
    EXPECT_TRUE(zavuv::testing::sentRuns(sim).empty());
    EXPECT_EQ(sim.user().lastStatus(), "Autoprogram: ERROR programming lock and fuse bits");
    const auto messages = sim.user().messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Auto-program refused before touching the chip", 0), 0u);
    EXPECT_NE(messages[0].find("RSTDISBL should be unprogrammed"), std::string::npos);
    EXPECT_EQ(sim.board().chip().highFuse, highBefore);
}

TEST_F(AutoProgramTest, AllowLockoutOrForceLetsAnUnattendedRunProgramIt) {
    for (const bool force : {false, true}) {
        SimulatedWorkspace fresh{"ATmega8"};
        noSteps(fresh.ws().project());
        auto& p = fresh.ws().project();
        p.autoErase = true;
        p.programFuse = true;
        p.allowLockout = !force;
        const devices::LockFuseLayout& layout = *operations::projectLockFuseLayout(fresh.ws());
        p.lockFuse = devices::factoryState(fresh.ws().projectDeviceInfo(), layout);
        p.lockFuse.lockMode = 2;  // read protection: a lock-out of its own kind
        EXPECT_TRUE(operations::autoProgramUnattended(fresh.ws(), force)) << force;
        EXPECT_EQ(fresh.board().chip().lock & 0x03, 0);
        EXPECT_TRUE(
            saw(fresh.user().statuses(),
                std::string("Lock and fuse bits that can lock the chip out are programmed (") +
                    (force ? "--force-lockout" : "AllowLockout=1") + ")"));
        EXPECT_EQ(fresh.user().lastStatus(), "Autoprogram: DONE (no buffers programmed)");
    }
}

TEST_F(AutoProgramTest, AWatchedRunAsksAndNoEndsItUntouched) {
    auto& p = ws().project();
    p.autoErase = true;
    p.programFuse = true;
    p.lockFuse = factoryBits({{"WDTON", true}, {"CKSEL0", true}});  // an external clock
    zavuv::testing::forgetWire(sim);
    sim.user().answerNext(base::Answer::No);
    operations::autoProgram(ws());
    EXPECT_TRUE(zavuv::testing::sentRuns(sim).empty());
    EXPECT_EQ(sim.user().lastStatus(), "Autoprogram: ERROR programming lock and fuse bits");
    EXPECT_FALSE(ws().results.autoprogramOk);
    const auto questions = sim.user().questions();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find("CKSELx: "), std::string::npos) << questions[0];

    sim.user().answerNext(base::Answer::Yes);
    operations::autoProgram(ws());
    EXPECT_EQ(sim.user().lastStatus(), "Autoprogram: DONE (no buffers programmed)");
}

TEST(AutoProgramLockFuseStep, AFailedStepEndsTheRunWithAnError) {
    // The connect takes seven replies; the eighth is the low fuse byte's.
    SimulatedWorkspace sim{"ATmega8", {"garbage-after=8"}};
    auto& p = sim.ws().project();
    noSteps(p);
    ASSERT_TRUE(sim.ws().flash().loadFile(sim.folder().write("f.bin", bytes(64, 1))));
    p.autoFlashProgram = true;
    p.programFuse = p.programFuseBeforeAll = true;
    const devices::LockFuseLayout& layout = *operations::projectLockFuseLayout(sim.ws());
    p.lockFuse = devices::factoryState(sim.ws().projectDeviceInfo(), layout);
    operations::autoProgram(sim.ws());
    EXPECT_EQ(sim.user().lastStatus(), "Autoprogram: ERROR programming lock and fuse bits");
    EXPECT_TRUE(saw(sim.user().messages(), "Error programming lock bits"));
    EXPECT_FALSE(sim.ws().results.autoprogramOk);
    EXPECT_EQ(sim.board().chip().flash[0], 0xFF);  // the Flash step never ran
}
