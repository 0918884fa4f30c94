#pragma once
// Helpers of the GUI tests: waiting for the event loop to bring something
// about, finding controls by id, and counting pixels of a colour.

#include <functional>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QTest>
#include <QWidget>

namespace zavuv::testing {

// The ATmega8's SPIEN fuse as the fuse dialog numbers its bits (high fuse
// byte, bit 5).
inline constexpr int kAtmega8Spien = 13;

// Runs the event loop until `done` holds. The bound only keeps a broken test
// from hanging the suite; no test depends on how long anything takes.
inline bool processEventsUntil(const std::function<bool()>& done) {
    constexpr int kGiveUpMs = 20000;
    for (int waited = 0; !done(); waited += 5) {
        if (waited > kGiveUpMs)
            return false;
        QTest::qWait(5);
    }
    return true;
}

// Resizes a shown top-level window and waits until the platform has done it.
inline bool resizeAndWait(QWidget& window, const QSize& size) {
    window.resize(size);
    return processEventsUntil([&] { return window.size() == size; });
}

template <typename T = QWidget> T* control(const QWidget& window, int id) {
    return window.findChild<T*>(QString::number(id));
}

// Pixels of exactly this colour inside the rectangle.
inline int countPixels(const QImage& image, const QRect& area, const QColor& colour) {
    int n = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                ++n;
    return n;
}

}  // namespace zavuv::testing
