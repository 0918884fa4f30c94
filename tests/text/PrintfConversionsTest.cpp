#include <gtest/gtest.h>

#include "PrintfConversions.h"

using zavuv::text::testing::printfConversions;
using zavuv::text::testing::printfConversionsPerLine;
using Conversions = std::vector<std::string>;

// The table checks are only as good as this parser: it must tell apart
// conversions that differ in any part and refuse the broken ones.
TEST(PrintfConversions, ReadsEveryPartOfADirective) {
    EXPECT_EQ(printfConversions("Checksum = 0x%04X, %d%% done"), (Conversions{"%04X", "%d", "%%"}));
    EXPECT_EQ(printfConversions("%-8.3ls|%+5hhd|%*c"), (Conversions{"%-8.3ls", "%+5hhd", "%*c"}));
    EXPECT_EQ(printfConversions("no conversions"), Conversions{});
    EXPECT_NE(printfConversions("%02X"), printfConversions("%2X"));
    EXPECT_NE(printfConversions("%d%%"), printfConversions("%%%d"));
}

TEST(PrintfConversions, RefusesIncompleteDirectives) {
    EXPECT_EQ(printfConversions("50%"), std::nullopt);
    EXPECT_EQ(printfConversions("50%!"), std::nullopt);
    EXPECT_EQ(printfConversions("%02"), std::nullopt);
    EXPECT_EQ(printfConversions("%5%"), std::nullopt);
}

TEST(PrintfConversions, SplitsAtLineBreaks) {
    EXPECT_EQ(printfConversionsPerLine("%s\nV: %d\n"),
              (std::vector<Conversions>{{"%s"}, {"%d"}, {}}));
    EXPECT_NE(printfConversionsPerLine("%s %d\n"), printfConversionsPerLine("%s\n%d"));
    EXPECT_EQ(printfConversionsPerLine("ok\n%"), std::nullopt);
}
