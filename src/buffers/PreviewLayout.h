#pragma once
// Where the buffer preview puts everything, in pixels, for a character cell of
// W × H: the heading row, then one row of 16 bytes per line with a five-digit
// (six above 1 MB) address, the hex area and the character area. Also the scroll range and
// which byte a click hits. Indices here are display indices (see
// bufferIndexOf for the swapped view).

#include <array>
#include <cstddef>
#include <optional>

namespace zavuv::buffers {

inline constexpr int kBytesPerLine = 16;

// A cell; right and bottom are one past the last pixel.
struct CellBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// What typing does next: nothing, the high or low hex digit of the byte under
// the cursor, or the byte as a character.
enum class EditMode { None, HighDigit, LowDigit, Character };

struct PreviewHit {
    std::size_t displayIndex;
    EditMode mode;
};

// The buffer byte shown at a display index. The swapped view shows the bytes
// of each 16-bit word the other way round; a last byte without a partner (odd
// size) is shown where it is.
std::size_t bufferIndexOf(std::size_t displayIndex, bool swapBytes, std::size_t size);

class PreviewLayout {
public:
    // The address column is three cells wide unless the buffer's widest
    // address, at `digitWidth` pixels a digit, needs more to stay clear of the
    // focus frame; then every column right of it moves over by the difference.
    PreviewLayout(int cellWidth, int cellHeight, int digitWidth, std::size_t bufferSize);

    // Digits of the widest address a buffer shows: five, or more above 1 MB.
    static int addressDigits(std::size_t bufferSize);

    int cellWidth() const { return w_; }
    int cellHeight() const { return h_; }
    // Pixels the columns right of the address column are moved over.
    int addressShift() const { return shift_; }

    CellBox addressCell(int row) const;
    CellBox hexCell(int row, int column) const;
    CellBox charCell(int row, int column) const;
    CellBox hexHeading(int column) const;
    CellBox charHeading(int column) const;

    // The line under the heading, and the three vertical lines.
    int headingLineY() const { return h_ + 2; }
    std::array<int, 3> gridLinesX() const;

    // Rows drawn for a client height, a last partial row included.
    int paintedRows(int clientHeight) const;
    // Lines the scroll range treats as visible.
    int visibleLines(int clientHeight) const;
    static int lineCount(std::size_t bufferSize);
    // The largest first line; 0 means no scroll bar.
    int scrollMaximum(std::size_t bufferSize, int clientHeight) const;

    // The byte under a click at (x, y) with `firstLine` at the top, if any.
    std::optional<PreviewHit> hitTest(int x, int y, int firstLine, std::size_t bufferSize) const;

private:
    int rowTop(int row) const { return (row + 1) * h_ + 2; }

    int w_;
    int h_;
    int shift_;
};

}  // namespace zavuv::buffers
