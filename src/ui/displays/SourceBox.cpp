#include "ui/displays/SourceBox.h"

#include "ui/displays/DisplayHost.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace kavlon {

int comboWidthFor(const QComboBox& box, const QString& text) {
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = box.isEditable();
    const QSize content(box.fontMetrics().horizontalAdvance(text) + 2, box.height());
    return box.style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, &box).width();
}

SourceBox::SourceBox(DisplayHost& host, QWidget* parent) : QComboBox(parent), m_host(host) {
    // Where the box itself is narrower than a caption, its list still shows them whole.
    view()->setMinimumWidth(comboWidthFor(*this, kWidestCaption));
    connect(this, &QComboBox::currentTextChanged, this, [this](const QString& text) { setToolTip(text); });
}

void SourceBox::refill() {
    const QString previous = chosen();
    clear();
    addItems(m_host.sourceCandidates());
    // Entering the box chooses nothing new; a choice still listed is kept.
    setCurrentIndex(previous.isEmpty() ? -1 : findText(previous, Qt::MatchExactly));
}

QString SourceBox::chosen() const {
    return currentIndex() < 0 ? QString() : currentText();
}

void SourceBox::focusInEvent(QFocusEvent* event) {
    // Focus coming back from the box's own list is no entry. Focus that comes with the
    // whole window is one: a display made behind a modal dialog gets its focus that way,
    // and the click that follows finds the box focused already.
    if (event->reason() != Qt::PopupFocusReason)
        refill();
    QComboBox::focusInEvent(event);
}

} // namespace kavlon
