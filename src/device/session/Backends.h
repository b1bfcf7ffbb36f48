#pragma once

#include "device/hid/HidBackend.h"

#include <memory>

namespace kavlon {

// The device layer the program runs on: real HID devices, or the simulated
// instrument paced like the real link (the program's --simulate). Chosen here,
// above both, so the HID and simulator folders need not know each other.
std::unique_ptr<HidBackend> makeHidBackend(bool simulate);

} // namespace kavlon
