// Property: whatever the person sets, writing it to a chip and reading it back
// gives the same bits. The chip here stores what each write instruction
// carries in its data byte and answers a read with it, as the real ones do.

#include <gtest/gtest.h>

#include <random>

#include "LockFuseTestSupport.h"
#include "devices/FuseCoding.h"
#include "devices/LockByteCoding.h"
#include "devices/LockFuseVerify.h"
#include "support/RecordingUserPort.h"

using namespace zavuv::devices;
using zavuv::testing::RecordingUserPort;

namespace {

// The instruction byte that carries the bits: byte 3 in the AVR instruction
// set, byte 1 in the AT89S8253 fuse instruction.
int dataByteOf(const DeviceInfo& device) {
    return device.algorithm == ProgAlgorithm::At89S8253 ? 1 : 3;
}

struct ChipModel {
    std::uint8_t lock = 0xFF;  // an erased chip has nothing programmed
    std::vector<std::uint8_t> fuseBytes;
};

ChipModel program(const DeviceInfo& device, const LockFuseLayout& layout,
                  const LockFuseState& state) {
    ChipModel chip;
    for (const Instruction& instruction : encodeFuseInstructions(layout, state))
        chip.fuseBytes.push_back(instruction[dataByteOf(device)]);
    if (auto lock = encodeLockInstruction(layout, state))
        chip.lock = (*lock)[3];
    return chip;
}

LockFuseState randomState(std::mt19937& random, const LockFuseLayout& layout) {
    std::bernoulli_distribution coin;
    LockFuseState state;
    state.lockMode = std::uniform_int_distribution<int>(0, 2)(random);
    for (int i = 0; i < layout.fuseCount; ++i)
        state.fuse[i] = coin(random);
    for (int j = 0; j < layout.bootLockCount; ++j)
        state.bootLock[j] = coin(random);
    return state;
}

bool isWritten(const LockFuseLayout& layout, int fuse) {
    for (const FuseByteLayout& byte : layout.fuseBytes)
        if (byte.present && byte.writePos[fuse].present())
            return true;
    return false;
}

}  // namespace

TEST(LockFuseRoundTrip, ProgrammedBitsSurviveForEveryAvrDevice) {
    std::mt19937 random(20240611);
    for (int d = 0; d < DeviceTable::count(); ++d) {
        const DeviceInfo& device = DeviceTable::at(d);
        const LockFuseLayout& layout = *layoutOf(d);
        if (device.algorithm != ProgAlgorithm::Avr || !layout.lockReadable)
            continue;  // AT25/AT45/AT86RF401 report nothing; AT89S: their own test
        SCOPED_TRACE(device.name);
        for (int round = 0; round < 200; ++round) {
            const LockFuseState written = randomState(random, layout);
            const ChipModel chip = program(device, layout, written);
            ASSERT_EQ(chip.fuseBytes.size(), fuseReadOrder(layout).size());

            RecordingUserPort port;
            LockFuseState read;
            decodeLockByte(layout, chip.lock, read, port);
            decodeFuseBytes(layout, chip.lock, chip.fuseBytes, read);
            EXPECT_TRUE(port.events().empty());

            EXPECT_EQ(read.lockMode, written.lockMode);
            EXPECT_EQ(read.bootLock, written.bootLock);
            for (int i = 0; i < kMaxFuses; ++i) {
                // Names without a byte (AT90PWM) come back as fuse 0.
                const bool expected = isWritten(layout, i)   ? written.fuse[i]
                                      : i < layout.fuseCount ? written.fuse[0]
                                                             : false;
                ASSERT_EQ(read.fuse[i], expected) << "fuse " << i << " round " << round;
            }
        }
    }
}

TEST(LockFuseRoundTrip, VerifyAfterProgramFindsNoDifference) {
    std::mt19937 random(7);
    for (const char* name : {"ATmega8", "ATmega640", "ATtiny13", "ATmega162", "AT90CAN128"}) {
        const int d = zavuv::devices::testing::deviceNamed(name);
        const LockFuseLayout& layout = *layoutOf(d);
        const LockFuseState written = randomState(random, layout);
        const ChipModel chip = program(DeviceTable::at(d), layout, written);
        RecordingUserPort port;
        LockFuseState read;
        read.readable = true;
        decodeLockByte(layout, chip.lock, read, port);
        decodeFuseBytes(layout, chip.lock, chip.fuseBytes, read);
        EXPECT_TRUE(compareLockFuse(layout, written, read).equal()) << name;
    }
}
