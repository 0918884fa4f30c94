#include <gtest/gtest.h>

#include "operations/CalibrationBytes.h"
#include "support/SimulatedWorkspace.h"

using namespace zavuv;
using zavuv::testing::SimulatedWorkspace;

TEST(CalibrationBytes, FourBytesForFourFrequencies) {
    SimulatedWorkspace sim("ATmega8");
    EXPECT_TRUE(operations::readCalibrationBytes(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Calibration bytes: A8 A5 A2 9F");
    EXPECT_EQ(sim.user().messages(),
              std::vector<std::string>{"Calibration bytes:\n\n    1 MHz: 0xA8\n    2 MHz: 0xA5\n"
                                       "    4 MHz: 0xA2\n    8 MHz: 0x9F"});
    EXPECT_TRUE(sim.boardIdle());
    EXPECT_EQ(sim.user().busyDepth(), 0);
}

TEST(CalibrationBytes, OneByteInTheSingular) {
    SimulatedWorkspace sim("ATmega328P");
    EXPECT_TRUE(operations::readCalibrationBytes(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Calibration byte: A8");
    EXPECT_EQ(sim.user().messages(),
              std::vector<std::string>{"Calibration byte:\n\n    8 MHz: 0xA8"});
}

TEST(CalibrationBytes, EachByteWithTheFrequencyItIsFor) {
    SimulatedWorkspace sim("ATtiny2313");
    EXPECT_TRUE(operations::readCalibrationBytes(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Calibration bytes: A8 A5");
    EXPECT_EQ(sim.user().messages(),
              std::vector<std::string>{"Calibration bytes:\n\n    8 MHz: 0xA8\n    4 MHz: 0xA5"});
}

TEST(CalibrationBytes, ABoardThatFallsSilentIsAConnectionError) {
    SimulatedWorkspace sim("ATmega8", {"silent-after=13"});
    EXPECT_FALSE(operations::readCalibrationBytes(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Error reading calibration bytes");
    EXPECT_EQ(sim.user().messages(), std::vector<std::string>{"Connection error"});
    EXPECT_FALSE(sim.ws().channel().connected());
}
