#pragma once
// The hex view of a memory buffer in its pane of the main window: 16 bytes per
// line with address, hex and character columns, each byte coloured by what
// happened to it last, scrolling through the whole buffer, and overwriting of
// bytes by typing hex digits or characters after a click.

#include <cstddef>
#include <vector>

#include <QAbstractScrollArea>
#include <QColor>
#include <QRect>
#include <QString>

#include "buffers/MemoryBuffer.h"
#include "buffers/PreviewLayout.h"

namespace zavuv::app::widgets {

// The text colours of the view: indices 0..7 are the byte states (fill dimmed),
// 8 the byte under the edit cursor. Headings, addresses and every byte of a
// busy buffer use colour 0.
inline constexpr int kCursorColour = 8;
QColor previewColour(int index);

// One text the view draws, right-aligned and vertically centred in its cell.
struct PreviewText {
    QString text;
    QRect cell;
    int colour = 0;
};

class BufferPreview final : public QAbstractScrollArea, public buffers::BufferObserver {
    Q_OBJECT

public:
    // Both previews carry this control id.
    static constexpr int kControlId = 1022;

    explicit BufferPreview(QWidget* parent = nullptr);
    ~BufferPreview() override;

    // The buffer shown (not owned; nullptr for none). The preview follows its
    // changes until another buffer is set or the preview goes.
    void setBuffer(buffers::MemoryBuffer* buffer);
    buffers::MemoryBuffer* buffer() const { return buffer_; }

    // Recomputes the scroll range and repaints.
    void refresh();

    // Shows the bytes of each 16-bit word swapped (the Flash "Inv" view).
    void setSwapBytes(bool swap);
    bool swapBytes() const { return swapBytes_; }

    buffers::EditMode editMode() const { return editMode_; }
    // The display index being edited while editMode() is not None.
    std::size_t cursor() const { return cursor_; }
    // The line at the top of the view.
    int firstLine() const;
    buffers::PreviewLayout layout() const;

    // Everything a paint draws apart from the grid and the frame, in drawing
    // order: the headings, then per visible line the address and the bytes.
    std::vector<PreviewText> visibleTexts() const;

    // BufferObserver
    void bufferRedraw(const buffers::MemoryBuffer& buffer) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void measureCells();
    void updateScrollRange();
    void type(char32_t c);
    void advanceCursor(buffers::EditMode nextMode);
    int byteColour(std::size_t displayIndex) const;

    buffers::MemoryBuffer* buffer_ = nullptr;
    bool swapBytes_ = false;
    // Set by focus events: the frame is 3 pixels wide while it holds.
    bool focused_ = false;
    int cellWidth_ = 0;
    int cellHeight_ = 0;
    // The widest hex digit: the address column is made wide enough for it.
    int digitWidth_ = 0;
    buffers::EditMode editMode_ = buffers::EditMode::None;
    std::size_t cursor_ = 0;
};

}  // namespace zavuv::app::widgets
