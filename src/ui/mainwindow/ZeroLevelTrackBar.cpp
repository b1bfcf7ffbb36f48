#include "ui/mainwindow/ZeroLevelTrackBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>

namespace kavlon {

ZeroLevelTrackBar::ZeroLevelTrackBar(const QColor& trackColor, QWidget* parent)
    : QSlider(Qt::Vertical, parent), m_trackColor(trackColor) {
    setRange(0, kMaximum);
    setValue(kDesignPosition);
    setTickInterval(kDivision);
    setTickPosition(QSlider::TicksBothSides);
    setPageStep(kDivision);
    setSingleStep(1);
    // Position 0 sits at the top, as the instrument's screen has it.
    setInvertedAppearance(true);
    setInvertedControls(true);
}

void ZeroLevelTrackBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);

    // The style draws ticks and handle (so hit-testing matches what is seen);
    // the groove is ours, in the channel's colour.
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const int width = 6;
    const QRect track(groove.center().x() - width / 2, groove.top() + 2, width, groove.height() - 4);
    painter.setPen(m_trackColor.darker(160));
    painter.setBrush(isEnabled() ? m_trackColor : m_trackColor.lighter(150));
    painter.drawRect(track);

    option.subControls = QStyle::SC_SliderTickmarks | QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}

void ZeroLevelTrackBar::mousePressEvent(QMouseEvent* event) {
    m_pressed = true;
    QSlider::mousePressEvent(event);
}

void ZeroLevelTrackBar::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    if (m_pressed && event->buttons() == Qt::NoButton) {
        m_pressed = false;
        emit mouseReleased();
    }
}

} // namespace kavlon
