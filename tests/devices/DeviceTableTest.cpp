#include <gtest/gtest.h>

#include "devices/DeviceTable.h"

using namespace zavuv::devices;

TEST(DeviceTable, HasFiftyFiveRecords) {
    EXPECT_EQ(DeviceTable::count(), 55);
    EXPECT_STREQ(DeviceTable::at(0).name, "ATtiny13");
    EXPECT_STREQ(DeviceTable::at(54).name, "AT45DB642D");
}
