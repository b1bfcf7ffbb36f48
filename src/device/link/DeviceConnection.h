#pragma once

#include "device/hid/HidDeviceController.h"
#include "device/link/DevThread.h"
#include "device/link/DeviceLink.h"
#include "device/link/ReceivePump.h"

#include "core/acquisition/AcquisitionControl.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>

namespace kavlon {

// Finding the instrument, connecting to it and keeping the receive path alive
// as devices come and go. The main window forwards its connect button here and
// shows what the signals say; everything else happens inside. Main thread only.
//
// The reader thread is stopped and joined before the device it reads is
// released. A device change that leaves the instrument in place keeps the
// connection and its reader untouched; one that takes it away ends the
// connection (connectionLost) and the connect button follows the devices again.
class DeviceConnection : public QObject {
    Q_OBJECT
public:
    // The link, the acquisition control and the controller must outlive this object.
    DeviceConnection(AcquisitionControl& control, DeviceLink& link, TJvHidDeviceController& controller,
                     std::size_t queueCapacity = ReceivePump::kDefaultCapacity, QObject* parent = nullptr);
    ~DeviceConnection() override;

    // Attaches the handlers to the controller, which raises the start-up device
    // change at once: connect to the signals first.
    void start();
    // Only the instrument with this serial number is taken; empty takes any.
    void setSerialNumber(std::string serial) { m_serial = std::move(serial); }

    // The connect button's verdict: the last device enumerated, and never
    // enabled while a connection is reading.
    bool connectButtonVerdict() const { return m_buttonEnabled; }
    // A reader thread is running on the active device.
    bool reading() const { return m_reader != nullptr; }
    TDevThread* ReaderThread() const { return m_reader.get(); }
    ReceivePump& pump() { return m_pump; }

public Q_SLOTS:
    void JvHidDeviceController1DeviceChange();
    bool JvHidDeviceController1Enumerate(TJvHidDevice& device, int index);
    void Open_TBtnClick();
    // Lets the instrument go as an unplug does: the reader stops, Connected is
    // cleared, and the connect button follows the devices again.
    void disconnectInstrument();

Q_SIGNALS:
    void connectButtonEnabled(bool enabled);
    // The instrument being read went away or failed; Connected stays set (the
    // panel keeps showing its last report), and the button follows the devices again.
    void connectionLost();
    // The connect button was pressed on an instrument that could not be opened.
    void connectFailed(const QString& reason);

private:
    void setConnectButton(bool enabled);
    void startReader(TJvHidDevice& device);
    void stopReader();
    void readerFinished(std::uint64_t generation);
    bool readerHealthy() const;
    bool connectionReading() const;

    AcquisitionControl& m_control;
    DeviceLink& m_link;
    TJvHidDeviceController& m_controller;
    ReceivePump m_pump;
    std::unique_ptr<TDevThread> m_reader;
    std::uint64_t m_readerGeneration = 0;
    // The reader's device while a device change decides whether it stays.
    std::unique_ptr<TJvHidDevice> m_keptReaderDevice;
    std::string m_serial;
    bool m_buttonEnabled = false;
    bool m_lastVerdict = false;
    bool m_started = false;
};

} // namespace kavlon
