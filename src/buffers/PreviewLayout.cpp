#include "buffers/PreviewLayout.h"

#include <algorithm>

namespace zavuv::buffers {

namespace {

constexpr int kHeadingTop = 2;
constexpr int kAddressCells = 3;
constexpr int kShortestAddress = 5;
// The focus frame is 3 pixels wide; one more keeps a digit off it.
constexpr int kAddressLeftMargin = 4;

}  // namespace

std::size_t bufferIndexOf(std::size_t displayIndex, bool swapBytes, std::size_t size) {
    if (!swapBytes)
        return displayIndex;
    const std::size_t partner = displayIndex ^ 1u;
    return partner < size ? partner : displayIndex;
}

int PreviewLayout::addressDigits(std::size_t bufferSize) {
    std::size_t last = bufferSize == 0 ? 0 : (bufferSize - 1) / kBytesPerLine * kBytesPerLine;
    int digits = 1;
    while (last >>= 4)
        ++digits;
    return std::max(digits, kShortestAddress);
}

PreviewLayout::PreviewLayout(int cellWidth, int cellHeight, int digitWidth, std::size_t bufferSize)
    : w_(cellWidth), h_(cellHeight),
      shift_(std::max(0, kAddressLeftMargin + addressDigits(bufferSize) * digitWidth -
                             kAddressCells * cellWidth)) {}

CellBox PreviewLayout::addressCell(int row) const {
    return {1, rowTop(row), kAddressCells * w_ + shift_, rowTop(row + 1)};
}

CellBox PreviewLayout::hexCell(int row, int column) const {
    return {(2 * column + 3) * w_ + 2 + shift_, rowTop(row), (2 * column + 5) * w_ + 2 + shift_,
            rowTop(row + 1)};
}

CellBox PreviewLayout::charCell(int row, int column) const {
    return {(column + 35) * w_ + 6 + shift_, rowTop(row), (column + 36) * w_ + 6 + shift_,
            rowTop(row + 1)};
}

CellBox PreviewLayout::hexHeading(int column) const {
    return {(2 * column + 3) * w_ + 3 + shift_, kHeadingTop, (2 * column + 5) * w_ + 3 + shift_,
            rowTop(0)};
}

CellBox PreviewLayout::charHeading(int column) const {
    return {(column + 35) * w_ + 5 + shift_, kHeadingTop, (column + 36) * w_ + 5 + shift_,
            rowTop(0)};
}

std::array<int, 3> PreviewLayout::gridLinesX() const {
    return {3 * w_ + 2 + shift_, 35 * w_ + 4 + shift_, 51 * w_ + 6 + shift_};
}

int PreviewLayout::paintedRows(int clientHeight) const {
    return std::max(0, (clientHeight - 4) / h_);
}

int PreviewLayout::visibleLines(int clientHeight) const {
    return std::max(0, (clientHeight - h_ - 3) / h_);
}

int PreviewLayout::lineCount(std::size_t bufferSize) {
    return static_cast<int>((bufferSize + kBytesPerLine - 1) / kBytesPerLine);
}

int PreviewLayout::scrollMaximum(std::size_t bufferSize, int clientHeight) const {
    return std::max(0, lineCount(bufferSize) - visibleLines(clientHeight));
}

std::optional<PreviewHit> PreviewLayout::hitTest(int x, int y, int firstLine,
                                                 std::size_t bufferSize) const {
    if (y < h_ + 2)
        return std::nullopt;
    x -= shift_;
    const long long rowBase =
        (static_cast<long long>((y - 2) / h_) - 1 + firstLine) * kBytesPerLine;
    int column = -1;
    EditMode mode = EditMode::None;
    if (x >= 3 * w_ + 2 && x < 35 * w_ + 2) {
        column = ((x - 2) / w_ - 3) / 2;
        mode = EditMode::HighDigit;
    } else if (x >= 35 * w_ + 6) {
        column = (x - 6) / w_ - 35;
        mode = EditMode::Character;
    }
    if (column < 0 || column >= kBytesPerLine)
        return std::nullopt;
    const auto index = static_cast<std::size_t>(rowBase + column);
    if (index >= bufferSize)
        return std::nullopt;
    return PreviewHit{index, mode};
}

}  // namespace zavuv::buffers
