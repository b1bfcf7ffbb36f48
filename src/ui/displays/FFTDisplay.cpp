#include "ui/displays/FFTDisplay.h"

namespace kavlon {

TMDIChild_FFT::TMDIChild_FFT(DisplayHost& host) : TMDIChild(host, "FFT", new QWidget) {}

} // namespace kavlon
