#include "ui/displays/DataDisplay.h"

#include "ui/DecimalSeparator.h"
#include "ui/displays/ShotTableModel.h"

#include "core/acquisition/AcquisitionControl.h"
#include "core/shot/ShotTransfer.h"

#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace kavlon {

namespace {

constexpr int kFourChannelGridWidth = 480;
constexpr int kTwoChannelGridWidth = 275;
constexpr int kFourChannelZeroPanelWidth = 459;
constexpr int kTwoChannelZeroPanelWidth = 257;
// The button panel has a row for "Save shot..." below the designed three.
constexpr int kSaveShotRow = 18;
constexpr int kGridTop = 90 + kSaveShotRow;
constexpr int kGridMargin = 120 + kSaveShotRow; // the grid is the window's height less this
constexpr int kNumberColumnWidth = 50;
constexpr int kValueColumnWidth = 36;
constexpr int kVoltageColumnWidth = 66;

QFrame* panel(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    frame->setGeometry(geometry);
    return frame;
}

QString qtext(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

// Every shot any Data display takes gets the next number; main thread only.
std::uint64_t nextShotSerial() {
    static std::uint64_t last = 0;
    return ++last;
}

} // namespace

TMDIChild_Data::TMDIChild_Data(DisplayHost& host) : TMDIChild(host, "Data", new QWidget) {
    QWidget* client = widget();
    QFont font = client->font();
    font.setPixelSize(11);
    client->setFont(font);

    QFont labelFont = font;
    labelFont.setPixelSize(10);
    Panel1 = panel(client, "Panel1", {5, 2, 116, 63 + kSaveShotRow});
    RefreshBtn = new QPushButton("Refresh", Panel1);
    RefreshBtn->setObjectName("RefreshBtn");
    RefreshBtn->setGeometry(6, 7, 103, 16);
    RefreshBtn->setEnabled(false);
    RefreshBtn->setStatusTip("Ask the instrument for a new shot");
    RepeatCB = new QCheckBox("Repeat", Panel1);
    RepeatCB->setObjectName("RepeatCB");
    RepeatCB->setFont(labelFont);
    RepeatCB->setStatusTip("Ask for the next shot as soon as one has arrived, until unticked");
    ExportBtn = new QPushButton("Export ...", Panel1);
    ExportBtn->setObjectName("ExportBtn");
    ExportBtn->setGeometry(6, 25, 103, 16);
    ExportBtn->setEnabled(false);
    ExportBtn->setStatusTip("Write the shot to a spreadsheet file");
    incMeasureCB = new QCheckBox("include Measures", Panel1);
    incMeasureCB->setObjectName("incMeasureCB");
    incMeasureCB->setGeometry(8, 42, 105, 17);
    incMeasureCB->setFont(labelFont);
    incMeasureCB->setChecked(true);
    incMeasureCB->setEnabled(false);
    SaveShotBtn = new QPushButton("Save shot...", Panel1);
    SaveShotBtn->setObjectName("SaveShotBtn");
    SaveShotBtn->setGeometry(6, 61, 103, 16);
    SaveShotBtn->setEnabled(false);
    SaveShotBtn->setStatusTip("Write the shot to a CSV file that opens again here and in other programs");
    // The box takes what its text needs; the panels beside it move along.
    incMeasureCB->adjustSize();
    Panel1->resize(std::max(Panel1->width(), incMeasureCB->x() + incMeasureCB->width() + 3),
                   Panel1->height());
    placeRepeatBox();

    // A little wider than designed, so "Real Timebase : 500 ms / Div" fits in this font.
    Panel2 = panel(client, "Panel2", {Panel1->x() + Panel1->width() + 1, 2, 160, Panel1->height()});
    Panel2->setFont(labelFont);
    Trigger_lb = label(Panel2, "Trigger_lb", 41, 4);
    Triggerlevel_lb = label(Panel2, "Triggerlevel_lb", 12, 18);
    Timebase_lb = label(Panel2, "Timebase_lb", 28, 32);
    RealTimebase_lb = label(Panel2, "RealTimebase_lb", 3, 46);
    ShotState_lb = label(Panel2, "ShotState_lb", 3, 62);
    ShotState_lb->setText("Incomplete: frames were lost");
    ShotState_lb->setStyleSheet("color: #c00000");
    ShotState_lb->adjustSize();
    ShotState_lb->hide();

    ZeroLevel_Panel =
        panel(client, "ZeroLevel_Panel", {5, 67 + kSaveShotRow, kFourChannelZeroPanelWidth, 21});
    const int zeroLefts[kChannels] = {54, 155, 258, 360};
    for (int c = 0; c < kChannels; ++c)
        ZeroLevelCH_lb[std::size_t(c)] =
            label(ZeroLevel_Panel, QString("ZeroLevelCH%1_lb").arg(c + 1), zeroLefts[c], 3);
    ZeroLevel_Panel->hide();
    showLabels();

    m_model = std::make_unique<ShotTableModel>(record);
    DataSG = new QTableView(client);
    DataSG->setObjectName("DataSG");
    DataSG->setHorizontalHeader(new TwoRowHeader(DataSG));
    DataSG->setModel(m_model.get());
    DataSG->verticalHeader()->hide();
    DataSG->verticalHeader()->setDefaultSectionSize(16);
    DataSG->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DataSG->horizontalHeader()->setMinimumSectionSize(20);
    setColumnWidths();
    // A reset model gives the header its default widths back.
    connect(m_model.get(), &QAbstractItemModel::modelReset, this, &TMDIChild_Data::setColumnWidths);
    DataSG->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DataSG->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DataSG->setSelectionBehavior(QAbstractItemView::SelectItems);
    DataSG->setGeometry(4, kGridTop, kFourChannelGridWidth, 377);

    connect(RefreshBtn, &QPushButton::clicked, this, &TMDIChild_Data::RefreshBtnClick);
    connect(RepeatCB, &QCheckBox::clicked, this, &TMDIChild_Data::RepeatCBClick);
    connect(ExportBtn, &QPushButton::clicked, this, [this] { ExportBtnClick(ExportBtn); });
    connect(SaveShotBtn, &QPushButton::clicked, this, &TMDIChild_Data::SaveShotBtnClick);
    FormCreate();
}

TMDIChild_Data::~TMDIChild_Data() {
    // The view lets go of the model before the model goes.
    DataSG->setModel(nullptr);
}

QLabel* TMDIChild_Data::label(QWidget* parent, const QString& name, int left, int top) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->move(left, top);
    l->adjustSize();
    return l;
}

// Repeat sits beside Refresh, which gives up the room its own text does not need.
void TMDIChild_Data::placeRepeatBox() {
    RepeatCB->adjustSize();
    const int right = Panel1->width() - 4;
    const int refreshWidth =
        std::max(RefreshBtn->sizeHint().width(), right - RepeatCB->width() - 4 - RefreshBtn->x());
    RefreshBtn->resize(std::min(refreshWidth, RefreshBtn->width()), RefreshBtn->height());
    RepeatCB->move(RefreshBtn->x() + RefreshBtn->width() + 4,
                   RefreshBtn->y() + (RefreshBtn->height() - RepeatCB->height()) / 2);
    if (RepeatCB->x() + RepeatCB->width() > right)
        Panel1->resize(RepeatCB->x() + RepeatCB->width() + 4, Panel1->height());
}

void TMDIChild_Data::setColumnWidths() {
    // Raw values are at most three digits; voltages such as "-979.2 mV" need more room.
    QHeaderView* header = DataSG->horizontalHeader();
    header->resizeSection(0, kNumberColumnWidth);
    for (int c = 1; c < m_model->columnCount(); ++c)
        header->resizeSection(c, c % 2 ? kValueColumnWidth : kVoltageColumnWidth);
}

void TMDIChild_Data::FormCreate() {
    // The headings and sample numbers belong to the record's cell store from the start.
    record.HasShot = false;
}

int TMDIChild_Data::gridColumns() const {
    return m_model->shownColumns();
}

void TMDIChild_Data::setTwoChannelLayout(bool twoChannels) {
    m_model->beginReload();
    m_model->endReload(twoChannels ? 5 : ShotCells::kColumns);
    DataSG->resize(twoChannels ? kTwoChannelGridWidth : kFourChannelGridWidth, DataSG->height());
    ZeroLevel_Panel->resize(twoChannels ? kTwoChannelZeroPanelWidth : kFourChannelZeroPanelWidth,
                            ZeroLevel_Panel->height());
    const int width = twoChannels ? kTwoChannelWidth : kFourChannelWidth;
    setSizeLimits({width, kMinimumHeight}, {width, QWIDGETSIZE_MAX});
    resize(width, height());
}

void TMDIChild_Data::RefreshBtnClick() {
    // Stays disabled until the shot arrives or the next settings report.
    RefreshBtn->setEnabled(false);
    m_askedAgain = false;
    m_host.requestShot(windowTitle());
}

void TMDIChild_Data::RepeatCBClick(bool checked) {
    if (checked) {
        if (RefreshBtn->isEnabled())
            RefreshBtnClick();
        return;
    }
    // Nothing under way: Refresh is the user's again.
    if (!awaitingShot() && m_host.acquisition().State.Connected)
        RefreshBtn->setEnabled(true);
}

void TMDIChild_Data::repeatShot() {
    if (!RepeatCB->isChecked() || isClosing() || awaitingShot())
        return;
    const AcquisitionControl& acquisition = m_host.acquisition();
    // The demonstration's made-up shots are its own; no instrument, nothing to repeat.
    if (!acquisition.State.Connected || acquisition.DemoMode) {
        RepeatCB->setChecked(false);
        RefreshBtn->setEnabled(acquisition.State.Connected);
        return;
    }
    RefreshBtnClick();
}

bool TMDIChild_Data::awaitingShot() const {
    return m_host.acquisition().State.RequestName == windowTitle().toStdString();
}

bool TMDIChild_Data::repeating() const {
    return RepeatCB->isChecked();
}

bool TMDIChild_Data::askAgainAfterLostFrames() {
    if (m_askedAgain)
        return false;
    m_askedAgain = true;
    return true;
}

void TMDIChild_Data::instrumentLetGo() {
    RepeatCB->setChecked(false);
    RefreshBtn->setEnabled(false);
    m_askedAgain = false;
    // Whatever was asked of the instrument that went is not coming.
    m_host.acquisition().dropRequest(windowTitle().toStdString());
}

void TMDIChild_Data::resizeEvent(QResizeEvent* event) {
    TMDIChild::resizeEvent(event);
    FormResize();
}

void TMDIChild_Data::closeEvent(QCloseEvent* event) {
    TMDIChild::closeEvent(event);
    if (isClosing() && !m_host.findDisplay(windowTitle()))
        m_host.acquisition().dropRequest(windowTitle().toStdString());
}

void TMDIChild_Data::FormResize() {
    // A minimised display is its caption alone.
    if (m_resizing || isMinimized() || isShaded())
        return;
    m_resizing = true;
    const bool twoChannels =
        m_fileShot ? record.ChannelMode == 2 : m_host.acquisition().State.ChannelCount == 2;
    const int width = twoChannels ? kTwoChannelWidth : kFourChannelWidth;
    // Tiling and cascading read the width the window keeps from its limits.
    setSizeLimits({width, kMinimumHeight}, {width, QWIDGETSIZE_MAX});
    const int height = std::max(this->height(), kMinimumHeight);
    if (this->width() != width || this->height() != height)
        resize(width, height);
    DataSG->resize(DataSG->width(), std::max(0, this->height() - kGridMargin));
    m_resizing = false;
}

void TMDIChild_Data::TransferRequestData(const AcquisitionState& state, bool whole) {
    TransferInputs inputs;
    inputs.decimalSeparator = localeDecimalSeparator();

    m_model->beginReload();
    const TransferOutcome outcome = transferShot(state, record, inputs);
    m_fileShot = false;
    m_askedAgain = false;
    ShotState_lb->setVisible(!whole);
    // Repeating, the next request goes out once this delivery is over: the instrument
    // waits for nothing but the event loop, and Refresh stays off meanwhile.
    if (RepeatCB->isChecked())
        QTimer::singleShot(0, this, &TMDIChild_Data::repeatShot);
    else
        RefreshBtn->setEnabled(true);
    finishShot(outcome.twoChannelLayout);
}

void TMDIChild_Data::openShot(const ShotRecord& shot) {
    m_model->beginReload();
    record = shot;
    m_fileShot = true;
    ShotState_lb->hide();
    finishShot(record.ChannelMode == 2);
}

void TMDIChild_Data::finishShot(bool twoChannelLayout) {
    // A four-channel shot after a two-channel one gets its nine columns back.
    const bool layoutChanges = twoChannelLayout != (gridColumns() != ShotCells::kColumns);
    m_model->endReload(twoChannelLayout ? 5 : ShotCells::kColumns);
    if (layoutChanges || twoChannelLayout)
        setTwoChannelLayout(twoChannelLayout);

    showLabels();
    ExportBtn->setEnabled(true);
    SaveShotBtn->setEnabled(true);
    m_shotSerial = nextShotSerial();
    Q_EMIT shotTaken();
    m_host.shotTaken(windowTitle());
}

void TMDIChild_Data::showLabels() {
    const std::pair<QLabel*, const std::string*> captions[] = {
        {Timebase_lb, &record.TimebaseText},      {RealTimebase_lb, &record.RealTimebaseText},
        {Trigger_lb, &record.TriggerText},        {Triggerlevel_lb, &record.TriggerLevelText},
        {ZeroLevelCH_lb[0], &record.ZeroText[0]}, {ZeroLevelCH_lb[1], &record.ZeroText[1]},
        {ZeroLevelCH_lb[2], &record.ZeroText[2]}, {ZeroLevelCH_lb[3], &record.ZeroText[3]},
    };
    for (const auto& [target, text] : captions) {
        target->setText(qtext(*text));
        target->adjustSize();
    }
}

DataDisplayFace TMDIChild_Data::face() const {
    return {record, incMeasureCB->isChecked(), m_shotSerial};
}

} // namespace kavlon
