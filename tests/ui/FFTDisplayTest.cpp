#include "ScopeFixture.h"

#include "ui/chart/RChart.h"
#include "ui/displays/FFTDisplay.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>

#include <cmath>
#include <numbers>

namespace kavlon {
namespace {

using namespace test;

class FFTWindow : public ScopeWindow {
protected:
    TMDIChild_FFT* newFFT() {
        form.FFT_TBClick();
        return qobject_cast<TMDIChild_FFT*>(form.childDisplays().last());
    }
    static void choose(TMDIChild_FFT* fft, const QString& caption) {
        fft->ComboBox1Enter();
        fft->ComboBox1->setCurrentIndex(fft->ComboBox1->findText(caption));
        emit fft->ComboBox1->activated(fft->ComboBox1->currentIndex());
    }
};

constexpr int k0 = 8;
// A pure sine of k0 cycles in 512 samples.
int sine(int, int i) {
    return 128 + int(std::lround(60 * std::sin(2 * std::numbers::pi * k0 * i / 512)));
}

TEST_F(FFTWindow, ShownChannelsStackTheirChartsAndSizeTheWindow) {
    TMDIChild_FFT* fft = newFFT();
    EXPECT_EQ(fft->size(), QSize(680, 210));
    const TMDIChild_Data* data = dataWithShot({.on = {true, false, true, false}, .raw = sine});
    choose(fft, data->windowTitle());
    EXPECT_EQ(fft->size(), QSize(680, 352));
    EXPECT_TRUE(fft->Charts[0]->isVisibleTo(fft));
    EXPECT_TRUE(fft->Charts[2]->isVisibleTo(fft));
    EXPECT_FALSE(fft->Charts[1]->isVisibleTo(fft));
    EXPECT_FALSE(fft->Charts[3]->isVisibleTo(fft));
    EXPECT_EQ(fft->Charts[0]->y(), 8);
    EXPECT_EQ(fft->Charts[2]->y(), 160);
    EXPECT_EQ(fft->LogY[2]->y(), 288);
}

TEST_F(FFTWindow, ASineShowsItsLineAndTheTypeAndAxesFollowRefresh) {
    TMDIChild_FFT* fft = newFFT();
    const TMDIChild_Data* data = dataWithShot({.samplesPerPixel = 1, .raw = sine});
    choose(fft, data->windowTitle());
    TRChart* chart = fft->Charts[0];

    // Timebase 4: 50 ns/Div, the MHz axis with 0.001 per step.
    EXPECT_EQ(chart->IdAbscissa, "MHz");
    EXPECT_EQ(chart->Caption, "Magnitude Spectrum");
    const auto& items = chart->items();
    ASSERT_EQ(items.size(), 1u + 256u);
    EXPECT_EQ(items[0].y, 0.0);
    const auto peak =
        std::max_element(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.y < b.y; });
    EXPECT_EQ(peak - items.begin(), k0) << "item L is line L";
    EXPECT_DOUBLE_EQ(peak->x, k0 / (0.001 * 512));
    EXPECT_DOUBLE_EQ(chart->RangeHiY(), peak->y);
    // The charts start logarithmic: the table's lower limit 0 is refused the first time.
    EXPECT_FALSE(chart->LogScaleY());
    EXPECT_EQ(chart->RangeLoY(), 0.01);
    fft->Button1->click();
    EXPECT_EQ(chart->RangeLoY(), 0.0);

    fft->SpecTypeButtons->button(1)->setChecked(true);
    fft->Button1->click();
    EXPECT_EQ(chart->Caption, "Power Spectrum");
    EXPECT_DOUBLE_EQ(chart->RangeHiY(), fft->FFT1.MaxPower()) << "the last channel's engine state";

    fft->SpecTypeButtons->button(0)->setChecked(true);
    fft->LogY[0]->setChecked(true);
    fft->Button1->click();
    EXPECT_TRUE(chart->LogScaleY());
    EXPECT_EQ(chart->RangeLoY(), 0.01);
}

TEST_F(FFTWindow, ThePowerSpectrumsLogScaleWritesReadableLabelsOnTheAxisOnly) {
    TMDIChild_FFT* fft = newFFT();
    const TMDIChild_Data* data = dataWithShot({.samplesPerPixel = 1, .raw = sine});
    choose(fft, data->windowTitle());
    fft->SpecTypeButtons->button(1)->setChecked(true);
    fft->LogY[0]->setChecked(true);
    fft->Button1->click();
    TRChart* chart = fft->Charts[0];
    ASSERT_TRUE(chart->LogScaleY());
    ASSERT_GT(chart->RangeHiY() / chart->RangeLoY(), 1e9) << "many decades in a short axis";
    const QRect plot = chart->plotRect();
    for (Qt::Orientation axis : {Qt::Vertical, Qt::Horizontal}) {
        SCOPED_TRACE(axis == Qt::Vertical ? "Y" : "X");
        const auto labels = chart->scaleLabels(axis);
        ASSERT_GE(labels.size(), 2u);
        const double lo = axis == Qt::Vertical ? chart->RangeLoY() : chart->RangeLoX();
        const double hi = axis == Qt::Vertical ? chart->RangeHiY() : chart->RangeHiX();
        for (std::size_t i = 0; i < labels.size(); ++i) {
            SCOPED_TRACE(labels[i].text.toStdString());
            EXPECT_GE(labels[i].value, lo * (1 - 1e-9));
            EXPECT_LE(labels[i].value, hi * (1 + 1e-9));
            const QPoint centre = labels[i].rect.center();
            if (axis == Qt::Vertical) {
                EXPECT_GE(centre.y(), plot.top() - 1);
                EXPECT_LE(centre.y(), plot.bottom() + 1);
            }
            if (i > 0) {
                EXPECT_FALSE(labels[i].rect.intersects(labels[i - 1].rect))
                    << labels[i - 1].text.toStdString();
            }
        }
    }
    // The painted picture leaves the margin below the Y labels blank.
    const QImage picture = chart->picture();
    const QRgb background = picture.pixel(2, picture.height() - 2);
    for (int y = plot.bottom() + chart->fontMetrics().height() / 2 + 2; y < picture.height(); ++y)
        for (int x = 0; x < plot.left() - 8; ++x)
            ASSERT_EQ(picture.pixel(x, y), background) << x << "," << y;
}

TEST_F(FFTWindow, DraggingMovesTheNearestCrossHairOncePerMovement) {
    TMDIChild_FFT* fft = newFFT();
    TRChart* chart = fft->Charts[0];
    chart->resize(513, 138);
    QSignalSpy moved(chart, &TRChart::OnCrossHairMove);
    const QPoint line = chart->toPixel(chart->CrossHair(0).PosX, 1.0);
    const QPoint start(line.x() + 3, chart->plotRect().center().y());
    QMouseEvent press(QEvent::MouseButtonPress, start, chart->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(chart, &press);
    for (int dx : {20, 40}) {
        const QPoint to = start + QPoint(dx, 0);
        QMouseEvent move(QEvent::MouseMove, to, chart->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(chart, &move);
    }
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(chart->toPixel(chart->CrossHair(0).PosX, 1.0).x(), start.x() + 40);
}

} // namespace
} // namespace kavlon
