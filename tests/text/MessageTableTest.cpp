#include <gtest/gtest.h>

#include <fmt/args.h>
#include <fmt/printf.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "PrintfConversions.h"
#include "text/UiText.h"

using namespace zavuv::text;
using zavuv::text::testing::printfConversions;
using zavuv::text::testing::printfConversionsPerLine;

namespace {

std::string_view leadingWhitespace(std::string_view text) {
    return text.substr(0, std::min(text.find_first_not_of(" \n"), text.size()));
}

std::string_view trailingWhitespace(std::string_view text) {
    const std::size_t last = text.find_last_not_of(" \n");
    return last == std::string_view::npos ? text : text.substr(last + 1);
}

// Arguments of the kinds the callers pass for each conversion.
fmt::dynamic_format_arg_store<fmt::printf_context>
argumentsFor(const std::vector<std::string>& conversions) {
    fmt::dynamic_format_arg_store<fmt::printf_context> arguments;
    for (const std::string& conversion : conversions) {
        switch (conversion.back()) {
        case 'd':
        case 'X':
            arguments.push_back(0x2A);
            break;
        case 'c':
            arguments.push_back('7');
            break;
        case 's':
            arguments.push_back("ATmega8");
            break;
        case '%':
            break;
        default:
            ADD_FAILURE() << "no caller passes an argument for " << conversion;
        }
    }
    return arguments;
}

}  // namespace

// The classic texts hold keys 1001..1199; texts ZAVUV added start at 1201.
TEST(MessageTable, HasOneHundredNinetyFiveClassicRowsAndUniqueKeys) {
    std::set<int> keys;
    int classic = 0;
    for (const MessageRow& row : messageTable()) {
        const int key = static_cast<int>(row.key);
        EXPECT_GE(key, 1001);
        EXPECT_NE(key, 1200);
        classic += key <= 1199 ? 1 : 0;
        EXPECT_TRUE(keys.insert(key).second) << "duplicate key " << key;
    }
    EXPECT_EQ(classic, 195);
}

TEST(MessageTable, EveryRowHasBothTexts) {
    for (const MessageRow& row : messageTable()) {
        SCOPED_TRACE(static_cast<int>(row.key));
        ASSERT_NE(row.english, nullptr);
        ASSERT_NE(row.russian, nullptr);
        EXPECT_STRNE(row.english, "");
        EXPECT_STRNE(row.russian, "");
        EXPECT_STRNE(row.russian, "TODO");
    }
}

// The callers pass one argument list for both languages, and the multi-line
// texts are laid out by line; so each line of the translation must take the
// same conversions as the original's line.
TEST(MessageTable, RussianTakesTheSameConversionsOnTheSameLines) {
    for (const MessageRow& row : messageTable()) {
        SCOPED_TRACE(static_cast<int>(row.key));
        const auto english = printfConversionsPerLine(row.english);
        const auto russian = printfConversionsPerLine(row.russian);
        ASSERT_TRUE(english.has_value()) << row.english;
        ASSERT_TRUE(russian.has_value()) << row.russian;
        EXPECT_EQ(*russian, *english) << row.russian;
    }
}

// Several texts are pieces joined to others (" (Serial number ...)",
// "\n  -  %s ...", " - lock mode ...\n"): their edges must survive translation.
TEST(MessageTable, RussianKeepsTheEdgesOfTheText) {
    for (const MessageRow& row : messageTable()) {
        SCOPED_TRACE(static_cast<int>(row.key));
        EXPECT_EQ(leadingWhitespace(row.russian), leadingWhitespace(row.english));
        EXPECT_EQ(trailingWhitespace(row.russian), trailingWhitespace(row.english));
    }
}

TEST(MessageTable, BothLanguagesFormatWithTheCallersArguments) {
    for (const MessageRow& row : messageTable()) {
        SCOPED_TRACE(static_cast<int>(row.key));
        const auto conversions = printfConversions(row.english);
        ASSERT_TRUE(conversions.has_value());
        const auto arguments = argumentsFor(*conversions);
        for (const char* text : {row.english, row.russian}) {
            std::string formatted;
            EXPECT_NO_THROW(formatted = fmt::vsprintf(fmt::string_view(text), arguments)) << text;
            if (conversions->empty()) {
                EXPECT_EQ(formatted, text);
            }
        }
    }
}
