#pragma once

#include "device/hid/HidBackend.h"
#include "device/hid/HidDeviceController.h"
#include "device/link/DeviceConnection.h"
#include "device/link/DeviceLink.h"
#include "device/link/ReceivePump.h"

#include "core/acquisition/AcquisitionControl.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace kavlon {

// The program's one connection to the instrument: the device layer (backend,
// controller), the link, the acquisition control and the connection handlers,
// built in that order and torn down in the reverse one, so the reader thread is
// stopped and joined before the devices and the controller go. The window,
// kavloncli, the tests and the benchmarks all build this and nothing beneath it.
//
// It is the receive interpretation's listener and tells its clients what
// happened through signals, on the main thread and synchronously inside the
// interpretation: the front panel's report (labels, boxes, levels, enabled
// controls), progress, a shot that is ready (whole or not), the instrument's
// quick-print request and its delivery, and the connection's news. A completed
// shot goes first to the one shot taker a client installs (the window's Data
// displays, the command line's capture), whose answer settles the request.
class InstrumentSession : public QObject {
    Q_OBJECT
public:
    // Without a backend the session has none to work with: make one with makeBackend.
    explicit InstrumentSession(std::unique_ptr<HidBackend> backend,
                               std::size_t queueCapacity = ReceivePump::kDefaultCapacity,
                               QObject* parent = nullptr);
    ~InstrumentSession() override;

    // Attaches the device-change handlers; the controller raises the start-up
    // change at once, so connect to the signals first.
    void start();
    // Only the instrument with this serial number is used; empty (the default) takes any.
    void chooseInstrument(std::string serial) { m_connection.setSerialNumber(std::move(serial)); }
    // The connect button: opens the first instrument, starts reading, says hello.
    void connectInstrument() { m_connection.Open_TBtnClick(); }
    // Lets the instrument go (the reader stops, as on unplug); connecting again works.
    void disconnectInstrument();
    // Asks for the next shot on behalf of the display with this caption.
    void requestShot(const std::string& caption);
    // The device string of the instrument commands go to, empty when there is none.
    QString instrumentName() const;

    // Who takes a completed shot, and what became of it. Without one a shot is
    // dropped and its request settled.
    using ShotTaker = std::function<ShotDelivery(const CompletedShot&)>;
    void setShotTaker(ShotTaker taker) { m_shotTaker = std::move(taker); }

    // Sees every report written to the instrument (the command line counts the
    // answers it is owed).
    using ReportObserver = std::function<void(std::span<const std::uint8_t>)>;
    void setReportObserver(ReportObserver observer) { m_reportObserver = std::move(observer); }

    // The guided demonstration: while on, nothing reaches an instrument and the
    // shots are made up. Ending it gives up the made-up connection and lets the
    // connect button follow the devices again.
    void startDemonstration() { m_acquisition.DemoMode = true; }
    void endDemonstration();
    bool demonstrating() const { return m_acquisition.DemoMode; }

    AcquisitionControl& acquisition() { return m_acquisition; }
    const AcquisitionState& state() const { return m_acquisition.State; }
    DeviceConnection& connection() { return m_connection; }
    DeviceLink& link() { return m_link; }
    TJvHidDeviceController& controller() { return m_controller; }
    HidBackend& backend() { return *m_backend; }

    // Settings reports interpreted since the start.
    int settingsReports() const { return m_settingsReports; }

Q_SIGNALS:
    // The front panel's report, piece by piece as the interpretation finds it.
    void runStateChanged(bool running);
    void zeroLevelPositionChanged(int channel, int position);
    void panelBoxChanged(PanelBox box, int channel, bool checked);
    void instrumentControlsEnabled();
    void upperChannelsVisible(bool visible);
    void channelControlsEnabled(int channel, bool enabled);
    void dataRefreshButtonsEnabled();
    void timebaseLabelChanged(const QString& text);
    void voltsLabelChanged(int channel, const QString& text);
    // The receive progress bar.
    void progressPositionChanged(int position);
    void progressMaximumChanged(int maximum);
    // A shot was completed for the display of this caption and offered to the shot
    // taker; whole is false when a frame of it was lost.
    void shotReady(const QString& requestName, bool whole);
    void quickPrintRequested(int mode);
    void quickPrintDelivered();
    // The connection's news (see DeviceConnection).
    void connectButtonEnabled(bool enabled);
    void connectionLost();
    void connectFailed(const QString& reason);
    // A shot was asked for; the user let the instrument go.
    void shotRequested(const QString& caption);
    void disconnected();

private:
    // The interpretation's listener: turns what it reports into the signals above.
    class Interpretation;
    ShotDelivery offerShot(const CompletedShot& shot);

    // The link's writes, seen on their way out.
    class ObservedWriter : public ReportWriter {
    public:
        ObservedWriter(DeviceLink& link, const ReportObserver& observer)
            : m_link(link), m_observer(observer) {}
        std::optional<int> outputReportLength() override { return m_link.outputReportLength(); }
        void writeReport(std::span<const std::uint8_t> report) override;

    private:
        DeviceLink& m_link;
        const ReportObserver& m_observer;
    };

    std::unique_ptr<HidBackend> m_backend;
    TJvHidDeviceController m_controller;
    DeviceLink m_link;
    ReportObserver m_reportObserver;
    ObservedWriter m_writer{m_link, m_reportObserver};
    std::unique_ptr<Interpretation> m_interpretation;
    AcquisitionControl m_acquisition;
    DeviceConnection m_connection;
    ShotTaker m_shotTaker;
    int m_settingsReports = 0;
};

} // namespace kavlon
