#pragma once

#include <QComboBox>

namespace kavlon {

class DisplayHost;

// The width a combo box needs to show `text` whole, with its style's frame and arrow.
int comboWidthFor(const QComboBox& box, const QString& text);

// The source box of the Scope, Measure and FFT displays: the Data displays of the
// display list, plain and quick-print ones, in list order. The list is rebuilt each
// time the box is entered, as displays come and go.
class SourceBox : public QComboBox {
    Q_OBJECT
public:
    // The longest caption a source can have: a quick print's Data display.
    static constexpr const char* kWidestCaption = "QP_Data00";

    SourceBox(DisplayHost& host, QWidget* parent);

    // Rebuilds the list. The chosen display stays chosen while it is still listed;
    // one that has gone leaves the box blank.
    void refill();
    // The chosen entry, or an empty text when none is chosen.
    QString chosen() const;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    DisplayHost& m_host;
};

} // namespace kavlon
