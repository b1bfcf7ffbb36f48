#include "ui/mainwindow/GuidedDemo.h"

#include "ui/dialogs/SettingsForm.h"
#include "ui/displays/DataDisplay.h"
#include "ui/displays/FFTDisplay.h"
#include "ui/displays/MeasureDisplay.h"
#include "ui/displays/ScopeDisplay.h"
#include "ui/displays/SourceBox.h"
#include "ui/mainwindow/FrontPanel.h"
#include "ui/mainwindow/HintBalloon.h"
#include "ui/mainwindow/MainForm.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCursor>
#include <QEvent>
#include <QListWidget>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <cmath>
#include <cstring>

namespace kavlon {

namespace {

constexpr int kInvitationMs = 5000;
constexpr int kFirstInvitationMs = 1000;
constexpr int kGlideTickMs = 10;

// Where a step's pointer really goes when the thing it talks about is on screen: the
// script's fixed points assume the designed layout, these follow the actual one.
// An empty window means the main window; "SettingsForm" the quick-print options.
struct Anchor {
    int step;
    const char* window;
    const char* widget;
    bool firstEntry; // the first entry of the box's open list
};
constexpr Anchor kAnchors[] = {
    {1, "", "Open_TBtn", false},
    {2, "", "Data_TB", false},
    {3, "Data00", "RefreshBtn", false},
    {4, "Data00", "ExportBtn", false},
    {5, "", "Scope_TB", false},
    {6, "Scope01", "ComboBox1", false},
    {7, "Scope01", "ComboBox1", true},
    {8, "Scope01", "GridCKB", false},
    {9, "Scope01", "InvertCkB", false},
    {10, "Scope01", "ColorCkB", false},
    {11, "Scope01", "ZerosCkB", false},
    {12, "Scope01", "Zoom_TB", false},
    {13, "", "ToolButton15", false},
    {14, "SettingsForm", "Grid_CB", false},
    {15, "SettingsForm", "Invert_CB", false},
    {16, "SettingsForm", "Color_CB", false},
    {17, "SettingsForm", "PrintRG_0", false},
    {18, "SettingsForm", "PrintRG_1", false},
    {19, "SettingsForm", "PrintRG_2", false},
    {20, "SettingsForm", "OkayBtn", false},
    {21, "Scope01", "PrintBtn", false},
    {22, "", "Measure_TB", false},
    {23, "Measure02", "ComboBox1", false},
    {24, "Measure02", "ComboBox1", true},
    {25, "", "FFT_TB", false},
    {26, "FFT03", "ComboBox1", false},
    {27, "FFT03", "ComboBox1", true},
};

// The spot of a control the pointer rests on: a check mark's box, a toolbar icon, a middle.
QPoint restingSpot(const QWidget& w) {
    if (qobject_cast<const QCheckBox*>(&w) || qobject_cast<const QRadioButton*>(&w))
        return {8, w.height() / 2};
    if (qobject_cast<const QToolButton*>(&w)) // its lower edge, so the balloon below leaves it in sight
        return {std::min(kButtonTargetOffset, w.width() / 2), w.height() - 3};
    return w.rect().center();
}

QPoint firstEntrySpot(const QComboBox& box) {
    const QAbstractItemView* list = box.view();
    if (list && list->isVisible() && box.count() > 0)
        return list->viewport()->mapToGlobal(list->visualRect(box.model()->index(0, 0)).center());
    return box.mapToGlobal(QPoint(box.width() / 2, box.height() + box.height() / 2));
}

QPoint rounded(double x, double y) {
    return {int(std::lround(x)), int(std::lround(y))};
}

} // namespace

GuidedDemo::GuidedDemo(TMainForm& form)
    : QObject(&form), m_form(form), m_script(std::make_unique<DemoScriptTable>()),
      m_balloon(new HintBalloon(&form)) {
    resetDemoScript(*m_script);
    DemoTimer = new QTimer(this);
    DemoTimer->setObjectName("DemoTimer");
    ScrollTimer = new QTimer(this);
    ScrollTimer->setObjectName("ScrollTimer");
    ScrollTimer->setInterval(kGlideTickMs);
    connect(DemoTimer, &QTimer::timeout, this, &GuidedDemo::DemoTimerTimer);
    connect(ScrollTimer, &QTimer::timeout, this, &GuidedDemo::ScrollTimerTimer);
    DemoTimer->start(kFirstInvitationMs);
    // Esc ends the tour wherever the focus is; only while it runs, so that it
    // closes dialogs as usual the rest of the time.
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), &form);
    m_escape->setObjectName("DemoEscape");
    m_escape->setContext(Qt::ApplicationShortcut);
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, &GuidedDemo::stop);
}

GuidedDemo::~GuidedDemo() = default;

void GuidedDemo::setTimeDivisor(int divisor) {
    m_timeDivisor = std::max(1, divisor);
    ScrollTimer->setInterval(scaled(kGlideTickMs));
    if (DemoTimer->isActive() && !TutorialHintShown)
        DemoTimer->start(scaled(kFirstInvitationMs));
}

int GuidedDemo::scaled(int milliseconds) const {
    return milliseconds / m_timeDivisor;
}

bool GuidedDemo::running() const {
    return m_form.session().demonstrating();
}

void GuidedDemo::ToolButton17Click() {
    if (running()) {
        stop();
        return;
    }
    if (!m_form.childDisplays().isEmpty() &&
        !m_form.dialogs().confirm(&m_form, "The demonstration closes the open displays. Continue?"))
        return;
    start();
}

void GuidedDemo::stop() {
    if (!running())
        return;
    DemoTimer->stop();
    ScrollTimer->stop();
    m_balloon->hide();
    m_form.SettingsForm->hide();
    m_form.closeListedDisplays();
    ScriptPosition = ScriptLength;
    endDemonstration();
}

void GuidedDemo::start() {
    m_escape->setEnabled(true);
    setToolbarHints(false);
    ScriptPosition = 0;
    m_form.startDemonstration();
    ScriptLength = fillDemoScript(*m_script, buttonEdges());
    // A tour started before the invitation has shown goes on instead of stopping at it.
    TutorialHintShown = true;
    DoScriptStep();
}

DemoButtonEdges GuidedDemo::buttonEdges() const {
    return {m_form.Open_TBtn->x(),  m_form.Data_TB->x(), m_form.Scope_TB->x(),
            m_form.Measure_TB->x(), m_form.FFT_TB->x(),  m_form.ToolButton15->x()};
}

void GuidedDemo::DoScriptStep() {
    const QPoint pointer = QCursor::pos();
    const QPoint target = targetOf(step());
    const GlidePlan plan = planGlide(pointer.x(), pointer.y(), target.x(), target.y());
    m_ticksLeft = plan.ticks;
    m_stepX = plan.stepX;
    m_stepY = plan.stepY;
    m_glideX = pointer.x();
    m_glideY = pointer.y();
    DemoTimer->setInterval(scaled(step().Interval));
    QCursor::setPos(pointer);
    ScrollTimer->start();
}

void GuidedDemo::ScrollTimerTimer() {
    if (step().Motion == Jump || m_ticksLeft <= 0) {
        // A glide that starts on its target arrives at once.
        m_ticksLeft = 0;
        const QPoint target = step().Motion == Jump ? targetOf(step()) : rounded(m_glideX, m_glideY);
        QCursor::setPos(target);
        arrive(target);
        return;
    }
    m_glideX += m_stepX;
    m_glideY += m_stepY;
    QCursor::setPos(rounded(m_glideX, m_glideY));
    if (--m_ticksLeft == 0)
        arrive(rounded(m_glideX, m_glideY));
}

void GuidedDemo::arrive(const QPoint& at) {
    ScrollTimer->stop();
    DemoTimer->start();
    showBalloon(at, QString::fromStdString(step().Text), scaled(step().Interval),
                balloonSideFor(at.y(), m_form.frameGeometry().top()));
}

void GuidedDemo::DemoTimerTimer() {
    DemoTimer->stop();
    if (!TutorialHintShown) {
        const QWidget& demo = *m_form.ToolButton17;
        const QPoint at = demo.isVisible() ? demo.mapToGlobal(restingSpot(demo))
                                           : windowPoint(demo.x() + kButtonTargetOffset, kButtonTargetY);
        showBalloon(at, "Press this Button for a Tutorial", scaled(kInvitationMs), BalloonSide::Below);
        TutorialHintShown = true;
        return;
    }
    if (ScriptPosition < 0 || ScriptPosition >= ScriptLength)
        return;
    performAction(step().Action);
    ++ScriptPosition;
    if (ScriptPosition < ScriptLength)
        DoScriptStep();
    else
        endDemonstration();
}

void GuidedDemo::showBalloon(const QPoint& at, const QString& text, int milliseconds, BalloonSide side) {
    m_balloon->showAt(at, text, milliseconds, side);
}

QPoint GuidedDemo::windowPoint(int x, int y) const {
    return m_form.frameGeometry().topLeft() + QPoint(x, y);
}

QPoint GuidedDemo::targetOf(const DemoStep& s) const {
    return anchorPoint(s.StepNo).value_or(windowPoint(s.X, s.Y));
}

std::optional<QPoint> GuidedDemo::anchorPoint(int stepNo) const {
    for (const Anchor& a : kAnchors) {
        if (a.step != stepNo)
            continue;
        const QWidget* window = &m_form;
        if (std::strcmp(a.window, "SettingsForm") == 0)
            window = m_form.SettingsForm;
        else if (*a.window)
            window = m_form.findDisplay(a.window);
        const QWidget* w = window ? window->findChild<QWidget*>(a.widget) : nullptr;
        if (!w || !w->isVisible())
            return std::nullopt;
        if (const auto* box = qobject_cast<const QComboBox*>(w); box && a.firstEntry)
            return firstEntrySpot(*box);
        return w->mapToGlobal(restingSpot(*w));
    }
    return std::nullopt;
}

void GuidedDemo::performAction(int action) {
    auto scope = [this] { return qobject_cast<TMDIChild_Scope*>(m_form.findDisplay("Scope01")); };
    auto measure = [this] { return qobject_cast<TMDIChild_Math*>(m_form.findDisplay("Measure02")); };
    auto fft = [this] { return qobject_cast<TMDIChild_FFT*>(m_form.findDisplay("FFT03")); };
    switch (action) {
    case Connect:
        m_form.session().connectInstrument();
        break;
    case OpenData:
        m_form.Data_TBClick();
        break;
    case RefreshData:
        if (auto* data = qobject_cast<TMDIChild_Data*>(m_form.findDisplay("Data00")))
            data->RefreshBtnClick();
        break;
    case OpenScope:
        m_form.Scope_TBClick();
        break;
    case DropScopeSources:
        if (auto* d = scope())
            dropSources(d->ComboBox1);
        break;
    case PickScopeSource:
        if (auto* d = scope()) {
            pickSource(d->ComboBox1);
            d->ComboBox1Change();
        }
        break;
    case ShowOptions:
        // Shown beside the tour, not over it: the window stays usable. The Options
        // button still runs it modally.
        m_form.SettingsForm->setModal(false);
        m_form.SettingsForm->show();
        break;
    case HideOptions:
        m_form.SettingsForm->hide();
        break;
    case OpenMeasure:
        m_form.Measure_TBClick();
        break;
    case DropMeasureSources:
        if (auto* d = measure())
            dropSources(d->ComboBox1);
        break;
    case PickMeasureSource:
        if (auto* d = measure()) {
            pickSource(d->ComboBox1);
            d->ComboBox1Change();
        }
        break;
    case OpenFFT:
        m_form.FFT_TBClick();
        break;
    case DropFFTSources:
        if (auto* d = fft())
            dropSources(d->ComboBox1);
        break;
    case PickFFTSource:
        if (auto* d = fft()) {
            pickSource(d->ComboBox1);
            d->ComboBox1Change();
        }
        break;
    case CloseListed:
        m_form.closeListedDisplays();
        break;
    default:
        break;
    }
}

void GuidedDemo::dropSources(SourceBox* box) {
    box->refill();
    box->showPopup();
}

void GuidedDemo::pickSource(SourceBox* box) {
    box->hidePopup();
    box->setCurrentIndex(0);
}

void GuidedDemo::endDemonstration() {
    m_escape->setEnabled(false);
    setToolbarHints(true);
    m_form.endDemonstration();
}

void GuidedDemo::setToolbarHints(bool on) {
    if (on == m_toolbarHints)
        return;
    m_toolbarHints = on;
    for (QToolBar* bar : m_form.findChildren<QToolBar*>())
        for (QWidget* w : bar->findChildren<QWidget*>()) {
            if (on)
                w->removeEventFilter(this);
            else
                w->installEventFilter(this);
        }
}

bool GuidedDemo::eventFilter(QObject* watched, QEvent* event) {
    // While the tour runs, tool tips would cover its balloons.
    if (event->type() == QEvent::ToolTip)
        return true;
    return QObject::eventFilter(watched, event);
}

} // namespace kavlon
