#pragma once

#include "core/AcquisitionControl.h"
#include "device/DeviceLink.h"

#include <QMainWindow>

class QMdiArea;

namespace kavlon {

// The program's one window: the front panel on the left and the displays inside.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    AcquisitionControl& acquisition() { return m_acquisition; }
    QMdiArea* mdiArea() const { return m_mdiArea; }

private:
    NullReceiveListener m_screen;
    DeviceLink m_link;
    AcquisitionControl m_acquisition;
    QMdiArea* m_mdiArea = nullptr;
};

} // namespace kavlon
