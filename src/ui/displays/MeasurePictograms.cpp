#include "ui/displays/MeasurePictograms.h"

#include "core/measure/MeasureLayout.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <cmath>

namespace kavlon {

namespace {

// Coordinates inside one 59 x 21 cell.
constexpr int kTop = 5, kBase = 16, kGround = 12;
const QColor kYellow(255, 255, 0);
const QColor kGreen(0, 255, 0);

QPolygon pulse() {
    return QPolygon({{4, kBase}, {14, kBase}, {14, kTop}, {34, kTop}, {34, kBase}, {54, kBase}});
}
QPolygon rising(int shift = 0) {
    return QPolygon({{4, kBase}, {18 + shift, kBase}, {28 + shift, kTop}, {54, kTop}});
}
QPolygon falling() {
    return QPolygon({{4, kTop}, {18, kTop}, {28, kBase}, {54, kBase}});
}
QPolygon sine() {
    QPolygon wave;
    for (int x = 4; x <= 54; ++x)
        wave << QPoint(x, int(std::lround(10.5 - 5.5 * std::sin((x - 4) * 2 * M_PI / 25))));
    return wave;
}

void arrowHead(QPainter& p, QPoint tip, int dx, int dy) {
    p.drawLine(tip, tip + QPoint(dx + dy, dy + dx));
    p.drawLine(tip, tip + QPoint(dx - dy, dy - dx));
}
void verticalArrow(QPainter& p, int x, int from, int to) {
    p.drawLine(x, from, x, to);
    const int d = to > from ? -2 : 2;
    arrowHead(p, {x, to}, 0, d);
    arrowHead(p, {x, from}, 0, -d);
}
void horizontalArrow(QPainter& p, int y, int from, int to) {
    p.drawLine(from, y, to, y);
    arrowHead(p, {to, y}, -2, 0);
    arrowHead(p, {from, y}, 2, 0);
}
void groundMark(QPainter& p) {
    p.drawLine(2, kGround, 8, kGround);
    p.drawLine(3, kGround + 2, 7, kGround + 2);
}
void label(QPainter& p, int x, const char* text) {
    p.drawText(QRect(x, 0, 59 - x, 21), Qt::AlignVCenter, text);
}

void drawRow(QPainter& p, int row) {
    switch (row) {
    case 0:
        p.drawPolyline(pulse());
        verticalArrow(p, 44, kTop, kBase);
        break; // Vpp
    case 1:
        groundMark(p);
        p.drawPolyline(pulse());
        verticalArrow(p, 24, kGround, kTop);
        break; // Vmax
    case 2:
        groundMark(p);
        p.drawPolyline(pulse());
        verticalArrow(p, 44, kGround, kBase);
        break; // Vmin
    case 3:
        p.drawPolyline(sine());
        p.drawLine(4, 10, 54, 10);
        break; // Vavg
    case 4:
        p.drawPolyline(pulse());
        verticalArrow(p, 24, kTop, kBase);
        break; // Vtamp
    case 5:
        groundMark(p);
        p.drawPolyline(pulse());
        verticalArrow(p, 30, kGround, kTop);
        break; // Vtop
    case 6:
        groundMark(p);
        p.drawPolyline(pulse());
        verticalArrow(p, 44, kGround, kBase);
        break; // Vbase
    case 7:
        p.drawPolyline(sine());
        verticalArrow(p, 10, 10, 5);
        break; // Vrms
    case 8:
        p.drawPolyline(QPolygon({{4, kBase}, {18, kBase}, {24, 2}, {28, 6}, {54, 6}}));
        verticalArrow(p, 38, 2, 6);
        break;
    case 9:
        p.drawPolyline(QPolygon({{4, 15}, {16, 15}, {19, 19}, {26, kTop}, {54, kTop}}));
        verticalArrow(p, 10, 15, 19);
        break;
    case 10:
        label(p, 1, "1/");
        p.drawPolyline(QPolygon({{14, kBase}, {14, 8}, {30, 8}, {30, kBase}, {46, kBase}, {46, 8}, {56, 8}}));
        horizontalArrow(p, 4, 14, 46);
        break; // Frequency
    case 11:
        p.drawPolyline(rising());
        horizontalArrow(p, 10, 18, 28);
        break; // Rise time
    case 12:
        p.drawPolyline(falling());
        horizontalArrow(p, 10, 18, 28);
        break; // Fall time
    case 13:
        p.drawPolyline(pulse());
        p.drawLine(54, kBase, 54, kTop);
        horizontalArrow(p, 19, 14, 54);
        break; // Period
    case 14:
    case 16:
        p.drawPolyline(pulse());
        horizontalArrow(p, 9, 14, 34);
        break; // high pulse
    case 15:
    case 17:
        p.drawPolyline(pulse());
        horizontalArrow(p, 12, 34, 54);
        p.drawLine(4, kBase, 14, kBase);
        break; // low pulse
    default: { // phase, delays
        p.drawPolyline(QPolygon({{2, kBase}, {8, kBase}, {14, 8}, {20, 8}}));
        p.setPen(kGreen);
        p.drawPolyline(QPolygon({{2, 18}, {14, 18}, {20, 11}, {26, 11}}));
        p.setPen(kYellow);
        label(p, 28, row == kFirstPhaseRow ? "DEG" : "SEC");
        break;
    }
    }
}

} // namespace

QPixmap measurePictograms() {
    QPixmap pixmap(kPictogramWidth, kMeasureRowHeight * kMeasureRows);
    pixmap.fill(Qt::black);
    QPainter p(&pixmap);
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    for (int row = 0; row < kMeasureRows; ++row) {
        p.save();
        p.translate(0, row * kMeasureRowHeight);
        p.setPen(QColor(96, 96, 96));
        p.drawLine(0, kMeasureRowHeight - 1, kPictogramWidth, kMeasureRowHeight - 1);
        p.setPen(kYellow);
        drawRow(p, row);
        p.restore();
    }
    return pixmap;
}

} // namespace kavlon
