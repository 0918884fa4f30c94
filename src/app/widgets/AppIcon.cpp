#include "app/widgets/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace zavuv::app::widgets {

namespace {

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size / 32.0;

    // Pins on both long sides of the package.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(190, 190, 200));
    for (int i = 0; i < 4; ++i) {
        const double y = (9 + 5 * i) * s;
        painter.drawRect(QRectF(5 * s, y, 4 * s, 2 * s));
        painter.drawRect(QRectF(23 * s, y, 4 * s, 2 * s));
    }
    painter.setBrush(QColor(40, 40, 48));
    painter.drawRoundedRect(QRectF(9 * s, 6 * s, 14 * s, 22 * s), 2 * s, 2 * s);
    painter.setBrush(QColor(190, 190, 200));
    painter.drawEllipse(QPointF(12.5 * s, 9.5 * s), 1.5 * s, 1.5 * s);

    // The programming lead: a green bolt across the package.
    painter.setBrush(QColor(0, 170, 60));
    const QPointF bolt[] = {{18 * s, 2 * s},  {12 * s, 17 * s}, {16 * s, 17 * s},
                            {13 * s, 30 * s}, {21 * s, 13 * s}, {17 * s, 13 * s}};
    painter.drawPolygon(bolt, 6);
    return pixmap;
}

}  // namespace

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addPixmap(drawIcon(size));
    return icon;
}

}  // namespace zavuv::app::widgets
