#include "device/link/DevThread.h"
#include "device/link/ReportQueue.h"

#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace kavlon {
namespace {

using namespace std::chrono_literals;

InputReport numbered(int n) {
    std::array<std::uint8_t, 3> bytes{0, 0, std::uint8_t(n)};
    return InputReport::from(bytes, 65);
}

TEST(ReportQueue, KeepsOrderAndMakesAFullQueueWaitInsteadOfDropping) {
    ReportQueue queue(2);
    std::atomic<int> pushed{0};
    std::thread producer([&] {
        for (int i = 0; i < 50; ++i) {
            ASSERT_TRUE(queue.push(numbered(i)));
            ++pushed;
        }
    });
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(pushed.load(), 2) << "the producer waits at the capacity";
    std::vector<int> got;
    InputReport r;
    while (got.size() < 50) {
        if (queue.pop(r))
            got.push_back(r.bytes[2]);
        else
            std::this_thread::yield();
    }
    producer.join();
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(got[std::size_t(i)], i);
    EXPECT_EQ(queue.highWater(), 2u);
}

TEST(ReportQueue, WakesTheConsumerOnlyWhenItHasRunDry) {
    ReportQueue queue(10);
    int wakes = 0;
    queue.setWaker([&] { ++wakes; });
    queue.push(numbered(1));
    queue.push(numbered(2));
    EXPECT_EQ(wakes, 1);
    InputReport r;
    EXPECT_TRUE(queue.pop(r));
    queue.push(numbered(3));
    EXPECT_EQ(wakes, 1) << "the consumer has not run dry yet";
    while (queue.pop(r)) {
    }
    queue.push(numbered(4));
    EXPECT_EQ(wakes, 2);
}

TEST(ReportQueue, AbortingEndsAWaitingPushWithoutQueueing) {
    ReportQueue queue(1);
    queue.push(numbered(1));
    std::atomic<bool> result{true};
    std::thread producer([&] { result = queue.push(numbered(2)); });
    std::this_thread::sleep_for(10ms);
    queue.abortWaits();
    producer.join();
    EXPECT_FALSE(result.load());
    EXPECT_EQ(queue.size(), 1u);
    queue.resumeWaits();
    InputReport r;
    queue.pop(r);
    EXPECT_TRUE(queue.push(numbered(3)));
}

// A device whose reads are scripted: each entry is a report length to
// deliver (bytes 0, 1, 2, ... ) or -1 for a failure. With the script empty,
// reads wait their timeout, or until cancelled when it can cancel. Unless told
// otherwise it cannot say whether its node is still there.
class ScriptedDevice : public TJvHidDevice {
public:
    explicit ScriptedDevice(int inputLength, bool cancellable = true)
        : m_inputLength(inputLength), m_cancellable(cancellable) {}
    std::string deviceString(int) override { return {}; }
    HidCaps Caps() override { return {m_inputLength, 65}; }
    bool WriteReport(std::span<const std::uint8_t>) override { return true; }
    int ReadReport(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override {
        std::unique_lock lock(m_mutex);
        ++reads;
        lastBufferSize = buffer.size();
        if (!m_cv.wait_for(lock, timeout, [&] { return !m_script.empty() || m_cancelled; }))
            return 0;
        if (m_cancelled) {
            m_cancelled = false;
            return 0;
        }
        const int length = m_script.front();
        m_script.pop_front();
        for (int i = 0; i < length && i < int(buffer.size()); ++i)
            buffer[std::size_t(i)] = std::uint8_t(i);
        return std::min(length, int(buffer.size()));
    }
    void cancelRead() override {
        if (!m_cancellable)
            return;
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
        m_cv.notify_all();
    }
    bool present() const override { return stillPresent.load(); }
    void deliver(const std::vector<int>& lengths) {
        std::lock_guard lock(m_mutex);
        m_script.insert(m_script.end(), lengths.begin(), lengths.end());
        m_cv.notify_all();
    }
    std::atomic<int> reads{0};
    std::atomic<std::size_t> lastBufferSize{0};
    std::atomic<bool> stillPresent{false};

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<int> m_script;
    bool m_cancelled = false;
    int m_inputLength;
    bool m_cancellable;
};

bool waitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(TDevThread, ReadsALongReportWholeAndKeepsAFramesWorth) {
    ScriptedDevice device(100);
    ReportQueue queue(16);
    TDevThread reader(device, queue);
    reader.start();
    device.deliver({100, 65});
    ASSERT_TRUE(waitFor([&] { return queue.size() == 2; }));
    EXPECT_GE(device.lastBufferSize.load(), 100u);
    InputReport r;
    ASSERT_TRUE(queue.pop(r));
    EXPECT_EQ(r.size, kReportBytesUsed);
    EXPECT_EQ(r.reportLength, 100);
    EXPECT_EQ(frameFromReport(r.received(), r.reportLength)[66], 68);
    ASSERT_TRUE(queue.pop(r));
    EXPECT_EQ(r.size, 65);
    reader.requestStop();
    reader.wait();
}

TEST(TDevThread, AFailingDeviceEndsTheReaderWithoutSpinning) {
    ScriptedDevice device(65);
    ReportQueue queue(16);
    TDevThread reader(device, queue);
    reader.start();
    device.deliver({65, -1});
    ASSERT_TRUE(reader.wait(QDeadlineTimer(5000)));
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(queue.size(), 1u) << "what arrived before the failure is kept";
    EXPECT_EQ(device.reads.load(), 2);
}

struct FailureCase {
    const char* name;
    std::vector<int> script;
    bool present;
    bool survives;
    std::size_t reportsKept;
};

constexpr int kBound = TDevThread::kMaxConsecutiveReadFailures;

const FailureCase kFailureCases[] = {
    {"one failure, device present", {65, -1, 65}, true, true, 2},
    {"one short of the bound", {65, -1, -1, -1, -1, 65}, true, true, 2},
    {"failures apart count afresh", {-1, -1, -1, -1, 65, -1, -1, -1, -1, 65}, true, true, 2},
    {"as many as the bound in a row", {65, -1, -1, -1, -1, -1, 65}, true, false, 1},
    {"device gone: the first failure ends it", {65, -1, 65}, false, false, 1},
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class ReaderFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ReaderFailureTest, RetriesOnlyWhileTheDeviceIsThereAndWithinTheBound) {
    static_assert(kBound == 5, "the scripts count on five");
    const FailureCase& c = GetParam();
    ScriptedDevice device(65);
    device.stillPresent = c.present;
    ReportQueue queue(16);
    TDevThread reader(device, queue);
    reader.start();
    device.deliver(c.script);
    if (c.survives) {
        // The last report comes after the failures: reaching it is surviving them.
        ASSERT_TRUE(waitFor([&] { return queue.size() == c.reportsKept; }));
        EXPECT_TRUE(reader.isRunning());
        EXPECT_FALSE(reader.failed());
        reader.requestStop();
        reader.wait();
    } else {
        ASSERT_TRUE(reader.wait(QDeadlineTimer(5000)));
        EXPECT_TRUE(reader.failed());
        EXPECT_EQ(queue.size(), c.reportsKept) << "nothing after the give-up is read";
    }
}

INSTANTIATE_TEST_SUITE_P(Failures, ReaderFailureTest, ::testing::ValuesIn(kFailureCases));

TEST(TDevThread, StopsPromptlyWhateverItIsWaitingFor) {
    {
        // Waiting in a read the device can cancel.
        ScriptedDevice device(65);
        ReportQueue queue(4);
        TDevThread reader(device, queue);
        reader.start();
        ASSERT_TRUE(waitFor([&] { return device.reads.load() > 0; }));
        reader.requestStop();
        EXPECT_TRUE(reader.wait(QDeadlineTimer(1000)));
        EXPECT_FALSE(reader.failed());
    }
    {
        // Waiting in a read that only ends at its timeout.
        ScriptedDevice device(65, false);
        ReportQueue queue(4);
        TDevThread reader(device, queue);
        reader.start();
        ASSERT_TRUE(waitFor([&] { return device.reads.load() > 0; }));
        reader.requestStop();
        EXPECT_TRUE(reader.wait(QDeadlineTimer(int(TDevThread::kReadTimeout.count()) * 5)));
    }
    {
        // Waiting for room in a full queue.
        ScriptedDevice device(65);
        ReportQueue queue(1);
        TDevThread reader(device, queue);
        reader.start();
        device.deliver({65, 65, 65});
        ASSERT_TRUE(waitFor([&] { return device.reads.load() >= 2; }));
        reader.requestStop();
        EXPECT_TRUE(reader.wait(QDeadlineTimer(1000)));
        EXPECT_EQ(queue.size(), 1u);
    }
}

} // namespace
} // namespace kavlon
