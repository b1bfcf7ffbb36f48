#pragma once

#include "DisplayWindow.h"

namespace kavlon {

// A Scope display: the waveforms of a Data display's shot on a graticule.
class TMDIChild_Scope : public TMDIChild {
    Q_OBJECT
public:
    explicit TMDIChild_Scope(DisplayHost& host);
};

} // namespace kavlon
