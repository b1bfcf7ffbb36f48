#pragma once

#include "device/link/ReportQueue.h"

#include "core/acquisition/AcquisitionControl.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <vector>

namespace kavlon {

// The main thread's end of the report queue: takes reports in arrival order
// and interprets each one to its end before the next. It never re-enters: a
// dialog or a local event loop opened inside an interpretation (or the
// demonstration shot) lets no report in; draining resumes when that ends.
class ReceivePump : public QObject {
    Q_OBJECT
public:
    // Two full four-channel shots and more: 8192 reports of 76 bytes, about 620 KB.
    static constexpr std::size_t kDefaultCapacity = 8192;

    explicit ReceivePump(AcquisitionControl& control, std::size_t capacity = kDefaultCapacity,
                         QObject* parent = nullptr);

    ReportQueue& queue() { return m_queue; }
    // Frames interpreted so far.
    std::uint64_t interpreted() const { return m_interpreted; }

    // Sees every frame just before it is interpreted, in the same order, so a
    // caller can tell which frames a shot was made of (and which it lacked).
    using FrameObserver = std::function<void(const Frame&)>;
    void setFrameObserver(FrameObserver observer) { m_observer = std::move(observer); }

public Q_SLOTS:
    // Interprets what is waiting, in slices that leave the event loop a turn.
    void drain();

private:
    void ShowRead(const InputReport& report);
    void scheduleDrain();
    bool takeNext(InputReport& report);

    AcquisitionControl& m_control;
    ReportQueue m_queue;
    QTimer m_busyRetry;
    // Reports taken from the queue but not yet interpreted, oldest first: taking
    // them a batch at a time keeps the reader and the main thread off one lock.
    std::vector<InputReport> m_batch;
    std::size_t m_batchNext = 0;
    bool m_draining = false;
    std::uint64_t m_interpreted = 0;
    FrameObserver m_observer;
};

} // namespace kavlon
