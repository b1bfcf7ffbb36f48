#pragma once

#include "core/chart/ChartAxis.h"

#include <QColor>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <vector>

namespace kavlon {

enum class TCrossHairMode { chOff, chHoriz, chVert, chBoth };

struct TCrossHair {
    double PosX = 0.0;
    double PosY = 0.0;
    QColor Color = Qt::black;
    TCrossHairMode Mode = TCrossHairMode::chOff;
    Qt::PenStyle LineType = Qt::SolidLine;
    int LineWid = 1;
};

// What dragging with the mouse does: nothing, or move the nearest crosshair.
enum class TMouseAction { maNone, maDragCrossH };

// A chart: a plot area framed by margins that hold the scales, the axis titles and
// the caption, a list of move-to and draw-to items in data coordinates, and up to four
// crosshairs the user can drag. The picture is drawn once per change into an image;
// crosshairs are drawn over a copy of it.
class TRChart : public QWidget {
    Q_OBJECT
public:
    explicit TRChart(QWidget* parent = nullptr);

    double RangeLoX() const { return m_x.lo(); }
    double RangeHiX() const { return m_x.hi(); }
    double RangeLoY() const { return m_y.lo(); }
    double RangeHiY() const { return m_y.hi(); }
    bool LogScaleX() const { return m_x.logarithmic(); }
    bool LogScaleY() const { return m_y.logarithmic(); }
    void SetRangeLoX(double x);
    void SetRangeHiX(double x);
    void SetRangeLoY(double y);
    void SetRangeHiY(double y);
    void SetLogScaleX(bool on);
    void SetLogScaleY(bool on);
    void SetMinRangeX(double span) { m_x.setMinRange(span); }
    void SetMinRangeY(double span) { m_y.setMinRange(span); }

    // Layout and texts; a change shows at the next ShowGraph or repaint.
    int LRim = 60, RRim = 10, TRim = 22, BRim = 40;
    int MinTickX = 3, MinTickY = 3;
    int DecPlaceX = -2, DecPlaceY = -2;
    bool ShortTicksX = false, ShortTicksY = false;
    QString Caption;
    QString IdAbscissa;
    QString IdOrdinate;
    QColor DataColor = Qt::black;
    QColor GridColor = QColor(192, 192, 192);
    QColor ShadowColor = QColor(128, 128, 128);
    int ShadowWidth = 4;
    TMouseAction MouseAction = TMouseAction::maNone;
    bool AutoRedraw = false;

    const TCrossHair& CrossHair(int index) const { return m_crossHairs[std::size_t(index)]; }
    void SetCrossHair(int index, const TCrossHair& crossHair);

    void ClearGraph();
    void MoveTo(double x, double y);
    void DrawTo(double x, double y);
    // Makes what was added visible: at once with AutoRedraw, else at the next paint.
    void ShowGraph();

    struct Item {
        bool draw = false; // a line from the previous point, or a new start
        double x = 0.0, y = 0.0;
        QColor color;
    };
    const std::vector<Item>& items() const { return m_items; }

    // The plot area inside the margins and the shadow.
    QRect plotRect() const;
    QPoint toPixel(double x, double y) const;
    QPointF toData(const QPoint& pixel) const;
    // A tick label as the scale writes it: its tick's value, its text, where it goes.
    struct ScaleLabel {
        double value = 0.0;
        QString text;
        QRect rect;
    };
    // The labels an axis writes: none for a tick off the axis, none crowding the one before.
    std::vector<ScaleLabel> scaleLabels(Qt::Orientation axis) const;
    // The finished picture, crosshairs included, as it is shown.
    QImage picture();

signals:
    void OnCrossHairMove(kavlon::TRChart* chart, int crossHair);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void changed();
    void renderBase();
    void drawScales(QPainter& p, const QRect& plot) const;
    void drawItems(QPainter& p, const QRect& plot) const;
    void drawCrossHairs(QPainter& p) const;
    int nearestCrossHair(const QPoint& mouse) const;

    ChartAxis m_x;
    ChartAxis m_y;
    std::vector<Item> m_items;
    std::array<TCrossHair, 4> m_crossHairs{};
    QPixmap m_base; // the chart without its crosshairs
    bool m_stale = true;
    bool m_dragging = false;
    int m_picked = -1;
};

} // namespace kavlon
