#include <gtest/gtest.h>

#include <string>

#include "LanguageFixture.h"
#include "text/UiText.h"

using namespace zavuv::text;
using zavuv::text::testing::LanguageFixture;

class UiTextLookup : public LanguageFixture {};

TEST_F(UiTextLookup, MessageFollowsTheLanguageFlag) {
    EXPECT_EQ(language(), Language::English);
    EXPECT_STREQ(GetUiText(Msg::ProgrammingCancelled), "Programming cancelled");
    setLanguage(Language::Russian);
    EXPECT_STREQ(GetUiText(Msg::ProgrammingCancelled), "Программирование отменено");
    setLanguage(Language::English);
    EXPECT_STREQ(GetUiText(Msg::ProgrammingCancelled), "Programming cancelled");
}

TEST_F(UiTextLookup, KeyWithoutRowIsNotTranslatedInEitherLanguage) {
    for (Language language : {Language::English, Language::Russian}) {
        setLanguage(language);
        EXPECT_STREQ(GetUiText(static_cast<Msg>(1102)), "NOT TRANSLATED");
        EXPECT_STREQ(GetUiText(static_cast<Msg>(1000)), "NOT TRANSLATED");
        EXPECT_STREQ(GetUiText(static_cast<Msg>(1200)), "NOT TRANSLATED");
    }
}

TEST_F(UiTextLookup, RussianDisconnectWarningAdvisesARestartOnOneLine) {
    setLanguage(Language::Russian);
    const std::string text = GetUiText(Msg::IncorrectDisconnection);
    EXPECT_NE(text.find("Рекомендуется перезапустить программатор."), std::string::npos);
    EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST_F(UiTextLookup, MenuCaptionFollowsTheLanguageFlag) {
    EXPECT_STREQ(menuCaption(32779), "&Empty Check...");
    EXPECT_STREQ(menuCaption(-5), "&Help");
    setLanguage(Language::Russian);
    EXPECT_STREQ(menuCaption(32779), "Проверка на &чистоту...");
    EXPECT_STREQ(menuCaption(-5), "П&омощь");
}

TEST(MenuCaption, IdWithoutRowGivesNothing) {
    EXPECT_EQ(menuCaption(12345), nullptr);
    EXPECT_EQ(menuCaption(-1), nullptr);  // "&Flash" keeps its caption
    EXPECT_EQ(menuCaption(-2), nullptr);  // "&Eeprom" keeps its caption
}

TEST_F(UiTextLookup, FormatFillsThePlaceholders) {
    EXPECT_EQ(formatUiText(Msg::FlashLength, 20, 20, 0x1234),
              "Flash length: 20 (0x14) bytes, Checksum = 0x1234");
    EXPECT_EQ(formatUiText(Msg::PercentCompleted, 45), "45% completed");
    EXPECT_EQ(formatUiText(Msg::VersionConflict, '1', '0', '8', '1', '0', '9'),
              "Version conflict.\nFW version: 1.08\nRequired version 1.09.\n"
              "Update version and try again.");
    EXPECT_EQ(formatUiText(Msg::ErasedWithSignature, 0x1E, 0x93, 0x07, "ATmega8"),
              "Chip erased; signature: 1E 93 07 - ATmega8");
    setLanguage(Language::Russian);
    EXPECT_EQ(formatUiText(Msg::PercentCompleted, 45), "45% завершено");
}

TEST(FormatUiText, KeyWithoutRowFormatsAsNotTranslated) {
    EXPECT_EQ(formatUiText(static_cast<Msg>(1102), 7), "NOT TRANSLATED");
}
