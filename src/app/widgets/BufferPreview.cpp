#include "app/widgets/BufferPreview.h"

#include <algorithm>
#include <array>
#include <optional>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "app/widgets/WindowThread.h"
#include "buffers/OemGlyphs.h"

namespace zavuv::app::widgets {

namespace {

constexpr std::array<QRgb, 9> kColours = {
    qRgb(0, 0, 0),        // loaded from a file; every byte of a busy buffer
    qRgb(0, 0, 128),      // saved
    qRgb(0, 0, 255),      // programmed
    qRgb(0, 128, 0),      // verified
    qRgb(0, 96, 0),       // read from the chip
    qRgb(255, 0, 0),      // created, not yet read
    qRgb(255, 0, 255),    // changed by the increment or typed here
    qRgb(176, 176, 176),  // fill: no record of the file gave it
    qRgb(0, 128, 128),    // under the edit cursor
};

// A raster-like monospaced face stands in for the classic terminal font: no
// smoothing, so that every text pixel has its byte's colour. A digit at most
// 6 pixels wide keeps all 16 characters of a line inside the pane.
constexpr int kLargestFontPixelSize = 12;
constexpr int kSmallestFontPixelSize = 8;
constexpr int kWidestDigit = 6;

QFont terminalFace() {
    QFont face = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    face.setStyleStrategy(QFont::NoAntialias);
    for (int size = kLargestFontPixelSize; size >= kSmallestFontPixelSize; --size) {
        face.setPixelSize(size);
        if (QFontMetrics(face).horizontalAdvance(QLatin1Char('0')) <= kWidestDigit)
            break;
    }
    return face;
}
constexpr int kPageLines = 16;

QRect toRect(const buffers::CellBox& box) {
    return {box.left, box.top, box.right - box.left, box.bottom - box.top};
}

QChar hexDigit(int value) {
    return QChar::fromLatin1("0123456789ABCDEF"[value & 0xF]);
}

QString hexText(std::size_t value, int digits) {
    return QString::number(value, 16).toUpper().rightJustified(digits, u'0');
}

std::optional<int> hexValue(char32_t c) {
    if (c >= U'0' && c <= U'9')
        return static_cast<int>(c - U'0');
    if (c >= U'A' && c <= U'F')
        return static_cast<int>(c - U'A' + 10);
    if (c >= U'a' && c <= U'f')
        return static_cast<int>(c - U'a' + 10);
    return std::nullopt;
}

}  // namespace

QColor previewColour(int index) {
    return QColor(kColours.at(static_cast<std::size_t>(index)));
}

BufferPreview::BufferPreview(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QString::number(kControlId));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(kPageLines);
    viewport()->setCursor(Qt::IBeamCursor);
    // The view paints every pixel itself.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);

    setFont(terminalFace());
    measureCells();
}

BufferPreview::~BufferPreview() {
    setBuffer(nullptr);
}

void BufferPreview::setBuffer(buffers::MemoryBuffer* buffer) {
    if (buffer_ != nullptr)
        buffer_->removeObserver(*this);
    buffer_ = buffer;
    if (buffer_ != nullptr)
        buffer_->addObserver(*this);
    editMode_ = buffers::EditMode::None;
    refresh();
}

void BufferPreview::refresh() {
    if (editMode_ != buffers::EditMode::None && (buffer_ == nullptr || cursor_ >= buffer_->size()))
        editMode_ = buffers::EditMode::None;
    updateScrollRange();
    viewport()->update();
}

void BufferPreview::setSwapBytes(bool swap) {
    swapBytes_ = swap;
    viewport()->update();
}

int BufferPreview::firstLine() const {
    return verticalScrollBar()->value();
}

buffers::PreviewLayout BufferPreview::layout() const {
    return {cellWidth_, cellHeight_, digitWidth_, buffer_ != nullptr ? buffer_->size() : 0};
}

std::vector<PreviewText> BufferPreview::visibleTexts() const {
    const buffers::PreviewLayout grid = layout();
    std::vector<PreviewText> texts;
    for (int m = 0; m < buffers::kBytesPerLine; ++m) {
        const int digit = swapBytes_ ? m ^ 1 : m;
        texts.push_back({QString(u'0') + hexDigit(digit), toRect(grid.hexHeading(m)), 0});
        texts.push_back({QString(hexDigit(digit)), toRect(grid.charHeading(m)), 0});
    }
    if (buffer_ == nullptr)
        return texts;

    const std::size_t size = buffer_->size();
    const auto bytes = buffer_->data();
    const int rows = grid.paintedRows(viewport()->height());
    const auto first = static_cast<std::size_t>(firstLine());
    for (int r = 0; r < rows; ++r) {
        const std::size_t base = (first + static_cast<std::size_t>(r)) * buffers::kBytesPerLine;
        if (base >= size)
            break;
        texts.push_back({hexText(base, 5), toRect(grid.addressCell(r)), 0});
        for (int m = 0; m < buffers::kBytesPerLine && base + m < size; ++m) {
            const std::size_t index = base + static_cast<std::size_t>(m);
            const std::uint8_t byte = bytes[buffers::bufferIndexOf(index, swapBytes_, size)];
            const int colour = byteColour(index);
            texts.push_back({hexText(byte, 2), toRect(grid.hexCell(r, m)), colour});
            const char32_t glyph = buffers::oemGlyph(byte);
            if (glyph != U'\0')
                texts.push_back(
                    {QString::fromUcs4(&glyph, 1), toRect(grid.charCell(r, m)), colour});
        }
    }
    return texts;
}

void BufferPreview::bufferRedraw(const buffers::MemoryBuffer&) {
    // A worker may report a change; the view follows on its own thread.
    postToWindowThread(this, [this] { refresh(); });
}

void BufferPreview::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QRect client = viewport()->rect();
    painter.fillRect(client, palette().color(QPalette::Base));
    painter.setFont(font());

    const buffers::PreviewLayout grid = layout();
    painter.setPen(Qt::black);
    painter.drawLine(0, grid.headingLineY(), client.width() - 1, grid.headingLineY());
    for (const int x : grid.gridLinesX())
        painter.drawLine(x, 0, x, client.height() - 1);

    constexpr auto kAlignment =
        Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip | Qt::TextSingleLine;
    for (const PreviewText& text : visibleTexts()) {
        painter.setPen(previewColour(text.colour));
        painter.drawText(text.cell, kAlignment, text.text);
    }

    const int frame = focused_ ? 3 : 1;
    const int w = client.width();
    const int h = client.height();
    painter.fillRect(0, 0, w, frame, Qt::black);
    painter.fillRect(0, h - frame, w, frame, Qt::black);
    painter.fillRect(0, 0, frame, h, Qt::black);
    painter.fillRect(w - frame, 0, frame, h, Qt::black);
}

void BufferPreview::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    // A taller pane shows more lines, so the range changes with it.
    updateScrollRange();
}

void BufferPreview::scrollContentsBy(int, int) {
    viewport()->update();
}

void BufferPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        if (editMode_ != buffers::EditMode::None) {
            editMode_ = buffers::EditMode::None;
            viewport()->update();
        }
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    if (buffer_ == nullptr || buffer_->size() == 0)
        return;
    const QPoint at = event->position().toPoint();
    if (const auto hit = layout().hitTest(at.x(), at.y(), firstLine(), buffer_->size())) {
        editMode_ = hit->mode;
        cursor_ = hit->displayIndex;
    }
    viewport()->update();
}

void BufferPreview::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    // Keys without a printable character (arrows, Enter, Escape) keep their
    // usual meaning.
    if (text.isEmpty() || text.front().unicode() < 0x20 || text.front().unicode() == 0x7F) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    for (const char32_t c : text.toUcs4())
        type(c);
    event->accept();
}

void BufferPreview::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    focused_ = true;
    viewport()->update();
}

void BufferPreview::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    focused_ = false;
    viewport()->update();
}

void BufferPreview::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        measureCells();
        refresh();
    }
}

void BufferPreview::measureCells() {
    const QFontMetrics metrics(font());
    cellWidth_ = metrics.averageCharWidth() + 4;
    cellHeight_ = metrics.height() + 4;
    digitWidth_ = 0;
    for (int digit = 0; digit < 16; ++digit)
        digitWidth_ = std::max(digitWidth_, metrics.horizontalAdvance(hexDigit(digit)));
}

void BufferPreview::updateScrollRange() {
    const std::size_t size = buffer_ != nullptr ? buffer_->size() : 0;
    verticalScrollBar()->setRange(0, layout().scrollMaximum(size, viewport()->height()));
}

void BufferPreview::type(char32_t c) {
    if (buffer_ == nullptr || editMode_ == buffers::EditMode::None || cursor_ >= buffer_->size())
        return;
    const std::size_t index = buffers::bufferIndexOf(cursor_, swapBytes_, buffer_->size());
    const std::uint8_t old = buffer_->data()[index];
    if (editMode_ == buffers::EditMode::Character) {
        const auto byte = buffers::oemByte(c);
        if (!byte)
            return;
        buffer_->setByte(index, *byte);
        buffer_->setState(index, buffers::ByteState::Incremented);
        advanceCursor(buffers::EditMode::Character);
    } else {
        const auto digit = hexValue(c);
        if (!digit)
            return;
        const bool high = editMode_ == buffers::EditMode::HighDigit;
        const int value = high ? (old & 0x0F) | (*digit << 4) : (old & 0xF0) | *digit;
        buffer_->setByte(index, static_cast<std::uint8_t>(value));
        buffer_->setState(index, buffers::ByteState::Incremented);
        if (high)
            editMode_ = buffers::EditMode::LowDigit;
        else
            advanceCursor(buffers::EditMode::HighDigit);
    }
    viewport()->update();
}

void BufferPreview::advanceCursor(buffers::EditMode nextMode) {
    if (cursor_ + 1 >= buffer_->size()) {
        editMode_ = buffers::EditMode::None;
    } else {
        ++cursor_;
        editMode_ = nextMode;
    }
}

int BufferPreview::byteColour(std::size_t displayIndex) const {
    if (buffer_->busy())
        return 0;
    if (editMode_ != buffers::EditMode::None && displayIndex == cursor_)
        return kCursorColour;
    const std::size_t index = buffers::bufferIndexOf(displayIndex, swapBytes_, buffer_->size());
    return static_cast<int>(buffer_->byteStates()[index]);
}

}  // namespace zavuv::app::widgets
