#include "device/link/ReceivePump.h"

#include <QtGlobal>

#include <exception>

#include <chrono>

namespace kavlon {

namespace {

// A full shot arrives in bursts; this much interpretation at a time keeps the
// window painting and responding while it is drained.
constexpr std::chrono::milliseconds kSlice{8};
constexpr int kFramesBetweenClockReads = 64;
constexpr std::size_t kBatch = 64;
// While an interpretation elsewhere holds the receive path, this is how soon
// draining is tried again.
constexpr std::chrono::milliseconds kBusyRetry{10};

} // namespace

ReceivePump::ReceivePump(AcquisitionControl& control, std::size_t capacity, QObject* parent)
    : QObject(parent), m_control(control), m_queue(capacity) {
    m_busyRetry.setSingleShot(true);
    m_busyRetry.setInterval(kBusyRetry);
    connect(&m_busyRetry, &QTimer::timeout, this, &ReceivePump::drain);
    m_queue.setWaker([this] { scheduleDrain(); });
}

void ReceivePump::scheduleDrain() {
    QMetaObject::invokeMethod(this, &ReceivePump::drain, Qt::QueuedConnection);
}

void ReceivePump::drain() {
    // Called again from inside an interpretation (a dialog's event loop): the
    // drain below us resumes when that interpretation returns.
    if (m_draining)
        return;
    // An interpretation that did not come from here (the demonstration's
    // stored frames and shot) holds the receive path; nothing tells us when it
    // ends, so look again shortly.
    if (m_control.busy()) {
        m_busyRetry.start();
        return;
    }

    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{m_draining};
    m_draining = true;

    const auto deadline = std::chrono::steady_clock::now() + kSlice;
    int sinceClockRead = 0;
    InputReport report;
    while (takeNext(report)) {
        try {
            ShowRead(report);
        } catch (const std::exception& error) {
            // An exception must not cross the event loop; this one frame is lost,
            // the rest of the batch and the queue are drained as usual.
            qWarning("A frame from the instrument could not be handled: %s", error.what());
        }
        if (++sinceClockRead == kFramesBetweenClockReads) {
            sinceClockRead = 0;
            if (std::chrono::steady_clock::now() >= deadline) {
                scheduleDrain();
                return;
            }
        }
    }
}

bool ReceivePump::takeNext(InputReport& report) {
    if (m_batchNext == m_batch.size()) {
        m_batch.clear();
        m_batchNext = 0;
        if (m_queue.popSome(m_batch, kBatch) == 0)
            return false;
    }
    report = m_batch[m_batchNext++];
    return true;
}

void ReceivePump::ShowRead(const InputReport& report) {
    const Frame frame = frameFromReport(report.received(), report.reportLength);
    if (m_observer)
        m_observer(frame);
    m_control.InterpretRecvData(frame);
    ++m_interpreted;
}

} // namespace kavlon
