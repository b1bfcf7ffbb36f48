#include "ui/displays/MeasureDisplay.h"

#include "ui/DecimalSeparator.h"
#include "ui/FramePlacement.h"
#include "ui/displays/FollowBox.h"
#include "ui/displays/MeasurePictograms.h"
#include "ui/displays/SourceBox.h"
#include "ui/displays/StatisticsWindow.h"

#include "core/measure/MeasureLayout.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <functional>

namespace kavlon {

namespace {

const QColor kTeal(0, 128, 128);
const QColor kSilver(192, 192, 192);

// A paint box: shows whatever its owner paints, nothing of its own.
class PaintBox : public QWidget {
public:
    PaintBox(const QString& name, std::function<void(QPainter&)> paint, QWidget* parent)
        : QWidget(parent), m_paint(std::move(paint)) {
        setObjectName(name);
        setAttribute(Qt::WA_OpaquePaintEvent);
        QFont font = this->font();
        font.setPixelSize(12);
        setFont(font);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        m_paint(painter);
    }

private:
    std::function<void(QPainter&)> m_paint;
};

QFrame* loweredPanel(const QString& name, const QRect& geometry, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(geometry);
    return panel;
}

void drawTexts(QPainter& painter, const std::vector<PlacedText>& texts) {
    painter.setPen(Qt::white);
    const int ascent = painter.fontMetrics().ascent();
    for (const PlacedText& t : texts)
        painter.drawText(t.x, t.y + ascent, QString::fromUtf8(t.text.data(), qsizetype(t.text.size())));
}

} // namespace

TMDIChild_Math::TMDIChild_Math(DisplayHost& host) : TMDIChild(host, "Math", new QWidget) {
    QWidget* client = widget();
    QFont font = client->font();
    font.setPixelSize(11);
    client->setFont(font);

    ComboBox1 = new SourceBox(host, client);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setGeometry(8, 2, 60, 21);
    RefreshBtn = new QPushButton("Refresh", client);
    RefreshBtn->setObjectName("RefreshBtn");
    RefreshBtn->setGeometry(70, 4, 48, 18);

    // The designed source box cannot show a caption whole in common fonts: it takes
    // the room it needs, and the heading and table move right by as much, so their
    // columns stay in line.
    ComboBox1->resize(std::max(ComboBox1->width(), comboWidthFor(*ComboBox1, SourceBox::kWidestCaption)),
                      ComboBox1->height());
    RefreshBtn->move(ComboBox1->x() + ComboBox1->width() + 2, RefreshBtn->y());
    m_shift = std::max(0, RefreshBtn->x() + RefreshBtn->width() + 3 - 121);

    Ch_Panel = loweredPanel("Ch_Panel", {121 + m_shift, 0, 192, 24}, client);
    Channel_PB = new PaintBox(
        "Channel_PB", [this](QPainter& p) { paintHeading(p); }, Ch_Panel);
    Channel_PB->setGeometry(1, 1, 190, 22);

    Grid_Panel = loweredPanel("Grid_Panel", {8, 25, 305 + m_shift, 464}, client);
    Symbol_Image = new QLabel(Grid_Panel);
    Symbol_Image->setObjectName("Symbol_Image");
    Symbol_Image->setGeometry(2, 1, 60 + m_shift, 462);
    Symbol_Image->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Symbol_Image->setAutoFillBackground(true);
    QPalette black = Symbol_Image->palette();
    black.setColor(QPalette::Window, Qt::black);
    Symbol_Image->setPalette(black);
    Symbol_Image->setPixmap(measurePictograms());
    Grid_PB = new PaintBox(
        "Grid_PB", [this](QPainter& p) { paintTable(p); }, Grid_Panel);
    Grid_PB->setGeometry(61 + m_shift, 1, 242, 462);
    FollowCB = new FollowBox(host, client);
    StatisticsBtn = new QPushButton("Statistics", client);
    StatisticsBtn->setObjectName("StatisticsBtn");
    StatisticsBtn->setStatusTip(
        "Each measurement over the shots measured here: last, lowest, highest, mean, spread");
    placeControlRow();

    connect(StatisticsBtn, &QPushButton::clicked, this, &TMDIChild_Math::StatisticsBtnClick);
    connect(RefreshBtn, &QPushButton::clicked, this, &TMDIChild_Math::ComboBox1Change);
    connect(ComboBox1, &QComboBox::activated, this, &TMDIChild_Math::ComboBox1Change);
    // The list is rebuilt when the pointer crosses the window's free area.
    client->setMouseTracking(true);
    client->installEventFilter(this);
}

bool TMDIChild_Math::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget() && event->type() == QEvent::MouseMove)
        FormMouseMove();
    return TMDIChild::eventFilter(watched, event);
}

void TMDIChild_Math::ComboBox1Enter() {
    ComboBox1->refill();
}

void TMDIChild_Math::FormMouseMove() {
    ComboBox1->refill();
}

void TMDIChild_Math::ComboBox1Change() {
    const QString caption = ComboBox1->chosen();
    const auto source = m_host.findDataFace(caption);
    if (!source || !source->record.HasShot)
        return;
    copy = takeMeasureCopy(source->record);
    // The Data display may now export these measurements with its shot.
    m_host.enableMeasureExport(caption);
    MeasureSignal();
    countShot(source->shotSerial);
}

void TMDIChild_Math::sourceShotTaken(const QString& caption) {
    if (FollowCB->follows(*ComboBox1, caption))
        ComboBox1Change();
}

void TMDIChild_Math::countShot(std::uint64_t shotSerial) {
    if (shotSerial != 0 && shotSerial == m_countedSerial)
        return;
    m_countedSerial = shotSerial;
    statistics.add(results, shownChannels(copy));
    if (m_statisticsWindow)
        m_statisticsWindow->refresh();
}

void TMDIChild_Math::StatisticsBtnClick() {
    const bool first = !m_statisticsWindow;
    if (first) {
        m_statisticsWindow = new StatisticsWindow(m_host, statistics, windowTitle(), this);
        connect(m_statisticsWindow, &StatisticsWindow::resetRequested, this, [this] {
            statistics.reset();
            // The shot shown may count again, as the first of the new series.
            m_countedSerial = 0;
            m_statisticsWindow->refresh();
        });
    }
    m_statisticsWindow->show();
    // Over the main window when it first opens; where the user puts it after that.
    if (first)
        centreOnOwner(*m_statisticsWindow);
    m_statisticsWindow->raise();
    m_statisticsWindow->activateWindow();
}

void TMDIChild_Math::placeControlRow() {
    const int top = Grid_Panel->y() + Grid_Panel->height() + 2;
    StatisticsBtn->adjustSize();
    StatisticsBtn->setGeometry(Grid_Panel->x() + Grid_Panel->width() - StatisticsBtn->width(), top,
                               StatisticsBtn->width(), kControlRowHeight - 3);
    FollowCB->move(Grid_Panel->x() + 2, top + (StatisticsBtn->height() - FollowCB->height()) / 2);
}

MeasureDisplayFace TMDIChild_Math::face() const {
    return {windowTitle(), ComboBox1->chosen(), MeasureCells, results};
}

void TMDIChild_Math::MeasureSignal() {
    results = measureResults(copy);
    kavlon::MeasureSignal(results, MeasureCells, localeDecimalSeparator());
    Grid_PBPaint();
}

void TMDIChild_Math::Grid_PBPaint() {
    if (const auto sizes = measureSizes(int(shownChannels(copy).size()))) {
        // The sizes were designed for a frame 8 pixels wider and 27 higher than the client area.
        fixClientSize(sizes->windowWidth - 8 + m_shift, sizes->windowHeight - 27 + kControlRowHeight);
        Grid_Panel->resize(sizes->gridPanelWidth + m_shift, sizes->gridPanelHeight);
        placeControlRow();
        Grid_PB->resize(sizes->gridWidth, sizes->gridHeight);
        Ch_Panel->resize(sizes->headingPanelWidth, Ch_Panel->height());
        Channel_PB->resize(sizes->headingWidth, Channel_PB->height());
        Symbol_Image->resize(Symbol_Image->width(), sizes->symbolHeight);
    }
    Channel_PB->update();
    Grid_PB->update();
}

void TMDIChild_Math::paintHeading(QPainter& p) const {
    const std::vector<int> shown = shownChannels(copy);
    p.fillRect(Channel_PB->rect(), kTeal);
    p.setPen(kSilver);
    for (int x : headingSeparators(int(shown.size())))
        p.drawLine(x, 0, x, Channel_PB->height());
    drawTexts(p, headingTexts(shown));
}

void TMDIChild_Math::paintTable(QPainter& p) const {
    const std::vector<int> shown = shownChannels(copy);
    p.fillRect(Grid_PB->rect(), kTeal);
    p.setPen(kSilver);
    for (int y : tableRows(int(shown.size())))
        p.drawLine(0, y, Grid_PB->width(), y);
    for (int x : tableColumns(int(shown.size())))
        p.drawLine(x, 0, x, Grid_PB->height());
    drawTexts(p, tableTexts(shown, MeasureCells));
}

} // namespace kavlon
