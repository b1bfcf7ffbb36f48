#pragma once

#include "core/scpi/ScpiErrors.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace kavlon::scpi {

// One client's error queue and status registers. Each connection has its own, so what
// one client provokes is never read by another.
class ScpiStatus {
public:
    // Errors kept; one more turns the last into "Queue overflow" and is lost.
    static constexpr std::size_t kQueueCapacity = 32;
    // Characters of a detail text kept after the standard text.
    static constexpr std::size_t kDetailLength = 120;

    // Queues the error and sets its event status bit.
    void push(Error error, std::string_view detail = {});
    // The oldest error as SYSTem:ERRor? answers it, taken off the queue:
    // -113,"Undefined header;FOO:BAR" or 0,"No error".
    std::string takeNext();
    std::size_t errorCount() const { return m_errors.size(); }

    // *CLS: the error queue and the event status register are emptied.
    void clear();
    void setEvents(std::uint8_t bits) { m_esr |= bits; }
    // *ESR?: read and cleared.
    std::uint8_t takeEvents();
    std::uint8_t eventEnable() const { return m_ese; }
    void setEventEnable(std::uint8_t mask) { m_ese = mask; }
    std::uint8_t serviceEnable() const { return m_sre; }
    // Bit 6 cannot be enabled: it is the summary of the others.
    void setServiceEnable(std::uint8_t mask) { m_sre = mask & ~0x40u; }

    // *STB?: error queue not empty (bit 2), message available (bit 4), an enabled event
    // (bit 5), and bit 6 when any enabled bit is set.
    std::uint8_t statusByte(bool messageAvailable) const;

private:
    struct Entry {
        Error error;
        std::string detail;
    };
    std::deque<Entry> m_errors;
    std::uint8_t m_esr = esr::PowerOn;
    std::uint8_t m_ese = 0;
    std::uint8_t m_sre = 0;
};

} // namespace kavlon::scpi
