#include <gtest/gtest.h>

#include "operations/MemoryTesting.h"
#include "operations/OperationFrame.h"
#include "operations/SerialNumber.h"
#include "support/RecordingUserPort.h"

using namespace zavuv;
using namespace zavuv::testing;
using buffers::ByteState;

namespace {

struct Counter {
    RecordingUserPort port;
    buffers::MemoryBuffer buffer{true, port};
    ScratchFolder folder;

    explicit Counter(const std::vector<std::uint8_t>& bytes) {
        buffer.loadFile(folder.write("counter.bin", bytes));
    }
    std::vector<std::uint8_t> bytes() const { return {buffer.data().begin(), buffer.data().end()}; }
};

}  // namespace

TEST(SerialNumber, CarryRunsTowardsLowerAddresses) {
    Counter counter({0xAA, 0x00, 0xFF, 0xFF, 0xBB});
    operations::incrementSerialNumber(counter.buffer, 3);
    EXPECT_EQ(counter.bytes(), (std::vector<std::uint8_t>{0xAA, 0x01, 0x00, 0x00, 0xBB}));
    const auto states = counter.buffer.byteStates();
    EXPECT_EQ(states[0], ByteState::Loaded);
    EXPECT_EQ(states[1], ByteState::Incremented);
    EXPECT_EQ(states[3], ByteState::Incremented);
    EXPECT_EQ(states[4], ByteState::Loaded);
    EXPECT_TRUE(counter.buffer.modified());
}

TEST(SerialNumber, FourBytesAtMost) {
    Counter counter({0x11, 0xFF, 0xFF, 0xFF, 0xFF});
    operations::incrementSerialNumber(counter.buffer, 4);
    EXPECT_EQ(counter.bytes(), (std::vector<std::uint8_t>{0x11, 0, 0, 0, 0}));
    EXPECT_EQ(counter.buffer.byteStates()[0], ByteState::Loaded);
}

TEST(SerialNumber, NeverWritesOutsideTheBuffer) {
    Counter past({0x00, 0x05});
    operations::incrementSerialNumber(past.buffer, 100);  // counts as the last byte
    EXPECT_EQ(past.bytes(), (std::vector<std::uint8_t>{0x00, 0x06}));

    Counter start({0xFF, 0xFF, 0x07});
    operations::incrementSerialNumber(start.buffer, 1);  // the carry stops at offset 0
    EXPECT_EQ(start.bytes(), (std::vector<std::uint8_t>{0x00, 0x00, 0x07}));

    Counter negative({0x01});
    operations::incrementSerialNumber(negative.buffer, -1);
    EXPECT_EQ(negative.bytes(), std::vector<std::uint8_t>{0x01});
    EXPECT_FALSE(negative.buffer.modified());
}

TEST(SerialNumber, ProgramCommandsStepTheCounterWhateverTheOutcome) {
    SimulatedWorkspace sim("ATmega8");
    auto& project = sim.ws().project();
    project.autoIncrementFlash = true;
    project.autoIncAddressFlash = 3;
    project.autoIncrement = true;
    project.autoIncAddress = 1;
    loadBytes(sim, sim.ws().flash(), {0x00, 0x00, 0x00, 0xFF});
    loadBytes(sim, sim.ws().eeprom(), {0x00, 0x41}, "counter.eep.bin");

    EXPECT_TRUE(operations::programFlash(sim.ws()));
    EXPECT_EQ(sim.board().chip().flash[3], 0xFF);  // the number as it was programmed
    EXPECT_EQ(sim.ws().flash().data()[2], 0x01);
    EXPECT_EQ(sim.ws().flash().data()[3], 0x00);
    EXPECT_TRUE(sim.ws().flash().modified());

    RecordingRunner cancel(0);
    sim.ws().setProgressRunner(cancel);
    EXPECT_FALSE(operations::programEeprom(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Eeprom program cancelled");
    EXPECT_EQ(sim.ws().eeprom().data()[1], 0x42);
    EXPECT_EQ(sim.ws().eeprom().byteStates()[1], ByteState::Incremented);

    // A buffer without a file has no counter to step.
    sim.ws().eeprom().clear();
    sim.ws().eeprom().create(4);
    RecordingRunner plain;
    sim.ws().setProgressRunner(plain);
    EXPECT_TRUE(operations::programEeprom(sim.ws()));
    EXPECT_EQ(sim.ws().eeprom().data()[1], 0xFF);
}
