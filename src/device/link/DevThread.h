#pragma once

#include "device/hid/HidDevice.h"
#include "device/link/ReportQueue.h"

#include <QThread>

#include <atomic>
#include <vector>

namespace kavlon {

// The reader thread: reads one input report at a time from the device and
// queues it for the main thread, in arrival order. It never touches the
// acquisition state. Stopped by requestStop() and wait(); a device that fails
// (removed, closed) ends it by itself, with failed() set. A failed read while
// the device is still present (an interrupted wait) is tried again, up to
// kMaxConsecutiveReadFailures failures in a row.
class TDevThread : public QThread {
public:
    TDevThread(TJvHidDevice& device, ReportQueue& queue, QObject* parent = nullptr);
    ~TDevThread() override;

    // Asks the loop to end; it does so within one read timeout, at once where
    // the device can cancel a read. Follow with wait() before the device goes.
    void requestStop();
    bool failed() const { return m_failed.load(); }
    TJvHidDevice& device() const { return ReadDevice; }
    // How long one read waits before the stop request is looked at again.
    static constexpr std::chrono::milliseconds kReadTimeout{100};
    // Failed reads in a row that end the reader although the device is still
    // there: enough for a stray signal or two, few enough that a device stuck
    // in failing is given up within moments.
    static constexpr int kMaxConsecutiveReadFailures = 5;

protected:
    void run() override; // Execute

private:
    // After a failed read: true when the device is gone or keeps failing.
    bool givesUpAfterFailure();

    TJvHidDevice& ReadDevice;
    ReportQueue& m_queue;
    int ReportLength = 0;
    int m_consecutiveFailures = 0;
    std::vector<std::uint8_t> ReportBuffer;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_failed{false};
};

} // namespace kavlon
