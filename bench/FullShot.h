#pragma once

#include "support/SyntheticShot.h"

#include <memory>

namespace kavlon::bench {

// The full four-channel shot the benchmarks work on.
inline std::unique_ptr<AcquisitionState> fullShotState() {
    return test::fullFourChannelShot().state();
}

// That shot as a Data display's record holds it.
inline std::unique_ptr<ShotRecord> fullShotRecord() {
    return test::fullFourChannelShot().record();
}

} // namespace kavlon::bench
