#include <gtest/gtest.h>

#include <set>
#include <string>

#include "FactsFile.h"
#include "base/AsciiCase.h"
#include "devices/DeviceNames.h"

namespace zavuv::devices {
namespace {

using testing::readFactsFile;
using testing::words;

std::string folded(std::string text) {
    for (char& c : text)
        c = base::toAsciiLower(c);
    return text;
}

TEST(DeviceAliases, TheTableIsTheAliasList) {
    const std::vector<testing::FactsRow> rows = readFactsFile("aliases.tsv");
    const auto aliases = deviceAliases();
    ASSERT_EQ(rows.size(), 194u);
    ASSERT_EQ(aliases.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].at("alias"));
        EXPECT_EQ(aliases[i].alias, rows[i].at("alias"));
        EXPECT_EQ(aliases[i].device, rows[i].at("table_name"));
        const std::vector<std::string> bytes = words(rows[i].at("signature"));
        ASSERT_EQ(bytes.size(), 3u);
        for (std::size_t b = 0; b < 3; ++b)
            EXPECT_EQ(aliases[i].signature[b], std::stoul(bytes[b], nullptr, 16));
    }
}

TEST(DeviceAliases, EachNamesOneChipBySignature) {
    std::set<std::string> names;
    for (int i = 0; i < DeviceTable::count(); ++i)
        names.insert(folded(DeviceTable::at(i).name));
    for (const DeviceAlias& alias : deviceAliases()) {
        SCOPED_TRACE(alias.alias);
        EXPECT_TRUE(names.insert(folded(alias.alias)).second) << "the name is taken";
        const auto named = findDeviceByName(alias.alias);
        ASSERT_TRUE(named.has_value());
        const DeviceInfo& device = DeviceTable::at(named->index);
        EXPECT_STREQ(device.name, alias.device);
        EXPECT_TRUE(alias.signature == device.signature || alias.signature == device.altSignature);
        EXPECT_EQ(named->signature, alias.signature);
    }
}

TEST(DeviceAliases, NamesAreFoundInAnyLetterCase) {
    const auto index = [](const char* name) {
        const auto named = findDeviceByName(name);
        return named ? std::string(DeviceTable::at(named->index).name) : std::string("-");
    };
    EXPECT_EQ(index("ATmega8"), "ATmega8");
    EXPECT_EQ(index("atmega8"), "ATmega8");
    EXPECT_EQ(index("M328P"), "ATmega328P");
    EXPECT_EQ(index("t13"), "ATtiny13");
    EXPECT_EQ(index("ATmega2560"), "ATmega256x");
    EXPECT_EQ(index("atmega1281"), "ATmega128x");
    EXPECT_EQ(index("AT90PWM2/3"), "AT90PWM2/3");
    EXPECT_EQ(index("ATmega328PB"), "-");
    EXPECT_EQ(index(""), "-");
    EXPECT_EQ(index("m328p "), "-");

    // A pair's second member reports the record's alternative signature.
    EXPECT_EQ(findDeviceByName("ATmega3250")->signature, (Signature{0x1E, 0x95, 0x06}));
    EXPECT_EQ(findDeviceByName("ATmega325/3250")->signature, (Signature{0x1E, 0x95, 0x05}));
    EXPECT_EQ(findDeviceByName("m2561")->signature, (Signature{0x1E, 0x98, 0x02}));
}

}  // namespace
}  // namespace zavuv::devices
