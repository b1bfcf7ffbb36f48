#pragma once

#include "ui/displays/DisplayWindow.h"

#include "core/shot/ShotSettings.h"
#include "core/spectrum/FastFourier.h"
#include "core/spectrum/SpectrumLines.h"
#include "core/spectrum/SpectrumSamples.h"

#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;

namespace kavlon {

class FollowBox;
class SourceBox;
class TRChart;

// An FFT display: one spectrum chart per enabled channel of a Data display's shot,
// with the spectrum type, logarithmic axes per chart, and a frequency axis that
// follows the shot's timebase.
class TMDIChild_FFT : public TMDIChild {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 680;
    static constexpr int kPoints = 512;

    explicit TMDIChild_FFT(DisplayHost& host);
    ~TMDIChild_FFT() override;

    SourceBox* ComboBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    FollowBox* FollowCB = nullptr;
    QGroupBox* RGSpecType = nullptr;
    QButtonGroup* SpecTypeButtons = nullptr;
    // FFT_CHI_RC .. FFT_CHIV_RC and each chart's CHx_CBLogX, CHx_CBLogY.
    std::array<TRChart*, kChannels> Charts{};
    std::array<QCheckBox*, kChannels> LogX{};
    std::array<QCheckBox*, kChannels> LogY{};
    TFastFourier FFT1;

    // The copied shot's settings and samples, and the frequency step of the axis.
    ShotSettings shot;
    SpectrumSamples samples;
    double q = 0.0;

    int spectrumType() const;
    // Loading again keeps the spectrum type and the log axes: they are the boxes' own.
    void sourceShotTaken(const QString& caption) override;

public slots:
    void ComboBox1Enter();
    void ComboBox1Change();
    void Button1Click();
    void FormResize();
    void SetupCharts();
    void ComputeSpectra();

private:
    void buildChart(int channel, QWidget* client);

    std::unique_ptr<InterpolationTable> m_products;
};

} // namespace kavlon
