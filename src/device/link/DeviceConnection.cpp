#include "device/link/DeviceConnection.h"

#include "core/acquisition/Commands.h"
#include "core/link/DeviceRecognition.h"

#include <array>

namespace kavlon {

DeviceConnection::DeviceConnection(AcquisitionControl& control, DeviceLink& link,
                                   TJvHidDeviceController& controller, std::size_t queueCapacity,
                                   QObject* parent)
    : QObject(parent), m_control(control), m_link(link), m_controller(controller),
      m_pump(control, queueCapacity) {}

DeviceConnection::~DeviceConnection() {
    if (m_started) {
        m_controller.setOnEnumerate({});
        m_controller.detachOnDeviceChange();
    }
    // Program end: the reader first, then the devices it may be reading.
    stopReader();
    for (auto& device : m_link.DeviceList)
        m_controller.CheckIn(std::move(device));
    m_link.DeviceList.clear();
}

void DeviceConnection::start() {
    m_started = true;
    m_controller.setOnEnumerate(
        [this](TJvHidDevice& device, int index) { return JvHidDeviceController1Enumerate(device, index); });
    m_controller.setOnDeviceChange([this] { JvHidDeviceController1DeviceChange(); });
}

void DeviceConnection::setConnectButton(bool enabled) {
    m_buttonEnabled = enabled;
    Q_EMIT connectButtonEnabled(enabled);
}

bool DeviceConnection::connectionReading() const {
    // A reader left over from a connection the program has since given up (the end of
    // the demonstration clears Connected) must not keep the user from connecting anew.
    return m_reader && m_control.State.Connected;
}

bool DeviceConnection::readerHealthy() const {
    return m_reader && m_reader->isRunning() && !m_reader->failed();
}

void DeviceConnection::JvHidDeviceController1DeviceChange() {
    // A healthy reader keeps its device open through the change; the
    // enumeration takes it back if the instrument is still there.
    TJvHidDevice* readerDevice = readerHealthy() ? &m_reader->device() : nullptr;
    if (m_reader && !readerDevice) {
        // Its device failed before this news arrived.
        stopReader();
        Q_EMIT connectionLost();
    }
    for (auto& device : m_link.DeviceList) {
        if (device.get() == readerDevice)
            m_keptReaderDevice = std::move(device);
        else
            m_controller.CheckIn(std::move(device));
    }
    m_link.DeviceList.clear();
    m_link.DeviceNames.clear();

    // With no HID device at all no verdict is given; the button must not keep
    // the one it had for a device that has gone.
    if (m_controller.Enumerate() == 0)
        m_lastVerdict = false;

    if (m_keptReaderDevice) {
        // The instrument being read is gone: stop reading before letting go of it.
        stopReader();
        m_controller.CheckIn(std::move(m_keptReaderDevice));
        Q_EMIT connectionLost();
    } else if (m_reader && m_link.ActiveDevice() != &m_reader->device()) {
        // Still present but no longer first: commands would go to another device.
        stopReader();
        Q_EMIT connectionLost();
    }
    setConnectButton(m_lastVerdict && !connectionReading());
}

bool DeviceConnection::JvHidDeviceController1Enumerate(TJvHidDevice& device, int index) {
    const std::string s = deviceStringOf(device);
    const bool accepted =
        isInstrumentDeviceString(s) && (m_serial.empty() || device.deviceString(3) == m_serial);
    m_lastVerdict = accepted;
    setConnectButton(accepted && !connectionReading());
    if (!accepted)
        return true;

    m_link.DeviceNames.push_back(s);
    auto checkedOut = m_controller.CheckOutByIndex(index);
    if (!checkedOut && m_keptReaderDevice && m_keptReaderDevice->devicePath() == device.devicePath())
        checkedOut = std::move(m_keptReaderDevice);
    if (checkedOut)
        m_link.DeviceList.push_back(std::move(checkedOut));
    return true;
}

void DeviceConnection::Open_TBtnClick() {
    if (m_control.DemoMode) {
        setConnectButton(false);
        m_control.State.Connected = true;
        m_control.InterpretRecvData(DemoSettingsFrame);
        m_control.InterpretRecvData(DemoTrailerFrame);
        return;
    }
    if (m_link.DeviceNames.empty() || !isInstrumentDeviceString(m_link.DeviceNames.front()))
        return;
    TJvHidDevice* active = m_link.ActiveDevice();
    if (!active) {
        Q_EMIT connectFailed(
            QStringLiteral("The instrument was found but could not be opened. On Linux, install "
                           "the udev rule for it and plug it in again."));
        return;
    }
    // Never two readers on one link.
    stopReader();
    startReader(*active);
    m_control.State.Connected = true;
    setConnectButton(false);
    m_control.sendCommand([](CommandBytes& b) { CmdConnect(b); });
}

void DeviceConnection::disconnectInstrument() {
    stopReader();
    m_control.State.Connected = false;
    setConnectButton(m_lastVerdict);
}

void DeviceConnection::startReader(TJvHidDevice& device) {
    m_pump.queue().resumeWaits();
    m_reader = std::make_unique<TDevThread>(device, m_pump.queue());
    const std::uint64_t generation = ++m_readerGeneration;
    connect(
        m_reader.get(), &QThread::finished, this, [this, generation] { readerFinished(generation); },
        Qt::QueuedConnection);
    m_reader->start();
}

void DeviceConnection::stopReader() {
    if (!m_reader)
        return;
    m_reader->requestStop();
    m_reader->wait();
    m_reader.reset();
}

void DeviceConnection::readerFinished(std::uint64_t generation) {
    // A reader that was stopped on purpose is already gone; this is about one
    // that ended by itself because its device failed.
    if (generation != m_readerGeneration || !m_reader || !m_reader->failed())
        return;
    stopReader();
    Q_EMIT connectionLost();
    // Let the connect button follow what is really plugged in now.
    m_controller.devicesChanged();
}

} // namespace kavlon
