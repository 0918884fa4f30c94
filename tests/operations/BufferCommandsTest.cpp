#include <gtest/gtest.h>

#include <filesystem>

#include "operations/BufferCommands.h"
#include "support/SimulatedWorkspace.h"

using namespace zavuv;

TEST(ReloadCommand, SucceedsOnlyWhenTheBufferHoldsItsFileAgain) {
    zavuv::testing::SimulatedWorkspace sim("ATmega8");
    auto& ws = sim.ws();
    const std::string file = sim.folder().write("a.bin", std::string("\x01\x02", 2));
    ASSERT_TRUE(ws.flash().loadFile(file));
    ws.flash().setByte(0, 0x55);

    operations::reloadBuffer(ws, ws.flash());
    EXPECT_EQ(ws.results.lastOperationStatus, zavuv::workspace::OperationStatus::Succeeded);
    EXPECT_EQ(ws.flash().data()[0], 0x01);
    EXPECT_EQ(sim.user().lastStatus(), "Flash length: 2 (0x2) bytes, Checksum = 0x0003");

    std::filesystem::remove(file);
    operations::reloadBuffer(ws, ws.flash());
    EXPECT_EQ(ws.results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
    EXPECT_EQ(sim.user().messages().back(), "Cannot read file '" + file + "'");

    ws.eeprom().create(4);  // read from a chip: no file to reload
    operations::reloadBuffer(ws, ws.eeprom());
    EXPECT_EQ(ws.results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
}
