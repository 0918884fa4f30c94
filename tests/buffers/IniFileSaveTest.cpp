#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "buffers/IniFile.h"
#include "support/FileSizeLimit.h"
#include "support/ScratchFolder.h"

using zavuv::buffers::IniFile;
using zavuv::testing::FileSizeLimit;
using zavuv::testing::ScratchFolder;
namespace fs = std::filesystem;

namespace {

class IniFileOnDisk : public ::testing::Test {
protected:
    static std::string contents(const fs::path& path) {
        return ScratchFolder::read(zavuv::base::utf8Name(path));
    }
    static std::optional<IniFile> load(const fs::path& path) {
        return IniFile::load(zavuv::base::utf8Name(path));
    }
    static bool save(const IniFile& file, const fs::path& path) {
        return file.save(zavuv::base::utf8Name(path));
    }
    void put(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    // Only the files the test made itself: no temporary is left behind.
    std::size_t fileCount() const { return scratch_.entries().size(); }

    ScratchFolder scratch_;
    const fs::path folder_ = scratch_.file("");
};

}  // namespace

TEST_F(IniFileOnDisk, SavedBytesLoadBackUnchanged) {
    const fs::path path = folder_ / "\xD0\xBF\xD1\x80\xD0\xBE\xD0\xB5\xD0\xBA\xD1\x82 1.kb2";
    const std::string text = "; c\r\n[Files]\r\nFlash=/a/\xC3\xA9.hex\r\n\r\n";
    put(path, text);
    std::optional<IniFile> file = load(path);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->writeInt("Device", "DeviceNo", 3));
    ASSERT_TRUE(save(*file, path));
    EXPECT_EQ(contents(path), text + "[Device]\r\nDeviceNo=3\r\n");
    EXPECT_EQ(fileCount(), 1u);
}

TEST_F(IniFileOnDisk, MissingFileIsEmptyAndOtherThingsAreRefused) {
    std::optional<IniFile> missing = load(folder_ / "none.ini");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->text(), "");

    EXPECT_FALSE(load(folder_));

    const fs::path huge = folder_ / "huge.kb2";
    put(huge, "");
    fs::resize_file(huge, zavuv::buffers::kMaxIniFileBytes + 1);
    EXPECT_FALSE(load(huge));
}

TEST_F(IniFileOnDisk, FailedSaveLeavesTheOldFileIntact) {
    IniFile file = IniFile::fromText("[A]\nK=new\n");

    EXPECT_FALSE(save(file, folder_ / "no such folder" / "p.kb2"));

    const fs::path directory = folder_ / "p.kb2";
    fs::create_directory(directory);
    put(directory / "inside", "old");
    EXPECT_FALSE(save(file, directory));
    EXPECT_EQ(contents(directory / "inside"), "old");
    EXPECT_EQ(fileCount(), 1u);
}

TEST_F(IniFileOnDisk, WriteFailingMidwayLeavesTheOldFileIntact) {
    ZAVUV_SKIP_WITHOUT_FILE_SIZE_LIMIT();
    // A file size limit makes the write fail as a full disk would.
    const fs::path path = folder_ / "p.kb2";
    put(path, "[A]\nK=old\n");
    IniFile file;
    ASSERT_TRUE(file.writeString("A", "K", std::string(64 * 1024, 'x')));

    bool savedOk = true;
    {
        const FileSizeLimit limit(1024);
        savedOk = save(file, path);
    }

    EXPECT_FALSE(savedOk);
    EXPECT_EQ(contents(path), "[A]\nK=old\n");
    EXPECT_EQ(fileCount(), 1u);
}

TEST_F(IniFileOnDisk, SaveKeepsPermissionsAndFollowsLinks) {
#ifdef _WIN32
    GTEST_SKIP() << "file modes, and symbolic links, which wine cannot make";
#else
    const fs::path real = folder_ / "real.ini";
    const fs::path link = folder_ / "link.ini";
    put(real, "[A]\nK=1\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, link);

    std::optional<IniFile> file = load(link);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->writeInt("A", "K", 2));
    ASSERT_TRUE(save(*file, link));

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(real), "[A]\nK=2\n");
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(fileCount(), 2u);
#endif
}
