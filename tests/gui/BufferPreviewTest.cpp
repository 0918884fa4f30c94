#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include "GuiTesting.h"
#include "app/widgets/BufferPreview.h"
#include "support/RecordingUserPort.h"

using namespace zavuv;
using namespace zavuv::app;
using namespace zavuv::buffers;
using zavuv::testing::countPixels;
using zavuv::testing::RecordingUserPort;

namespace {

QRect toRect(const CellBox& box) {
    return {box.left, box.top, box.right - box.left, box.bottom - box.top};
}

class BufferPreviewTest : public ::testing::Test {
protected:
    BufferPreviewTest() {
        preview.resize(800, 10 * 20);
        preview.show();
        preview.setBuffer(&flash);
    }

    // A buffer of `size` bytes holding 0, 1, 2, ... in the Loaded state.
    void fill(std::size_t size) {
        flash.create(size);
        for (std::size_t i = 0; i < size; ++i)
            flash.mutableData()[i] = static_cast<std::uint8_t>(i);
        flash.setAllStates(ByteState::Loaded);
        flash.redraw();
        // The scroll area shows or hides its bar on the next pass of the event loop.
        QApplication::processEvents();
    }

    PreviewLayout grid() const { return preview.layout(); }

    // The text drawn in exactly this cell, or "(none)".
    QString textIn(const CellBox& cell) const {
        for (const widgets::PreviewText& t : preview.visibleTexts())
            if (t.cell == toRect(cell))
                return t.text;
        return "(none)";
    }

    QStringList texts(const std::function<CellBox(int)>& cellOf, int count) const {
        QStringList all;
        for (int i = 0; i < count; ++i)
            all << textIn(cellOf(i));
        return all;
    }

    QStringList addresses() const {
        QStringList all;
        const QRect column = toRect(grid().addressCell(0));
        for (const widgets::PreviewText& t : preview.visibleTexts())
            if (t.cell.left() == column.left() && t.cell.width() == column.width())
                all << t.text;
        return all;
    }

    void clickHex(int row, int column, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(preview.viewport(), button, {},
                          toRect(grid().hexCell(row, column)).center());
    }
    void clickChar(int row, int column) {
        QTest::mouseClick(preview.viewport(), Qt::LeftButton, {},
                          toRect(grid().charCell(row, column)).center());
    }
    void type(const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&preview, &press);
        }
    }

    // Pixels of a colour in a hex cell, apart from its top and left edges, where
    // the grid lines may run.
    int hexPixels(int row, int column, const QColor& colour) {
        const QImage image = preview.viewport()->grab().toImage();
        return countPixels(image, toRect(grid().hexCell(row, column)).adjusted(1, 1, 0, 0), colour);
    }

    RecordingUserPort port;
    MemoryBuffer flash{false, port};
    widgets::BufferPreview preview;
};

QStringList hexHeadings(bool swapped) {
    QStringList all;
    for (int m = 0; m < 16; ++m)
        all << QString("0%1").arg(swapped ? m ^ 1 : m, 1, 16).toUpper();
    return all;
}

// Black pixels of a text drawn alone as the preview draws it in a cell.
int inkOf(const QFont& font, const QString& text, const QSize& cell) {
    QImage image(3 * cell.width(), cell.height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(2 * cell.width(), 0), cell),
                     Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip | Qt::TextSingleLine,
                     text);
    painter.end();
    return countPixels(image, image.rect(), Qt::black);
}

}  // namespace

TEST_F(BufferPreviewTest, AnEmptyBufferShowsOnlyTheHeadingsAndIgnoresClicksAndTyping) {
    EXPECT_EQ(texts([&](int m) { return grid().hexHeading(m); }, 16), hexHeadings(false));
    EXPECT_EQ(textIn(grid().charHeading(10)), "A");
    EXPECT_EQ(preview.visibleTexts().size(), 32u);
    EXPECT_FALSE(preview.verticalScrollBar()->isVisible());

    clickHex(0, 0);
    type("12");
    EXPECT_EQ(preview.editMode(), EditMode::None);
    EXPECT_FALSE(flash.modified());
}

TEST_F(BufferPreviewTest, SeventeenBytesMakeTwoLinesTheSecondWithOneByte) {
    fill(17);
    EXPECT_EQ(addresses(), (QStringList{"00000", "00010"}));
    EXPECT_EQ(textIn(grid().hexCell(0, 15)), "0F");
    EXPECT_EQ(textIn(grid().hexCell(1, 0)), "10");
    EXPECT_EQ(textIn(grid().hexCell(1, 1)), "(none)");
    // The zero byte writes no character; 0x41 shows as itself.
    EXPECT_EQ(textIn(grid().charCell(0, 0)), "(none)");
    flash.mutableData()[1] = 'A';
    EXPECT_EQ(textIn(grid().charCell(0, 1)), "A");
    EXPECT_FALSE(preview.verticalScrollBar()->isVisible());
    EXPECT_EQ(preview.verticalScrollBar()->maximum(), 0);
}

TEST_F(BufferPreviewTest, SwappedViewHeadsShowsAndEditsThePartnerByte) {
    fill(32);
    preview.setSwapBytes(true);
    EXPECT_EQ(texts([&](int m) { return grid().hexHeading(m); }, 16), hexHeadings(true));
    EXPECT_EQ(textIn(grid().charHeading(0)), "1");
    EXPECT_EQ(textIn(grid().hexCell(0, 0)), "01");
    EXPECT_EQ(textIn(grid().hexCell(0, 1)), "00");

    clickHex(0, 1);
    type("3C");
    EXPECT_EQ(flash.data()[0], 0x3C);
    EXPECT_EQ(flash.data()[1], 0x01);
    EXPECT_EQ(flash.byteStates()[0], ByteState::Incremented);
    // The cursor moved on in display order: the next byte typed is index 3.
    type("77");
    EXPECT_EQ(flash.data()[3], 0x77);
}

TEST_F(BufferPreviewTest, OddSizeSwappedShowsAndEditsTheLastByteInPlace) {
    fill(17);
    preview.setSwapBytes(true);
    EXPECT_EQ(textIn(grid().hexCell(1, 0)), "10");
    clickHex(1, 0);
    type("EE");
    EXPECT_EQ(flash.size(), 17u);
    EXPECT_EQ(flash.data()[16], 0xEE);
    EXPECT_EQ(preview.editMode(), EditMode::None);
}

TEST_F(BufferPreviewTest, TypingHexOnTheLastByteStoresItMarksItChangedAndEndsEditing) {
    fill(17);
    clickHex(1, 0);
    EXPECT_EQ(preview.editMode(), EditMode::HighDigit);
    EXPECT_GT(hexPixels(1, 0, widgets::previewColour(widgets::kCursorColour)), 0);

    type("xA");  // not a hex digit: ignored
    EXPECT_EQ(preview.editMode(), EditMode::LowDigit);
    type("5");
    EXPECT_EQ(flash.data()[16], 0xA5);
    EXPECT_EQ(flash.byteStates()[16], ByteState::Incremented);
    EXPECT_TRUE(flash.modified());
    EXPECT_EQ(preview.editMode(), EditMode::None);
    EXPECT_GT(hexPixels(1, 0, QColor(255, 0, 255)), 0);
    EXPECT_EQ(hexPixels(1, 0, widgets::previewColour(widgets::kCursorColour)), 0);
    EXPECT_EQ(flash.data()[15], 0x0F);
}

TEST_F(BufferPreviewTest, RightClickAfterTheHighDigitKeepsTheHalfChangedByte) {
    fill(32);
    clickHex(0, 2);
    type("f");
    clickHex(0, 2, Qt::RightButton);
    EXPECT_EQ(preview.editMode(), EditMode::None);
    EXPECT_EQ(flash.data()[2], 0xF2);
    type("0");
    EXPECT_EQ(flash.data()[2], 0xF2);
}

TEST_F(BufferPreviewTest, CharacterModeStoresTheByteEachCharacterStandsFor) {
    fill(32);
    clickChar(0, 4);
    EXPECT_EQ(preview.editMode(), EditMode::Character);
    type(QString::fromUtf8("Zж"));
    EXPECT_EQ(flash.data()[4], 'Z');
    EXPECT_EQ(flash.data()[5], 0xA6);
    EXPECT_EQ(preview.cursor(), 6u);
    EXPECT_EQ(preview.editMode(), EditMode::Character);
    EXPECT_EQ(textIn(grid().charCell(0, 5)), QString::fromUtf8("ж"));
}

TEST_F(BufferPreviewTest, ShrinkingTheBufferUnderTheCursorEndsEditing) {
    fill(32);
    clickHex(1, 15);
    flash.clear();
    type("12");
    EXPECT_EQ(preview.editMode(), EditMode::None);
    EXPECT_EQ(flash.size(), 0u);
}

TEST_F(BufferPreviewTest, A600KBufferScrollsToItsLastLine) {
    const std::size_t size = 600 * 1024;
    fill(size);
    QScrollBar* bar = preview.verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    const int visible = grid().visibleLines(preview.viewport()->height());
    EXPECT_EQ(bar->maximum(), static_cast<int>(size / 16) - visible);

    bar->setValue(bar->maximum());
    EXPECT_EQ(preview.firstLine(), bar->maximum());
    const QStringList shown = addresses();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.back(), "95FF0");
    EXPECT_EQ(shown.size(), visible);

    clickHex(visible - 1, 15);
    EXPECT_EQ(preview.cursor(), size - 1);
}

TEST_F(BufferPreviewTest, BytesAreColouredByStateAndAllBlackWhileBusy) {
    fill(16);
    constexpr int kFill = static_cast<int>(ByteState::Fill);  // dimmed, apart from the rest
    for (int s = 0; s <= kFill; ++s)
        flash.setState(static_cast<std::size_t>(s), static_cast<ByteState>(s));
    flash.redraw();
    for (int s = 0; s <= kFill; ++s) {
        for (int other = 0; other <= widgets::kCursorColour; ++other) {
            const int pixels = hexPixels(0, s, widgets::previewColour(other));
            if (other == s)
                EXPECT_GT(pixels, 0) << s;
            else
                EXPECT_EQ(pixels, 0) << s << " in colour " << other;
        }
    }

    flash.setBusy(true);
    flash.redraw();
    for (int s = 1; s <= kFill; ++s) {
        EXPECT_GT(hexPixels(0, s, widgets::previewColour(0)), 0) << s;
        EXPECT_EQ(hexPixels(0, s, widgets::previewColour(s)), 0) << s;
    }
}

TEST_F(BufferPreviewTest, TheFrameIsThickerWhileThePreviewHasTheFocus) {
    const auto frameWidth = [&] {
        const QImage image = preview.viewport()->grab().toImage();
        int width = 0;
        while (image.pixelColor(width, image.height() / 2) == Qt::black)
            ++width;
        return width;
    };
    EXPECT_EQ(frameWidth(), 1);
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&preview, &in);
    EXPECT_EQ(frameWidth(), 3);
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(&preview, &out);
    EXPECT_EQ(frameWidth(), 1);
}

TEST_F(BufferPreviewTest, TheWidestAddressIsDrawnWholeAndEveryByteTakesItsClickAtAnyFontSize) {
    constexpr int kFocusFrame = 3;
    const QFont chosen = preview.font();
    // The face the preview picks, and a 9-point face at 96 and at 144 DPI.
    for (const int pixelSize : {0, 12, 18}) {
        QFont face = chosen;
        if (pixelSize > 0)
            face.setPixelSize(pixelSize);
        preview.setFont(face);
        // The largest AVR Flash, and a DataFlash with six-digit addresses.
        for (const std::size_t size : {std::size_t{0x40000}, std::size_t{8650752}}) {
            const auto context = ::testing::Message() << pixelSize << " px, " << size;
            fill(size);
            preview.resize(grid().gridLinesX()[2] + 2 * grid().cellWidth() + 40,
                           12 * grid().cellHeight() + 10);
            QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
            QApplication::sendEvent(&preview, &in);
            QApplication::processEvents();
            QScrollBar* bar = preview.verticalScrollBar();
            bar->setValue(bar->maximum());

            const int last = grid().visibleLines(preview.viewport()->height()) - 1;
            const std::size_t base = (size - 1) / 16 * 16;
            const QRect cell = toRect(grid().addressCell(last));
            const QString widest = textIn(grid().addressCell(last));
            EXPECT_EQ(widest, QString::number(base, 16).toUpper()) << context;
            // Every pixel of it lies right of the 3-pixel focus frame.
            const QImage shot = preview.viewport()->grab().toImage();
            const int ink = inkOf(face, widest, cell.size());
            EXPECT_GT(ink, 0) << context;
            EXPECT_EQ(countPixels(shot, QRect(QPoint(kFocusFrame, cell.top()), cell.bottomRight()),
                                  Qt::black),
                      ink)
                << context;

            for (int column = 0; column < 16; ++column) {
                clickHex(last, column);
                EXPECT_EQ(preview.cursor(), base + column) << context;
                EXPECT_EQ(preview.editMode(), EditMode::HighDigit) << context;
                clickChar(last, column);
                EXPECT_EQ(preview.cursor(), base + column) << context;
                EXPECT_EQ(preview.editMode(), EditMode::Character) << context;
            }
        }
    }
}
