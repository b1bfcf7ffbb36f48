#include "core/scpi/ScpiStatus.h"

#include <utility>

namespace kavlon::scpi {

namespace {

// A detail goes inside a quoted string: no quote, no control character, no byte a
// client's terminal would misread.
std::string printable(std::string_view text, std::size_t limit) {
    std::string out;
    for (char c : text.substr(0, limit)) {
        const auto u = static_cast<unsigned char>(c);
        out += u == '"' ? '\'' : (u < 0x20 || u > 0x7E) ? '?' : c;
    }
    return out;
}

} // namespace

void ScpiStatus::push(Error error, std::string_view detail) {
    m_esr |= esrBitOf(error);
    if (m_errors.size() >= kQueueCapacity) {
        m_errors.back() = {Error::QueueOverflow, {}};
        return;
    }
    m_errors.push_back({error, printable(detail, kDetailLength)});
}

std::string ScpiStatus::takeNext() {
    if (m_errors.empty())
        return "0,\"No error\"";
    const Entry e = std::move(m_errors.front());
    m_errors.pop_front();
    std::string text = std::to_string(int(e.error)) + ",\"" + std::string(errorText(e.error));
    if (!e.detail.empty())
        text += ";" + e.detail;
    return text + "\"";
}

void ScpiStatus::clear() {
    m_errors.clear();
    m_esr = 0;
}

std::uint8_t ScpiStatus::takeEvents() {
    return std::exchange(m_esr, std::uint8_t(0));
}

std::uint8_t ScpiStatus::statusByte(bool messageAvailable) const {
    std::uint8_t stb = 0;
    if (!m_errors.empty())
        stb |= 0x04;
    if (messageAvailable)
        stb |= 0x10;
    if ((m_esr & m_ese) != 0)
        stb |= 0x20;
    if ((stb & m_sre) != 0)
        stb |= 0x40;
    return stb;
}

} // namespace kavlon::scpi
