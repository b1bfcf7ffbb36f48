#include "ui/mainwindow/FrontPanel.h"

#include "ui/mainwindow/ZeroLevelTrackBar.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavlon {

namespace {

const QColor kTrackColors[kChannels] = {Qt::yellow, QColor(0, 255, 0), Qt::blue, Qt::red};

template <class W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QPushButton* button(const QString& name, const QString& caption, const QString& hint = {}) {
    auto* b = named(new QPushButton(caption), name);
    if (!hint.isEmpty()) {
        b->setToolTip(hint);
        b->setStatusTip(hint);
    }
    return b;
}

// A row of buttons packed close, as on the instrument.
QGridLayout* compactGrid(QWidget* box) {
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    return grid;
}

} // namespace

FrontPanel::FrontPanel(AcquisitionControl& acquisition, QWidget* parent)
    : QWidget(parent), m_acquisition(acquisition) {
    setObjectName("LeftPanel");
    setFixedWidth(kWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);
    column->addWidget(buildDisplayList());
    column->addWidget(buildRunControls());
    column->addWidget(buildHorizontal());
    column->addWidget(buildVertical(), 1);
}

QWidget* FrontPanel::buildDisplayList() {
    auto* box = new QWidget;
    auto* grid = compactGrid(box);
    Add_Btn = button("Add_Btn", "Add", "Add a display");
    Delete_Btn = button("Delete_Btn", "Delete", "Close the display selected in the list");
    Reset_Btn = button("Reset_Btn", "Reset", "Close all displays");
    for (auto* b : {Add_Btn, Delete_Btn, Reset_Btn})
        b->setEnabled(false);
    grid->addWidget(Add_Btn, 0, 0);
    grid->addWidget(Delete_Btn, 0, 1);
    grid->addWidget(Reset_Btn, 0, 2);
    ListBox1 = named(new QListWidget, "ListBox1");
    ListBox1->setFixedSize(160, 154);
    ListBox1->setStatusTip("Open displays");
    grid->addWidget(ListBox1, 1, 0, 1, 3);
    return box;
}

QWidget* FrontPanel::buildRunControls() {
    auto* box = new QWidget;
    auto* grid = compactGrid(box);
    RunStopBtn = button("RunStopBtn", "Stop", "Start or stop the acquisition");
    SingleBtn = button("SingleBtn", "Single", "Capture a single shot");
    AutoScaleBtn = button("AutoScaleBtn", "Auto - Scale", "Let the instrument find timebase and scales");
    for (auto* b : {RunStopBtn, SingleBtn, AutoScaleBtn})
        b->setEnabled(false);
    grid->addWidget(RunStopBtn, 0, 0);
    grid->addWidget(SingleBtn, 0, 1);
    grid->addWidget(AutoScaleBtn, 1, 0, 1, 2);
    connect(RunStopBtn, &QPushButton::clicked, this, &FrontPanel::RunStopBtnClick);
    connect(SingleBtn, &QPushButton::clicked, this, &FrontPanel::SingleBtnClick);
    connect(AutoScaleBtn, &QPushButton::clicked, this, &FrontPanel::AutoScaleBtnClick);
    return box;
}

QGroupBox* FrontPanel::buildHorizontal() {
    HorizontalGroup = named(new QGroupBox("Horizontal"), "HorizontalGroup");
    auto* grid = new QGridLayout(HorizontalGroup);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setSpacing(3);
    Timebase_lb = named(new QLabel("2 nS / Div"), "Timebase_lb");
    Timebase_lb->setAlignment(Qt::AlignCenter);
    Timebase_lb->setStatusTip("Time per division");
    tb_fast_btn = button("tb_fast_btn", "Faster", "Shorter time per division");
    tb_slow_btn = button("tb_slow_btn", "Slower", "Longer time per division");
    for (QWidget* w : {static_cast<QWidget*>(Timebase_lb), static_cast<QWidget*>(tb_fast_btn),
                       static_cast<QWidget*>(tb_slow_btn)})
        w->setEnabled(false);
    grid->addWidget(Timebase_lb, 0, 0, 1, 2);
    grid->addWidget(tb_fast_btn, 1, 0);
    grid->addWidget(tb_slow_btn, 1, 1);
    connect(tb_fast_btn, &QPushButton::clicked, this, &FrontPanel::tb_fast_btnClick);
    connect(tb_slow_btn, &QPushButton::clicked, this, &FrontPanel::tb_slow_btnClick);
    return HorizontalGroup;
}

QGroupBox* FrontPanel::buildVertical() {
    VerticalGroup = named(new QGroupBox("Vertical"), "VerticalGroup");
    auto* column = new QVBoxLayout(VerticalGroup);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    for (int c = 1; c <= kChannels; ++c)
        column->addWidget(buildChannel(c));
    column->addStretch();
    return VerticalGroup;
}

QWidget* FrontPanel::buildChannel(int channel) {
    const QString n = QString::number(channel);
    ChannelControls& ch = channels[std::size_t(channel - 1)];
    auto* frame = named(new QFrame, QString("Panel%1").arg(channel + 2));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    ch.panel = frame;
    ch.channelBox = named(new QCheckBox("Channel " + n), "Channel" + n + "_cb");
    ch.channelBox->setStatusTip("Switch channel " + n + " on or off");
    const std::string& volts = m_acquisition.State.VoltsPerDivText[std::size_t(channel - 1)];
    ch.voltLabel = named(new QLabel(QString::fromStdString(volts)), "Channel" + n + "_volt_lb");
    ch.voltLabel->setStatusTip("Volts per division of channel " + n);
    ch.biggerBtn = button("Channel" + n + "_v_big_btn", "Bigger", "More volts per division");
    ch.smallerBtn = button("Channel" + n + "_v_small_btn", "Smaller", "Fewer volts per division");
    ch.zeroLevel = named(new ZeroLevelTrackBar(kTrackColors[channel - 1]), "ZeroLevel_Ch" + n + "_TB");
    ch.zeroLevel->setStatusTip("Zero level of channel " + n + ": sent when the mouse is released");
    ch.acdcBox = named(new QCheckBox("AC / DC"), "Channel" + n + "_acdc_cb");
    ch.acdcBox->setStatusTip("Coupling of channel " + n);
    ch.invertBox = named(new QCheckBox("Invert"), "Channel" + n + "_invert_cb");
    ch.invertBox->setVisible(false);
    for (QWidget* w : {static_cast<QWidget*>(ch.voltLabel), static_cast<QWidget*>(ch.biggerBtn),
                       static_cast<QWidget*>(ch.smallerBtn)})
        w->setEnabled(false);
    for (auto* b : {ch.biggerBtn, ch.smallerBtn})
        b->setFixedHeight(19);

    auto* grid = new QGridLayout(ch.panel);
    grid->setContentsMargins(2, 0, 0, 0);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(0);
    grid->addWidget(ch.channelBox, 0, 0, 1, 2);
    grid->addWidget(ch.voltLabel, 1, 0, 1, 2);
    grid->addWidget(ch.biggerBtn, 2, 0);
    grid->addWidget(ch.smallerBtn, 2, 1);
    grid->addWidget(ch.acdcBox, 3, 0, 1, 2);
    grid->addWidget(ch.invertBox, 4, 0, 1, 2);
    grid->addWidget(ch.zeroLevel, 0, 2, 5, 1);
    ch.zeroLevel->setFixedHeight(76);

    connect(ch.biggerBtn, &QPushButton::clicked, this, [this, channel] { voltsBiggerClick(channel); });
    connect(ch.smallerBtn, &QPushButton::clicked, this, [this, channel] { voltsSmallerClick(channel); });
    connect(ch.channelBox, &QCheckBox::clicked, this,
            [this, channel] { panelBoxClick(PanelBox::Channel, channel); });
    connect(ch.acdcBox, &QCheckBox::clicked, this,
            [this, channel] { panelBoxClick(PanelBox::Coupling, channel); });
    connect(ch.invertBox, &QCheckBox::clicked, this,
            [this, channel] { panelBoxClick(PanelBox::Invert, channel); });
    connect(ch.zeroLevel, &ZeroLevelTrackBar::mouseReleased, this,
            [this, channel] { zeroLevelMouseUp(channel); });
    return ch.panel;
}

QCheckBox* FrontPanel::panelBox(PanelBox box, int channel) const {
    const ChannelControls& ch = channels[std::size_t(channel - 1)];
    switch (box) {
    case PanelBox::Channel:
        return ch.channelBox;
    case PanelBox::Coupling:
        return ch.acdcBox;
    case PanelBox::Invert:
        return ch.invertBox;
    }
    return nullptr;
}

void FrontPanel::setInstrumentControlsEnabled(bool enabled) {
    setDisplayListControlsEnabled(enabled);
    setSendingControlsEnabled(enabled);
}

void FrontPanel::setDisplayListControlsEnabled(bool enabled) {
    for (QPushButton* b : {Add_Btn, Delete_Btn, Reset_Btn})
        b->setEnabled(enabled);
}

void FrontPanel::setSendingControlsEnabled(bool enabled) {
    QList<QWidget*> controls = instrumentCommandButtons();
    controls << Timebase_lb;
    for (QWidget* w : controls)
        w->setEnabled(enabled);
    applyCommandLock();
}

void FrontPanel::enableInstrumentControls() {
    setInstrumentControlsEnabled(true);
}

void FrontPanel::enableDisplayListControls() {
    setDisplayListControlsEnabled(true);
}

void FrontPanel::instrumentLetGo() {
    setSendingControlsEnabled(false);
    for (int c = 1; c <= kChannels; ++c)
        setChannelControlsEnabled(c, false);
}

void FrontPanel::returnToStartState() {
    setInstrumentControlsEnabled(false);
    for (int c = 1; c <= kChannels; ++c)
        setChannelControlsEnabled(c, false);
    setUpperChannelsVisible(true);
}

void FrontPanel::setChannelControlsEnabled(int channel, bool enabled) {
    ChannelControls& ch = channels[std::size_t(channel - 1)];
    ch.voltLabel->setEnabled(enabled);
    ch.biggerBtn->setEnabled(enabled);
    ch.smallerBtn->setEnabled(enabled);
    applyCommandLock();
}

QList<QWidget*> FrontPanel::instrumentCommandButtons() const {
    return {RunStopBtn, SingleBtn, AutoScaleBtn, tb_fast_btn, tb_slow_btn};
}

QList<QWidget*> FrontPanel::commandControls() const {
    QList<QWidget*> controls = instrumentCommandButtons();
    for (const ChannelControls& ch : channels)
        controls << ch.biggerBtn << ch.smallerBtn << ch.channelBox << ch.acdcBox << ch.invertBox
                 << ch.zeroLevel;
    return controls;
}

void FrontPanel::lockCommands(const QString& why) {
    m_commandLock = why;
    for (QWidget* w : commandControls())
        w->setToolTip(why);
    applyCommandLock();
}

void FrontPanel::applyCommandLock() {
    if (m_commandLock.isEmpty())
        return;
    for (QWidget* w : commandControls())
        w->setEnabled(false);
}

void FrontPanel::setZeroLevelPosition(int channel, int position) {
    // Zero levels below 30 or above 222 ask for positions the bar does not have;
    // it shows the nearest end.
    channels[std::size_t(channel - 1)].zeroLevel->setValue(
        std::clamp(position, 0, ZeroLevelTrackBar::kMaximum));
}

void FrontPanel::setRunState(bool running) {
    RunStopBtn->setText(running ? "Stop" : "Run");
}

void FrontPanel::setTimebaseLabel(const QString& text) {
    Timebase_lb->setText(text);
}

void FrontPanel::setVoltsLabel(int channel, const QString& text) {
    channels[std::size_t(channel - 1)].voltLabel->setText(text);
}

void FrontPanel::setUpperChannelsVisible(bool visible) {
    channels[2].panel->setVisible(visible);
    channels[3].panel->setVisible(visible);
}

void FrontPanel::setPanelBoxChecked(PanelBox box, int channel, bool checked) {
    panelBox(box, channel)->setChecked(checked);
}

void FrontPanel::RunStopBtnClick() {
    m_acquisition.sendCommand([](CommandBytes& b) { CmdRunStop(b); });
}

void FrontPanel::SingleBtnClick() {
    m_acquisition.sendCommand([](CommandBytes& b) { CmdSingle(b); });
}

void FrontPanel::AutoScaleBtnClick() {
    m_acquisition.sendCommand([](CommandBytes& b) { CmdAutoScale(b); });
}

void FrontPanel::tb_fast_btnClick() {
    m_acquisition.sendCommand([](CommandBytes& b) { CmdTimebaseStep(b, TimebaseStep::Faster); });
}

void FrontPanel::tb_slow_btnClick() {
    m_acquisition.sendCommand([](CommandBytes& b) { CmdTimebaseStep(b, TimebaseStep::Slower); });
}

void FrontPanel::voltsBiggerClick(int channel) {
    m_acquisition.sendCommand([channel](CommandBytes& b) { CmdVoltsStep(b, channel, VoltsStep::Bigger); });
}

void FrontPanel::voltsSmallerClick(int channel) {
    m_acquisition.sendCommand([channel](CommandBytes& b) { CmdVoltsStep(b, channel, VoltsStep::Smaller); });
}

void FrontPanel::panelBoxClick(PanelBox box, int channel) {
    m_acquisition.PanelBoxClick(box, channel, panelBox(box, channel)->isChecked());
}

void FrontPanel::zeroLevelMouseUp(int channel) {
    const int position = channels[std::size_t(channel - 1)].zeroLevel->value();
    m_acquisition.sendCommand([=](CommandBytes& b) { CmdZeroLevel(b, channel, position); });
}

} // namespace kavlon
