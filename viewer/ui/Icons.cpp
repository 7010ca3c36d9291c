#include "Icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace kovra {

namespace {

// A sheet of paper with a folded corner, the base of the drawn icons.
void paper(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 4, r.top());
    path.lineTo(r.right(), r.top() + 4);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(QColor(80, 80, 80), 1));
    p.setBrush(Qt::white);
    p.drawPath(path);
}

QPixmap drawn(IconKind kind, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    switch (kind) {
    case IconKind::Program: {
        // A house on green: the listing network's own sign.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 128, 0));
        p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
        p.setBrush(Qt::white);
        QPolygonF roof({QPointF(8, 2.5), QPointF(13.5, 8), QPointF(2.5, 8)});
        p.drawPolygon(roof);
        p.drawRect(QRectF(4.5, 8, 7, 5.5));
        p.setBrush(QColor(0, 128, 0));
        p.drawRect(QRectF(7, 10, 2, 3.5));
        break;
    }
    case IconKind::Html: {
        paper(p, QRectF(2.5, 0.5, 11, 15));
        QFont f = QApplication::font();
        f.setPixelSize(5);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(0, 0, 160));
        p.drawText(QRectF(2, 4, 12, 8), Qt::AlignCenter, QStringLiteral("</>"));
        break;
    }
    case IconKind::Preview: {
        paper(p, QRectF(1.5, 0.5, 10, 13));
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(QColor(200, 230, 255, 200));
        p.drawEllipse(QPointF(9.5, 9.5), 3.5, 3.5);
        p.drawLine(QPointF(12, 12), QPointF(15, 15));
        break;
    }
    case IconKind::Print: {
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(170, 170, 170));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        p.setPen(QColor(0, 160, 0));
        p.drawPoint(QPointF(12.5, 8.5));
        break;
    }
    case IconKind::SaveStripped: {
        // A floppy with a red bar: saved with items removed.
        p.setPen(QPen(QColor(40, 40, 90), 1));
        p.setBrush(QColor(70, 90, 170));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setPen(QPen(QColor(210, 30, 30), 2));
        p.drawLine(QPointF(4, 11), QPointF(12, 11));
        break;
    }
    case IconKind::List: {
        // A sheet of rows: the listing browser.
        paper(p, QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(QColor(0, 128, 0), 1.5));
        for (const double y : {5.0, 8.0, 11.0})
            p.drawLine(QPointF(4, y), QPointF(12, y));
        break;
    }
    case IconKind::Open:
        break;
    }
    return pm;
}

} // namespace

QIcon KovraIcon(IconKind kind)
{
    if (kind == IconKind::Open)
        return QApplication::style()->standardIcon(QStyle::SP_DialogOpenButton);
    QIcon icon;
    for (int size : {16, 24, 32})
        icon.addPixmap(drawn(kind, size));
    return icon;
}

} // namespace kovra
