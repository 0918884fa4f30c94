#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include "cli/CliTesting.h"

using zavuv::testing::CliRun;
using zavuv::testing::ScratchFolder;

namespace {
const char kTwentyBytesHex[] =
    ":10000000000102030405060708090A0B0C0D0E0F78\r\n:0400100010111213A6\r\n:00000001FF\r\n";
}

TEST(CliConvert, HexToBinaryAndBack) {
    CliRun cli;
    const auto& f = cli.folder();
    const std::string hex = f.write("in.hex", kTwentyBytesHex);
    auto result = cli({"convert", hex, f.file("out.bin")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Flash length: 20 (0x14) bytes, Checksum = 0x00BE\n");
    EXPECT_EQ(result.err, "");
    std::string expected;
    for (int i = 0; i < 20; ++i)
        expected.push_back(static_cast<char>(i));
    EXPECT_EQ(ScratchFolder::read(f.file("out.bin")), expected);

    result = cli({"convert", f.file("out.bin"), f.file("back.HEX")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ScratchFolder::read(f.file("back.HEX")), kTwentyBytesHex);
}

// Names outside the system's code page: on Windows they reach the program only
// through its wide command line and the wide file calls.
TEST(CliConvert, FileNamesInAnyScript) {
    CliRun cli;
    const auto& f = cli.folder();
    const std::string hex = f.write("прошивка.hex", kTwentyBytesHex);
    const auto result = cli({"convert", hex, f.file("вывод.bin")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ScratchFolder::read(f.file("вывод.bin")).size(), 20u);
    const auto missing = cli({"convert", f.file("нет.hex"), f.file("x.bin")});
    EXPECT_EQ(missing.err, "message: Cannot read file '" + f.file("нет.hex") + "'\n");
}

TEST(CliConvert, EepromBufferIsNotPaddedAndReportsItsOwnLength) {
    CliRun cli;
    const auto& f = cli.folder();
    const std::string bin = f.write("e.bin", std::string("\x01\x02\x03", 3));
    auto result = cli({"convert", "--eeprom", bin, f.file("e.eep")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Eeprom length: 3 (0x3) bytes, Checksum = 0x0006\n");
    EXPECT_EQ(ScratchFolder::read(f.file("e.eep")), ":03000000010203F7\r\n:00000001FF\r\n");
    result = cli({"convert", bin, f.file("f.bin")});
    EXPECT_EQ(ScratchFolder::read(f.file("f.bin")), std::string("\x01\x02\x03\xFF", 4));
}

TEST(CliConvert, TextsFollowTheLanguageOfTheOptionOrElseTheProfile) {
#ifdef _WIN32
    GTEST_SKIP() << "the system's reason is in its own words on Windows";
#else
    CliRun cli;
    const auto& f = cli.folder();
    const std::string bin = f.write("e.bin", std::string("\x01", 1));
    const std::string english =
        "message: Cannot save file " + f.file("missing/x.bin") + ": No such file or directory\n";
    auto result = cli({"convert", bin, f.file("missing/x.bin")});
    EXPECT_EQ(result.err, english);
    result = cli({"--lang", "ru", "convert", bin, f.file("missing/x.bin")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err.rfind("message: ", 0), 0u);
    EXPECT_NE(result.err, english);
    f.write("profile.ini", "[Language]\nRussian=1\n");
    const std::string russian = result.err;
    EXPECT_EQ(cli({"convert", bin, f.file("missing/x.bin")}).err, russian);
    EXPECT_EQ(cli({"--lang", "en", "convert", bin, f.file("missing/x.bin")}).err, english);
#endif
}

TEST(CliConvert, FormatQuestionFollowsYesAndNo) {
    CliRun cli;
    const auto& f = cli.folder();
    const std::string bin = f.write("in.bin", std::string("\xAA", 1));
    auto result = cli({"--yes", "convert", bin, f.file("a.dat")});
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "question: Would you like to save '" + f.file("a.dat") +
                              "' in Intel HEX format?\nanswer: yes\n");
    EXPECT_EQ(ScratchFolder::read(f.file("a.dat")).substr(0, 1), ":");
    // Without --yes and without a terminal the answer is No: binary.
    result = cli({"convert", bin, f.file("b.dat")});
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_NE(result.err.find("answer: no"), std::string::npos);
    EXPECT_EQ(ScratchFolder::read(f.file("b.dat")), std::string("\xAA\xFF", 2));
}

TEST(CliConvert, ChecksumQuestionDecidesWhetherTheFileLoads) {
    CliRun cli;
    const auto& f = cli.folder();
    const std::string bad = f.write("bad.hex", ":0100000055AB\n:00000001FF\n");
    auto result = cli({"-y", "convert", bad, f.file("y.bin")});
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(ScratchFolder::read(f.file("y.bin")), std::string("\x55\xFF", 2));
    // No refuses the file: it is never taken byte for byte.
    result = cli({"-n", "convert", bad, f.file("n.bin")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(f.file("n.bin")));
}

TEST(CliConvert, WritesSRecordsByTheExtensionAndReadsThemBack) {
    CliRun cli;
    const auto& f = cli.folder();
    const std::string eep = f.write("app.eep", ":02000004008179\r\n:03001000A55A01ED\r\n"
                                               ":00000001FF\r\n");
    ASSERT_EQ(cli({"convert", "--eeprom", eep, f.file("app.s19")}).exitCode, 0);
    const std::string srec = ScratchFolder::read(f.file("app.s19"));
    EXPECT_NE(srec.find("\r\nS1"), std::string::npos) << srec;
    ASSERT_EQ(cli({"convert", "--eeprom", f.file("app.s19"), f.file("back.bin")}).exitCode, 0);
    EXPECT_EQ(ScratchFolder::read(f.file("back.bin")),
              std::string(16, '\xFF') + std::string("\xA5\x5A\x01", 3));
    // Cut short: refused, nothing written.
    const std::string cut = f.write("cut.hex", ":0400000001020304F2\r\n");
    const auto result = cli({"convert", cut, f.file("cut.bin")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "message: Error in HEX file\n");
    EXPECT_FALSE(std::filesystem::exists(f.file("cut.bin")));
}

TEST(CliConvert, LoadAtMergesFilesAtTheirAddresses) {
    CliRun cli;
    const auto& f = cli.folder();
    const std::string base = f.write("base.bin", std::string("\x01\x02", 2));
    const std::string tail = f.write("tail.bin", std::string("\x09\x08", 2));
    const auto result = cli({"convert", base, f.file("out.bin"), "--load-at", tail + "@0x4"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ScratchFolder::read(f.file("out.bin")), std::string("\x01\x02\xFF\xFF\x09\x08", 6));
    EXPECT_EQ(cli({"convert", base, f.file("x.bin"), "--load-at", tail + "@-1"}).exitCode, 2);
    EXPECT_EQ(cli({"convert", base, f.file("x.bin"), "--load-at", tail}).exitCode, 2);
}

TEST(CliConvert, FileErrorsExitWithTwoAndKeepTheTarget) {
    CliRun cli;
    const auto& f = cli.folder();
    auto result = cli({"convert", f.file("missing.hex"), f.file("out.bin")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "message: Cannot read file '" + f.file("missing.hex") + "'\n");
    EXPECT_EQ(result.out, "");

    const std::string in = f.write("in.bin", std::string("\x01\x02", 2));
    const std::string old = f.write("old.bin", "old content");
    std::filesystem::create_directory(f.file("old.bin.d"));
    result = cli({"convert", in, f.file("old.bin.d")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "question: Would you like to save '" + f.file("old.bin.d") +
                              "' in Intel HEX format?\nanswer: no\nmessage: Cannot save file " +
                              f.file("old.bin.d") + ": Is a directory\n");
    EXPECT_EQ(ScratchFolder::read(old), "old content");
}

// A target that is no regular file is written in place, as other tools write
// to it: a device stays a device, a FIFO a FIFO, a link a link.
TEST(CliConvert, SpecialTargetsAreWrittenInPlace) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX devices, owners and modes";
#else
    CliRun cli;
    const auto& f = cli.folder();
    const std::string hex = f.write("in.hex", kTwentyBytesHex);
    const std::string null = f.file("null");
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "no device nodes can be made here";
    std::filesystem::create_symlink(null, f.file("null.link"));
    for (const std::string& target : {null, f.file("null.link")}) {
        const auto result = cli({"convert", hex, target});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_TRUE(std::filesystem::is_character_file(null));
    }
    EXPECT_TRUE(std::filesystem::is_symlink(f.file("null.link")));

    const std::string fifo = f.file("fifo.bin");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = ScratchFolder::read(fifo); });
    const auto result = cli({"convert", hex, fifo});
    reader.join();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(received.size(), 20u);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
#endif
}

// With the data on standard output the status line goes to standard error.
TEST(CliConvert, DataToStandardOutput) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no name for standard output to save to";
#else
    CliRun cli;
    const std::string hex = cli.folder().write("in.hex", kTwentyBytesHex);
    for (const char* target : {"-", "/dev/stdout"}) {
        const auto result = cli({"convert", hex, target});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out.size(), 20u) << target;
        EXPECT_TRUE(result.err.ends_with("answer: no\nFlash length: 20 (0x14) bytes, Checksum = "
                                         "0x00BE\n"))
            << result.err;
    }
#endif
}

TEST(CliConvert, AFullDiskIsAnError) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX devices, owners and modes";
#else
    CliRun cli;
    const std::string hex = cli.folder().write("in.hex", kTwentyBytesHex);
    const auto result = cli({"convert", hex, "/dev/full"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(
        result.err.ends_with("message: Cannot save file /dev/full: No space left on device\n"))
        << result.err;
    EXPECT_EQ(result.out, "");
#endif
}

// A save by root keeps the user's file the user's.
TEST(CliConvert, ReplacedFileKeepsOwnerGroupAndMode) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX devices, owners and modes";
#else
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file away";
    CliRun cli;
    const std::string hex = cli.folder().write("in.hex", kTwentyBytesHex);
    const std::string out = cli.folder().write("out.bin", "old");
    ASSERT_EQ(::chown(out.c_str(), 1234, 2345), 0);
    ASSERT_EQ(::chmod(out.c_str(), 0640), 0);
    const auto result = cli({"convert", hex, out});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    struct stat after;
    ASSERT_EQ(::stat(out.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, 1234u);
    EXPECT_EQ(after.st_gid, 2345u);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(ScratchFolder::read(out).size(), 20u);
#endif
}

// Every exit 2 says why.
TEST(CliConvert, NothingToConvertIsSaid) {
    CliRun cli;
    const auto& f = cli.folder();
    const std::string empty = f.write("empty.bin", "");
    const std::string endOnly = f.write("end.hex", ":00000001FF\r\n");
    for (const std::string& in : {empty, endOnly}) {
        const auto result = cli({"convert", in, f.file("out.bin")});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err,
                  "message: The image from '" + in + "' holds no data: nothing to save\n");
    }
    auto result = cli({"convert", "", f.file("out.bin")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "message: Cannot read file ''\n");
    EXPECT_FALSE(std::filesystem::exists(f.file("out.bin")));

    // A merge refused (beyond the image limit) is a failure, of the same file too.
    const std::string hex = f.write("in.hex", kTwentyBytesHex);
    result = cli({"convert", hex, f.file("out.bin"), "--load-at", hex + "@0x7FFFFFFF"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("message: "), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(f.file("out.bin")));
}
