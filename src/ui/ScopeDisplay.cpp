#include "ScopeDisplay.h"

namespace kavlon {

TMDIChild_Scope::TMDIChild_Scope(DisplayHost& host) : TMDIChild(host, "Scope", new QWidget) {
    // The instrument's screen does not stretch: the window keeps its size.
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
}

} // namespace kavlon
