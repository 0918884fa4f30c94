#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "LanguageFixture.h"
#include "Utf8.h"
#include "text/UiText.h"

using namespace zavuv::text;
using zavuv::text::testing::isValidUtf8;
using zavuv::text::testing::LanguageFixture;

class TranslatedDialog : public LanguageFixture {};

namespace {

// What a window shows after the record's rows were applied in order.
std::map<int, std::string> appliedCaptions(const DialogCaptions& dialog) {
    std::map<int, std::string> shown;
    for (const CaptionRow& row : dialog.rows)
        shown[row.controlId] = inLanguage(row.english, row.russian);
    return shown;
}

void expectValidUtf8(const char* text) {
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(isValidUtf8(text)) << text;
}

}  // namespace

TEST(DialogCaptionTable, HasTheNineDialogsInOrderWithTheirRowCounts) {
    std::vector<std::pair<int, std::size_t>> shape;
    for (const DialogCaptions& dialog : dialogCaptionTable())
        shape.emplace_back(dialog.dialogId, dialog.rows.size());
    const std::vector<std::pair<int, std::size_t>> expected{{138, 30}, {130, 6},  {132, 8},
                                                            {148, 4},  {102, 11}, {129, 1},
                                                            {140, 10}, {149, 4},  {150, 11}};
    EXPECT_EQ(shape, expected);
}

TEST(DialogCaptionTable, UnknownDialogKeepsItsTemplateTexts) {
    EXPECT_EQ(findDialogCaptions(139), nullptr);
    EXPECT_EQ(findDialogCaptions(0), nullptr);
}

TEST_F(TranslatedDialog, LaterRowForTheSameControlWins) {
    const DialogCaptions* dialog = findDialogCaptions(150);
    ASSERT_NE(dialog, nullptr);
    std::vector<std::string> rowsFor1155;
    for (const CaptionRow& row : dialog->rows)
        if (row.controlId == 1155)
            rowsFor1155.emplace_back(row.english);
    EXPECT_EQ(rowsFor1155, (std::vector<std::string>{"", "-"}));

    for (Language language : {Language::English, Language::Russian}) {
        setLanguage(language);
        const auto shown = appliedCaptions(*dialog);
        EXPECT_EQ(shown.at(1155), "-");
        EXPECT_EQ(shown.at(1157), "-");
    }
}

TEST_F(TranslatedDialog, AboutBoxNamesTheProgrammerInRussian) {
    const DialogCaptions* about = findDialogCaptions(132);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(appliedCaptions(*about).at(1104), "In-System Programmer");
    setLanguage(Language::Russian);
    EXPECT_STREQ(inLanguage(about->englishTitle, about->russianTitle), "О программе");
    EXPECT_EQ(appliedCaptions(*about).at(1104), "Внутрисхемный программатор ZAVUV");
}

TEST(MenuCaptionTable, HasFortyThreeRowsWithUniqueIds) {
    // The 42 of the classic menu and the board search's.
    const auto rows = menuCaptionTable();
    EXPECT_EQ(rows.size(), 43u);
    std::set<int> ids;
    for (const MenuCaptionRow& row : rows)
        EXPECT_TRUE(ids.insert(row.id).second) << "duplicate id " << row.id;
}

TEST(TextTables, EveryTextIsValidUtf8) {
    for (const MessageRow& row : messageTable()) {
        SCOPED_TRACE(static_cast<int>(row.key));
        expectValidUtf8(row.english);
        expectValidUtf8(row.russian);
    }
    for (const DialogCaptions& dialog : dialogCaptionTable()) {
        SCOPED_TRACE(dialog.dialogId);
        expectValidUtf8(dialog.englishTitle);
        expectValidUtf8(dialog.russianTitle);
        for (const CaptionRow& row : dialog.rows) {
            SCOPED_TRACE(row.controlId);
            expectValidUtf8(row.english);
            expectValidUtf8(row.russian);
        }
    }
    for (const MenuCaptionRow& row : menuCaptionTable()) {
        SCOPED_TRACE(row.id);
        expectValidUtf8(row.english);
        expectValidUtf8(row.russian);
    }
}

TEST(Utf8Check, RefusesMalformedSequences) {
    EXPECT_TRUE(isValidUtf8("Отмена, ok"));
    EXPECT_FALSE(isValidUtf8("\xCE\xF2\xEC\xE5\xED\xE0"));  // Windows-1251 "Отмена"
    EXPECT_FALSE(isValidUtf8("\xD0"));                      // cut short
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));                  // overlong '/'
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));              // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));          // above U+10FFFF
}
