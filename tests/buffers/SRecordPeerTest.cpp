// The S-record reader and writer against srec_cat (Debian's srecord): what it
// writes reads byte for byte, and what the writer writes it reads the same.

#include <gtest/gtest.h>

#include <random>
#include <variant>

#include "buffers/FileLimits.h"
#include "buffers/SRecord.h"
#include "support/AvrToolchain.h"
#include "support/RandomBytes.h"
#include "support/ScratchFolder.h"

using namespace zavuv::buffers;
using namespace zavuv::testing;

namespace {

using Bytes = std::vector<std::uint8_t>;

class SRecordPeer : public ::testing::Test {
protected:
    void SetUp() override {
        // The README's commands install it: missing, the comparison would prove nothing.
        ASSERT_FALSE(findProgram("srec_cat").empty())
            << "srec_cat is not installed (Debian package: srecord)";
    }

    // Runs srec_cat with these arguments; its warnings count as failures.
    void srecCat(const std::vector<std::string>& arguments) {
        const auto result = runTool("srec_cat", arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
    }

    static SRecordImage read(const std::string& path) {
        const Bytes text = bytesOf(ScratchFolder::read(path));
        auto result = readSRecord(text, {std::uint64_t{1} << 32});
        if (const auto* error = std::get_if<SRecordError>(&result)) {
            ADD_FAILURE() << "refused: problem " << static_cast<int>(error->problem) << " at line "
                          << error->line;
            return {};
        }
        return std::get<SRecordImage>(std::move(result));
    }

    ScratchFolder folder_;
};

}  // namespace

TEST_F(SRecordPeer, ReadsWhatSrecCatWritesInEveryAddressWidth) {
    const Bytes low = randomBytes(1000, 1);
    const Bytes high = randomBytes(70000, 2);
    const auto lowFile = folder_.write("low.bin", low);
    const auto highFile = folder_.write("high.bin", high);
    struct Case {
        const char* name;
        std::vector<std::string> extra;  // output options
        std::uint32_t highAddress;
    };
    const std::vector<Case> cases = {
        {"S1, count record at the end", {}, 0x8000},
        {"S2", {}, 0x1F000},
        {"S3 with a start address", {"-execution-start-address=0x1234"}, 0x1000000},
        {"S3 chosen for low addresses too", {"-address-length=4"}, 0x20000},
        {"32-byte records", {"-output-block-size=32"}, 0x30001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto out = folder_.file("peer.srec");
        std::vector<std::string> arguments = {
            lowFile,  "-binary", "-offset",  "0x10",
            highFile, "-binary", "-offset",  std::to_string(c.highAddress),
            "-o",     out,       "-motorola"};
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
        srecCat(arguments);
        EXPECT_EQ(read(out).segments, (ImageSegments{{0x10, low}, {c.highAddress, high}}));
    }
}

TEST_F(SRecordPeer, SrecCatReadsWhatTheWriterWritesTheSame) {
    std::mt19937 random(3);
    for (std::uint64_t top : {0x8000ull, 0x800000ull, 0xFFFF0000ull}) {
        SCOPED_TRACE(top);
        ImageSegments image;
        std::uint64_t address = random() % 32;
        while (address < top) {
            const std::size_t size = 1 + random() % 3000;
            image.push_back({static_cast<std::uint32_t>(address), randomBytes(size, random())});
            address += size + 1 + random() % (top / 8);
        }
        const auto ours = folder_.write("ours.srec", writeSRecord(image, bytesOf("zavuv")));
        // srec_cat's own S-records of the file, read back here: the same segments.
        const auto theirs = folder_.file("theirs.srec");
        srecCat({ours, "-o", theirs, "-motorola", "-address-length=4"});
        EXPECT_EQ(read(theirs).segments, image);
        // And byte for byte from its binary output, gaps filled, where that is
        // of a size to compare.
        if (endAddress(image) > 0x1000000)
            continue;
        const auto binary = folder_.file("theirs.bin");
        srecCat({ours, "-fill", "0xFF", "0", std::to_string(endAddress(image)), "-o", binary,
                 "-binary"});
        EXPECT_EQ(bytesOf(ScratchFolder::read(binary)), flatten(image, 0xFF));
    }
}
