#pragma once

#include <QCheckBox>

namespace kavlon {

class DisplayHost;
class SourceBox;

// The Follow box of the Scope, Measure and FFT displays: while it is ticked, the
// display loads the shot of the Data display in its source box again each time that
// display takes a new one. A new box starts as the user last chose.
class FollowBox : public QCheckBox {
    Q_OBJECT
public:
    FollowBox(DisplayHost& host, QWidget* parent);

    // True when the display with this source box is to load the new shot of the
    // Data display of this caption.
    bool follows(const SourceBox& source, const QString& caption) const;
};

} // namespace kavlon
