#include "app/widgets/DialogUnits.h"

#include <QFontMetrics>

namespace zavuv::app::widgets {

namespace {

// units × base / divisor, rounded to the nearest pixel.
int scaleRounded(int units, int base, int divisor) {
    return static_cast<int>((static_cast<long long>(units) * base + divisor / 2) / divisor);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded, as the dialog manager takes it.
    const int letters =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseWidth_ = (letters / 26 + 1) / 2;
    baseHeight_ = metrics.height();
}

int DialogUnits::toPixelsX(int units) const {
    return scaleRounded(units, baseWidth_, 4);
}

int DialogUnits::toPixelsY(int units) const {
    return scaleRounded(units, baseHeight_, 8);
}

// Edges are converted, not extents, so that neighbouring controls stay flush.
QRect DialogUnits::rect(int left, int top, int width, int height) const {
    const int x = toPixelsX(left);
    const int y = toPixelsY(top);
    return {x, y, toPixelsX(left + width) - x, toPixelsY(top + height) - y};
}

QSize DialogUnits::size(int width, int height) const {
    return {toPixelsX(width), toPixelsY(height)};
}

}  // namespace zavuv::app::widgets
