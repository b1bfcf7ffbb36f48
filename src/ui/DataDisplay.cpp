#include "DataDisplay.h"

#include "core/AcquisitionControl.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace kavlon {

TMDIChild_Data::TMDIChild_Data(DisplayHost& host) : TMDIChild(host, "Data", new QWidget) {
    RefreshBtn = new QPushButton("Refresh", widget());
    RefreshBtn->setObjectName("RefreshBtn");
    RefreshBtn->setEnabled(false);
    RefreshBtn->setGeometry(11, 9, 103, 16);
    connect(RefreshBtn, &QPushButton::clicked, this, &TMDIChild_Data::RefreshBtnClick);
}

void TMDIChild_Data::RefreshBtnClick() {
    // Stays disabled until the shot arrives or the next settings report.
    RefreshBtn->setEnabled(false);
    m_host.acquisition().RequestData(windowTitle().toStdString());
}

} // namespace kavlon
