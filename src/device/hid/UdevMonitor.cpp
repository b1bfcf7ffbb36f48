#include "device/hid/UdevMonitor.h"

#include <QSocketNotifier>
#include <QtGlobal>

#include <libudev.h>

namespace kavlon {

UdevMonitor::UdevMonitor(std::function<void()> changed, QObject* parent)
    : QObject(parent), m_changed(std::move(changed)) {
    m_udev = udev_new();
    if (!m_udev)
        return;
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        qWarning("Device changes cannot be watched (udev unavailable); devices are found at start-up only.");
        return;
    }
    const int fd = udev_monitor_get_fd(m_monitor);
    if (fd < 0)
        return;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevMonitor::readEvents);
}

UdevMonitor::~UdevMonitor() {
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

void UdevMonitor::readEvents() {
    // Take everything waiting: the socket does not block, and one USB device
    // often brings several events at once. They all make a single call.
    int events = 0;
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        udev_device_unref(device);
        ++events;
    }
    if (events > 0 && m_changed)
        m_changed();
}

} // namespace kavlon
