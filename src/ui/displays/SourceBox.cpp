#include "ui/displays/SourceBox.h"

#include "ui/displays/DisplayHost.h"

#include <QFocusEvent>

namespace kavlon {

SourceBox::SourceBox(DisplayHost& host, QWidget* parent) : QComboBox(parent), m_host(host) {}

void SourceBox::refill() {
    const QString previous = chosen();
    clear();
    addItems(m_host.sourceCandidates());
    // Entering the box chooses nothing new; a choice still listed is kept.
    setCurrentIndex(previous.isEmpty() ? -1 : findText(previous, Qt::MatchExactly));
}

QString SourceBox::chosen() const { return currentIndex() < 0 ? QString() : currentText(); }

void SourceBox::focusInEvent(QFocusEvent* event) {
    // Focus coming back from the box's own list, or with the whole window, is no entry.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
        refill();
    QComboBox::focusInEvent(event);
}

} // namespace kavlon
