#include "app/widgets/AboutPictureWidget.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

namespace zavuv::app::widgets {

namespace {

const QColor kBoard(0x1f, 0x6e, 0x3a);
const QColor kBoardEdge(0x14, 0x4a, 0x27);
const QColor kCopper(0xd8, 0xa8, 0x4a);
const QColor kChip(0x26, 0x26, 0x2a);
const QColor kMarking(0xe8, 0xe8, 0xe8);

constexpr int kPinsPerSide = 4;

}  // namespace

AboutPictureWidget::AboutPictureWidget(QWidget* parent) : QWidget(parent) {}

// Drawn in a 100 × 80 space scaled to the widget, so it fits any dialog font.
void AboutPictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal scale = std::min(width() / 100.0, height() / 80.0);
    painter.translate((width() - 100 * scale) / 2, (height() - 80 * scale) / 2);
    painter.scale(scale, scale);

    painter.setPen(QPen(kBoardEdge, 1.5));
    painter.setBrush(kBoard);
    painter.drawRoundedRect(QRectF(2, 6, 96, 68), 5, 5);

    // The six-pin programming header on the left, two columns of three.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kCopper);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column)
            painter.drawEllipse(QPointF(12 + column * 8, 28 + row * 10), 2.6, 2.6);

    // Traces from the header to the chip's pins.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kCopper, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int i = 0; i < 3; ++i) {
        QPainterPath trace(QPointF(20, 28 + i * 10));
        trace.lineTo(34, 28 + i * 10);
        trace.lineTo(40, 22 + i * 12);
        trace.lineTo(46, 22 + i * 12);
        painter.drawPath(trace);
    }

    // The chip: a DIP package with its pins and the notch that marks pin 1.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kMarking);
    for (int i = 0; i < kPinsPerSide; ++i) {
        painter.drawRect(QRectF(46, 19 + i * 12, 6, 3));
        painter.drawRect(QRectF(86, 19 + i * 12, 6, 3));
    }
    painter.setBrush(kChip);
    painter.drawRoundedRect(QRectF(51, 14, 36, 52), 2, 2);
    painter.setBrush(kBoard);
    painter.drawPie(QRectF(64, 10, 10, 8), 180 * 16, 180 * 16);

    painter.setPen(kMarking);
    QFont marking = font();
    marking.setPixelSize(7);
    marking.setBold(true);
    painter.setFont(marking);
    painter.drawText(QRectF(51, 14, 36, 52), Qt::AlignCenter, "ZAVUV");
}

}  // namespace zavuv::app::widgets
