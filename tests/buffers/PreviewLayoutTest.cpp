#include <gtest/gtest.h>

#include <set>

#include "buffers/OemGlyphs.h"
#include "buffers/PreviewLayout.h"

using namespace zavuv::buffers;

namespace {

constexpr int kW = 12;
constexpr int kH = 16;
constexpr int kDigit = 6;

}  // namespace

TEST(PreviewLayout, SwappedViewShowsEveryByteOnceAndNeverPastTheEnd) {
    EXPECT_EQ(bufferIndexOf(0, true, 4), 1u);
    EXPECT_EQ(bufferIndexOf(1, true, 4), 0u);
    EXPECT_EQ(bufferIndexOf(5, false, 4), 5u);
    // Odd size: the last byte has no partner and stays where it is.
    std::set<std::size_t> shown;
    for (std::size_t i = 0; i < 7; ++i) {
        const std::size_t index = bufferIndexOf(i, true, 7);
        EXPECT_LT(index, 7u) << i;
        shown.insert(index);
    }
    EXPECT_EQ(shown.size(), 7u);
    EXPECT_EQ(bufferIndexOf(6, true, 7), 6u);
}

TEST(PreviewLayout, ClicksHitTheHexAndCharacterCellsOfTheLinesShown) {
    const PreviewLayout layout(kW, kH, kDigit, 1000);
    const int row1 = 2 * kH + 2 + 1;  // inside data row 1
    // First pixel of the hex area, last pixel of the hex area.
    auto hit = layout.hitTest(3 * kW + 2, row1, 0, 1000);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->displayIndex, 16u);
    EXPECT_EQ(hit->mode, EditMode::HighDigit);
    hit = layout.hitTest(35 * kW + 1, row1, 0, 1000);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->displayIndex, 31u);
    // The character area, scrolled down by 10 lines.
    hit = layout.hitTest(36 * kW + 6, row1, 10, 1000);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->displayIndex, 11u * 16 + 1);
    EXPECT_EQ(hit->mode, EditMode::Character);

    // Heading, address column, the gap between the areas, right of the last column.
    EXPECT_FALSE(layout.hitTest(100, kH + 1, 0, 1000));
    EXPECT_FALSE(layout.hitTest(3 * kW, row1, 0, 1000));
    EXPECT_FALSE(layout.hitTest(35 * kW + 3, row1, 0, 1000));
    EXPECT_FALSE(layout.hitTest(51 * kW + 6, row1, 0, 1000));
    // A cell past the end of the buffer.
    EXPECT_TRUE(layout.hitTest(3 * kW + 2, row1, 0, 17));
    EXPECT_FALSE(layout.hitTest(5 * kW + 2, row1, 0, 17));
}

TEST(PreviewLayout, TheScrollRangeReachesTheLastLineOfAnyBuffer) {
    const PreviewLayout layout(kW, kH, kDigit, 0);
    const int height = 3 + kH + 10 * kH;  // heading plus ten lines
    EXPECT_EQ(layout.visibleLines(height), 10);
    EXPECT_EQ(layout.scrollMaximum(160, height), 0);
    EXPECT_EQ(layout.scrollMaximum(161, height), 1);
    // 600 KB: 38400 lines, beyond the old 32768-line cap.
    EXPECT_EQ(layout.scrollMaximum(600 * 1024, height), 38400 - 10);
    // The largest DataFlash.
    EXPECT_EQ(layout.scrollMaximum(8650752, height), 8650752 / 16 - 10);
}

TEST(PreviewLayout, TheWidestAddressClearsTheFocusFrameAndEveryPixelOfACellHitsItsByte) {
    EXPECT_EQ(PreviewLayout::addressDigits(0), 5);
    EXPECT_EQ(PreviewLayout::addressDigits(0x100000), 5);
    EXPECT_EQ(PreviewLayout::addressDigits(0x100001), 6);
    EXPECT_EQ(PreviewLayout::addressDigits(8650752), 6);

    constexpr int kFocusFrame = 3;
    struct Metrics {
        int w, h, digit;
    };
    // A digit of 6 pixels in a 10-pixel cell (96 DPI), the same font at 144 DPI,
    // a narrow face, and one whose digits are wider than its average character.
    for (const Metrics m :
         {Metrics{10, 17, 6}, Metrics{15, 25, 9}, Metrics{9, 15, 5}, Metrics{10, 17, 8}}) {
        for (const std::size_t size : {std::size_t{0x40000}, std::size_t{8650752}}) {
            const PreviewLayout layout(m.w, m.h, m.digit, size);
            const auto context = ::testing::Message() << m.w << "/" << m.digit << " " << size;
            const CellBox address = layout.addressCell(0);
            EXPECT_GT(address.right - PreviewLayout::addressDigits(size) * m.digit, kFocusFrame)
                << context;
            EXPECT_GT(layout.gridLinesX()[0], address.right) << context;
            EXPECT_EQ(layout.hexCell(0, 0).left - address.right, 2) << context;

            const int y = layout.hexCell(1, 0).top + m.h / 2;
            for (int x = address.left; x < address.right; ++x)
                EXPECT_FALSE(layout.hitTest(x, y, 0, size)) << context << " x " << x;
            for (int column = 0; column < kBytesPerLine; ++column) {
                const auto hitsAcross = [&](const CellBox& cell, EditMode mode) {
                    for (int x = cell.left; x < cell.right; ++x) {
                        const auto hit = layout.hitTest(x, y, 0, size);
                        ASSERT_TRUE(hit) << context << " column " << column << " x " << x;
                        EXPECT_EQ(hit->displayIndex, std::size_t(kBytesPerLine + column));
                        EXPECT_EQ(hit->mode, mode);
                    }
                };
                hitsAcross(layout.hexCell(1, column), EditMode::HighDigit);
                hitsAcross(layout.charCell(1, column), EditMode::Character);
            }
        }
    }
}

TEST(OemGlyphs, EveryByteButZeroHasItsOwnCharacterAndTypingItGivesTheByteBack) {
    EXPECT_EQ(oemGlyph(0), U'\0');
    EXPECT_EQ(oemGlyph('A'), U'A');
    EXPECT_EQ(oemGlyph(0x80), U'А');
    EXPECT_EQ(oemGlyph(0xE0), U'р');
    EXPECT_EQ(oemGlyph(0x01), U'☺');
    for (int byte = 1; byte <= 0xFF; ++byte) {
        const auto back = oemByte(oemGlyph(static_cast<std::uint8_t>(byte)));
        ASSERT_TRUE(back) << byte;
        EXPECT_EQ(*back, byte);
    }
    EXPECT_FALSE(oemByte(U'€'));
    EXPECT_FALSE(oemByte(U'\0'));
}
