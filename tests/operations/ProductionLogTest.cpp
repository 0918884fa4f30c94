#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "operations/ProductionLog.h"
#include "support/ScratchFolder.h"
#include "support/TextLines.h"

using zavuv::operations::csvLine;
using zavuv::operations::ProductionLog;
using zavuv::operations::UnitRecord;
using zavuv::testing::ScratchFolder;

using zavuv::testing::linesOf;
TEST(ProductionLog, FieldsAreQuotedOnlyWhereTheyMustBe) {
    EXPECT_EQ(csvLine({"COM3", "ATmega8", ""}), "COM3,ATmega8,\r\n");
    EXPECT_EQ(csvLine({"a,b", "say \"no\"", "two\nlines", "cr\r"}),
              "\"a,b\",\"say \"\"no\"\"\",\"two\nlines\",\"cr\r\"\r\n");
}

TEST(ProductionLog, AHeaderStartsANewFileOnly) {
    ScratchFolder folder;
    const ProductionLog log(folder.file("line.csv"));
    EXPECT_EQ(log.check(), "");
    UnitRecord unit{.time = "2026-12-07T21:35:49Z",
                    .port = "COM3",
                    .boardSerial = "5A 56 53 00 01",
                    .chip = "ATmega8",
                    .signature = "1E 93 07",
                    .serialNumber = "0000000A",
                    .flashChecksum = "0x0BE1",
                    .ok = true,
                    .durationSeconds = 1.25};
    ASSERT_EQ(log.append(unit), "");
    unit.ok = false;
    unit.serialNumber.clear();
    unit.error = "Connection error";
    ASSERT_EQ(log.append(unit), "");
    EXPECT_EQ(linesOf(ScratchFolder::read(log.path()), "\r\n"),
              (std::vector<std::string>{
                  "time,port,board_serial,chip,signature,serial_number,flash_checksum,"
                  "eeprom_checksum,result,error,duration_s",
                  "2026-12-07T21:35:49Z,COM3,5A 56 53 00 01,ATmega8,1E 93 07,0000000A,0x0BE1,,OK,,"
                  "1.250",
                  "2026-12-07T21:35:49Z,COM3,5A 56 53 00 01,ATmega8,1E 93 07,,0x0BE1,,Error,"
                  "Connection error,1.250"}));
}

TEST(ProductionLog, ALogThatCannotBeWrittenSaysWhy) {
    ScratchFolder folder;
    EXPECT_NE(ProductionLog(folder.file("missing/line.csv")).check(), "");
    EXPECT_NE(ProductionLog(folder.path().string()).check(), "");  // a folder
    EXPECT_NE(ProductionLog(folder.file("missing/line.csv")).append({}), "");
}

// Boards of a gang and stations on one shared file write at once: every line
// arrives whole, and the header once.
TEST(ProductionLog, ParallelWritersNeverMixTheirLines) {
    ScratchFolder folder;
    const std::string path = folder.file("shared.csv");
    constexpr int kWriters = 8;
    constexpr int kLines = 40;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&path, w] {
            const ProductionLog log(path);  // each its own, as separate processes would
            for (int i = 0; i < kLines; ++i)
                EXPECT_EQ(log.append({.port = "writer " + std::to_string(w),
                                      .chip = std::string(300, static_cast<char>('a' + w)),
                                      .error = "line, " + std::to_string(i)}),
                          "");
        });
    for (auto& writer : writers)
        writer.join();
    const auto lines = linesOf(ScratchFolder::read(path), "\r\n");
    ASSERT_EQ(lines.size(), 1u + kWriters * kLines);
    EXPECT_EQ(lines[0].substr(0, 5), "time,");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const char letter = lines[i][std::string(",writer 0,,").size()];
        EXPECT_EQ(lines[i].find(std::string(300, letter)), std::string(",writer 0,,").size())
            << lines[i];
        EXPECT_NE(lines[i].find(",Error,\"line, "), std::string::npos) << lines[i];
    }
}
