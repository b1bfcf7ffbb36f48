#pragma once

#include "ui/displays/DisplayWindow.h"

namespace kavlon {

// A Measure display: 22 measurements per channel of a Data display's shot.
class TMDIChild_Math : public TMDIChild {
    Q_OBJECT
public:
    explicit TMDIChild_Math(DisplayHost& host);
};

} // namespace kavlon
