#include "device/simulator/ModelBackend.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>

namespace kavlon {

using Clock = std::chrono::steady_clock;
using Report = std::array<std::uint8_t, InstrumentModel::kReportLength>;

namespace {

constexpr std::chrono::microseconds kReportInterval{1000};

} // namespace

// What the backend and every device object it made share: the instrument, the
// bus between it and the platform, and the platform's report buffer.
struct ModelLink {
    ModelLink(std::unique_ptr<InstrumentModel> model, HidDeviceInfo info, SimulationOptions o)
        : options(o), instrument(std::move(model)), identity(std::move(info)), nextSlot(Clock::now()),
          lastPoll(Clock::now()) {}

    // Moves time forward to now: polls that fell due, and, when paced, every
    // report whose bus slot has come, into the platform buffer or lost.
    void advance(Clock::time_point now) {
        if (options.pollInterval.count() > 0 && now - lastPoll >= options.pollInterval) {
            instrument->sendPoll();
            lastPoll = now;
        }
        if (!options.paced)
            return;
        while (instrument->hasFrame() && nextSlot <= now) {
            const Report report = InstrumentModel::reportOf(instrument->takeFrame());
            if (platformBuffer.size() < options.platformBuffer) {
                platformBuffer.push_back(report);
            } else {
                ++lost;
                if (readerLateness(now) >= schedulingBound())
                    ++lostToScheduling;
            }
            nextSlot += kReportInterval;
        }
        // An idle bus carries the next report as soon as there is one.
        if (!instrument->hasFrame() && nextSlot < now)
            nextSlot = now;
    }

    // How late the reader is: asleep past the moment it was due to read, or how late
    // its last wake came. A reader waiting inside a read that the machine does not run
    // in time loses reports through no fault of the program; tests tell that apart.
    Clock::duration readerLateness(Clock::time_point now) const {
        return readerAsleep ? std::max(Clock::duration(0), now - readerWakeDue) : lastWakeLateness;
    }
    // Later than this, the platform buffer overflows from the lateness alone.
    Clock::duration schedulingBound() const {
        return kReportInterval * std::max<std::ptrdiff_t>(1, std::ptrdiff_t(options.platformBuffer) - 1);
    }
    // Something to read has come: a sleeping reader is due at its bus slot.
    void readerDueBy(Clock::time_point t) {
        if (readerAsleep)
            readerWakeDue = std::min(readerWakeDue, t);
    }

    // The next report for the program, if one is there now.
    std::optional<Report> take() {
        if (!options.paced) {
            if (!instrument->hasFrame())
                return std::nullopt;
            return InstrumentModel::reportOf(instrument->takeFrame());
        }
        if (platformBuffer.empty())
            return std::nullopt;
        Report r = platformBuffer.front();
        platformBuffer.pop_front();
        return r;
    }

    // When something may next be ready to read.
    Clock::time_point nextEvent(Clock::time_point deadline) const {
        Clock::time_point next = deadline;
        if (options.paced && instrument->hasFrame())
            next = std::min(next, nextSlot);
        if (options.pollInterval.count() > 0)
            next = std::min(next, lastPoll + options.pollInterval);
        return next;
    }

    const SimulationOptions options;
    mutable std::mutex mutex;
    std::condition_variable changed;
    const std::unique_ptr<InstrumentModel> instrument;
    const HidDeviceInfo identity;
    std::deque<Report> platformBuffer;
    Clock::time_point nextSlot;
    Clock::time_point lastPoll;
    bool plugged = true;
    std::uint64_t plugGeneration = 1;
    std::uint64_t read = 0;
    std::uint64_t lost = 0;
    std::uint64_t lostToScheduling = 0;
    bool readerAsleep = false;
    Clock::time_point readerWakeDue;
    Clock::duration lastWakeLateness{0};
    int failuresToInject = 0;
    std::uint64_t failedReads = 0;
    std::vector<HidDeviceInfo> before;
    std::vector<HidDeviceInfo> after;
    std::function<void()> watcher;
};

namespace {

// The modelled instrument as one device object. Objects made before an
// unplug stay dead, like the handle of a removed device.
class ModelDevice : public TJvHidDevice {
public:
    ModelDevice(std::shared_ptr<ModelLink> link, std::uint64_t generation)
        : m_link(std::move(link)), m_generation(generation), m_info(m_link->identity) {}

    std::string deviceString(int index) override { return infoString(m_info, index); }
    HidCaps Caps() override { return {InstrumentModel::kReportLength, InstrumentModel::kReportLength}; }
    std::string devicePath() const override { return m_info.path; }

    bool open() override {
        std::lock_guard lock(m_link->mutex);
        return alive();
    }

    bool WriteReport(std::span<const std::uint8_t> report) override {
        {
            std::lock_guard lock(m_link->mutex);
            if (!alive())
                return false;
            m_link->advance(Clock::now());
            m_link->instrument->receive(report);
            m_link->readerDueBy(m_link->nextSlot);
        }
        m_link->changed.notify_all();
        return true;
    }

    int ReadReport(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override {
        const auto deadline = Clock::now() + timeout;
        std::unique_lock lock(m_link->mutex);
        // Back from the program: whatever lateness there was is the program's own.
        m_link->lastWakeLateness = Clock::duration(0);
        for (;;) {
            if (!alive())
                return fail();
            if (m_link->failuresToInject > 0) {
                --m_link->failuresToInject;
                return fail();
            }
            if (m_cancel) {
                m_cancel = false;
                return 0;
            }
            const auto now = Clock::now();
            m_link->advance(now);
            if (auto report = m_link->take()) {
                ++m_link->read;
                const std::size_t n = std::min(buffer.size(), report->size());
                std::memcpy(buffer.data(), report->data(), n);
                return int(n);
            }
            if (now >= deadline)
                return 0;
            m_link->readerAsleep = true;
            m_link->readerWakeDue = m_link->nextEvent(deadline);
            m_link->changed.wait_until(lock, m_link->readerWakeDue);
            m_link->readerAsleep = false;
            m_link->lastWakeLateness = std::max(Clock::duration(0), Clock::now() - m_link->readerWakeDue);
        }
    }

    bool present() const override {
        std::lock_guard lock(m_link->mutex);
        return alive();
    }

    void cancelRead() override {
        {
            std::lock_guard lock(m_link->mutex);
            m_cancel = true;
        }
        m_link->changed.notify_all();
    }

private:
    bool alive() const { return m_link->plugged && m_link->plugGeneration == m_generation; }
    // With the link's mutex held.
    int fail() {
        ++m_link->failedReads;
        return -1;
    }

    std::shared_ptr<ModelLink> m_link;
    const std::uint64_t m_generation;
    const HidDeviceInfo m_info;
    bool m_cancel = false; // guarded by the link's mutex
};

// Any other HID device: it has strings and nothing else.
class ListedDevice : public TJvHidDevice {
public:
    explicit ListedDevice(HidDeviceInfo info) : m_info(std::move(info)) {}
    std::string deviceString(int index) override { return infoString(m_info, index); }
    HidCaps Caps() override { return {}; }
    bool WriteReport(std::span<const std::uint8_t>) override { return false; }
    std::string devicePath() const override { return m_info.path; }

private:
    HidDeviceInfo m_info;
};

} // namespace

ModelBackend::ModelBackend(std::unique_ptr<InstrumentModel> model, HidDeviceInfo identity,
                           SimulationOptions options)
    : m_link(std::make_shared<ModelLink>(std::move(model), std::move(identity), options)) {}

ModelBackend::~ModelBackend() = default;

std::vector<HidDeviceInfo> ModelBackend::enumerate() {
    std::lock_guard lock(m_link->mutex);
    std::vector<HidDeviceInfo> devices = m_link->before;
    if (m_link->plugged)
        devices.push_back(m_link->identity);
    devices.insert(devices.end(), m_link->after.begin(), m_link->after.end());
    return devices;
}

std::unique_ptr<TJvHidDevice> ModelBackend::makeDevice(const HidDeviceInfo& info) {
    if (info.path != m_link->identity.path)
        return std::make_unique<ListedDevice>(info);
    std::lock_guard lock(m_link->mutex);
    return std::make_unique<ModelDevice>(m_link, m_link->plugGeneration);
}

void ModelBackend::watch(std::function<void()> changed) {
    std::lock_guard lock(m_link->mutex);
    m_link->watcher = std::move(changed);
}

void ModelBackend::withModel(const std::function<void(InstrumentModel&)>& f) {
    {
        std::lock_guard lock(m_link->mutex);
        m_link->advance(Clock::now());
        f(*m_link->instrument);
        m_link->readerDueBy(m_link->nextSlot);
    }
    m_link->changed.notify_all();
}

void ModelBackend::readModel(const std::function<void()>& read) const {
    std::lock_guard lock(m_link->mutex);
    read();
}

void ModelBackend::unplug() {
    std::function<void()> watcher;
    {
        std::lock_guard lock(m_link->mutex);
        if (!m_link->plugged)
            return;
        m_link->plugged = false;
        ++m_link->plugGeneration;
        m_link->platformBuffer.clear();
        watcher = m_link->watcher;
    }
    m_link->changed.notify_all();
    if (watcher)
        watcher();
}

void ModelBackend::plugIn() {
    std::function<void()> watcher;
    {
        std::lock_guard lock(m_link->mutex);
        if (m_link->plugged)
            return;
        m_link->plugged = true;
        ++m_link->plugGeneration;
        m_link->instrument->powerOn();
        m_link->nextSlot = m_link->lastPoll = Clock::now();
        watcher = m_link->watcher;
    }
    m_link->changed.notify_all();
    if (watcher)
        watcher();
}

bool ModelBackend::pluggedIn() const {
    std::lock_guard lock(m_link->mutex);
    return m_link->plugged;
}

void ModelBackend::setOtherDevices(std::vector<HidDeviceInfo> before, std::vector<HidDeviceInfo> after) {
    std::lock_guard lock(m_link->mutex);
    m_link->before = std::move(before);
    m_link->after = std::move(after);
}

void ModelBackend::failReads(int count) {
    {
        std::lock_guard lock(m_link->mutex);
        m_link->failuresToInject = count;
    }
    m_link->changed.notify_all();
}

std::uint64_t ModelBackend::readFailures() const {
    std::lock_guard lock(m_link->mutex);
    return m_link->failedReads;
}

std::uint64_t ModelBackend::reportsRead() const {
    std::lock_guard lock(m_link->mutex);
    return m_link->read;
}

std::uint64_t ModelBackend::reportsLost() const {
    std::lock_guard lock(m_link->mutex);
    return m_link->lost;
}

std::uint64_t ModelBackend::reportsLostToScheduling() const {
    std::lock_guard lock(m_link->mutex);
    return m_link->lostToScheduling;
}

std::size_t ModelBackend::reportsWaiting() const {
    std::lock_guard lock(m_link->mutex);
    return m_link->instrument->pendingFrames() + m_link->platformBuffer.size();
}

} // namespace kavlon
