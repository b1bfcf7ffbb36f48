#pragma once

#include "core/link/InputReport.h"

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <vector>

namespace kavlon {

// One input report as the reader thread read it: the bytes a frame can come
// from, how many of them arrived, and the device's ReportLength at the time.
struct InputReport {
    std::array<std::uint8_t, kReportBytesUsed> bytes{};
    std::uint16_t size = 0;
    std::int32_t reportLength = 0;

    std::span<const std::uint8_t> received() const { return {bytes.data(), size}; }
    static InputReport from(std::span<const std::uint8_t> report, int reportLength);
};

// The ordered, bounded hand-over from the reader thread to the main thread.
// A full queue makes the reader wait (back-pressure) rather than drop or grow.
// The consumer is woken through the waker only when it has run dry, so a busy
// consumer costs the producer nothing but a lock.
class ReportQueue {
public:
    explicit ReportQueue(std::size_t capacity);

    // Called on the producer's thread, outside the lock, when the consumer has
    // to be told that reports are waiting.
    void setWaker(std::function<void()> waker) { m_waker = std::move(waker); }

    // Waits while the queue is full. Returns false, dropping the report, only
    // when the wait was aborted.
    bool push(const InputReport& report);
    // The oldest report; false when there is none, after which the next push
    // wakes the consumer again.
    bool pop(InputReport& out);
    // Up to max of the oldest reports appended to out under one lock; 0 when
    // there are none, after which the next push wakes the consumer again.
    std::size_t popSome(std::vector<InputReport>& out, std::size_t max);

    // Ends every wait in push() until resumeWaits(); used to stop the reader.
    void abortWaits();
    void resumeWaits();

    std::size_t capacity() const { return m_capacity; }
    std::size_t size() const;
    // The most reports ever waiting at once.
    std::size_t highWater() const;

private:
    const std::size_t m_capacity;
    mutable std::mutex m_mutex;
    std::condition_variable m_notFull;
    std::deque<InputReport> m_reports;
    std::function<void()> m_waker;
    bool m_consumerAwake = false;
    bool m_aborted = false;
    bool m_producerWaiting = false;
    std::size_t m_highWater = 0;
};

} // namespace kavlon
