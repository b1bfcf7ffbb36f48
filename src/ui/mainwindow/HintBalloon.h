#pragma once

#include "core/demo/DemoScript.h"

#include <QPainterPath>
#include <QWidget>

class QTimer;

namespace kavlon {

// A speech balloon whose tail points at a screen point: the demonstration's way of
// saying what is under the pointer. It never takes the focus, shows for a while and
// goes by itself; events flow on meanwhile. A new text replaces the one showing.
class HintBalloon : public QWidget {
    Q_OBJECT
public:
    explicit HintBalloon(QWidget* parent = nullptr);

    // Text lines may end with a line feed and a carriage return, as the script has them.
    void showAt(const QPoint& screenPoint, const QString& text, int milliseconds, BalloonSide side);
    QString shownText() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPainterPath outline() const;

    QString m_text;
    BalloonSide m_side = BalloonSide::Above;
    int m_tailX = 0;
    QTimer* m_hide = nullptr;
};

} // namespace kavlon
