#include "app/widgets/ChipAnimation.h"

#include <algorithm>
#include <array>

#include <QPainter>

namespace zavuv::app::widgets {

namespace {

constexpr int kFrameMs = 60;
// Frames for a bit to travel from one slot to the next.
constexpr int kFramesPerSlot = 8;
constexpr int kPins = 6;
constexpr std::array<bool, 8> kPattern = {true, false, true, true, false, false, true, false};
static_assert(ChipAnimation::kLoopFrames == kFramesPerSlot * static_cast<int>(kPattern.size()));

const QColor kBody(40, 40, 48);
const QColor kPin(170, 170, 180);
const QColor kBitOn(0, 170, 60);
const QColor kBitOff(200, 215, 200);

// One lane of bits between x0 and x1 at height y; `shift` turns the pattern so
// that the bits seem to move on past the slot where they jump back.
void drawLane(QPainter& painter, int x0, int x1, int y, int bit, int offset, int shift) {
    const int slotCount = (x1 - x0) / (2 * bit);
    if (slotCount <= 0)
        return;
    const int spacing = (x1 - x0) / slotCount;
    const int n = static_cast<int>(kPattern.size());
    for (int i = 0; i < slotCount; ++i) {
        const int x = x0 + i * spacing + offset * spacing / kFramesPerSlot;
        if (x + bit > x1)
            continue;
        const bool on = kPattern[static_cast<std::size_t>(((i - shift) % n + n) % n)];
        painter.fillRect(x, y - bit / 2, bit, bit, on ? kBitOn : kBitOff);
    }
}

}  // namespace

ChipAnimation::ChipAnimation(QWidget* parent) : QWidget(parent) {
    timer_.setInterval(kFrameMs);
    connect(&timer_, &QTimer::timeout, this, &ChipAnimation::advance);
}

void ChipAnimation::advance() {
    frame_ = (frame_ + 1) % kLoopFrames;
    update();
}

void ChipAnimation::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int h = height();
    const int bodyHeight = h * 3 / 5;
    const int bodyWidth = std::min(width() / 4, bodyHeight * 2);
    const QRect body((width() - bodyWidth) / 2, (h - bodyHeight) / 2, bodyWidth, bodyHeight);

    const int pinLength = (h - bodyHeight) / 2;
    const int pinWidth = std::max(2, bodyWidth / (2 * kPins + 1));
    for (int i = 0; i < kPins; ++i) {
        const int x = body.left() + (2 * i + 1) * bodyWidth / (2 * kPins + 1);
        painter.fillRect(x, body.top() - pinLength, pinWidth, pinLength, kPin);
        painter.fillRect(x, body.bottom() + 1, pinWidth, pinLength, kPin);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBody);
    painter.drawRoundedRect(body, 3, 3);
    painter.setBrush(kPin);
    const int notch = std::max(2, bodyHeight / 6);
    painter.drawEllipse(QPoint(body.left() + 2 * notch, body.top() + 2 * notch), notch, notch);
    painter.setRenderHint(QPainter::Antialiasing, false);

    const int bit = std::max(3, h / 8);
    const int offset = frame_ % kFramesPerSlot;
    const int shift = frame_ / kFramesPerSlot;
    const int y = body.center().y();
    drawLane(painter, 0, body.left() - bit, y, bit, offset, shift);
    drawLane(painter, body.right() + bit, width(), y, bit, offset, shift);
}

void ChipAnimation::showEvent(QShowEvent* event) {
    timer_.start();
    QWidget::showEvent(event);
}

void ChipAnimation::hideEvent(QHideEvent* event) {
    timer_.stop();
    QWidget::hideEvent(event);
}

}  // namespace zavuv::app::widgets
