#include <set>
#include <string>

#include <gtest/gtest.h>

#include "devices/DeviceTable.h"

using namespace zavuv::devices;

TEST(DeviceTable, RecordsKeepTheirFileFormatIndices) {
    ASSERT_EQ(DeviceTable::count(), 74);
    // Project files store the index: spot-check the anchors of every family.
    EXPECT_STREQ(DeviceTable::at(0).name, "ATtiny13");
    EXPECT_STREQ(DeviceTable::at(12).name, "ATmega8");
    EXPECT_STREQ(DeviceTable::at(29).name, "ATmega128");
    EXPECT_STREQ(DeviceTable::at(37).name, "AT89S8253");
    EXPECT_STREQ(DeviceTable::at(42).name, "AT25HP512");
    EXPECT_STREQ(DeviceTable::at(46).name, "AT90USB1286");
    EXPECT_STREQ(DeviceTable::at(54).name, "AT45DB642D");
    // Chips added later only ever go at the end.
    EXPECT_STREQ(DeviceTable::at(55).name, "ATmega48P");
    EXPECT_STREQ(DeviceTable::at(59).name, "ATmega328P");
    EXPECT_STREQ(DeviceTable::at(73).name, "ATtiny861");
    EXPECT_THROW(DeviceTable::at(74), std::out_of_range);
    EXPECT_THROW(DeviceTable::at(-1), std::out_of_range);

    std::set<std::string> names;
    for (int i = 0; i < DeviceTable::count(); ++i)
        names.insert(DeviceTable::at(i).name);
    EXPECT_EQ(names.size(), 74u) << "names must be unique";
}

TEST(DeviceTable, FieldsFollowTheFamilyRules) {
    for (int i = 0; i < DeviceTable::count(); ++i) {
        const DeviceInfo& d = DeviceTable::at(i);
        SCOPED_TRACE(d.name);
        EXPECT_EQ(d.forceProgEnable, 0);
        EXPECT_NE(d.lockFuseLayout, -1);
        EXPECT_LE(d.calibrationBytes(), 4);
        switch (d.family) {
        case DeviceFamily::At45:
            EXPECT_EQ(d.flashSize, d.pageSize * (d.flashSize / d.pageSize));
            EXPECT_EQ(d.pageSize, 264 << (d.addressShift() - 1));
            EXPECT_EQ(d.statusMask(), 0x3C);
            EXPECT_EQ(d.pageWriteDelayMs, 40);
            break;
        case DeviceFamily::At25:
            EXPECT_EQ(d.flashSize, 0);
            EXPECT_EQ(d.algorithm, ProgAlgorithm::At25);
            EXPECT_EQ(d.flashWriteDelayCode, 0);
            break;
        case DeviceFamily::At89S:
            EXPECT_EQ(d.pageSize, 0);
            EXPECT_NE(d.algorithm, ProgAlgorithm::Avr);
            break;
        default:
            EXPECT_EQ(d.algorithm, ProgAlgorithm::Avr);
            EXPECT_EQ(d.signature[0], 0x1E);
            EXPECT_EQ(d.flashSize % 2, 0);
        }
    }
}

TEST(DeviceTable, DelayCodesAndBoardCodes) {
    const DeviceInfo& mega32 = DeviceTable::at(21);
    EXPECT_EQ(mega32.flashWriteDelayCode, 0x96);  // 15 ms: 0xFF - 7 * 15
    EXPECT_EQ(mega32.eepromWriteDelayCode, 0xC0);
    EXPECT_EQ(DeviceTable::at(15).eepromReadDelayCode, 0xC0);  // ATmega8535
    EXPECT_EQ(DeviceTable::at(0).boardDeviceCode, 4);          // ATtiny13
    EXPECT_EQ(DeviceTable::at(1).boardDeviceCode, 0);
    EXPECT_EQ(DeviceTable::at(32).boardDeviceCode, 3);  // AT89S2051
    EXPECT_EQ(DeviceTable::at(35).boardDeviceCode, 1);  // AT89S52
    EXPECT_EQ(DeviceTable::at(37).boardDeviceCode, 12);
    EXPECT_EQ(DeviceTable::at(32).flashWriteDelayCode, 0x50);
    EXPECT_EQ(DeviceTable::at(32).eepromWriteDelayCode, 0xDC);
}

TEST(DeviceTable, LookupBySignature) {
    EXPECT_EQ(DeviceTable::findBySignature(0x1E, 0x96, 0x08), 25);  // ATmega640
    EXPECT_EQ(DeviceTable::findBySignature(0x1E, 0x96, 0x09), 26);  // ATmega644
    EXPECT_EQ(DeviceTable::findBySignature(0x1E, 0x97, 0x82), 46);  // AT90USB1286
    EXPECT_EQ(DeviceTable::findBySignature(0x1E, 0x95, 0x0F), 59);  // ATmega328P
    EXPECT_EQ(DeviceTable::findBySignature(0x1E, 0x95, 0x06), 22);  // ATmega3250
    // Signatures of no chip: the old wrong ones, and AT90USB82's.
    EXPECT_EQ(DeviceTable::findBySignature(0x1E, 0x96, 0x07), -1);
    EXPECT_EQ(DeviceTable::findBySignature(0x1E, 0x01, 0x02), -1);
    EXPECT_EQ(DeviceTable::findBySignature(0x1E, 0x93, 0x82), -1);
    EXPECT_EQ(DeviceTable::findBySignature(0x00, 0xFF, 0x00), -1);
    EXPECT_EQ(DeviceTable::findBySignature(0x00, 0x00, 0x00),
              -1);  // AT90CAN alternatives never match
    EXPECT_EQ(DeviceTable::findBySignature(0x1E, 0x12, 0x34), -1);
    EXPECT_EQ(DeviceTable::findBySignature(0x00, 0x01, 0x02), -1);  // a locked chip
    // Every chip with a readable signature is found as itself.
    for (int i = 0; i < DeviceTable::count(); ++i) {
        const DeviceInfo& d = DeviceTable::at(i);
        if (d.signature[0] != 0x1E)
            continue;
        const int found =
            DeviceTable::findBySignature(d.signature[0], d.signature[1], d.signature[2]);
        EXPECT_EQ(found, i) << d.name;
    }
}

TEST(DeviceTable, DataFlashDetectionByStatus) {
    EXPECT_EQ(DeviceTable::findAt45ByStatus(0x9C), 47);
    EXPECT_EQ(DeviceTable::findAt45ByStatus(0xFF), -1);
    EXPECT_EQ(DeviceTable::findAt45ByStatus(0xA4), 49);
    EXPECT_EQ(DeviceTable::findAt45ByStatus(0xAC), 50);
    EXPECT_EQ(DeviceTable::findAt45ByStatus(0xB4), 51);
    EXPECT_EQ(DeviceTable::findAt45ByStatus(0xBC), 53);
    EXPECT_EQ(DeviceTable::findAt45ByStatus(0x80), -1);
}

TEST(DeviceTable, DataFlashPageAddress) {
    const auto a = DeviceTable::at45PageAddress(DeviceTable::at(47), 2047);  // 264-byte pages
    EXPECT_EQ(a[0], 0x0F);
    EXPECT_EQ(a[1], 0xFE);
    const auto b = DeviceTable::at45PageAddress(DeviceTable::at(53), 8191);  // 1056-byte pages
    EXPECT_EQ(b[0], 0xFF);
    EXPECT_EQ(b[1], 0xF8);
}

TEST(DeviceTable, FamilyPositionsBothWays) {
    using F = DeviceFamily;
    const int at90[] = {9, 10, 43, 44, 45, 46, 68, 69};
    for (int pos = 0; pos < 8; ++pos)
        EXPECT_EQ(DeviceTable::indexAt(F::At90, pos), at90[pos]);
    EXPECT_EQ(DeviceTable::indexAt(F::At90, 8), -1);
    EXPECT_EQ(DeviceTable::indexAt(F::At90, -1), -1);

    const auto at25 = DeviceTable::devicesOfFamily(F::At25);
    ASSERT_EQ(at25.size(), 3u);
    EXPECT_STREQ(at25[0], "AT25256");
    EXPECT_STREQ(at25[1], "AT25HP256");
    EXPECT_STREQ(at25[2], "AT25HP512");
    EXPECT_STREQ(DeviceTable::familyName(F::ATmega), "ATmega...");

    size_t total = 0;
    for (int f = 0; f < kFamilyCount; ++f)
        total += DeviceTable::devicesOfFamily(static_cast<F>(f)).size();
    EXPECT_EQ(total, 74u);

    for (int i = 0; i < DeviceTable::count(); ++i) {
        const FamilyPosition p = DeviceTable::familyPosition(i);
        EXPECT_EQ(p.family, DeviceTable::at(i).family);
        EXPECT_EQ(DeviceTable::indexAt(p.family, p.position), i);
    }
}
