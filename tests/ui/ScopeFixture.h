#pragma once

#include "UiHelpers.h"

#include "support/SyntheticShot.h"

#include "ui/displays/DataDisplay.h"
#include "ui/displays/MeasureDisplay.h"
#include "ui/displays/ScopeDisplay.h"
#include "ui/displays/ScopeScreen.h"
#include "ui/displays/SourceBox.h"
#include "ui/mainwindow/FrontPanel.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QImage>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace kavlon::test {

// Screen colours as 0xRRGGBB.
constexpr QRgb kBlack = 0x000000, kWhite = 0xFFFFFF, kYellow = 0xFFFF00, kGreen = 0x00FF00, kBlue = 0x0000FF,
               kRed = 0xFF0000, kWindowGrey = 0x404040;

// What the instrument had when a Data display's shot was taken.
struct InstrumentShot {
    int channels = 4;
    int timebase = 4;
    int samplesPerPixel = 1;
    int zoomIndex = 0;
    std::array<bool, kChannels> on = {true, true, true, true};
    std::array<int, kChannels> zeroLevels = {120, 120, 120, 120};
    // Raw sample i of channel k (1-4).
    std::function<int(int, int)> raw = [](int k, int) { return 100 + 20 * k; };
};

class ScopeWindow : public ::testing::Test {
protected:
    void SetUp() override { form.show(); }

    // A new numbered Data display holding a shot as the instrument would deliver it.
    TMDIChild_Data* dataWithShot(const InstrumentShot& shot) {
        form.Data_TBClick();
        auto* data = qobject_cast<TMDIChild_Data*>(form.childDisplays().last());
        giveShot(data, shot);
        return data;
    }

    // The shot arrives in an open Data display.
    static void giveShot(TMDIChild_Data* data, const InstrumentShot& shot) {
        SyntheticShot made;
        made.timebase = shot.timebase;
        made.timebaseOffset = shot.zoomIndex;
        made.timeStep = shot.samplesPerPixel;
        made.channelCount = shot.channels;
        made.on = shot.on;
        made.zeroLevels = shot.zeroLevels;
        made.referenceLevels = {0, 0, 0};
        made.sample = shot.raw;
        data->TransferRequestData(*made.state());
    }

    // A new Measure display that measures data's shot.
    TMDIChild_Math* measuring(TMDIChild_Data* data) {
        form.Measure_TBClick();
        auto* measure = qobject_cast<TMDIChild_Math*>(form.childDisplays().last());
        measure->ComboBox1Enter();
        measure->ComboBox1->setCurrentIndex(measure->ComboBox1->findText(data->windowTitle()));
        measure->RefreshBtn->click();
        return measure;
    }

    TMDIChild_Scope* newScope() {
        form.Scope_TBClick();
        return qobject_cast<TMDIChild_Scope*>(form.childDisplays().last());
    }

    // The user moves into the source box and picks the entry with this caption.
    static void choose(TMDIChild_Scope* scope, const QString& caption) {
        enter(scope);
        const int index = scope->ComboBox1->findText(caption);
        ASSERT_GE(index, 0) << caption.toStdString();
        scope->ComboBox1->setCurrentIndex(index);
        emit scope->ComboBox1->activated(index);
    }

    static void enter(TMDIChild_Scope* scope, Qt::FocusReason reason = Qt::TabFocusReason) {
        QFocusEvent focus(QEvent::FocusIn, reason);
        QCoreApplication::sendEvent(scope->ComboBox1, &focus);
    }

    static void pickZoom(TMDIChild_Scope* scope, int index) {
        scope->Zoom_TB->setCurrentIndex(index);
        emit scope->Zoom_TB->activated(index);
    }

    // The screen as painted on the window.
    static QImage painted(TMDIChild_Scope* scope) { return scope->ScreenPB->grab().toImage(); }
    static QRgb colour(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

    Bench bench;
    TMainForm& form = *bench.form;
};

} // namespace kavlon::test
