#pragma once

#include "DisplayWindow.h"

class QPushButton;

namespace kavlon {

// A Data display: one shot as a table of raw values and voltages.
class TMDIChild_Data : public TMDIChild {
    Q_OBJECT
public:
    explicit TMDIChild_Data(DisplayHost& host);

    QPushButton* RefreshBtn = nullptr;

public slots:
    void RefreshBtnClick();
};

} // namespace kavlon
