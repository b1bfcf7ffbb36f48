#include "ui/displays/FollowBox.h"

#include "ui/displays/DisplayHost.h"
#include "ui/displays/SourceBox.h"

namespace kavlon {

FollowBox::FollowBox(DisplayHost& host, QWidget* parent) : QCheckBox("Follow", parent) {
    setObjectName("FollowCB");
    setStatusTip("Load the source's shot again each time it takes a new one");
    setChecked(host.followChosen());
    adjustSize();
    // Only the user's own choice becomes the next display's start.
    connect(this, &QCheckBox::clicked, this, [&host](bool on) { host.chooseFollow(on); });
}

bool FollowBox::follows(const SourceBox& source, const QString& caption) const {
    return isChecked() && !caption.isEmpty() && source.chosen() == caption;
}

} // namespace kavlon
