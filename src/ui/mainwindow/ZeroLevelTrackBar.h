#pragma once

#include <QColor>
#include <QSlider>

namespace kavlon {

// The vertical zero-level track bar of a channel: 0 at the top, 384 at the
// bottom, a tick every division (48) on both sides, the track in the channel's
// colour. It reports a mouse release, the only moment the instrument is told.
class ZeroLevelTrackBar : public QSlider {
    Q_OBJECT
public:
    static constexpr int kMaximum = 384;
    static constexpr int kDivision = 48;
    static constexpr int kDesignPosition = 196;

    explicit ZeroLevelTrackBar(const QColor& trackColor, QWidget* parent = nullptr);

signals:
    // Any mouse button released after it was pressed on the track bar.
    void mouseReleased();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor m_trackColor;
    bool m_pressed = false;
};

} // namespace kavlon
