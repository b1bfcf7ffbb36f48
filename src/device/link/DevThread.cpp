#include "device/link/DevThread.h"

#include <algorithm>

namespace kavlon {

namespace {

// The instrument's reports are 65 bytes; room for the report ID and a whole
// frame is the least any read asks for.
constexpr int kMinReportBuffer = 68;

} // namespace

TDevThread::TDevThread(TJvHidDevice& device, ReportQueue& queue, QObject* parent)
    : QThread(parent), ReadDevice(device), m_queue(queue) {
    setObjectName("TDevThread");
}

TDevThread::~TDevThread() {
    requestStop();
    wait();
}

void TDevThread::requestStop() {
    m_stop = true;
    ReadDevice.cancelRead();
    m_queue.abortWaits();
}

void TDevThread::run() {
    m_consecutiveFailures = 0;
    while (!m_stop) {
        ReportLength = ReadDevice.Caps().InputReportByteLength;
        // A device with longer reports than the instrument's is read whole; only
        // the first frame's worth of bytes is kept.
        const auto wanted = std::size_t(std::max(kMinReportBuffer, ReportLength));
        if (ReportBuffer.size() < wanted)
            ReportBuffer.resize(wanted);

        const int got = ReadDevice.ReadReport(ReportBuffer, kReadTimeout);
        if (got < 0) {
            if (givesUpAfterFailure()) {
                m_failed = true;
                return;
            }
            // The report it was waiting for stays with the platform: read again.
            continue;
        }
        m_consecutiveFailures = 0;
        if (got == 0)
            continue;
        const auto report = std::span<const std::uint8_t>(ReportBuffer)
                                .first(std::min(std::size_t(got), ReportBuffer.size()));
        if (!m_queue.push(InputReport::from(report, ReportLength)))
            return; // stopped while the queue was full
    }
}

bool TDevThread::givesUpAfterFailure() {
    return !ReadDevice.present() || ++m_consecutiveFailures >= kMaxConsecutiveReadFailures;
}

} // namespace kavlon
