#include "ui/displays/DisplayWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWindowStateChangeEvent>

namespace kavlon {

TMDIChild::TMDIChild(DisplayHost& host, const QString& designCaption, QWidget* content) : m_host(host) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(designCaption);
    setWidget(content);
    setWindowIcon(QApplication::windowIcon());
}

TMDIChild::~TMDIChild() {
    m_host.removeDisplay(windowTitle());
}

namespace {

// The frame and title bar are the subwindow's contents margins.
QSize windowSizeFor(TMDIChild& window, int width, int height) {
    window.ensurePolished();
    const QMargins frame = window.contentsMargins();
    return {width + frame.left() + frame.right(), height + frame.top() + frame.bottom()};
}

} // namespace

void TMDIChild::setClientSize(int width, int height) {
    resize(windowSizeFor(*this, width, height));
}

void TMDIChild::fixSize(const QSize& size) {
    // The limits themselves move the window to the size; a resize alone would stay
    // inside the limits an earlier size set.
    setSizeLimits(size, size);
    if (!isMinimized())
        resize(size);
}

void TMDIChild::fixClientSize(int width, int height) {
    fixSize(windowSizeFor(*this, width, height));
}

QSize TMDIChild::clientSize() const {
    return contentsRect().size();
}

void TMDIChild::setSizeLimits(const QSize& minimum, const QSize& maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    // Maximised, a window that cannot fill the area would leave the others showing
    // around it: only one that can grow both ways offers it.
    const bool fills = maximum.width() >= QWIDGETSIZE_MAX && maximum.height() >= QWIDGETSIZE_MAX;
    if (bool(windowFlags() & Qt::WindowMaximizeButtonHint) != fills) {
        if (isMaximized())
            showNormal();
        const bool shown = isVisible();
        setWindowFlag(Qt::WindowMaximizeButtonHint, fills);
        if (shown)
            show();
    }
    applySizeLimits();
}

void TMDIChild::applySizeLimits() {
    const bool caption = isMinimized() || isShaded();
    setMinimumSize(caption ? QSize(0, 0) : m_minimum);
    setMaximumSize(caption ? QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) : m_maximum);
}

void TMDIChild::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        // The limits go before the window shrinks to its caption, and come back
        // once it shows its content again.
        if (isMinimized())
            applySizeLimits();
        QMdiSubWindow::changeEvent(event);
        if (!isMinimized())
            applySizeLimits();
        return;
    }
    QMdiSubWindow::changeEvent(event);
}

void TMDIChild::closeEvent(QCloseEvent* event) {
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        m_closing = true;
}

} // namespace kavlon
