#pragma once

#include "device/simulator/SimulatedBackend.h"

#include <QTimer>

#include <atomic>
#include <chrono>
#include <memory>

namespace kavlon::test {

// What goes wrong between the program and the simulated instrument.
struct LinkFaults {
    // The lost-th input report read (counted from 1 across the device objects)
    // never arrives; 0 loses none.
    std::uint64_t lostReport = 0;
    // False: the instrument is listed but cannot be opened, as without permission.
    bool opens = true;
    // False: it opens, but nothing it sends ever arrives.
    bool answers = true;
    // The instrument goes away as the connect command reaches it, and is back this
    // much later (on the main thread's clock); zero keeps it.
    std::chrono::milliseconds dropsOnConnectFor{0};
    // A settings report nobody asked for comes just before the answer to a step.
    bool unaskedReportBeforeStep = false;
};

// What happened to the device objects, for tests of the order things end in.
struct LinkTrace {
    std::atomic<int> devicesAlive{0};
    std::atomic<int> readsUnderway{0};
    std::atomic<std::uint64_t> reads{0};
    // A device object destroyed while a thread was still reading it.
    std::atomic<int> destroyedWhileRead{0};
    // The backend destroyed while device objects it made were still alive.
    std::atomic<bool> backendWentFirst{false};
};

// The simulated instrument behind a faulty link.
class FaultyBackend : public HidBackend {
public:
    FaultyBackend(SimulationOptions options, LinkFaults faults, std::shared_ptr<LinkTrace> trace = {})
        : m_sim(options), m_faults(faults),
          m_trace(trace ? std::move(trace) : std::make_shared<LinkTrace>()) {}
    ~FaultyBackend() override {
        if (m_trace->devicesAlive > 0)
            m_trace->backendWentFirst = true;
    }

    std::vector<HidDeviceInfo> enumerate() override { return m_sim.enumerate(); }
    void watch(std::function<void()> changed) override { m_sim.watch(std::move(changed)); }
    std::unique_ptr<TJvHidDevice> makeDevice(const HidDeviceInfo& info) override {
        return std::make_unique<Device>(m_sim.makeDevice(info), *this);
    }
    SimulatedBackend& simulated() { return m_sim; }

private:
    class Device : public TJvHidDevice {
    public:
        Device(std::unique_ptr<TJvHidDevice> inner, FaultyBackend& owner)
            : m_inner(std::move(inner)), m_owner(owner), m_trace(owner.m_trace) {
            ++m_trace->devicesAlive;
        }
        ~Device() override {
            if (m_trace->readsUnderway > 0)
                ++m_trace->destroyedWhileRead;
            --m_trace->devicesAlive;
        }
        std::string deviceString(int index) override { return m_inner->deviceString(index); }
        HidCaps Caps() override { return m_inner->Caps(); }
        bool WriteReport(std::span<const std::uint8_t> report) override {
            const LinkFaults& faults = m_owner.m_faults;
            // Report ID, marker, then the command's group.
            const std::uint8_t group = report.size() > 2 ? report[2] : 0;
            if (group == 0x10 && faults.dropsOnConnectFor.count() > 0 && !m_owner.m_dropped) {
                m_owner.m_dropped = true;
                m_owner.m_sim.unplug();
                QTimer::singleShot(faults.dropsOnConnectFor, [sim = &m_owner.m_sim] { sim->plugIn(); });
                return false;
            }
            if (group == 0x08 && faults.unaskedReportBeforeStep)
                m_owner.m_sim.withInstrument([](SimulatedInstrument& i) { i.sendSettingsReport(); });
            return m_inner->WriteReport(report);
        }
        int ReadReport(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override {
            ++m_trace->readsUnderway;
            ++m_trace->reads;
            int n = 0;
            do
                n = m_inner->ReadReport(buffer, timeout);
            while (n > 0 && (++m_owner.m_read == m_owner.m_faults.lostReport || !m_owner.m_faults.answers));
            --m_trace->readsUnderway;
            return n;
        }
        void cancelRead() override { m_inner->cancelRead(); }
        bool present() const override { return m_inner->present(); }
        std::string devicePath() const override { return m_inner->devicePath(); }
        bool open() override { return m_owner.m_faults.opens && m_inner->open(); }

    private:
        std::unique_ptr<TJvHidDevice> m_inner;
        FaultyBackend& m_owner;
        std::shared_ptr<LinkTrace> m_trace;
    };

    SimulatedBackend m_sim;
    const LinkFaults m_faults;
    std::shared_ptr<LinkTrace> m_trace;
    std::atomic<std::uint64_t> m_read{0};
    bool m_dropped = false;
};

} // namespace kavlon::test
