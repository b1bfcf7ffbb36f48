#include "ui/displays/FFTDisplay.h"

#include "ui/chart/RChart.h"
#include "ui/displays/FollowBox.h"
#include "ui/displays/SourceBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <span>

namespace kavlon {

namespace {

constexpr std::array<const char*, kChannels> kNumerals = {"I", "II", "III", "IV"};
constexpr std::array<const char*, kSpectrumTypes> kTypeNames = {
    "Magnitude", "Power Spectrum", "Phase Angle", "Cosine Terms", "Sine Terms", "Real Spec", "Imag Spec"};
constexpr int kChartWidth = 513;
constexpr int kChartHeight = 138;
constexpr int kChartPitch = 152;
// Window heights for one to four shown charts.
constexpr std::array<int, kChannels> kHeights = {210, 352, 504, 656};

int chartLeft(int channel) {
    return channel < 2 ? 152 : 149;
}

} // namespace

TMDIChild_FFT::TMDIChild_FFT(DisplayHost& host)
    : TMDIChild(host, "FFT", new QWidget), m_products(std::make_unique<InterpolationTable>()) {
    QWidget* client = widget();
    QFont font = client->font();
    font.setPixelSize(11);
    client->setFont(font);
    FFT1.SetSpectrumSize(kPoints);

    ComboBox1 = new SourceBox(host, client);
    ComboBox1->setObjectName("ComboBox1");
    // Wide enough for any source's caption, clear of the charts.
    ComboBox1->setGeometry(8, 8, std::min(94, comboWidthFor(*ComboBox1, SourceBox::kWidestCaption)), 21);
    Button1 = new QPushButton("Refresh", client);
    Button1->setObjectName("Button1");
    Button1->setGeometry(104, 10, 48, 18);

    // Follow takes a line between the source and the spectrum type, whose group keeps
    // its lower edge.
    FollowCB = new FollowBox(host, client);
    FollowCB->move(10, Button1->y() + Button1->height() + 2);
    const int typeTop = std::max(40, FollowCB->y() + FollowCB->height() + 1);
    RGSpecType = new QGroupBox(" Spectrum Type ", client);
    RGSpecType->setObjectName("RGSpecType");
    RGSpecType->setGeometry(8, typeTop, 113 + 24, 40 + 137 - typeTop);
    SpecTypeButtons = new QButtonGroup(this);
    auto* column = new QVBoxLayout(RGSpecType);
    column->setContentsMargins(6, 2, 2, 2);
    column->setSpacing(0);
    for (int t = 0; t < kSpectrumTypes; ++t) {
        auto* item = new QRadioButton(kTypeNames[std::size_t(t)], RGSpecType);
        item->setObjectName(QString("RGSpecType%1").arg(t));
        SpecTypeButtons->addButton(item, t);
        column->addWidget(item);
    }
    SpecTypeButtons->button(0)->setChecked(true);

    for (int k = 0; k < kChannels; ++k)
        buildChart(k, client);
    // Until a shot says which channels it has, the window's one chart height shows chart I.
    for (int k = 1; k < kChannels; ++k)
        for (QWidget* w :
             {static_cast<QWidget*>(Charts[std::size_t(k)]), static_cast<QWidget*>(LogX[std::size_t(k)]),
              static_cast<QWidget*>(LogY[std::size_t(k)])})
            w->hide();

    connect(ComboBox1, &QComboBox::activated, this, &TMDIChild_FFT::ComboBox1Change);
    connect(Button1, &QPushButton::clicked, this, &TMDIChild_FFT::Button1Click);
}

TMDIChild_FFT::~TMDIChild_FFT() = default;

void TMDIChild_FFT::buildChart(int k, QWidget* client) {
    const QString numeral = kNumerals[std::size_t(k)];
    auto* chart = new TRChart(client);
    chart->setObjectName("FFT_CH" + numeral + "_RC");
    chart->setGeometry(chartLeft(k), 8 + kChartPitch * k, kChartWidth, kChartHeight);
    chart->LRim = 60;
    chart->BRim = 40;
    chart->DecPlaceY = -2;
    chart->MinTickX = 6;
    chart->ShortTicksY = true;
    chart->SetMinRangeX(1e-10);
    chart->SetMinRangeY(1e-10);
    chart->SetRangeHiX(10000);
    chart->SetRangeLoX(1);
    chart->SetLogScaleX(true);
    chart->SetRangeHiY(100);
    chart->SetRangeLoY(0.01);
    chart->SetLogScaleY(true);
    chart->Caption = "Magnitude spectrum of signal above";
    chart->IdAbscissa = "Hz";
    chart->IdOrdinate = "dB";
    chart->MouseAction = TMouseAction::maDragCrossH;
    chart->SetCrossHair(0, {100.0, 1.0, Qt::red, TCrossHairMode::chVert, Qt::SolidLine, 1});
    Charts[std::size_t(k)] = chart;

    auto* logY = new QCheckBox("Log. Y Axis", client);
    logY->setObjectName("CH" + numeral + "_CBLogY");
    auto* logX = new QCheckBox("Log. X Axis", client);
    logX->setObjectName("CH" + numeral + "_CBLogX");
    for (QCheckBox* box : {logX, logY}) {
        box->adjustSize();
        box->raise();
    }
    logY->move(212, 8 + kChartPitch * k + 128);
    logX->move(std::max(292, logY->x() + logY->width() + 6), logY->y());
    LogX[std::size_t(k)] = logX;
    LogY[std::size_t(k)] = logY;
}

int TMDIChild_FFT::spectrumType() const {
    return std::max(0, SpecTypeButtons->checkedId());
}

void TMDIChild_FFT::ComboBox1Enter() {
    ComboBox1->refill();
}

void TMDIChild_FFT::ComboBox1Change() {
    const auto source = m_host.findDataFace(ComboBox1->chosen());
    if (!source || !source->record.HasShot)
        return;
    shot = source->record;
    readSpectrumSamples(source->record, kPoints, samples);
    interpolateFastTimebase(shot, kPoints, *m_products, samples);
    FormResize();
    SetupCharts();
}

void TMDIChild_FFT::sourceShotTaken(const QString& caption) {
    if (FollowCB->follows(*ComboBox1, caption))
        ComboBox1Change();
}

void TMDIChild_FFT::Button1Click() {
    SetupCharts();
}

void TMDIChild_FFT::FormResize() {
    int y = 8;
    int shown = 0;
    for (int k = 0; k < kChannels; ++k) {
        const bool on = shot.ChannelOn[std::size_t(k)];
        for (QWidget* w :
             {static_cast<QWidget*>(Charts[std::size_t(k)]), static_cast<QWidget*>(LogX[std::size_t(k)]),
              static_cast<QWidget*>(LogY[std::size_t(k)])})
            w->setVisible(on);
        if (!on)
            continue;
        Charts[std::size_t(k)]->move(chartLeft(k), y);
        LogY[std::size_t(k)]->move(LogY[std::size_t(k)]->x(), y + 128);
        LogX[std::size_t(k)]->move(LogX[std::size_t(k)]->x(), y + 128);
        y += kChartPitch;
        ++shown;
    }
    if (shown == 0)
        return;
    fixSize({kDesignWidth, kHeights[std::size_t(shown - 1)]});
}

void TMDIChild_FFT::SetupCharts() {
    const int type = spectrumType();
    const long long e = (long long)shot.TimebaseIndex + shot.ZoomIndex;
    const auto values = spectrumValueRange(type);
    const auto frequencies = e <= INT32_MAX ? frequencyRange(int(e)) : std::nullopt;
    const auto unit = e <= INT32_MAX ? frequencyUnit(int(e)) : std::nullopt;
    for (int k = 0; k < kChannels; ++k) {
        TRChart* chart = Charts[std::size_t(k)];
        // The value range goes first: while the axis is still logarithmic, a lower
        // limit at or below zero is refused and the previous one stays.
        chart->SetRangeLoY(values->lo);
        chart->SetRangeHiY(values->hi);
        const QCheckBox* logY = LogY[std::size_t(k)];
        if (logY->isEnabled() && logY->isChecked()) {
            chart->SetRangeLoY(type == 0 ? 0.01 : 0.0001);
            chart->SetLogScaleY(true);
        } else {
            chart->SetLogScaleY(false);
        }
        chart->SetLogScaleX(LogX[std::size_t(k)]->isChecked());
        if (frequencies) {
            chart->SetRangeLoX(frequencies->lo);
            chart->SetRangeHiX(frequencies->hi);
            chart->IdAbscissa = QString::fromUtf8(unit->data(), qsizetype(unit->size()));
        }
    }
    const auto step = e <= INT32_MAX ? frequencyStep(int(e)) : std::nullopt;
    q = step.value_or(0.0);
    ComputeSpectra();
}

void TMDIChild_FFT::ComputeSpectra() {
    // No frequency step is known for a timebase outside the tables.
    if (shot.TimebaseIndex >= kSpectrumTimebases || q <= 0.0)
        return;
    const int type = spectrumType();
    const auto caption = spectrumCaption(type);
    for (int k = 0; k < kChannels; ++k) {
        const SpectrumLines lines =
            spectrumLines(FFT1, std::span(samples.x[std::size_t(k)]).first(kPoints), type, q);
        TRChart* chart = Charts[std::size_t(k)];
        chart->ClearGraph();
        chart->Caption = QString::fromUtf8(caption->data(), qsizetype(caption->size()));
        if (lines.top)
            chart->SetRangeHiY(*lines.top);
        chart->DataColor = Qt::red;
        // The trace rises from the zero line at the first line's frequency.
        if (!lines.frequency.empty())
            chart->MoveTo(lines.frequency.front(), 0.0);
        for (std::size_t i = 0; i < lines.frequency.size(); ++i)
            chart->DrawTo(lines.frequency[i], lines.value[i]);
        chart->ShowGraph();
    }
}

} // namespace kavlon
