#pragma once

#include "device/hid/HidBackend.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kavlon {

// The list of HID devices present and the news of their coming and going.
// Devices are handed out by check-out: a checked-out device is opened, owned by
// the caller and reserved until it is checked in again. The controller's own
// list objects are never handed out, so the list always holds a fresh object
// for every device. Main thread only, except devicesChanged().
class TJvHidDeviceController : public QObject {
    Q_OBJECT
public:
    using DeviceChangeEvent = std::function<void()>;
    // The device and its index in the list; return false to stop the enumeration.
    using EnumerateEvent = std::function<bool(TJvHidDevice& device, int index)>;

    explicit TJvHidDeviceController(HidBackend& backend, QObject* parent = nullptr);
    ~TJvHidDeviceController() override;

    // Attaching the handler raises it once at once, so devices plugged in before
    // start-up are found; afterwards it follows every change of the devices.
    void setOnDeviceChange(DeviceChangeEvent handler);
    void setOnEnumerate(EnumerateEvent handler) { m_onEnumerate = std::move(handler); }
    // Removes the device-change handler without raising it.
    void detachOnDeviceChange() { m_onDeviceChange = nullptr; }

    // Runs OnEnumerate once per device in list order; returns how many it visited.
    int Enumerate();
    // The device at index, opened for this program; null when the index is out
    // of range, the device is already checked out or it cannot be opened.
    std::unique_ptr<TJvHidDevice> CheckOutByIndex(int index);
    // Returns a checked-out device; it is closed and its reservation ends.
    void CheckIn(std::unique_ptr<TJvHidDevice> device);

    int count() const { return int(m_entries.size()); }

    // Devices may have come or gone. Callable from any thread; a burst of calls
    // within the settle time makes one re-enumeration and one OnDeviceChange.
    void devicesChanged();
    void setSettleTime(std::chrono::milliseconds settle);
    // Re-reads the device list and raises OnDeviceChange now.
    void refreshNow();

private:
    struct Entry {
        HidDeviceInfo info;
        std::unique_ptr<TJvHidDevice> device;
    };

    void reloadList();

    HidBackend& m_backend;
    std::vector<Entry> m_entries;
    // Reservations by device path, and the object that holds each.
    std::map<std::string, const TJvHidDevice*> m_checkedOut;
    DeviceChangeEvent m_onDeviceChange;
    EnumerateEvent m_onEnumerate;
    QTimer m_settle;
};

} // namespace kavlon
