#include "core/scpi/ModelInstrument.h"

#include "core/scales/ScaleTables.h"

namespace kavlon::scpi {

namespace {

// Where an Auto-Scale leaves it: 200 µs and 500 mV per division, every channel on.
InstrumentSettings autoScaled(InstrumentSettings s) {
    s.timebaseIndex = 15;
    s.voltsIndex.fill(8);
    s.on.fill(true);
    s.running = true;
    return s;
}

} // namespace

ModelInstrument::ModelInstrument() : m_identity{"Quorvel", "Scope Interface", "MODEL1", "0.1"} {
    m_settings.probeRange.fill(3);
    m_settings.zeroLevel.fill(124);
    m_settings.triggerSource = 1;
    m_settings.triggerLevel = 100;
    m_settings = autoScaled(m_settings);
}

std::optional<ActionResult> ModelInstrument::begin(const InstrumentAction& action) {
    m_actions.push_back(action);
    if (!m_held)
        return apply(action);
    m_pending = action;
    return std::nullopt;
}

std::optional<ActionResult> ModelInstrument::complete() {
    if (!m_pending)
        return std::nullopt;
    const InstrumentAction action = *m_pending;
    m_pending.reset();
    return apply(action);
}

ActionResult ModelInstrument::apply(const InstrumentAction& a) {
    using Kind = InstrumentAction::Kind;
    const auto c = std::size_t(a.channel > 0 ? a.channel - 1 : 0);
    switch (a.kind) {
    case Kind::Run:
    case Kind::Stop:
        m_settings.running = a.kind == Kind::Run;
        break;
    case Kind::Single:
        m_settings.running = false;
        break;
    case Kind::AutoScale:
        m_settings = autoScaled(m_settings);
        break;
    case Kind::Digitize:
        if (!m_next)
            return {ActionResult::Kind::IncompleteShot, "a frame of the shot was lost"};
        m_last = m_next;
        ++m_shotCount;
        break;
    case Kind::Timebase:
        if (const auto k = timebaseIndexFor(a.value))
            m_settings.timebaseIndex = *k;
        else
            return {ActionResult::Kind::NotOffered, "timebase"};
        break;
    case Kind::Volts:
        if (const auto v = voltsIndexFor(a.value, m_settings.probeRange[c]))
            m_settings.voltsIndex[c] = *v;
        else
            return {ActionResult::Kind::NotOffered, "volts per division"};
        break;
    case Kind::Display:
        m_settings.on[c] = a.value != 0;
        break;
    case Kind::Coupling:
        m_settings.acCoupled[c] = a.value != 0;
        break;
    case Kind::Invert:
        m_settings.inverted[c] = a.value != 0;
        break;
    }
    return ActionResult::done();
}

} // namespace kavlon::scpi
