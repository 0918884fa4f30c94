#include <gtest/gtest.h>

#include "chips/ChipDriver.h"
#include "support/LinkFixture.h"

namespace zavuv::chips {
namespace {

using devices::DeviceTable;
using testing::deviceIndex;

TEST(SckCodeTest, CodesFollowThePeriodListAndTheAt89S8253SetsBitTwo) {
    const std::uint8_t expected[] = {0x80, 0x00, 0x81, 0x01, 0x82, 0x02, 0x03, 0xFF};
    const ChipDriver& mega8 = driverFor(DeviceTable::at(deviceIndex("ATmega8")));
    const ChipDriver& s8253 = driverFor(DeviceTable::at(deviceIndex("AT89S8253")));
    for (int period = 0; period < 8; ++period) {
        EXPECT_EQ(mega8.sessionSckCode(period), expected[period]) << period;
        EXPECT_EQ(s8253.sessionSckCode(period), expected[period] | 0x04) << period;
        EXPECT_EQ(s8253.connectSckCode(period), expected[period] | 0x04) << period;
    }
    EXPECT_EQ(s8253.sessionSckCode(7), 0xFF);
    // A project file with an index outside the list gets the default period.
    EXPECT_EQ(link::sckCode(8), 0x82);
    EXPECT_EQ(link::sckCode(-1), 0x82);
}

TEST(SckCodeTest, ADataFlashConnectsAtItsFixedRateAndKeepsThePeriodForTheSession) {
    const ChipDriver& dataFlash = driverFor(DeviceTable::at(deviceIndex("AT45DB161B")));
    EXPECT_EQ(dataFlash.connectSckCode(0), 0x04);
    EXPECT_EQ(dataFlash.connectSckCode(7), 0x04);
    EXPECT_EQ(dataFlash.sessionSckCode(7), 0xFF);
}

}  // namespace
}  // namespace zavuv::chips
