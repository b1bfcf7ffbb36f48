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
    // Holds the window at this size from now on, larger or smaller than before.
    void fixSize(const QSize& size);
    void fixClientSize(int width, int height);
    QSize clientSize() const;
    // True once the window has been asked to close (it is freed shortly after).
    bool isClosing() const { return m_closing; }
    // Sizes the window keeps while it shows its content; minimised it is only its
    // caption, whatever these say. A window held in either direction cannot be maximised.
    void setSizeLimits(const QSize& minimum, const QSize& maximum);
    // The Data display of this caption took a new shot. A display that follows it loads
    // it again; others (and the Data displays themselves) do nothing.
    virtual void sourceShotTaken(const QString& caption) { (void)caption; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

    DisplayHost& m_host;

private:
    void applySizeLimits();

    bool m_closing = false;
    QSize m_minimum{0, 0};
    QSize m_maximum{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
};

} // namespace kavlon
