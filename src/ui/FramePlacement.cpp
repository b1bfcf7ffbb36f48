#include "ui/FramePlacement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace kavlon {

namespace {

// One coordinate of a frame of `length` centred on [target, target + span), then moved
// inside [bounds, bounds + room) as far as it fits.
int centredWithin(int target, int span, int length, int bounds, int room) {
    const int centred = target + (span - length) / 2;
    return std::max(bounds, std::min(centred, bounds + room - length));
}

constexpr const char* kWatcherName = "FramedOnce";

// Watches a window until it is first exposed, then places it again if its frame has
// changed since it was placed.
class FramedOnce : public QObject {
public:
    FramedOnce(QWidget& window, std::function<void()> place)
        : QObject(&window), m_window(window), m_place(std::move(place)),
          m_placedWith(frameMarginsOf(window)) {
        setObjectName(kWatcherName);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* handle = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && handle && handle->isExposed()) {
            watched->removeEventFilter(this);
            if (frameMarginsOf(m_window) != m_placedWith)
                m_place();
            deleteLater();
        }
        return false;
    }

private:
    QWidget& m_window;
    std::function<void()> m_place;
    QMargins m_placedWith;
};

} // namespace

QSize fittedContentSize(const QSize& content, const QMargins& frame, const QSize& bounds) {
    const int width = bounds.width() - frame.left() - frame.right();
    const int height = bounds.height() - frame.top() - frame.bottom();
    return {std::max(0, std::min(content.width(), width)), std::max(0, std::min(content.height(), height))};
}

QPoint centredContentPosition(const QSize& content, const QMargins& frame, const QRect& target,
                              const QRect& bounds) {
    const int frameWidth = content.width() + frame.left() + frame.right();
    const int frameHeight = content.height() + frame.top() + frame.bottom();
    const int left = centredWithin(target.x(), target.width(), frameWidth, bounds.x(), bounds.width());
    const int top = centredWithin(target.y(), target.height(), frameHeight, bounds.y(), bounds.height());
    return {left + frame.left(), top + frame.top()};
}

QMargins frameMarginsOf(const QWidget& window) {
    // The window's own answer is fresh; the widget's copy waits for the next move.
    const QWindow* handle = window.windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

QRect frameRectOf(const QWidget& window) {
    return window.geometry().marginsAdded(frameMarginsOf(window));
}

void placeNowAndOnceFramed(QWidget& window, const std::function<void()>& place) {
    place();
    QWindow* handle = window.windowHandle();
    if (!handle || handle->isExposed() ||
        window.findChild<QObject*>(kWatcherName, Qt::FindDirectChildrenOnly))
        return;
    handle->installEventFilter(new FramedOnce(window, place));
}

void centreOnOwner(QWidget& dialog) {
    QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    placeNowAndOnceFramed(dialog, [&dialog, owner] {
        QMargins frame = frameMarginsOf(dialog);
        if (frame.isNull() && owner)
            frame = frameMarginsOf(*owner); // the same window manager frames both
        const QScreen* screen = owner ? owner->screen() : dialog.screen();
        if (!screen)
            return;
        const QRect bounds = screen->availableGeometry();
        const QRect target = owner && owner->isVisible() ? frameRectOf(*owner) : bounds;
        dialog.setGeometry(
            QRect(centredContentPosition(dialog.size(), frame, target, bounds), dialog.size()));
    });
}

} // namespace kavlon
