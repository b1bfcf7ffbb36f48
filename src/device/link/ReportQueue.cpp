#include "device/link/ReportQueue.h"

#include <algorithm>
#include <cstring>

namespace kavlon {

InputReport InputReport::from(std::span<const std::uint8_t> report, int reportLength) {
    InputReport r;
    r.size = std::uint16_t(std::min(report.size(), r.bytes.size()));
    std::memcpy(r.bytes.data(), report.data(), r.size);
    r.reportLength = reportLength;
    return r;
}

ReportQueue::ReportQueue(std::size_t capacity) : m_capacity(std::max<std::size_t>(capacity, 1)) {}

bool ReportQueue::push(const InputReport& report) {
    bool wake = false;
    {
        std::unique_lock lock(m_mutex);
        if (m_reports.size() >= m_capacity) {
            m_producerWaiting = true;
            m_notFull.wait(lock, [&] { return m_reports.size() < m_capacity || m_aborted; });
            m_producerWaiting = false;
            if (m_reports.size() >= m_capacity)
                return false;
        }
        m_reports.push_back(report);
        m_highWater = std::max(m_highWater, m_reports.size());
        if (!m_consumerAwake) {
            m_consumerAwake = true;
            wake = true;
        }
    }
    if (wake && m_waker)
        m_waker();
    return true;
}

bool ReportQueue::pop(InputReport& out) {
    bool notify = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_reports.empty()) {
            m_consumerAwake = false;
            return false;
        }
        out = m_reports.front();
        m_reports.pop_front();
        notify = m_producerWaiting;
    }
    if (notify)
        m_notFull.notify_one();
    return true;
}

std::size_t ReportQueue::popSome(std::vector<InputReport>& out, std::size_t max) {
    std::size_t taken = 0;
    bool notify = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_reports.empty()) {
            m_consumerAwake = false;
            return 0;
        }
        taken = std::min(max, m_reports.size());
        out.insert(out.end(), m_reports.begin(), m_reports.begin() + std::ptrdiff_t(taken));
        m_reports.erase(m_reports.begin(), m_reports.begin() + std::ptrdiff_t(taken));
        notify = m_producerWaiting;
    }
    if (notify)
        m_notFull.notify_one();
    return taken;
}

void ReportQueue::abortWaits() {
    {
        std::lock_guard lock(m_mutex);
        m_aborted = true;
    }
    m_notFull.notify_all();
}

void ReportQueue::resumeWaits() {
    std::lock_guard lock(m_mutex);
    m_aborted = false;
}

std::size_t ReportQueue::size() const {
    std::lock_guard lock(m_mutex);
    return m_reports.size();
}

std::size_t ReportQueue::highWater() const {
    std::lock_guard lock(m_mutex);
    return m_highWater;
}

} // namespace kavlon
