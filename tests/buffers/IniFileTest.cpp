#include <gtest/gtest.h>

#include <climits>

#include "buffers/IniFile.h"

using zavuv::buffers::IniFile;

namespace {

const char* const kProject = "; written by hand\n"
                             "[Files]\n"
                             "Flash=C:\\work\\main.hex\n"
                             "Unknown = kept\n"
                             "\n"
                             "; about settings\n"
                             "[Settings]\n"
                             "  SPIPeriod =  3  \n"
                             "Polling=1\n"
                             "\n";

}  // namespace

TEST(IniFileRead, NamesIgnoreCaseAndWhitespaceAroundNamesAndValues) {
    const IniFile file = IniFile::fromText(kProject);
    EXPECT_EQ(file.readString("files", "FLASH", "x"), "C:\\work\\main.hex");
    EXPECT_EQ(file.readString(" Files ", "unknown", "x"), "kept");
    EXPECT_EQ(file.readInt("SETTINGS", "spiperiod", 0), 3);
    EXPECT_TRUE(file.hasKey("Settings", "Polling"));
    EXPECT_FALSE(file.hasKey("Settings", "Flash"));
    EXPECT_FALSE(file.hasKey("Nowhere", "Flash"));
    EXPECT_EQ(file.readString("Files", "Eeprom", "[Unspecified]"), "[Unspecified]");
}

TEST(IniFileRead, OnlyKeyLinesInsideASectionHoldKeys) {
    const IniFile file = IniFile::fromText("Orphan=1\n"
                                           "[A]\n"
                                           ";Commented=1\n"
                                           "NoEquals\n"
                                           "[B\n"
                                           "Real=2\n"
                                           "Empty=\n");
    EXPECT_FALSE(file.hasKey("", "Orphan"));
    EXPECT_FALSE(file.hasKey("A", ";Commented"));
    EXPECT_FALSE(file.hasKey("A", "Commented"));
    EXPECT_FALSE(file.hasKey("A", "NoEquals"));
    // "[B" has no closing bracket, so it is not a header and Real stays in A.
    EXPECT_EQ(file.readInt("A", "Real", 0), 2);
    EXPECT_TRUE(file.hasKey("A", "Empty"));
    EXPECT_EQ(file.readString("A", "Empty", "default"), "");
}

// A CRLF file cut before its last line feed: the lone carriage return is no
// part of the value, neither now nor after a write has ended that line.
TEST(IniFileRead, ACarriageReturnBelongsToNoNameOrValue) {
    IniFile file = IniFile::fromText("[A]\r\nK=1\r\n[B]\r\nL=two\r");
    EXPECT_EQ(file.readString("B", "L", ""), "two");
    ASSERT_TRUE(file.writeString("C", "M", "3"));
    const IniFile saved = IniFile::fromText(file.text());
    EXPECT_EQ(saved.readString("B", "L", ""), "two");
    EXPECT_EQ(saved.readString("C", "M", ""), "3");
}

TEST(IniFileRead, FirstOccurrenceWins) {
    IniFile file = IniFile::fromText("[A]\nK=1\nK=2\n[a]\nK=3\nL=4\n");
    EXPECT_EQ(file.readInt("A", "K", 0), 1);
    EXPECT_EQ(file.readInt("A", "L", 0), 4);
    ASSERT_TRUE(file.writeInt("A", "K", 9));
    ASSERT_TRUE(file.writeInt("A", "L", 8));
    EXPECT_EQ(file.text(), "[A]\nK=9\nK=2\n[a]\nK=3\nL=8\n");
}

TEST(IniFileRead, IntegersAreTheLeadingDecimalNumber) {
    const IniFile file = IniFile::fromText("[N]\n"
                                           "Trailing=12abc\n"
                                           "Letters=abc\n"
                                           "Negative=-5\n"
                                           "Spaced= 42 \n"
                                           "Dash=-\n"
                                           "Plus=+7\n"
                                           "Blank=\n"
                                           "Hex=0x1F\n"
                                           "Huge=99999999999\n"
                                           "HugeNegative=-99999999999\n"
                                           "Smallest=-2147483648\n");
    EXPECT_EQ(file.readInt("N", "Trailing", 99), 12);
    EXPECT_EQ(file.readInt("N", "Letters", 99), 99);
    EXPECT_EQ(file.readInt("N", "Negative", 99), -5);
    EXPECT_EQ(file.readInt("N", "Spaced", 99), 42);
    EXPECT_EQ(file.readInt("N", "Dash", 99), 99);
    EXPECT_EQ(file.readInt("N", "Plus", 99), 99);
    EXPECT_EQ(file.readInt("N", "Blank", 99), 99);
    EXPECT_EQ(file.readInt("N", "Hex", 99), 0);
    EXPECT_EQ(file.readInt("N", "Missing", 99), 99);
    EXPECT_EQ(file.readInt("N", "Huge", 0), INT_MAX);
    EXPECT_EQ(file.readInt("N", "HugeNegative", 0), INT_MIN);
    EXPECT_EQ(file.readInt("N", "Smallest", 0), INT_MIN);
}

TEST(IniFileWrite, ReplacingAKeyKeepsEveryOtherLine) {
    IniFile file = IniFile::fromText(kProject);
    ASSERT_TRUE(file.writeString("files", "flash", "D:\\new.hex"));
    ASSERT_TRUE(file.writeInt("Settings", "SPIPeriod", -7));
    EXPECT_EQ(file.text(), "; written by hand\n"
                           "[Files]\n"
                           "Flash=D:\\new.hex\n"
                           "Unknown = kept\n"
                           "\n"
                           "; about settings\n"
                           "[Settings]\n"
                           "SPIPeriod=-7\n"
                           "Polling=1\n"
                           "\n");
}

TEST(IniFileWrite, NewKeyGoesAfterTheLastKeyOfItsSection) {
    IniFile file = IniFile::fromText(kProject);
    ASSERT_TRUE(file.writeString("Files", "Eeprom", "[Unspecified]"));
    ASSERT_TRUE(file.writeInt("Settings", "CheckSign", 1));
    EXPECT_EQ(file.text(), "; written by hand\n"
                           "[Files]\n"
                           "Flash=C:\\work\\main.hex\n"
                           "Unknown = kept\n"
                           "Eeprom=[Unspecified]\n"
                           "\n"
                           "; about settings\n"
                           "[Settings]\n"
                           "  SPIPeriod =  3  \n"
                           "Polling=1\n"
                           "CheckSign=1\n"
                           "\n");
}

TEST(IniFileWrite, NewKeyInASectionWithoutKeysFollowsItsHeader) {
    IniFile file = IniFile::fromText("[Empty]\n\n[Next]\nA=1\n");
    ASSERT_TRUE(file.writeInt("Empty", "B", 2));
    EXPECT_EQ(file.text(), "[Empty]\nB=2\n\n[Next]\nA=1\n");
}

TEST(IniFileWrite, NewSectionGoesAtTheEndOfTheFile) {
    IniFile file = IniFile::fromText(kProject);
    ASSERT_TRUE(file.writeInt("Device", "DeviceNo", 12));
    EXPECT_EQ(file.text(), std::string(kProject) + "[Device]\nDeviceNo=12\n");

    IniFile unterminated = IniFile::fromText("[A]\nK=1");
    ASSERT_TRUE(unterminated.writeInt("B", "L", 2));
    EXPECT_EQ(unterminated.text(), "[A]\nK=1\n\n[B]\nL=2\n");

    IniFile empty;
    ASSERT_TRUE(empty.writeString("Recent", "Project1", "a.kb2"));
#ifdef _WIN32
    EXPECT_EQ(empty.text(), "[Recent]\r\nProject1=a.kb2\r\n");
#else
    EXPECT_EQ(empty.text(), "[Recent]\nProject1=a.kb2\n");
#endif
}

TEST(IniFileWrite, AnUnterminatedLastLineStaysUnterminated) {
    IniFile file = IniFile::fromText("[A]\nK=1");
    ASSERT_TRUE(file.writeInt("A", "L", 2));
    EXPECT_EQ(file.text(), "[A]\nK=1\nL=2");
}

TEST(IniFileWrite, CrlfFilesStayCrlf) {
    IniFile file = IniFile::fromText("[A]\r\nK=1\r\n\r\n[B]\r\nX=1\r\n");
    ASSERT_TRUE(file.writeInt("A", "K", 5));
    ASSERT_TRUE(file.writeInt("A", "New", 6));
    ASSERT_TRUE(file.writeInt("C", "Y", 7));
    EXPECT_EQ(file.text(), "[A]\r\nK=5\r\nNew=6\r\n\r\n[B]\r\nX=1\r\n\r\n[C]\r\nY=7\r\n");
}

TEST(IniFileWrite, TheFileKeepsItsSpellingOfAKey) {
    IniFile file = IniFile::fromText("[AutoProgram]\nFUSE5=0\n");
    ASSERT_TRUE(file.writeInt("autoprogram", "Fuse5", 1));
    EXPECT_EQ(file.text(), "[AutoProgram]\nFUSE5=1\n");
}

TEST(IniFileWrite, TextThatCannotStandInALineIsRefused) {
    const std::string original = "[A]\nK=1\n";
    IniFile file = IniFile::fromText(original);
    EXPECT_FALSE(file.writeString("A", "K", "two\nlines"));
    EXPECT_FALSE(file.writeString("A", "K", "carriage\rreturn"));
    EXPECT_FALSE(file.writeString("A]", "K", "v"));
    EXPECT_FALSE(file.writeString("", "K", "v"));
    EXPECT_FALSE(file.writeString("A", "", "v"));
    EXPECT_FALSE(file.writeString("A", "K=", "v"));
    EXPECT_FALSE(file.writeString("A", "[K", "v"));
    EXPECT_FALSE(file.writeString("A", ";K", "v"));
    EXPECT_EQ(file.text(), original);
}

TEST(IniFileWrite, BytesAndByteOrderMarkRoundTrip) {
    const std::string utf8Path = "/home/\xD0\xBF\xD1\x80\xD0\xBE\xD0\xB5\xD0\xBA\xD1\x82/a b.hex";
    IniFile file = IniFile::fromText("\xEF\xBB\xBF[Files]\nFlash=x\n");
    EXPECT_EQ(file.readString("Files", "Flash", ""), "x");
    ASSERT_TRUE(file.writeString("Files", "Flash", utf8Path));
    EXPECT_EQ(file.text(), "\xEF\xBB\xBF[Files]\nFlash=" + utf8Path + "\n");
    EXPECT_EQ(IniFile::fromText(file.text()).readString("Files", "Flash", ""), utf8Path);
}

TEST(IniFileWrite, LongValuesAreNotCut) {
    const std::string longPath = "/" + std::string(5000, 'p') + ".hex";
    IniFile file;
    ASSERT_TRUE(file.writeString("Files", "Flash", longPath));
    EXPECT_EQ(IniFile::fromText(file.text()).readString("Files", "Flash", ""), longPath);
}
