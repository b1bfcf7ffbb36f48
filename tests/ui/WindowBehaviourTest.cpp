// How the displays sit in the main window: placement, arranging, minimising, texts
// that fit, a front panel that scrolls, and deleting only what the user picked.
#include "ScopeFixture.h"

#include "ui/dialogs/SelectDisplayDlg.h"
#include "ui/dialogs/SettingsForm.h"
#include "ui/displays/FFTDisplay.h"
#include "ui/displays/MeasureDisplay.h"
#include "ui/mainwindow/DisplayPlacement.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kavlon {
namespace {

using namespace test;

QRect areaRect(TMainForm& form) {
    return QRect(QPoint(0, 0), form.mdiArea()->viewport()->size());
}

// What a combo box needs to show its widest entry whole.
int comboWidthFor(const QComboBox* combo) {
    QString widest;
    for (int i = 0; i < combo->count(); ++i)
        if (combo->fontMetrics().horizontalAdvance(combo->itemText(i)) >
            combo->fontMetrics().horizontalAdvance(widest))
            widest = combo->itemText(i);
    return kavlon::comboWidthFor(*combo, widest);
}

// The visible controls of `root` whose text does not fit: wider than their box, reaching
// past their parent, or overlapping a sibling that shows text too.
QStringList cutTexts(QWidget* root) {
    QStringList cut;
    QList<QWidget*> texts;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                                       qobject_cast<QComboBox*>(w) || qobject_cast<QGroupBox*>(w)))
            continue;
        // Inside the toolbar, layouts own the geometry.
        if (w->parentWidget() && w->parentWidget()->inherits("QToolBar"))
            continue;
        texts << w;
        // A push button's hint adds the style's generous padding; its text needs less.
        const auto* push = qobject_cast<QPushButton*>(w);
        // A group's hint is its layout's; its title needs only its own room.
        const auto* group = qobject_cast<QGroupBox*>(w);
        const auto* combo = qobject_cast<QComboBox*>(w);
        const int needed = group   ? group->fontMetrics().horizontalAdvance(group->title()) + 8
                           : push  ? push->fontMetrics().horizontalAdvance(push->text()) + 6
                           : combo ? comboWidthFor(combo)
                                   : w->sizeHint().width();
        const QString name = root->objectName() + "/" + w->objectName();
        if (w->width() < needed)
            cut << name + QString(" %1 < %2").arg(w->width()).arg(needed);
        if (w->parentWidget() && !w->parentWidget()->rect().contains(w->geometry()))
            cut << name + " reaches past its parent";
    }
    for (QWidget* a : texts)
        for (QWidget* b : texts)
            if (a < b && a->parentWidget() == b->parentWidget() && a->geometry().intersects(b->geometry()))
                cut << a->objectName() + " overlaps " + b->objectName();
    return cut;
}

class WindowBehaviour : public ScopeWindow {
protected:
    // Data, Scope, Measure and FFT, `rounds` times over.
    void openMixed(int rounds) {
        for (int i = 0; i < rounds; ++i) {
            form.Data_TBClick();
            form.Scope_TBClick();
            form.Measure_TBClick();
            form.FFT_TBClick();
        }
    }
};

// The parts of a display's title bar that must show: its icon at the left, and its
// caption, written in the middle of the bar.
QList<QRect> captionRects(const TMDIChild* d) {
    const int title = d->contentsMargins().top();
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int text = std::min(d->width(), QFontMetrics(font).horizontalAdvance(d->windowTitle()));
    return {QRect(d->pos(), QSize(title, title)),
            QRect(d->x() + (d->width() - text) / 2, d->y(), text, title)};
}

// How long a window may take to become active: a bound for a stalled test, never a
// measure of speed.
constexpr int kPatience = 60000;

// Dialogs that really run modally, as on the desktop: each is closed from inside its
// own event loop once it is the active window.
class ModalDialogs : public ScriptedDialogs {
public:
    bool runModal(QDialog& dialog) override {
        QTimer::singleShot(0, &dialog, [this, &dialog] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog, kPatience));
            onModal(dialog) ? dialog.accept() : dialog.reject();
        });
        return dialog.exec() == QDialog::Accepted;
    }
    // A modal dialog stands for the file dialog.
    QString chooseOpenFile(QWidget* parent, const QString& filter) override {
        QDialog picker(parent);
        picker.setModal(true);
        runModal(picker);
        return ScriptedDialogs::chooseOpenFile(parent, filter);
    }
};

TEST_F(WindowBehaviour, NewDisplaysShowWhollyAndStepAcrossTheArea) {
    form.resize(1034, 745);
    QCoreApplication::processEvents();
    const QRect area = areaRect(form);
    QList<QPoint> places;
    for (int i = 0; i < 12; ++i) {
        i % 3 == 0 ? form.Scope_TBClick() : i % 3 == 1 ? form.Data_TBClick() : form.Measure_TBClick();
        TMDIChild* display = form.childDisplays().last();
        SCOPED_TRACE(display->windowTitle().toStdString());
        if (display->width() <= area.width() && display->height() <= area.height()) {
            EXPECT_TRUE(area.contains(display->geometry())) << display->x() << "," << display->y();
        }
        EXPECT_FALSE(places.contains(display->pos())) << "stacked on an earlier display";
        if (!places.isEmpty()) {
            EXPECT_NE(display->pos(), places.last());
        }
        places << display->pos();
    }
    EXPECT_EQ(places.first(), QPoint(0, 0));
    EXPECT_EQ(places[1], QPoint(kDisplayStep, kDisplayStep));
}

TEST_F(WindowBehaviour, CascadeKeepsSizesAndTilingKeepsFixedDisplaysApart) {
    form.resize(1600, 1000);
    QCoreApplication::processEvents();
    form.Data_TBClick();
    form.Scope_TBClick();
    form.Measure_TBClick();
    form.FFT_TBClick();
    QList<QSize> sizes;
    for (TMDIChild* d : form.childDisplays())
        sizes << d->size();

    form.WindowCascade1->trigger();
    QList<QPoint> places;
    for (int i = 0; i < sizes.size(); ++i) {
        TMDIChild* d = form.childDisplays()[i];
        EXPECT_EQ(d->size(), sizes[i]) << d->windowTitle().toStdString();
        EXPECT_FALSE(places.contains(d->pos()));
        places << d->pos();
    }

    // Where they fit side by side, every display keeps its width and none overlaps another.
    form.resize(2400, 1000);
    QCoreApplication::processEvents();
    ASSERT_GE(areaRect(form).width(), 500 + sizes[1].width() + sizes[2].width() + sizes[3].width());
    form.WindowTileVertical1->trigger();
    const auto displays = form.childDisplays();
    for (TMDIChild* a : displays)
        for (TMDIChild* b : displays)
            if (a != b) {
                EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                    << a->windowTitle().toStdString() << " and " << b->windowTitle().toStdString();
            }
    EXPECT_EQ(displays[0]->width(), TMDIChild_Data::kFourChannelWidth);
    EXPECT_EQ(displays[1]->size(), sizes[1]);
}

TEST_F(WindowBehaviour, TwentyDisplaysNeverShareAPlaceAndCascadeHidesNoCaption) {
    form.resize(1034, 745);
    QCoreApplication::processEvents();
    openMixed(5);
    const auto displays = form.childDisplays();
    ASSERT_EQ(displays.size(), 20);
    for (int i = 0; i < displays.size(); ++i)
        for (int j = 0; j < i; ++j)
            EXPECT_NE(displays[i]->pos(), displays[j]->pos())
                << displays[i]->windowTitle().toStdString() << " on "
                << displays[j]->windowTitle().toStdString();

    form.WindowCascade1->trigger();
    const QRect area = areaRect(form);
    for (int i = 0; i < displays.size(); ++i) {
        SCOPED_TRACE(displays[i]->windowTitle().toStdString());
        for (const QRect& caption : captionRects(displays[i])) {
            // Past the right edge the area scrolls; it never needs to downward.
            EXPECT_GE(caption.top(), 0);
            EXPECT_LE(caption.bottom(), area.bottom());
            // Cascading stacks each display above those before it.
            for (int j = i + 1; j < displays.size(); ++j)
                EXPECT_FALSE(displays[j]->geometry().intersects(caption))
                    << displays[j]->windowTitle().toStdString();
        }
    }
}

TEST_F(WindowBehaviour, TilesFitTheAreaBothWays) {
    form.resize(1034, 745);
    QCoreApplication::processEvents();
    openMixed(1);
    const QRect area = areaRect(form);
    for (QAction* tiling : {form.WindowTileVertical1, form.WindowTileHorizontal1}) {
        SCOPED_TRACE(tiling->objectName().toStdString());
        tiling->trigger();
        for (TMDIChild* d : form.childDisplays()) {
            // Fixed displays too long together overlap inside the area, never outside it.
            const QRect g = d->geometry();
            if (tiling == form.WindowTileVertical1) {
                EXPECT_GE(g.left(), 0) << d->windowTitle().toStdString();
                EXPECT_LE(g.right(), area.right()) << d->windowTitle().toStdString();
            } else {
                EXPECT_GE(g.top(), 0) << d->windowTitle().toStdString();
                EXPECT_LE(g.bottom(), area.bottom()) << d->windowTitle().toStdString();
            }
        }
    }
}

TEST_F(WindowBehaviour, NoDisplayMaximisesWhenItCannotFillTheArea) {
    openMixed(1);
    for (TMDIChild* d : form.childDisplays()) {
        SCOPED_TRACE(d->windowTitle().toStdString());
        EXPECT_FALSE(d->windowFlags() & Qt::WindowMaximizeButtonHint);
        // A double click on the title bar maximises a window that offers it.
        QTest::mouseDClick(d, Qt::LeftButton, {}, QPoint(d->width() / 2, d->contentsMargins().top() / 2));
        QCoreApplication::processEvents();
        EXPECT_FALSE(d->isMaximized());
    }
}

TEST_F(WindowBehaviour, DialogsAreCentredOnTheMainWindowAtEveryShowing) {
    form.move(200, 100);
    form.Data_TBClick(); // the Add button's dialog needs a free number, which there is
    QList<QRect> shown;
    bench.dialogs.onModal = [&](QDialog& d) {
        QCoreApplication::processEvents();
        shown << d.frameGeometry();
        return false;
    };
    for (int i = 0; i < 2; ++i) {
        form.ToolButton15Click();
        form.Add_BtnClick();
    }
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown[2], shown[0]) << "Settings";
    EXPECT_EQ(shown[3], shown[1]) << "Select Display";
    const QPoint centre = form.frameGeometry().center();
    for (const QRect& r : shown) {
        EXPECT_LE(std::abs(r.center().x() - centre.x()), 1);
        EXPECT_LE(std::abs(r.center().y() - centre.y()), 1);
    }
}

// The display a modal dialog made: the dialog closes, the window manager hands the
// focus back to the main window, and the user clicks into the new display's source box.
TEST(SourceBoxAfterAModalDialog, TheFirstClickListsTheDataDisplays) {
    struct Case {
        const char* what;
        int choice; // the Add dialog's row, or -1 for the file-open action
    };
    const Case cases[] = {{"Add, Scope Display", TSelectDisplayDlg::ScopeDisplay},
                          {"Add, Measure Display", TSelectDisplayDlg::MeasureDisplay},
                          {"Ctrl+O", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir folder;
        ModalDialogs dialogs;
        TMainForm form(folder.path(), &dialogs, noInstrument());
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form, kPatience));
        form.Data_TBClick();
        if (c.choice >= 0) {
            dialogs.onModal = [&](QDialog& d) {
                static_cast<TSelectDisplayDlg&>(d).SelectListBox->setCurrentRow(c.choice);
                return true;
            };
            form.Add_BtnClick();
        } else {
            dialogs.fileToOpen = folder.filePath("shot.bin");
            QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
        }
        ASSERT_EQ(form.childDisplays().size(), 2);
        // A window counts as active while a dialog of its own is; the focus is back only
        // once the window itself is the active one.
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &form; }, kPatience));
        auto* box = form.childDisplays().last()->findChild<SourceBox*>();
        ASSERT_NE(box, nullptr);
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(box->count(), 1);
        EXPECT_EQ(box->itemText(0), "Data00");
        box->hidePopup();
    }
}

TEST_F(WindowBehaviour, AMinimisedDisplayIsItsCaptionAndComesBackWhole) {
    form.Data_TBClick();
    form.Scope_TBClick();
    for (TMDIChild* d : form.childDisplays()) {
        SCOPED_TRACE(d->windowTitle().toStdString());
        const QSize normal = d->size();
        d->showMinimized();
        QCoreApplication::processEvents();
        EXPECT_LT(d->height(), 40);
        EXPECT_LT(d->width(), 300);
        d->showNormal();
        QCoreApplication::processEvents();
        EXPECT_EQ(d->size(), normal);
    }
}

// Run a second time by CTest at 125 % (QT_SCALE_FACTOR), where text is measured again.
TEST_F(WindowBehaviour, NoTextIsCut) {
    form.Data_TBClick();
    form.Scope_TBClick();
    form.Measure_TBClick();
    form.FFT_TBClick();
    auto* data = qobject_cast<TMDIChild_Data*>(form.childDisplays()[0]);
    auto* scope = qobject_cast<TMDIChild_Scope*>(form.childDisplays()[1]);
    // Timebase 0 offers the widest zoom entries.
    auto state = std::make_unique<AcquisitionState>();
    data->TransferRequestData(*state);
    scope->loadShot(data->record);
    // Source boxes offer the longest caption a source can have.
    form.frontPanel()->ListBox1->addItem("QP_Data07");
    for (auto* box : form.findChildren<SourceBox*>())
        box->refill();
    QCoreApplication::processEvents();
    EXPECT_EQ(cutTexts(form.frontPanel()).join("; ").toStdString(), "");
    for (TMDIChild* d : form.childDisplays())
        EXPECT_EQ(cutTexts(d->widget()).join("; ").toStdString(), "") << d->windowTitle().toStdString();
    form.SettingsForm->show();
    EXPECT_EQ(cutTexts(form.SettingsForm).join("; ").toStdString(), "");
    form.SettingsForm->hide();
    form.SelectDisplayDlg->show();
    EXPECT_EQ(cutTexts(form.SelectDisplayDlg).join("; ").toStdString(), "");
    form.SelectDisplayDlg->hide();
}

TEST_F(WindowBehaviour, ANarrowWindowKeepsEveryToolbarButtonInView) {
    auto* bar = form.findChild<QToolBar*>("ToolBar1");
    // An overflowing toolbar hides what does not fit and offers it behind its extension button.
    const auto buttonsInView = [&] {
        for (QToolButton* b : {form.Open_TBtn, form.Disconnect_TBtn, form.FFT_TB, form.ToolButton17})
            if (!b->isVisibleTo(bar) || !bar->rect().contains(b->geometry()))
                return false;
        const auto* extension = bar->findChild<QToolButton*>("qt_toolbar_ext_button");
        return !extension || !extension->isVisibleTo(bar);
    };
    for (int width : {1034, 760, 1034}) {
        form.resize(width, form.height());
        QCoreApplication::processEvents();
        const bool labelled = width == 1034;
        EXPECT_EQ(form.ToolButton17->toolButtonStyle(),
                  labelled ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly)
            << width;
        EXPECT_EQ(form.Open_TBtn->toolButtonStyle(),
                  labelled ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly)
            << width;
        EXPECT_TRUE(buttonsInView()) << width << ": none pushed behind the toolbar's extension";
        EXPECT_EQ(form.ToolButton17->toolTip(), "Guided demonstration") << "the label is still told";
    }
}

TEST_F(WindowBehaviour, BelowItsLayoutTheFrontPanelScrollsInsteadOfSquashing) {
    form.resize(1034, 420);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.height(), 420);
    auto* scroller = form.findChild<QScrollArea*>("LeftPanelScroller");
    ASSERT_NE(scroller, nullptr);
    EXPECT_GE(form.frontPanel()->height(), form.frontPanel()->minimumSizeHint().height());
    EXPECT_TRUE(scroller->verticalScrollBar()->isVisible());
    // The scroll bar takes room of its own, beside the panel.
    EXPECT_EQ(form.frontPanel()->width(), FrontPanel::kWidth);
}

TEST_F(WindowBehaviour, DeleteClosesOnlyTheDisplayTheUserPickedAndThenNothing) {
    form.Data_TBClick();
    form.Scope_TBClick();
    form.Measure_TBClick();
    auto* list = form.frontPanel()->ListBox1;
    list->setCurrentRow(1);
    form.Delete_BtnClick();
    processDeletes();
    EXPECT_TRUE(list->selectedItems().isEmpty());
    form.Delete_BtnClick();
    processDeletes();
    QStringList left;
    for (TMDIChild* d : form.childDisplays())
        left << d->windowTitle();
    EXPECT_EQ(left, (QStringList{"Data00", "Measure02"}));

    // A display closed by its own close box leaves no selection behind either.
    list->setCurrentRow(0);
    form.childDisplays()[0]->close();
    processDeletes();
    EXPECT_TRUE(list->selectedItems().isEmpty());
}

} // namespace
} // namespace kavlon
