// Feeds arbitrary frame sequences to the receive interpretation and checks what
// must hold whatever the instrument sends.
#include "FuzzChecks.h"

#include <algorithm>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kavlon;
    using fuzz::check;
    if (size == 0)
        return 0;
    NullReceiveListener screen;
    fuzz::CheckingWriter wire;
    AcquisitionControl control(screen, wire);
    control.setDemoPause([](std::chrono::milliseconds) {});
    // The first byte picks the link's situation.
    control.State.Connected = (data[0] & 1) != 0;
    control.DemoMode = (data[0] & 2) != 0;
    if (data[0] & 4)
        control.State.RequestName = "QP_Data00";
    ++data;
    --size;

    for (std::size_t at = 0; at < size; at += kFrameSize) {
        Frame frame{};
        std::memcpy(frame.data(), data + at, std::min<std::size_t>(kFrameSize, size - at));
        control.InterpretRecvData(frame);
        check(!control.busy());
    }
    fuzz::checkAcquisition(control);
    return 0;
}
