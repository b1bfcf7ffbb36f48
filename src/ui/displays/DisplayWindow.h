#pragma once

#include "ui/displays/DisplayHost.h"

#include <QMdiSubWindow>

namespace kavlon {

// Common ground of the Data, Scope, Measure and FFT displays: a child window of
// the main window whose caption is its identity. Closing frees it, and its
// destruction gives its number and list entry back.
class TMDIChild : public QMdiSubWindow {
    Q_OBJECT
public:
    TMDIChild(DisplayHost& host, const QString& designCaption, QWidget* content);
    ~TMDIChild() override;

    // Sizes the window so that its content area is w x h.
    void setClientSize(int width, int height);
    QSize clientSize() const;
    // True once the window has been asked to close (it is freed shortly after).
    bool isClosing() const { return m_closing; }

protected:
    void closeEvent(QCloseEvent* event) override;

    DisplayHost& m_host;

private:
    bool m_closing = false;
};

} // namespace kavlon
