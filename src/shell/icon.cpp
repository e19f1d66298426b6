#include "shell/icon.h"

#include <QPainter>
#include <QPainterPath>

QPixmap PROGRAMICONPIXMAP(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // The table: a rounded green square with a lighter rim.
    p.setPen(QPen(QColor(0x9c, 0xc9, 0x8a), 3));
    p.setBrush(QColor(0x1d, 0x6b, 0x3a));
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 10, 10);
    // The spade: two lobes, a point on top and a stem.
    QPainterPath spade;
    spade.moveTo(32, 10);
    spade.cubicTo(40, 20, 52, 26, 50, 37);
    spade.cubicTo(48, 46, 37, 46, 33, 40);
    spade.lineTo(31, 40);
    spade.cubicTo(27, 46, 16, 46, 14, 37);
    spade.cubicTo(12, 26, 24, 20, 32, 10);
    spade.closeSubpath();
    QPainterPath stem;
    stem.moveTo(32, 36);
    stem.lineTo(39, 54);
    stem.lineTo(25, 54);
    stem.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(spade.united(stem));
    return pixmap;
}

QIcon PROGRAMICON() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(PROGRAMICONPIXMAP(size));
    return icon;
}
