#pragma once

#include "ui/displays/DisplayWindow.h"

namespace kavlon {

// An FFT display: the spectra of a Data display's shot.
class TMDIChild_FFT : public TMDIChild {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 680;
    explicit TMDIChild_FFT(DisplayHost& host);
};

} // namespace kavlon
