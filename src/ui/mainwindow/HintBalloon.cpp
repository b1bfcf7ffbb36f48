#include "ui/mainwindow/HintBalloon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace kavlon {

namespace {

constexpr int kTail = 14;    // height of the tail
constexpr int kTailHalf = 8; // half its width where it meets the body
constexpr int kRadius = 8;
constexpr int kPadding = 10;

} // namespace

HintBalloon::HintBalloon(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_hide(new QTimer(this)) {
    setObjectName("HintBalloon");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_hide->setSingleShot(true);
    connect(m_hide, &QTimer::timeout, this, &QWidget::hide);
}

void HintBalloon::showAt(const QPoint& point, const QString& text, int milliseconds, BalloonSide side) {
    m_text = QString(text).remove('\r');
    m_side = side;
    const QRect textBox = fontMetrics().boundingRect(QRect(0, 0, 600, 400), Qt::TextWordWrap, m_text);
    const QSize body(textBox.width() + 2 * kPadding, textBox.height() + 2 * kPadding);
    const QSize whole(std::max(body.width(), 2 * (kRadius + kTailHalf) + 1), body.height() + kTail);

    // The body sits beside the point, kept on the screen; the tail still reaches the point.
    int left = point.x() - kRadius - kTailHalf;
    if (const QScreen* screen = QGuiApplication::screenAt(point)) {
        const QRect room = screen->availableGeometry();
        left = std::clamp(left, room.left(), std::max(room.left(), room.right() + 1 - whole.width()));
    }
    m_tailX = std::clamp(point.x() - left, kRadius + kTailHalf, whole.width() - kRadius - kTailHalf);
    const int top = side == BalloonSide::Below ? point.y() : point.y() - whole.height();
    setGeometry(left, top, whole.width(), whole.height());
    // The offscreen platform has no window shapes; everywhere else the balloon is its outline.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        setMask(QRegion(outline().toFillPolygon().toPolygon()));
    show();
    update();
    m_hide->start(std::max(0, milliseconds));
}

QPainterPath HintBalloon::outline() const {
    const int bodyTop = m_side == BalloonSide::Below ? kTail : 0;
    const QRectF body(0, bodyTop, width() - 1, height() - kTail - 1);
    QPainterPath path;
    path.addRoundedRect(body, kRadius, kRadius);
    QPainterPath tail;
    const qreal base = m_side == BalloonSide::Below ? body.top() + 1 : body.bottom() - 1;
    const qreal tip = m_side == BalloonSide::Below ? 0 : height() - 1;
    tail.moveTo(m_tailX - kTailHalf, base);
    tail.lineTo(m_tailX, tip);
    tail.lineTo(m_tailX + kTailHalf, base);
    tail.closeSubpath();
    return path.united(tail);
}

void HintBalloon::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::ToolTipText), 1));
    p.setBrush(palette().color(QPalette::ToolTipBase));
    p.drawPath(outline());
    const int bodyTop = m_side == BalloonSide::Below ? kTail : 0;
    const QRect textArea(kPadding, bodyTop + kPadding, width() - 2 * kPadding,
                         height() - kTail - 2 * kPadding);
    p.drawText(textArea, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, m_text);
}

} // namespace kavlon
