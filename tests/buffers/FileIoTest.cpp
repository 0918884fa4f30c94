#include <gtest/gtest.h>

#include <filesystem>

#include "buffers/FileIo.h"
#include "buffers/FileLimits.h"
#include "support/FileSizeLimit.h"
#include "support/ScratchFolder.h"

using namespace zavuv::buffers;
using zavuv::testing::bytesOf;
using zavuv::testing::FileSizeLimit;
using zavuv::testing::ScratchFolder;
namespace fs = std::filesystem;

TEST(ReadWholeFile, RefusesFilesOverTheLimitWhole) {
    ScratchFolder folder;
    const auto exact = readWholeFile(folder.write("ten", "0123456789"), 10);
    EXPECT_EQ(exact.status, ReadStatus::Ok);
    EXPECT_EQ(exact.bytes, bytesOf("0123456789"));

    const auto over = readWholeFile(folder.write("eleven", "0123456789A"), 10);
    EXPECT_EQ(over.status, ReadStatus::TooLarge);
    EXPECT_TRUE(over.bytes.empty());

    const auto sparse = folder.file("sparse.hex");
    folder.write("sparse.hex", "");
    fs::resize_file(sparse, kMaxInputFileSize + 1);
    EXPECT_EQ(readWholeFile(sparse, kMaxInputFileSize).status, ReadStatus::TooLarge);

    // A device has no size to check beforehand; the limit holds while reading.
    EXPECT_EQ(readWholeFile("/dev/zero", 100000).status, ReadStatus::TooLarge);
}

TEST(ReadWholeFile, ReportsWhatCannotBeRead) {
    ScratchFolder folder;
    EXPECT_EQ(readWholeFile(folder.file("missing.hex"), 100).status, ReadStatus::CannotRead);
    fs::create_directory(folder.file("folder.hex"));
    EXPECT_EQ(readWholeFile(folder.file("folder.hex"), 100).status, ReadStatus::CannotRead);
    EXPECT_EQ(readWholeFile(folder.write("empty", ""), 100).status, ReadStatus::Ok);
}

TEST(WriteFileAtomically, ReplacesTheFileKeepingPermissionsAndLinks) {
#ifdef _WIN32
    GTEST_SKIP() << "file modes, and symbolic links, which wine cannot make";
#else
    ScratchFolder folder;
    const auto path = folder.write("image.bin", "old contents");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(path, folder.file("link.bin"));

    EXPECT_TRUE(writeFileAtomically(folder.file("link.bin"), bytesOf("new")));
    EXPECT_EQ(ScratchFolder::read(path), "new");
    EXPECT_TRUE(fs::is_symlink(folder.file("link.bin")));
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(folder.entries().size(), 2u);
#endif
}

TEST(WriteFileAtomically, LeavesTheOldFileWhenAStepFails) {
    ZAVUV_SKIP_WITHOUT_FILE_SIZE_LIMIT();
    ScratchFolder folder;
    EXPECT_FALSE(writeFileAtomically(folder.file("missing/image.bin"), bytesOf("new")));

    // Renaming over a folder fails after the data was written.
    fs::create_directory(folder.file("taken.bin"));
    folder.write("taken.bin/inside", "kept");
    EXPECT_FALSE(writeFileAtomically(folder.file("taken.bin"), bytesOf("new")));
    EXPECT_EQ(ScratchFolder::read(folder.file("taken.bin/inside")), "kept");

    const auto path = folder.write("image.bin", "old contents");
    {
        FileSizeLimit limit(100);
        EXPECT_FALSE(writeFileAtomically(path, std::vector<std::uint8_t>(1000, 0x55)));
    }
    EXPECT_EQ(ScratchFolder::read(path), "old contents");
    EXPECT_EQ(folder.entries().size(), 2u) << "no temporary file left behind";
}
