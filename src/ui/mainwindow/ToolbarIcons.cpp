#include "ui/mainwindow/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace kavlon::icons {

namespace {

constexpr int kSize = 18;
const QColor kInk(40, 40, 40);

QIcon draw(const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kInk, 1.2));
    paint(p);
    return QIcon(pixmap);
}

void window(QPainter& p, const QRectF& r) {
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 2.5), QColor(60, 90, 160));
}

} // namespace

QIcon cascade() {
    return draw([](QPainter& p) {
        window(p, {1.5, 1.5, 10, 8});
        window(p, {4.5, 4.5, 10, 8});
        window(p, {7.5, 8.5, 9, 8});
    });
}

QIcon tileHorizontal() {
    return draw([](QPainter& p) {
        window(p, {1.5, 1.5, 15, 6.5});
        window(p, {1.5, 9.5, 15, 6.5});
    });
}

QIcon tileVertical() {
    return draw([](QPainter& p) {
        window(p, {1.5, 1.5, 6.5, 15});
        window(p, {9.5, 1.5, 6.5, 15});
    });
}

QIcon connect() {
    return draw([](QPainter& p) {
        p.setBrush(QColor(90, 90, 90));
        p.drawRoundedRect(QRectF(2.5, 6.5, 7, 6), 1.5, 1.5);
        p.drawLine(QPointF(9.5, 8), QPointF(13, 8));
        p.drawLine(QPointF(9.5, 11), QPointF(13, 11));
        p.setPen(QPen(kInk, 1.6));
        p.drawLine(QPointF(1, 9.5), QPointF(2.5, 9.5));
        p.drawLine(QPointF(14, 9.5), QPointF(17, 9.5));
    });
}

QIcon disconnect() {
    return draw([](QPainter& p) {
        // The plug pulled out of its socket, a gap between them.
        p.setBrush(QColor(90, 90, 90));
        p.drawRoundedRect(QRectF(1.5, 6.5, 5, 6), 1.5, 1.5);
        p.drawLine(QPointF(6.5, 8), QPointF(8.5, 8));
        p.drawLine(QPointF(6.5, 11), QPointF(8.5, 11));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(11.5, 6.5, 5, 6), 1.5, 1.5);
        p.setPen(QPen(QColor(200, 40, 40), 1.6));
        p.drawLine(QPointF(9.5, 3), QPointF(11, 16));
    });
}

QIcon printOptions() {
    return draw([](QPainter& p) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 1.5, 7, 5));
        p.setBrush(QColor(150, 150, 150));
        p.drawRoundedRect(QRectF(1.5, 6.5, 15, 7), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 11.5, 7, 5));
    });
}

QIcon dataTable() {
    return draw([](QPainter& p) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 2.5, 15, 13));
        for (double y : {6.5, 10.5})
            p.drawLine(QPointF(1.5, y), QPointF(16.5, y));
        for (double x : {6.5, 11.5})
            p.drawLine(QPointF(x, 2.5), QPointF(x, 15.5));
    });
}

QIcon scopeTrace() {
    return draw([](QPainter& p) {
        p.setBrush(QColor(20, 40, 20));
        p.drawRoundedRect(QRectF(1.5, 2.5, 15, 13), 2, 2);
        QPainterPath trace;
        trace.moveTo(3, 9);
        trace.cubicTo(5, 3, 7, 3, 9, 9);
        trace.cubicTo(11, 15, 13, 15, 15, 9);
        p.setPen(QPen(QColor(120, 255, 120), 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(trace);
    });
}

QIcon measure() {
    return draw([](QPainter& p) {
        p.setBrush(QColor(250, 220, 120));
        p.drawRect(QRectF(1.5, 6.5, 15, 5));
        for (int i = 0; i < 6; ++i)
            p.drawLine(QPointF(3.5 + 2.4 * i, 6.5), QPointF(3.5 + 2.4 * i, i % 2 ? 8.5 : 9.5));
    });
}

QIcon spectrum() {
    return draw([](QPainter& p) {
        p.drawLine(QPointF(1.5, 16.5), QPointF(16.5, 16.5));
        const double heights[] = {12, 7, 10, 4, 6, 2};
        p.setBrush(QColor(70, 110, 200));
        for (int i = 0; i < 6; ++i)
            p.drawRect(QRectF(2 + 2.5 * i, 16.5 - heights[i], 1.6, heights[i]));
    });
}

QIcon demo() {
    return draw([](QPainter& p) {
        p.setBrush(QColor(60, 150, 60));
        p.drawEllipse(QRectF(1.5, 1.5, 15, 15));
        QPolygonF play({QPointF(7, 5), QPointF(13, 9), QPointF(7, 13)});
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        p.drawPolygon(play);
    });
}

} // namespace kavlon::icons
