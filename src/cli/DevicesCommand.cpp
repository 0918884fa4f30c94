#include "cli/DevicesCommand.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include "devices/DeviceNames.h"
#include "devices/DeviceTable.h"

namespace zavuv::cli {

using devices::DeviceInfo;
using devices::DeviceTable;

namespace {

std::string signatureText(const devices::Signature& s) {
    return fmt::format("{:02X} {:02X} {:02X}", s[0], s[1], s[2]);
}

std::string codeText(std::int32_t code) {
    return fmt::format("{:02X}", code & 0xFF);
}

}  // namespace

void printDeviceTable(std::ostream& out) {
    fmt::print(out, "index\tfamily\tname\tpageSize\tflashSize\teepromSize\tsignature\t"
                    "altSignature\talgorithm\tflashWriteDelayCode\tflashReadDelayCode\t"
                    "eepromWriteDelayCode\teepromReadDelayCode\tpageWriteDelayMs\t"
                    "boardDeviceCode\tlockFuseLayout\tforceProgEnable\tcalibrationBytes\n");
    for (int i = 0; i < DeviceTable::count(); ++i) {
        const DeviceInfo& d = DeviceTable::at(i);
        fmt::print(out, "{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\n",
                   i, static_cast<int>(d.family), d.name, d.pageSize, d.flashSize, d.eepromSize,
                   signatureText(d.signature), signatureText(d.altSignature),
                   static_cast<int>(d.algorithm), codeText(d.flashWriteDelayCode),
                   codeText(d.flashReadDelayCode), codeText(d.eepromWriteDelayCode),
                   codeText(d.eepromReadDelayCode), d.pageWriteDelayMs, d.boardDeviceCode,
                   d.lockFuseLayout, d.forceProgEnable, d.calibrationBytes());
    }
}

Json deviceTableJson() {
    Json records = Json::array();
    for (int i = 0; i < DeviceTable::count(); ++i) {
        const DeviceInfo& d = DeviceTable::at(i);
        records.push_back({{"index", i},
                           {"family", static_cast<int>(d.family)},
                           {"name", d.name},
                           {"pageSize", d.pageSize},
                           {"flashSize", d.flashSize},
                           {"eepromSize", d.eepromSize},
                           {"signature", signatureText(d.signature)},
                           {"altSignature", signatureText(d.altSignature)},
                           {"algorithm", static_cast<int>(d.algorithm)},
                           {"flashWriteDelayCode", codeText(d.flashWriteDelayCode)},
                           {"flashReadDelayCode", codeText(d.flashReadDelayCode)},
                           {"eepromWriteDelayCode", codeText(d.eepromWriteDelayCode)},
                           {"eepromReadDelayCode", codeText(d.eepromReadDelayCode)},
                           {"pageWriteDelayMs", d.pageWriteDelayMs},
                           {"boardDeviceCode", d.boardDeviceCode},
                           {"lockFuseLayout", d.lockFuseLayout},
                           {"forceProgEnable", static_cast<bool>(d.forceProgEnable)},
                           {"calibrationBytes", d.calibrationBytes()}});
    }
    return records;
}

Json deviceAliasesJson() {
    Json aliases = Json::array();
    for (const devices::DeviceAlias& alias : devices::deviceAliases())
        aliases.push_back({{"alias", alias.alias}, {"name", alias.device}});
    return aliases;
}

void printDeviceAliases(std::ostream& out) {
    fmt::print(out, "alias\tname\n");
    for (const devices::DeviceAlias& alias : devices::deviceAliases())
        fmt::print(out, "{}\t{}\n", alias.alias, alias.device);
}

}  // namespace zavuv::cli
