#pragma once

#include "core/acquisition/AcquisitionControl.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kavlon {

class ZeroLevelTrackBar;

// One channel of the vertical section: Panel3 .. Panel6 for channels 1 .. 4.
struct ChannelControls {
    QWidget* panel = nullptr;
    QCheckBox* channelBox = nullptr;        // ChannelN_cb
    QLabel* voltLabel = nullptr;            // ChannelN_volt_lb
    QPushButton* biggerBtn = nullptr;       // ChannelN_v_big_btn
    QPushButton* smallerBtn = nullptr;      // ChannelN_v_small_btn
    ZeroLevelTrackBar* zeroLevel = nullptr; // ZeroLevel_ChN_TB
    QCheckBox* acdcBox = nullptr;           // ChannelN_acdc_cb
    QCheckBox* invertBox = nullptr;         // ChannelN_invert_cb
};

// The software copy of the instrument's front panel along the left edge of the
// main window, with the display list above it. The controls only send commands;
// what they show comes from the instrument's settings reports.
class FrontPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 169;

    FrontPanel(AcquisitionControl& acquisition, QWidget* parent = nullptr);

    QPushButton* Add_Btn = nullptr;
    QPushButton* Delete_Btn = nullptr;
    QPushButton* Reset_Btn = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* RunStopBtn = nullptr;
    QPushButton* SingleBtn = nullptr;
    QPushButton* AutoScaleBtn = nullptr;
    QGroupBox* HorizontalGroup = nullptr;
    QLabel* Timebase_lb = nullptr;
    QPushButton* tb_fast_btn = nullptr;
    QPushButton* tb_slow_btn = nullptr;
    QGroupBox* VerticalGroup = nullptr;
    std::array<ChannelControls, kChannels> channels;

    QCheckBox* panelBox(PanelBox box, int channel) const;

    // The controls a settings report enables (the display buttons are the toolbar's).
    void enableInstrumentControls();
    // Every control a report enables off again, all four channels shown.
    void returnToStartState();
    // Add, Delete and Reset: displays can be made of an opened shot without an instrument.
    void enableDisplayListControls();
    // The instrument was let go: the controls that send it commands go off; the
    // display list stays usable and the panel keeps showing the last report.
    void instrumentLetGo();
    void setChannelControlsEnabled(int channel, bool enabled);
    void setZeroLevelPosition(int channel, int position);
    // What the instrument's reports change on the panel.
    void setRunState(bool running);
    void setTimebaseLabel(const QString& text);
    void setVoltsLabel(int channel, const QString& text);
    void setUpperChannelsVisible(bool visible);
    // Ticks or clears a box without running its click handler.
    void setPanelBoxChecked(PanelBox box, int channel, bool checked);
    // From now on the controls that send commands stay disabled, whatever a report
    // enables, and their tooltip says why.
    void lockCommands(const QString& why);

public slots:
    void RunStopBtnClick();
    void SingleBtnClick();
    void AutoScaleBtnClick();
    void tb_fast_btnClick();
    void tb_slow_btnClick();
    void voltsBiggerClick(int channel);
    void voltsSmallerClick(int channel);
    void panelBoxClick(PanelBox box, int channel);
    void zeroLevelMouseUp(int channel);

private:
    void setInstrumentControlsEnabled(bool enabled);
    void setDisplayListControlsEnabled(bool enabled);
    void setSendingControlsEnabled(bool enabled);
    // The buttons that send a command for the whole instrument, and every control that sends one.
    QList<QWidget*> instrumentCommandButtons() const;
    QList<QWidget*> commandControls() const;
    void applyCommandLock();
    QWidget* buildDisplayList();
    QWidget* buildRunControls();
    QGroupBox* buildHorizontal();
    QGroupBox* buildVertical();
    QWidget* buildChannel(int channel);

    AcquisitionControl& m_acquisition;
    QString m_commandLock;
};

} // namespace kavlon
