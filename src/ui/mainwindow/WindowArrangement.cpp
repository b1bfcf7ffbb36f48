// Arranging the displays from the window menu: cascade and tile.
#include "ui/mainwindow/WindowArrangement.h"

#include "ui/mainwindow/MainForm.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace kavlon {

int cascadeStep(const QMdiArea& area) {
    const auto windows = area.subWindowList();
    // A window's top margin is its title bar and the frame above it.
    return std::max(kDisplayStep, windows.isEmpty() ? 0 : windows.first()->contentsMargins().top());
}

int captionEnd(const QMdiSubWindow& window) {
    QStyleOptionTitleBar option;
    option.initFrom(&window);
    option.rect = QRect(0, 0, window.width(), window.contentsMargins().top());
    option.text = window.windowTitle();
    option.titleBarFlags = window.windowFlags();
    option.titleBarState = int(window.windowState());
    option.subControls = QStyle::SC_All;
    const QRect label =
        window.style()->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, &window);
    // The active window's caption is bold on some styles: measured bold, it fits either way.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int text = QFontMetrics(font).horizontalAdvance(window.windowTitle());
    // Written from the left or centred, the caption ends here at the most.
    return std::min(label.right() + 1, std::max(label.left() + text, label.center().x() + (text + 1) / 2));
}

void TMainForm::cascade() {
    // Every display keeps its own size; minimised ones stay where they lie.
    std::vector<QMdiSubWindow*> windows;
    std::vector<CascadeWindow> shapes;
    for (QMdiSubWindow* w : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (w->isMinimized())
            continue;
        if (w->isMaximized())
            w->showNormal();
        windows.push_back(w);
        shapes.push_back({w->size(), captionEnd(*w)});
    }
    const std::vector<QPoint> positions =
        cascadePositions(m_mdiArea->viewport()->size(), shapes, cascadeStep(*m_mdiArea));
    for (std::size_t i = 0; i < windows.size(); ++i) {
        windows[i]->move(positions[i]);
        windows[i]->raise();
    }
}

void TMainForm::tile(Qt::Orientation stacking) {
    // Vertical stacking puts the windows one above the other at full width;
    // horizontal stacking puts them side by side at full height. A window that
    // keeps its size takes its own share, the others divide the rest.
    const auto windows = m_mdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    const QSize area = m_mdiArea->viewport()->size();
    const bool vertical = stacking == Qt::Vertical;
    std::vector<TileLimits> limits;
    for (auto* w : windows) {
        w->showNormal();
        limits.push_back(vertical ? TileLimits{w->minimumHeight(), w->maximumHeight()}
                                  : TileLimits{w->minimumWidth(), w->maximumWidth()});
    }
    const std::vector<TileSpan> spans = tileSpans(vertical ? area.height() : area.width(), limits);
    for (int i = 0; i < int(windows.size()); ++i) {
        const TileSpan& span = spans[std::size_t(i)];
        if (vertical)
            windows[i]->setGeometry(0, span.offset, area.width(), span.length);
        else
            windows[i]->setGeometry(span.offset, 0, span.length, area.height());
    }
}

} // namespace kavlon
