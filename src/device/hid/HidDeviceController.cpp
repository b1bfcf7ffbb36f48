#include "device/hid/HidDeviceController.h"

#include <algorithm>

namespace kavlon {

namespace {

// udev reports one device in several steps; this lets a burst settle.
constexpr std::chrono::milliseconds kDefaultSettle{100};

} // namespace

TJvHidDeviceController::TJvHidDeviceController(HidBackend& backend, QObject* parent)
    : QObject(parent), m_backend(backend) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kDefaultSettle);
    connect(&m_settle, &QTimer::timeout, this, &TJvHidDeviceController::refreshNow);
    m_backend.watch([this] { devicesChanged(); });
}

TJvHidDeviceController::~TJvHidDeviceController() {
    m_backend.watch({});
}

void TJvHidDeviceController::setOnDeviceChange(DeviceChangeEvent handler) {
    m_onDeviceChange = std::move(handler);
    refreshNow();
}

void TJvHidDeviceController::setSettleTime(std::chrono::milliseconds settle) {
    m_settle.setInterval(settle);
}

void TJvHidDeviceController::devicesChanged() {
    // The timer is not restarted by later calls, so a steady stream of events
    // still re-enumerates once per settle time instead of never.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_settle.isActive())
                m_settle.start();
        },
        Qt::QueuedConnection);
}

void TJvHidDeviceController::refreshNow() {
    m_settle.stop();
    reloadList();
    if (m_onDeviceChange)
        m_onDeviceChange();
}

void TJvHidDeviceController::reloadList() {
    std::vector<Entry> fresh;
    for (auto& info : m_backend.enumerate()) {
        auto same = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const Entry& e) { return e.device && e.info == info; });
        if (same != m_entries.end()) {
            fresh.push_back(std::move(*same));
        } else {
            auto device = m_backend.makeDevice(info);
            fresh.push_back({std::move(info), std::move(device)});
        }
    }
    m_entries = std::move(fresh);
    // A device that is gone can no longer be reserved; when it comes back under
    // the same path it is a new device.
    std::erase_if(m_checkedOut, [&](const auto& reservation) {
        return std::none_of(m_entries.begin(), m_entries.end(),
                            [&](const Entry& e) { return e.info.path == reservation.first; });
    });
}

int TJvHidDeviceController::Enumerate() {
    int visited = 0;
    // By index: the handler may check devices out, which leaves the list as it is.
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (!m_entries[i].device)
            continue;
        ++visited;
        if (m_onEnumerate && !m_onEnumerate(*m_entries[i].device, int(i)))
            break;
    }
    return visited;
}

std::unique_ptr<TJvHidDevice> TJvHidDeviceController::CheckOutByIndex(int index) {
    if (index < 0 || index >= int(m_entries.size()))
        return nullptr;
    const HidDeviceInfo& info = m_entries[std::size_t(index)].info;
    if (m_checkedOut.contains(info.path))
        return nullptr;
    auto device = m_backend.makeDevice(info);
    if (!device || !device->open())
        return nullptr;
    m_checkedOut[info.path] = device.get();
    return device;
}

void TJvHidDeviceController::CheckIn(std::unique_ptr<TJvHidDevice> device) {
    if (!device)
        return;
    auto reservation = m_checkedOut.find(device->devicePath());
    if (reservation != m_checkedOut.end() && reservation->second == device.get())
        m_checkedOut.erase(reservation);
    device.reset();
}

} // namespace kavlon
