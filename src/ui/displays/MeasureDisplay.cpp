#include "ui/displays/MeasureDisplay.h"

namespace kavlon {

TMDIChild_Math::TMDIChild_Math(DisplayHost& host) : TMDIChild(host, "Math", new QWidget) {}

} // namespace kavlon
