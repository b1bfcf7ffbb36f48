#pragma once

#include "device/hid/HidBackend.h"
#include "device/simulator/InstrumentModel.h"

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace kavlon {

struct SimulationOptions {
    // One report per millisecond, the rate of a full-speed USB HID endpoint.
    // Unpaced, the instrument answers as fast as it is read.
    bool paced = true;
    // How often the instrument polls; zero for never.
    std::chrono::milliseconds pollInterval{3000};
    // Paced only: the reports the platform keeps for a program that does not
    // read; beyond them reports are lost, as they are on a real link.
    std::size_t platformBuffer = 64;
};

struct ModelLink;

// A model of the instrument behind the device layer's interface, on a link paced
// like the real one: it enumerates under its identity, can be unplugged and plugged
// in again, and can list other HID devices around it. plugIn() and unplug() tell
// the watcher at once.
class ModelBackend : public HidBackend {
public:
    ModelBackend(std::unique_ptr<InstrumentModel> model, HidDeviceInfo identity, SimulationOptions options);
    ~ModelBackend() override;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<TJvHidDevice> makeDevice(const HidDeviceInfo& info) override;
    void watch(std::function<void()> changed) override;

    // Runs f on the model while the link is held still; safe from any thread.
    void withModel(const std::function<void(InstrumentModel&)>& f);
    // A removed instrument fails every read and write of the objects made
    // before; when plugged in again it starts afresh, as after power-on.
    void unplug();
    void plugIn();
    bool pluggedIn() const;
    // The next count reads fail while the instrument stays plugged in, as
    // reads whose wait a signal interrupted do; a waiting read fails at once.
    void failReads(int count);
    // Reads that failed, injected or because the instrument was gone.
    std::uint64_t readFailures() const;
    // Devices listed before and after the instrument, in that order.
    void setOtherDevices(std::vector<HidDeviceInfo> before, std::vector<HidDeviceInfo> after);

    // Reports the program has read, and reports lost because it did not read in time.
    std::uint64_t reportsRead() const;
    std::uint64_t reportsLost() const;
    // Of those, the reports lost while the reader waited inside a read that the machine
    // did not run in time (a loaded machine, not the program): tests retry these.
    std::uint64_t reportsLostToScheduling() const;
    // Reports the instrument has yet to send or the platform still holds.
    std::size_t reportsWaiting() const;

protected:
    // Runs read while the model holds still, under the link's lock alone: unlike
    // withModel, it neither moves the link on nor wakes a waiting reader.
    void readModel(const std::function<void()>& read) const;

private:
    std::shared_ptr<ModelLink> m_link;
};

} // namespace kavlon
