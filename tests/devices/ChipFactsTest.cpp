// The device table and the lock/fuse layouts against the chips' datasheet
// facts (tests/data/chip-facts): the 55 first records row by row, the added
// chips after them in the order of the second file. A field the facts file
// calls uncertain for a chip keeps the table's value and is not compared.

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "FactsFile.h"
#include "chips/ChipDriver.h"
#include "devices/DeviceTable.h"
#include "devices/LockFuseLayout.h"

namespace zavuv::devices {
namespace {

// Whether the program reads the chip's signature (its driver has an instruction for it).
bool readsSignature(const DeviceInfo& device) {
    return chips::driverFor(device).abilities().signatureRead == chips::SignatureRead::Instruction;
}

using testing::FactsRow;
using testing::readFactsFile;
using testing::splitOn;
using testing::words;

constexpr int kFirstAddedChip = 55;

struct Chip {
    int index;
    FactsRow facts;
    std::set<std::string> uncertain;

    bool certain(const std::string& field) const { return uncertain.count(field) == 0; }
};

std::vector<Chip> allChips() {
    std::vector<Chip> chips;
    const auto add = [&chips](int index, FactsRow row) {
        const std::vector<std::string> fields = splitOn(row["uncertain_fields"], ',');
        std::set<std::string> uncertain(fields.begin(), fields.end());
        chips.push_back({index, std::move(row), std::move(uncertain)});
    };
    for (FactsRow& row : readFactsFile("chip-facts.tsv")) {
        const int index = std::stoi(row["index"]);
        add(index, std::move(row));
    }
    int added = kFirstAddedChip;
    for (FactsRow& row : readFactsFile("chip-facts-new.tsv"))
        add(added++, std::move(row));
    return chips;
}

bool isHexBytes(const std::string& text) {
    for (const std::string& word : words(text))
        if (word.size() != 2 || !std::isxdigit(static_cast<unsigned char>(word[0])) ||
            !std::isxdigit(static_cast<unsigned char>(word[1])))
            return false;
    return !text.empty();
}

Signature signatureOf(const std::string& text) {
    const std::vector<std::string> bytes = words(text);
    Signature s{};
    for (std::size_t i = 0; i < s.size() && i < bytes.size(); ++i)
        s[i] = static_cast<std::uint8_t>(std::stoul(bytes[i], nullptr, 16));
    return s;
}

// Both names of the self-programming enable bit: datasheets moved from one to the other.
std::string sameBitName(std::string name) {
    return name == "SPMEN" ? "SELFPRGEN" : name;
}

TEST(ChipFacts, EveryRecordHasARowInOrder) {
    const std::vector<Chip> chips = allChips();
    ASSERT_EQ(chips.size(), static_cast<std::size_t>(DeviceTable::count()));
    for (std::size_t i = 0; i < chips.size(); ++i) {
        EXPECT_EQ(chips[i].index, static_cast<int>(i));
        EXPECT_EQ(chips[i].facts.at("name"), DeviceTable::at(static_cast<int>(i)).name);
    }
}

TEST(ChipFacts, SignaturesAndSizes) {
    for (const Chip& chip : allChips()) {
        const DeviceInfo& d = DeviceTable::at(chip.index);
        const FactsRow& f = chip.facts;
        SCOPED_TRACE(d.name);
        if (chip.certain("sig")) {
            if (isHexBytes(f.at("signature"))) {
                EXPECT_EQ(d.signature, signatureOf(f.at("signature")));
                EXPECT_TRUE(readsSignature(d));
            } else if (d.isAt45()) {
                // The DataFlash tells its density in status bits 5..2.
                const int density = std::stoi(f.at("at45_density_bits_5_2"), nullptr, 2);
                EXPECT_EQ(d.statusValue(), density << 2);
                EXPECT_EQ(d.statusMask(), 0x3C);
            } else {
                // No signature, or one that only parallel programming reads: a stand-in.
                EXPECT_TRUE(d.signature[0] != 0x1E || !readsSignature(d));
            }
            const std::string& second = f.at("second_signature");
            if (isHexBytes(second)) {
                EXPECT_EQ(d.altSignature, signatureOf(second));
            } else if (d.signature[0] == 0x1E && readsSignature(d)) {
                EXPECT_TRUE(d.altSignature == d.signature || d.altSignature == Signature{})
                    << "an alternative signature the chip does not have";
            }
        }
        EXPECT_EQ(d.flashSize, std::stoi(f.at("flash_bytes")));
        if (!d.isAt45()) {  // a DataFlash record keeps its page-address shift there
            EXPECT_EQ(d.eepromSize, std::stoi(f.at("eeprom_bytes")));
        }
        // A page size of 0 means the board writes the chip byte by byte.
        if (chip.certain("page") && d.pageSize != 0) {
            const bool inWords = d.algorithm == ProgAlgorithm::Avr && !d.isAt45();
            EXPECT_EQ(d.pageSize * (inWords ? 2 : 1), std::stoi(f.at("flash_page_bytes")));
        }
        if (chip.certain("cal")) {
            EXPECT_EQ(d.calibrationBytes(), std::stoi(f.at("cal_bytes")));
        }
    }
}

// The names of one fuse byte by bit, from the facts' "bit 7 .. bit 0" list;
// empty when the chip has no such byte.
std::vector<std::string> namesByBit(const std::string& facts) {
    std::vector<std::string> list = words(facts);
    if (list.size() != 8)
        return {};
    return {list.rbegin(), list.rend()};
}

TEST(ChipFacts, FuseNamesAtTheirBitsAndBootLocks) {
    const char* columns[kFuseByteCount] = {"low_fuse_bits_7_0", "high_fuse_bits_7_0",
                                           "ext_fuse_bits_7_0"};
    for (const Chip& chip : allChips()) {
        const DeviceInfo& d = DeviceTable::at(chip.index);
        SCOPED_TRACE(d.name);
        const LockFuseLayout* layout = layoutOf(chip.index);
        ASSERT_NE(layout, nullptr);
        EXPECT_EQ(layout->bootLockCount, chip.facts.at("boot_lock_bits") == "yes" ? 4 : 0);
        if (!chip.certain("fuses"))
            continue;
        int named = 0;
        for (int k = 0; k < kFuseByteCount; ++k) {
            const std::vector<std::string> names = namesByBit(chip.facts.at(columns[k]));
            const FuseByteLayout& byte = layout->fuseBytes[k];
            EXPECT_EQ(byte.present, !names.empty()) << columns[k];
            for (const std::string& name : names)
                named += name == "-" ? 0 : 1;
            if (names.empty() || (k == 1 && !chip.certain("high")))
                continue;
            for (int bit = 0; bit < 8; ++bit) {
                std::string found = "-";
                for (int i = 0; i < layout->fuseCount; ++i)
                    if (byte.writePos[i].present() && byte.writePos[i].byte == 3 &&
                        byte.writePos[i].bit == bit)
                        found = layout->fuseName[i];
                EXPECT_EQ(sameBitName(found), sameBitName(names[bit]))
                    << columns[k] << " bit " << bit;
            }
        }
        // Every fuse the layout names is written where the chip has it.
        if (chip.certain("high")) {
            EXPECT_EQ(layout->fuseCount, named);
        }
    }
}

TEST(ChipFacts, FactoryFuses) {
    const std::pair<const char*, const char*> columns[] = {
        {"low_default", "lowdef"}, {"high_default", "highdef"}, {"ext_default", "extdef"}};
    for (const Chip& chip : allChips()) {
        const DeviceInfo& d = DeviceTable::at(chip.index);
        SCOPED_TRACE(d.name);
        if (!chip.certain("fuses"))
            continue;
        const std::uint8_t values[] = {d.factoryFuses.low, d.factoryFuses.high,
                                       d.factoryFuses.extended};
        for (int k = 0; k < kFuseByteCount; ++k) {
            const std::string& text = chip.facts.at(columns[k].first);
            if (!chip.certain(columns[k].second))
                continue;
            // A byte the chip does not have stays erased.
            const unsigned expected = isHexBytes(text) ? std::stoul(text, nullptr, 16) : 0xFF;
            EXPECT_EQ(values[k], expected) << columns[k].first;
        }
    }
}

TEST(ChipFacts, CalibrationBytesNameTheirFrequencies) {
    for (int i = 0; i < DeviceTable::count(); ++i) {
        const DeviceInfo& d = DeviceTable::at(i);
        const auto clocks = d.calibrationMHz();
        const std::vector<std::string> labels(clocks.begin(), clocks.end());
        const int count = d.calibrationBytes();
        SCOPED_TRACE(d.name);
        if (count == 4) {
            EXPECT_EQ(labels, (std::vector<std::string>{"1", "2", "4", "8"}));
        } else if (count == 1) {
            EXPECT_EQ(labels, std::vector<std::string>{"8"});
        }
    }
    const auto labelsOf = [](int index) {
        const auto clocks = DeviceTable::at(index).calibrationMHz();
        return std::vector<std::string>(clocks.begin(), clocks.end());
    };
    EXPECT_EQ(labelsOf(0), (std::vector<std::string>{"9.6", "4.8"}));  // ATtiny13
    EXPECT_EQ(labelsOf(1), (std::vector<std::string>{"8", "4"}));      // ATtiny2313
    EXPECT_EQ(labelsOf(70), (std::vector<std::string>{"8", "4"}));     // ATtiny4313
}

}  // namespace
}  // namespace zavuv::devices
