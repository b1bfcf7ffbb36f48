#pragma once

#include <QList>

namespace kavlon {

class TMainForm;
class TMDIChild_Data;
class TMDIChild_Scope;

// The print the instrument asks for by itself: every "QP_Data" display takes a new
// shot (one is made when there is none), and once it has arrived every "QP_Scope"
// display (one is made when there is none) shows it and prints it, saves the picture,
// or has the Data display export it, as the request's mode says.
class QuickPrint {
public:
    // With this many displays open no quick-print display is added.
    static constexpr int kDisplayLimit = 98;

    explicit QuickPrint(TMainForm& form) : m_form(form) {}

    void requested(int mode);
    void shotDelivered();

private:
    QList<TMDIChild_Data*> dataDisplays() const;
    QList<TMDIChild_Scope*> scopeDisplays() const;
    void refreshAll(int mode);
    void output(TMDIChild_Scope& scope, TMDIChild_Data& data);

    TMainForm& m_form;
};

} // namespace kavlon
