#pragma once

#include <QObject>

#include <functional>

struct udev;
struct udev_monitor;
class QSocketNotifier;

namespace kavlon {

// Tells when hidraw devices come or go, from udev's own announcements (after
// its rules have set the node's permissions), woken by the socket: no polling.
class UdevMonitor : public QObject {
public:
    explicit UdevMonitor(std::function<void()> changed, QObject* parent = nullptr);
    ~UdevMonitor() override;

    // False when udev could not be reached (no udev daemon, no netlink).
    bool active() const { return m_notifier != nullptr; }

private:
    void readEvents();

    std::function<void()> m_changed;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace kavlon
