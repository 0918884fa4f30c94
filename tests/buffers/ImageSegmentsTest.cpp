#include <gtest/gtest.h>

#include <variant>

#include "buffers/ImageSegments.h"
#include "buffers/SegmentBuilder.h"

using namespace zavuv::buffers;

namespace {

using Bytes = std::vector<std::uint8_t>;

ImageSegments build(SegmentBuilder& builder) {
    auto result = builder.finish();
    if (const auto* conflict = std::get_if<SegmentBuilder::Conflict>(&result)) {
        ADD_FAILURE() << "conflict at " << conflict->address << " from " << conflict->origin;
        return {};
    }
    return std::get<ImageSegments>(result);
}

}  // namespace

TEST(SegmentBuilder, SortsJoinsTouchingRunsAndKeepsGaps) {
    SegmentBuilder builder;
    builder.add(0x20, Bytes{5, 6}, 1);
    builder.add(0x10, Bytes{1, 2}, 2);
    builder.add(0x12, Bytes{3, 4}, 3);  // touches the run before it
    builder.add(0x30, Bytes{}, 4);      // nothing
    builder.add(0xFFFFFFFF, Bytes{9}, 5);
    const auto image = build(builder);
    EXPECT_EQ(image, (ImageSegments{{0x10, {1, 2, 3, 4}}, {0x20, {5, 6}}, {0xFFFFFFFF, {9}}}));
    EXPECT_TRUE(isWellFormed(image));
    EXPECT_EQ(dataByteCount(image), 7u);
    EXPECT_EQ(endAddress(image), 0x100000000u);
}

TEST(SegmentBuilder, AcceptsRepeatedBytesAndNamesTheRunThatContradicts) {
    SegmentBuilder same;
    same.add(0x100, Bytes{1, 2, 3, 4}, 1);
    same.add(0x102, Bytes{3, 4, 5}, 2);  // repeats two bytes, adds one
    same.add(0x101, Bytes{2}, 3);        // inside, the same
    EXPECT_EQ(build(same), (ImageSegments{{0x100, {1, 2, 3, 4, 5}}}));

    SegmentBuilder different;
    different.add(0x100, Bytes{1, 2, 3, 4}, 7);
    different.add(0x200, Bytes{1}, 8);
    different.add(0x102, Bytes{3, 0x44}, 9);
    const auto result = different.finish();
    ASSERT_TRUE(std::holds_alternative<SegmentBuilder::Conflict>(result));
    EXPECT_EQ(std::get<SegmentBuilder::Conflict>(result).address, 0x103u);
    EXPECT_EQ(std::get<SegmentBuilder::Conflict>(result).origin, 9u);

    // At one address, the later run is the one named.
    SegmentBuilder twice;
    twice.add(0x10, Bytes{1}, 1);
    twice.add(0x10, Bytes{2}, 2);
    EXPECT_EQ(std::get<SegmentBuilder::Conflict>(twice.finish()).origin, 2u);
}

TEST(SegmentBuilder, FinishLeavesItEmptyForTheNextImage) {
    SegmentBuilder builder;
    builder.add(0, Bytes{1}, 1);
    EXPECT_EQ(builder.addedBytes(), 1u);
    build(builder);
    EXPECT_EQ(builder.addedBytes(), 0u);
    EXPECT_TRUE(build(builder).empty());
}

TEST(ImageSegments, SplitCutsSegmentsAtTheRangeAndRebasesTheInside) {
    const ImageSegments image = {
        {0x100, {1, 2}},
        {0x80FFFE, {3, 4, 5, 6}},  // crosses the start of the EEPROM range
        {0x810010, {7}},
        {0x81FFFF, {8, 9}},  // crosses its end
    };
    const auto split = splitImage(image, kAvrEepromRange);
    EXPECT_EQ(split.inside, (ImageSegments{{0, {5, 6}}, {0x10, {7}}, {0xFFFF, {8}}}));
    EXPECT_EQ(split.outside, (ImageSegments{{0x100, {1, 2}}, {0x80FFFE, {3, 4}}, {0x820000, {9}}}));
    EXPECT_TRUE(isWellFormed(split.inside));
    EXPECT_TRUE(isWellFormed(split.outside));

    const auto nothing = splitImage(image, {0x200, 0x200});
    EXPECT_TRUE(nothing.inside.empty());
    EXPECT_EQ(nothing.outside, image);
}

TEST(ImageSegments, FlattenFillsGapsFromAddressZero) {
    EXPECT_EQ(flatten({{2, {1}}, {4, {2, 3}}}, 0xFF), (Bytes{0xFF, 0xFF, 1, 0xFF, 2, 3}));
    EXPECT_TRUE(flatten({}, 0xFF).empty());
}

TEST(ImageSegments, WellFormedMeansSortedApartAndNonEmpty) {
    EXPECT_TRUE(isWellFormed({}));
    EXPECT_FALSE(isWellFormed({{0, {}}}));
    EXPECT_FALSE(isWellFormed({{0, {1, 2}}, {2, {3}}})) << "touching";
    EXPECT_FALSE(isWellFormed({{4, {1}}, {2, {3}}})) << "unsorted";
    EXPECT_TRUE(isWellFormed({{0, {1, 2}}, {3, {3}}}));
}
