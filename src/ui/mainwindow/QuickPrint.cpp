#include "ui/mainwindow/QuickPrint.h"

#include "ui/displays/DataDisplay.h"
#include "ui/displays/ScopeDisplay.h"
#include "ui/mainwindow/MainForm.h"

#include <QPushButton>

namespace kavlon {

namespace {

template <class Display> QList<Display*> displaysOfKind(const TMainForm& form, std::string_view kindWord) {
    QList<Display*> found;
    const QString prefix = QString::fromUtf8(kindWord.data(), qsizetype(kindWord.size()));
    for (TMDIChild* display : form.childDisplays())
        if (auto* d = qobject_cast<Display*>(display); d && d->windowTitle().startsWith(prefix))
            found.append(d);
    return found;
}

} // namespace

QList<TMDIChild_Data*> QuickPrint::dataDisplays() const {
    return displaysOfKind<TMDIChild_Data>(m_form, kind::QuickPrintData);
}

QList<TMDIChild_Scope*> QuickPrint::scopeDisplays() const {
    return displaysOfKind<TMDIChild_Scope>(m_form, kind::QuickPrintScope);
}

void QuickPrint::refreshAll(int mode) {
    for (TMDIChild_Data* data : dataDisplays()) {
        data->record.QuickOutputKind = mode;
        data->RefreshBtn->setEnabled(true);
        data->RefreshBtnClick();
    }
}

void QuickPrint::requested(int mode) {
    if (dataDisplays().isEmpty())
        m_form.newDataDisplay(kind::QuickPrintData, kDisplayLimit);
    refreshAll(mode);
}

void QuickPrint::shotDelivered() {
    if (scopeDisplays().isEmpty())
        m_form.newScopeDisplay(kind::QuickPrintScope, kDisplayLimit);
    // Every pair, in display order; a display closed meanwhile is no longer listed.
    for (TMDIChild_Scope* scope : scopeDisplays())
        for (TMDIChild_Data* data : dataDisplays())
            output(*scope, *data);
}

void QuickPrint::output(TMDIChild_Scope& scope, TMDIChild_Data& data) {
    const int mode = data.record.QuickOutputKind;
    scope.quickPrint(mode, m_form.QuickPrintOptions, data.face());
    if (mode >= TMDIChild_Scope::kQuickExportMode)
        data.ExportBtnClick(nullptr);
}

} // namespace kavlon
