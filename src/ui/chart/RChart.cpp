#include "ui/chart/RChart.h"

#include "ui/DecimalSeparator.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <limits>

namespace kavlon {

namespace {

constexpr int kTickLength = 6;
constexpr int kLabelGap = 8;
// The least room between two labels written side by side along an axis.
constexpr int kLabelSpacing = 4;

TickFormat formatOf(const ChartAxis& axis, int decimals) {
    return axis.logarithmic() ? logTickFormat(axis.lo(), axis.hi())
                              : linearTickFormat(axis.lo(), axis.hi(), decimals);
}

} // namespace

TRChart::TRChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

void TRChart::SetRangeLoX(double x) {
    m_x.setLo(x);
    changed();
}

void TRChart::SetRangeHiX(double x) {
    m_x.setHi(x);
    changed();
}

void TRChart::SetRangeLoY(double y) {
    m_y.setLo(y);
    changed();
}

void TRChart::SetRangeHiY(double y) {
    m_y.setHi(y);
    changed();
}

void TRChart::SetLogScaleX(bool on) {
    m_x.setLogarithmic(on);
    changed();
}

void TRChart::SetLogScaleY(bool on) {
    m_y.setLogarithmic(on);
    changed();
}

void TRChart::SetCrossHair(int index, const TCrossHair& crossHair) {
    if (index < 0 || index >= int(m_crossHairs.size()))
        return;
    m_crossHairs[std::size_t(index)] = crossHair;
    update();
}

void TRChart::changed() {
    m_stale = true;
    if (AutoRedraw)
        repaint();
}

void TRChart::ClearGraph() {
    m_items.clear();
    m_stale = true;
    update();
}

void TRChart::MoveTo(double x, double y) {
    m_items.push_back({false, x, y, DataColor});
}

void TRChart::DrawTo(double x, double y) {
    m_items.push_back({true, x, y, DataColor});
}

void TRChart::ShowGraph() {
    m_stale = true;
    if (AutoRedraw)
        repaint();
    else
        update();
}

QRect TRChart::plotRect() const {
    return QRect(LRim, TRim, std::max(1, width() - LRim - RRim - ShadowWidth),
                 std::max(1, height() - TRim - BRim - ShadowWidth));
}

QPoint TRChart::toPixel(double x, double y) const {
    const QRect plot = plotRect();
    return {m_x.toPixel(x, plot.left(), plot.right()), m_y.toPixel(y, plot.bottom(), plot.top())};
}

QPointF TRChart::toData(const QPoint& pixel) const {
    const QRect plot = plotRect();
    return {m_x.fromPixel(pixel.x(), plot.left(), plot.right()),
            m_y.fromPixel(pixel.y(), plot.bottom(), plot.top())};
}

void TRChart::renderBase() {
    const qreal ratio = devicePixelRatioF();
    if (m_base.size() != size() * ratio) {
        m_base = QPixmap(size() * ratio);
        m_base.setDevicePixelRatio(ratio);
    }
    m_base.fill(palette().color(QPalette::Window));
    QPainter p(&m_base);
    p.setFont(font()); // the labels were measured in it
    const QRect plot = plotRect();
    p.fillRect(plot.translated(ShadowWidth, ShadowWidth), ShadowColor);
    p.fillRect(plot, Qt::white);
    drawScales(p, plot);
    p.save();
    p.setClipRect(plot);
    drawItems(p, plot);
    p.restore();
    p.setPen(Qt::black);
    p.drawRect(plot.adjusted(0, 0, -1, -1));
    m_stale = false;
}

std::vector<TRChart::ScaleLabel> TRChart::scaleLabels(Qt::Orientation orientation) const {
    const bool horizontal = orientation == Qt::Horizontal;
    const ChartAxis& axis = horizontal ? m_x : m_y;
    const QRect plot = plotRect();
    const QFontMetrics metrics = fontMetrics();
    const TickFormat format = formatOf(axis, horizontal ? DecPlaceX : DecPlaceY);
    const char separator = localeDecimalSeparator();
    std::vector<ScaleLabel> labels;
    std::vector<LabelSpan> spans;
    for (const ChartTick& t :
         axisTicks(axis, horizontal ? MinTickX : MinTickY, horizontal ? ShortTicksX : ShortTicksY)) {
        if (!t.labelled)
            continue;
        const QString text =
            QString::fromStdString(tickLabel(t.value, format, axis.lo(), axis.hi(), separator));
        const int w = metrics.horizontalAdvance(text);
        QRect rect;
        if (horizontal) {
            const int x = axis.toPixel(t.value, plot.left(), plot.right());
            rect = QRect(x - w / 2, plot.bottom() + kTickLength + kLabelGap / 2, w, metrics.height());
            spans.push_back({rect.left(), rect.right() + 1});
        } else {
            const int y = axis.toPixel(t.value, plot.bottom(), plot.top());
            rect = QRect(plot.left() - kTickLength - 2 - w, y - metrics.height() / 2, w, metrics.height());
            spans.push_back({rect.top(), rect.bottom() + 1});
        }
        labels.push_back({t.value, text, rect});
    }
    const std::vector<bool> fit = labelsThatFit(spans, kLabelSpacing);
    std::vector<ScaleLabel> written;
    for (std::size_t i = 0; i < labels.size(); ++i)
        if (fit[i])
            written.push_back(labels[i]);
    return written;
}

void TRChart::drawScales(QPainter& p, const QRect& plot) const {
    const QFontMetrics metrics = fontMetrics();
    const QPen grid(GridColor, 1, Qt::DotLine);
    // Every tick gets its mark and, when labelled, its grid line, written label or not.
    for (const ChartTick& t : axisTicks(m_x, MinTickX, ShortTicksX)) {
        const int x = m_x.toPixel(t.value, plot.left(), plot.right());
        p.setPen(Qt::black);
        p.drawLine(x, plot.bottom(), x, plot.bottom() + (t.labelled ? kTickLength : kTickLength / 2));
        if (t.labelled) {
            p.setPen(grid);
            p.drawLine(x, plot.top(), x, plot.bottom());
        }
    }
    for (const ChartTick& t : axisTicks(m_y, MinTickY, ShortTicksY)) {
        const int y = m_y.toPixel(t.value, plot.bottom(), plot.top());
        p.setPen(Qt::black);
        p.drawLine(plot.left() - (t.labelled ? kTickLength : kTickLength / 2), y, plot.left(), y);
        if (t.labelled) {
            p.setPen(grid);
            p.drawLine(plot.left(), y, plot.right(), y);
        }
    }
    p.setPen(Qt::black);
    for (Qt::Orientation axis : {Qt::Horizontal, Qt::Vertical})
        for (const ScaleLabel& label : scaleLabels(axis))
            p.drawText(label.rect, Qt::AlignCenter | Qt::TextDontClip, label.text);
    // The caption right-aligned just above the plot, the units at the ends of their axes.
    p.drawText(QRect(plot.left(), 0, plot.width(), plot.top() - 2), Qt::AlignRight | Qt::AlignBottom,
               Caption);
    p.drawText(QRect(plot.right() - 80, plot.bottom() + kTickLength + metrics.height(), 80 + RRim,
                     metrics.height() + 4),
               Qt::AlignRight | Qt::AlignVCenter, IdAbscissa);
    p.drawText(QRect(0, 0, plot.left() - 2, plot.top() - 2), Qt::AlignLeft | Qt::AlignBottom, IdOrdinate);
}

void TRChart::drawItems(QPainter& p, const QRect& plot) const {
    bool started = false;
    double lastX = 0.0, lastY = 0.0;
    for (const Item& item : m_items) {
        const double x = m_x.pixelOf(item.x, plot.left(), plot.right());
        const double y = m_y.pixelOf(item.y, plot.bottom(), plot.top());
        if (item.draw && started) {
            double x1 = lastX, y1 = lastY, x2 = x, y2 = y;
            if (clipSegment(x1, y1, x2, y2, plot.left(), plot.top(), plot.right(), plot.bottom())) {
                p.setPen(QPen(item.color, 1));
                p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
            }
        }
        lastX = x;
        lastY = y;
        started = true;
    }
}

void TRChart::drawCrossHairs(QPainter& p) const {
    const QRect plot = plotRect();
    for (const TCrossHair& c : m_crossHairs) {
        if (c.Mode == TCrossHairMode::chOff)
            continue;
        const int w = std::max(1, c.LineWid);
        p.setPen(QPen(c.Color, w, c.LineType));
        const bool vertical = c.Mode == TCrossHairMode::chVert || c.Mode == TCrossHairMode::chBoth;
        const bool horizontal = c.Mode == TCrossHairMode::chHoriz || c.Mode == TCrossHairMode::chBoth;
        const QPoint at = toPixel(c.PosX, c.PosY);
        if (vertical && at.x() > plot.left() + w && at.x() < plot.right() - w)
            p.drawLine(at.x(), plot.top() + w / 2, at.x(), plot.bottom() - w / 2);
        if (horizontal && at.y() > plot.top() + w && at.y() < plot.bottom() - w)
            p.drawLine(plot.left() + w / 2, at.y(), plot.right() - w / 2, at.y());
    }
}

QImage TRChart::picture() {
    if (m_stale || m_base.isNull())
        renderBase();
    QImage image = m_base.toImage();
    QPainter p(&image);
    drawCrossHairs(p);
    return image;
}

void TRChart::paintEvent(QPaintEvent*) {
    if (m_stale || m_base.isNull())
        renderBase();
    QPainter p(this);
    p.drawPixmap(0, 0, m_base);
    drawCrossHairs(p);
}

void TRChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_stale = true;
}

int TRChart::nearestCrossHair(const QPoint& mouse) const {
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int i = 0; i < int(m_crossHairs.size()); ++i) {
        const TCrossHair& c = m_crossHairs[std::size_t(i)];
        if (c.Mode == TCrossHairMode::chOff)
            continue;
        const QPoint at = toPixel(c.PosX, c.PosY);
        double distance = std::numeric_limits<double>::infinity();
        if (c.Mode == TCrossHairMode::chVert || c.Mode == TCrossHairMode::chBoth)
            distance = std::min(distance, std::pow(double(mouse.x()) - at.x(), 2));
        if (c.Mode == TCrossHairMode::chHoriz || c.Mode == TCrossHairMode::chBoth)
            distance = std::min(distance, std::pow(double(mouse.y()) - at.y(), 2));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

void TRChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && MouseAction == TMouseAction::maDragCrossH) {
        m_dragging = true;
        m_picked = -1;
    }
    QWidget::mousePressEvent(event);
}

void TRChart::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint mouse = event->position().toPoint();
    if (m_picked < 0)
        m_picked = nearestCrossHair(mouse);
    if (m_picked < 0)
        return;
    const QPointF data = toData(mouse);
    TCrossHair& c = m_crossHairs[std::size_t(m_picked)];
    c.PosX = data.x();
    c.PosY = data.y();
    update();
    emit OnCrossHairMove(this, m_picked);
}

void TRChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        m_picked = -1;
    }
    QWidget::mouseReleaseEvent(event);
}

} // namespace kavlon
