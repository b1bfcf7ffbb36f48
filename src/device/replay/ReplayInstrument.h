#pragma once

#include "device/replay/ReplayList.h"
#include "device/simulator/InstrumentModel.h"

#include <memory>
#include <optional>
#include <vector>

namespace kavlon {

// Saved shots standing in for the instrument. It reports the settings of the current
// shot; a data request takes the next shot (after the last, the first again) and is
// answered with its frames as the instrument sends them: its settings report, the
// gain frame and every sample frame of the channels it reads, then its trailer. The
// settings report and the gain frame are left out while the program holds them
// already, so a shot costs the link what a real one does. Commands that would change
// the settings are answered with the report unchanged: a recording cannot change.
class ReplayInstrument : public InstrumentModel {
public:
    // The list holds at least one shot.
    explicit ReplayInstrument(std::shared_ptr<const ReplayList> list);

    void powerOn() override;

    // The shot whose settings it reports: the one the last data request took, the
    // first before any.
    std::size_t currentShot() const { return m_current; }
    // Data requests answered since power-on.
    std::uint64_t shotsSent() const { return m_shotsSent; }

protected:
    void apply(const CommandBytes& command) override;

private:
    const ReplayShot& current() const { return m_list->shots[m_current].shot; }
    void queueSettingsReport(bool always);
    void queueGain(bool always);
    void queueShot();

    std::shared_ptr<const ReplayList> m_list;
    std::size_t m_current = 0;
    std::size_t m_next = 0;
    std::uint64_t m_shotsSent = 0;
    // What the program last heard, so an unchanged report need not go out again.
    std::vector<Frame> m_lastReport;
    std::optional<Frame> m_lastGain;
};

} // namespace kavlon
