#include "device/session/InstrumentSession.h"

namespace kavlon {

namespace {

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

} // namespace

class InstrumentSession::Interpretation : public ReceiveListener {
public:
    explicit Interpretation(InstrumentSession& session) : s(session) {}

    void progressPositionChanged(int position) override { Q_EMIT s.progressPositionChanged(position); }
    void progressMaximumChanged(int maximum) override { Q_EMIT s.progressMaximumChanged(maximum); }
    void runStateChanged(bool running) override { Q_EMIT s.runStateChanged(running); }
    void zeroLevelPositionChanged(int channel, int position) override {
        Q_EMIT s.zeroLevelPositionChanged(channel, position);
    }
    void panelBoxChanged(PanelBox box, int channel, bool checked) override {
        Q_EMIT s.panelBoxChanged(box, channel, checked);
    }
    void instrumentControlsEnabled() override {
        // Called once per settings report.
        ++s.m_settingsReports;
        Q_EMIT s.instrumentControlsEnabled();
    }
    void upperChannelsVisible(bool visible) override { Q_EMIT s.upperChannelsVisible(visible); }
    void channelControlsEnabled(int channel, bool enabled) override {
        Q_EMIT s.channelControlsEnabled(channel, enabled);
    }
    void dataRefreshButtonsEnabled() override { Q_EMIT s.dataRefreshButtonsEnabled(); }
    void timebaseLabelChanged(std::string_view label) override { Q_EMIT s.timebaseLabelChanged(text(label)); }
    void voltsLabelChanged(int channel, std::string_view label) override {
        Q_EMIT s.voltsLabelChanged(channel, text(label));
    }
    ShotDelivery shotCompleted(const CompletedShot& shot) override { return s.offerShot(shot); }
    void quickPrintRequested(int mode) override { Q_EMIT s.quickPrintRequested(mode); }
    void quickPrintShotDelivered() override { Q_EMIT s.quickPrintDelivered(); }

private:
    InstrumentSession& s;
};

void InstrumentSession::ObservedWriter::writeReport(std::span<const std::uint8_t> report) {
    if (m_observer)
        m_observer(report);
    m_link.writeReport(report);
}

InstrumentSession::InstrumentSession(std::unique_ptr<HidBackend> backend, std::size_t queueCapacity,
                                     QObject* parent)
    : QObject(parent), m_backend(std::move(backend)), m_controller(*m_backend),
      m_interpretation(std::make_unique<Interpretation>(*this)), m_acquisition(*m_interpretation, m_writer),
      m_connection(m_acquisition, m_link, m_controller, queueCapacity) {
    connect(&m_connection, &DeviceConnection::connectButtonEnabled, this,
            &InstrumentSession::connectButtonEnabled);
    connect(&m_connection, &DeviceConnection::connectionLost, this, &InstrumentSession::connectionLost);
    connect(&m_connection, &DeviceConnection::connectFailed, this, &InstrumentSession::connectFailed);
}

// The members go in reverse order: the connection stops and joins the reader and
// checks its devices in before the link, the controller and the backend go.
InstrumentSession::~InstrumentSession() = default;

void InstrumentSession::start() {
    m_connection.start();
}

void InstrumentSession::disconnectInstrument() {
    m_connection.disconnectInstrument();
    Q_EMIT disconnected();
}

void InstrumentSession::requestShot(const std::string& caption) {
    Q_EMIT shotRequested(QString::fromStdString(caption));
    m_acquisition.RequestData(caption);
}

QString InstrumentSession::instrumentName() const {
    if (m_link.DeviceNames.empty())
        return {};
    // The device string begins with the blank of its empty first descriptor.
    return QString::fromStdString(m_link.DeviceNames.front()).trimmed();
}

void InstrumentSession::endDemonstration() {
    m_acquisition.DemoMode = false;
    m_acquisition.State.Connected = false;
    m_connection.JvHidDeviceController1DeviceChange();
}

ShotDelivery InstrumentSession::offerShot(const CompletedShot& shot) {
    const ShotDelivery delivery = m_shotTaker ? m_shotTaker(shot) : ShotDelivery::Settled;
    Q_EMIT shotReady(QString::fromStdString(shot.requestName), shot.whole());
    return delivery;
}

} // namespace kavlon
