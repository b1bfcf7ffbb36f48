#pragma once

#include "core/scpi/ScpiInstrument.h"

#include <memory>
#include <optional>
#include <vector>

namespace kavlon::scpi {

// An instrument made of its settings alone, for the command tree's tests and fuzzing:
// an action changes the settings as the instrument would, within its tables, and a
// Digitize hands out the shot it was given. It answers at once, or, held, only when
// complete() is called, as a real one answers later.
class ModelInstrument : public ScpiInstrument {
public:
    ModelInstrument();

    InstrumentIdentity identity() const override { return m_identity; }
    InstrumentSettings settings() const override { return m_settings; }
    bool healthy() const override { return true; }
    const ShotRecord* lastShot() const override { return m_shotCount > 0 ? m_last.get() : nullptr; }
    std::uint64_t shotCount() const override { return m_shotCount; }
    std::optional<ActionResult> begin(const InstrumentAction& action) override;

    // What Digitize takes; without one a shot never comes whole.
    void setShot(std::shared_ptr<const ShotRecord> shot) { m_next = std::move(shot); }
    void setSettings(const InstrumentSettings& settings) { m_settings = settings; }
    // Actions wait for complete() instead of being answered at once.
    void hold(bool held) { m_held = held; }
    // Carries out the action held back, and its result; nothing when none waits.
    std::optional<ActionResult> complete();
    // Every action begun, oldest first.
    const std::vector<InstrumentAction>& actions() const { return m_actions; }
    void forgetActions() { m_actions.clear(); }

private:
    ActionResult apply(const InstrumentAction& action);

    InstrumentIdentity m_identity;
    InstrumentSettings m_settings;
    std::shared_ptr<const ShotRecord> m_next;
    std::shared_ptr<const ShotRecord> m_last;
    std::uint64_t m_shotCount = 0;
    bool m_held = false;
    std::optional<InstrumentAction> m_pending;
    std::vector<InstrumentAction> m_actions;
};

} // namespace kavlon::scpi
