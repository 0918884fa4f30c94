#include <gtest/gtest.h>

#include "chips/ChipDriver.h"
#include "support/LinkFixture.h"

namespace zavuv::chips {
namespace {

using devices::DeviceTable;
using testing::deviceIndex;

const ChipAbilities& abilitiesOf(std::string_view chip) {
    return driverFor(DeviceTable::at(deviceIndex(chip))).abilities();
}

TEST(ChipAbilities, WhichChipsReadASignatureAndHow) {
    EXPECT_EQ(abilitiesOf("ATmega8").signatureRead, SignatureRead::Instruction);
    EXPECT_EQ(abilitiesOf("AT89S52").signatureRead, SignatureRead::Instruction);
    EXPECT_EQ(abilitiesOf("AT89S8253").signatureRead, SignatureRead::Instruction);
    EXPECT_EQ(abilitiesOf("AT89S8252").signatureRead, SignatureRead::None);
    EXPECT_EQ(abilitiesOf("AT89S53").signatureRead, SignatureRead::None);
    EXPECT_EQ(abilitiesOf("AT25256").signatureRead, SignatureRead::None);
    EXPECT_EQ(abilitiesOf("AT45DB161B").signatureRead, SignatureRead::Connect);
}

TEST(ChipAbilities, SerialMemoriesOfferNeitherAutoProgramNorADataFlashEeprom) {
    EXPECT_FALSE(abilitiesOf("AT25256").chipErase);
    EXPECT_FALSE(abilitiesOf("AT25256").autoProgram);
    EXPECT_FALSE(abilitiesOf("AT45DB161B").autoProgram);
    EXPECT_FALSE(abilitiesOf("AT45DB161B").eepromMemory);
    EXPECT_TRUE(abilitiesOf("AT45DB161B").fixedMemorySpeed);
    EXPECT_TRUE(abilitiesOf("ATmega8").autoProgram);
    EXPECT_TRUE(abilitiesOf("AT89S8252").eepromMemory);
    EXPECT_FALSE(abilitiesOf("AT45DB161B").lockFuseBits);
    EXPECT_TRUE(abilitiesOf("AT25256").lockFuseBits);  // its block protection is set as lock modes
    EXPECT_TRUE(abilitiesOf("AT86RF401").lockFuseBits);
}

}  // namespace
}  // namespace zavuv::chips
