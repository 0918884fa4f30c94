// The one list of memory file formats: which format a file is read as, and
// the file dialogs' filters.

#include <gtest/gtest.h>

#include "buffers/FileFormats.h"
#include "support/ScratchFolder.h"

using namespace zavuv::buffers;
using zavuv::testing::bytesOf;

namespace {

FileFormatId readAs(std::string_view path, std::string_view content) {
    return formatForReading(path, bytesOf(content)).id;
}

}  // namespace

TEST(FileFormats, TheNameDecidesThenTheContentThenBinary) {
    const std::string hex = ":00000001FF\r\n";
    const std::string srec = "S00600004844521B\r\n";
    const std::string elf = "\x7F"
                            "ELF";
    for (const char* name : {"a.hex", "A.HEX", "b.eep", "c.ihx", "d.iHex", "dir.elf/e.hex"})
        EXPECT_EQ(readAs(name, srec), FileFormatId::IntelHex) << name;
    for (const char* name : {"a.srec", "a.S19", "a.s28", "a.s37", "a.mot"})
        EXPECT_EQ(readAs(name, hex), FileFormatId::SRecord) << name;
    EXPECT_EQ(readAs("a.elf", hex), FileFormatId::Elf);
    EXPECT_EQ(readAs("a.bin", hex), FileFormatId::Binary);

    EXPECT_EQ(readAs("a.dat", hex), FileFormatId::IntelHex);
    EXPECT_EQ(readAs("dir.hex/a", srec), FileFormatId::SRecord);
    EXPECT_EQ(readAs("a.out", elf), FileFormatId::Elf);
    EXPECT_EQ(readAs("a.dat", ":binary"), FileFormatId::Binary);
    EXPECT_EQ(readAs("a.dat", "Some text"), FileFormatId::Binary);
    EXPECT_EQ(readAs("a.dat", ""), FileFormatId::Binary);
    EXPECT_EQ(formatNamedBy("a.dat"), nullptr);
    EXPECT_EQ(formatNamedBy("hex"), nullptr);
}

TEST(FileFormats, DialogsListEveryFormatAndSaveOnlyTheWrittenOnes) {
    const auto open = bufferFileFilters(false, false);
    ASSERT_EQ(open.size(), 4u);
    EXPECT_EQ(open[0].name, "HEX Files");
    EXPECT_EQ(open[0].extensions, (std::vector<std::string>{"hex", "eep", "ihx", "ihex"}));
    EXPECT_EQ(open[2].name, "ELF Files");
    EXPECT_EQ(open[3].extensions, std::vector<std::string>{"bin"});

    const auto save = bufferFileFilters(true, true);
    ASSERT_EQ(save.size(), 3u);
    EXPECT_EQ(save[0].extensions.front(), "eep");
    for (const auto& filter : save)
        EXPECT_NE(filter.name, "ELF Files");
    EXPECT_EQ(defaultBufferExtension(true), "eep");
    EXPECT_EQ(defaultBufferExtension(false), "hex");
}
