#include "ui/displays/DisplayWindow.h"

#include <QApplication>
#include <QCloseEvent>

namespace kavlon {

TMDIChild::TMDIChild(DisplayHost& host, const QString& designCaption, QWidget* content) : m_host(host) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(designCaption);
    setWidget(content);
    setWindowIcon(QApplication::windowIcon());
}

TMDIChild::~TMDIChild() { m_host.removeDisplay(windowTitle()); }

void TMDIChild::setClientSize(int width, int height) {
    ensurePolished();
    // The frame and title bar are the subwindow's contents margins.
    const QMargins frame = contentsMargins();
    resize(width + frame.left() + frame.right(), height + frame.top() + frame.bottom());
}

QSize TMDIChild::clientSize() const { return contentsRect().size(); }

void TMDIChild::closeEvent(QCloseEvent* event) {
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        m_closing = true;
}

} // namespace kavlon
