// The display list: creating, numbering, finding and removing displays.
#include "ui/mainwindow/MainForm.h"

#include "ui/dialogs/SelectDisplayDlg.h"
#include "ui/displays/DataDisplay.h"
#include "ui/displays/FFTDisplay.h"
#include "ui/displays/MeasureDisplay.h"
#include "ui/displays/ScopeDisplay.h"
#include "ui/mainwindow/FrontPanel.h"

#include "ui/mainwindow/WindowArrangement.h"

#include "core/displays/DisplayNames.h"

#include <QCheckBox>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>

namespace kavlon {

template <class Display> Display* TMainForm::adopt(const QString& caption) {
    auto* display = new Display(*this);
    m_mdiArea->addSubWindow(display);
    display->show();
    display->setWindowTitle(caption);
    return display;
}

TMDIChild_Data* TMainForm::CreateDataDisplay(const QString& caption) {
    auto* display = adopt<TMDIChild_Data>(caption);
    display->setClientSize(500, 440);
    if (m_session.state().Connected)
        display->RefreshBtn->setEnabled(true);
    if (m_session.state().ChannelCount == 2)
        display->setTwoChannelLayout(true);
    placeNewDisplay(display);
    return display;
}

TMDIChild_Scope* TMainForm::CreateScopeDisplay(const QString& caption) {
    auto* display = adopt<TMDIChild_Scope>(caption);
    // The screen is drawn to the pixel: no resizing. Fixed before any resize, so the
    // title bar drops its maximise button at once rather than after the resize settles.
    display->fixClientSize(630, 475);
    placeNewDisplay(display);
    return display;
}

TMDIChild_Math* TMainForm::CreateMeasureDisplay(const QString& caption) {
    auto* display = adopt<TMDIChild_Math>(caption);
    display->fixClientSize(display->designClientSize().width(), display->designClientSize().height());
    placeNewDisplay(display);
    return display;
}

TMDIChild_FFT* TMainForm::CreateFFTDisplay(const QString& caption) {
    auto* display = adopt<TMDIChild_FFT>(caption);
    display->fixSize({TMDIChild_FFT::kDesignWidth, 210});
    placeNewDisplay(display);
    return display;
}

void TMainForm::placeNewDisplay(TMDIChild* display) {
    // The newest display still showing its content is where the next one steps from.
    std::optional<QPoint> previous;
    std::vector<QPoint> taken;
    for (TMDIChild* other : childDisplays())
        if (other != display && !other->isMinimized()) {
            previous = other->pos();
            taken.push_back(other->pos());
        }
    display->move(nextDisplayPosition(m_mdiArea->viewport()->size(), display->size(), previous, taken,
                                      cascadeStep(*m_mdiArea)));
}

QList<TMDIChild*> TMainForm::childDisplays() const {
    QList<TMDIChild*> displays;
    for (QMdiSubWindow* w : m_mdiArea->subWindowList(QMdiArea::CreationOrder))
        if (auto* display = qobject_cast<TMDIChild*>(w); display && !display->isClosing())
            displays.append(display);
    return displays;
}

TMDIChild* TMainForm::findDisplay(const QString& caption) const {
    TMDIChild* found = nullptr;
    for (TMDIChild* display : childDisplays())
        if (display->windowTitle() == caption)
            found = display;
    return found;
}

std::optional<DataDisplayFace> TMainForm::findDataFace(const QString& caption) const {
    if (const auto* data = qobject_cast<const TMDIChild_Data*>(findDisplay(caption)))
        return data->face();
    return std::nullopt;
}

void TMainForm::enableMeasureExport(const QString& caption) {
    if (auto* data = qobject_cast<TMDIChild_Data*>(findDisplay(caption)))
        data->incMeasureCB->setEnabled(true);
}

std::vector<MeasureDisplayFace> TMainForm::measureFaces() const {
    std::vector<MeasureDisplayFace> faces;
    for (TMDIChild* display : childDisplays())
        if (const auto* measure = qobject_cast<const TMDIChild_Math*>(display))
            faces.push_back(measure->face());
    return faces;
}

QStringList TMainForm::sourceCandidates() const {
    QStringList entries;
    for (int i = 0; i < m_panel->ListBox1->count(); ++i) {
        const QString entry = m_panel->ListBox1->item(i)->text();
        if (isSourceCandidate(entry.toStdString()))
            entries.append(entry);
    }
    return entries;
}

std::optional<int> TMainForm::nextDisplayNumber(int limit) const {
    const int open = int(childDisplays().size());
    if (open >= limit)
        return std::nullopt;
    return chooseDisplayNumber(m_session.state().DisplaySlots, open);
}

TMDIChild* TMainForm::listNumberedDisplay(std::string_view kindWord, int number, const DisplayMaker& create) {
    const QString name = QString::fromStdString(displayName(kindWord, number));
    TMDIChild* display = create(name);
    m_panel->ListBox1->addItem(name);
    m_session.acquisition().takeDisplayNumber(number);
    return display;
}

TMDIChild* TMainForm::createNumberedDisplay(std::string_view kindWord, const DisplayMaker& create,
                                            int limit) {
    const auto number = nextDisplayNumber(limit);
    return number ? listNumberedDisplay(kindWord, *number, create) : nullptr;
}

TMDIChild_Data* TMainForm::newDataDisplay(std::string_view kindWord, int limit) {
    return qobject_cast<TMDIChild_Data*>(createNumberedDisplay(
        kindWord, [this](const QString& c) { return CreateDataDisplay(c); }, limit));
}

TMDIChild_Scope* TMainForm::newScopeDisplay(std::string_view kindWord, int limit) {
    return qobject_cast<TMDIChild_Scope*>(createNumberedDisplay(
        kindWord, [this](const QString& c) { return CreateScopeDisplay(c); }, limit));
}

void TMainForm::Data_TBClick() {
    newDataDisplay(kind::Data);
}

void TMainForm::Scope_TBClick() {
    newScopeDisplay(kind::Scope);
}

void TMainForm::Measure_TBClick() {
    createNumberedDisplay(kind::Measure, [this](const QString& c) { return CreateMeasureDisplay(c); });
}

void TMainForm::FFT_TBClick() {
    createNumberedDisplay(kind::FFT, [this](const QString& c) { return CreateFFTDisplay(c); });
}

void TMainForm::Add_BtnClick() {
    std::optional<int> number = nextDisplayNumber();
    if (!number)
        return;
    if (!m_dialogs->runModal(*SelectDisplayDlg))
        return;
    // Events went on while the dialog was up: an instrument's quick print may have
    // filled the last places or taken the number.
    const std::optional<int> now = nextDisplayNumber();
    if (!now)
        return;
    if (m_session.state().DisplaySlots[std::size_t(*number)] != -1)
        number = now;
    switch (SelectDisplayDlg->chosen()) {
    case TSelectDisplayDlg::ScopeDisplay:
        listNumberedDisplay(kind::Scope, *number, [this](const QString& c) { return CreateScopeDisplay(c); });
        break;
    case TSelectDisplayDlg::DataDisplay:
        listNumberedDisplay(kind::Data, *number, [this](const QString& c) { return CreateDataDisplay(c); });
        break;
    case TSelectDisplayDlg::MeasureDisplay:
        listNumberedDisplay(kind::Measure, *number,
                            [this](const QString& c) { return CreateMeasureDisplay(c); });
        break;
    default:
        break; // confirmed with nothing chosen
    }
}

void TMainForm::Delete_BtnClick() {
    const QListWidgetItem* selected = m_panel->ListBox1->currentItem();
    if (!selected || !selected->isSelected())
        return;
    if (TMDIChild* display = findDisplay(selected->text()))
        display->close();
    // The user picks the next display to delete; nothing is picked for them.
    m_panel->ListBox1->clearSelection();
    m_panel->ListBox1->setCurrentItem(nullptr);
}

void TMainForm::Reset_BtnClick() {
    for (TMDIChild* display : childDisplays())
        display->close();
    // Windows of other kinds (none today) go too.
    for (QMdiSubWindow* w : m_mdiArea->subWindowList())
        if (!qobject_cast<TMDIChild*>(w))
            w->close();
    m_session.acquisition().releaseDisplayNumbers();
    m_panel->ListBox1->clear();
}

void TMainForm::closeListedDisplays() {
    QListWidget* list = m_panel->ListBox1;
    while (list->count() > 0) {
        const QString caption = list->item(0)->text();
        list->setCurrentRow(0);
        if (TMDIChild* display = findDisplay(caption))
            display->close();
        // The display's removal frees its number and drops its entry; an entry whose
        // window has gone already is let go here, so the loop always moves on.
        if (list->count() > 0 && list->item(0)->text() == caption) {
            if (const auto number = displayNumberFromCaption(caption.toStdString()))
                m_session.acquisition().releaseDisplayNumber(*number);
            delete list->takeItem(0);
        }
    }
}

void TMainForm::removeDisplay(const QString& caption) {
    if (m_tearingDown)
        return;
    const auto items = m_panel->ListBox1->findItems(caption, Qt::MatchExactly);
    if (items.isEmpty())
        return; // unnumbered, or already let go by Reset
    if (const auto number = displayNumberFromCaption(caption.toStdString()))
        m_session.acquisition().releaseDisplayNumber(*number);
    // The list would move the selection on to the next entry.
    const bool picked = items.first() == m_panel->ListBox1->currentItem();
    delete items.first();
    if (picked) {
        m_panel->ListBox1->clearSelection();
        m_panel->ListBox1->setCurrentItem(nullptr);
    }
}

} // namespace kavlon
