#include "MainForm.h"

#include <QEventLoop>
#include <QMdiArea>
#include <QTimer>

namespace kavlon {

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), m_acquisition(m_screen, m_link), m_mdiArea(new QMdiArea(this)) {
    setObjectName("MainForm");
    setWindowTitle("MDI-Anwendung");
    m_mdiArea->setObjectName("MdiArea");
    setCentralWidget(m_mdiArea);
    resize(1034, 745);

    // The demonstration shot takes 12.8 s; keep the window painted meanwhile but
    // let no click start anything else.
    m_acquisition.setDemoPause([](std::chrono::milliseconds pause) {
        QEventLoop wait;
        QTimer::singleShot(pause, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    });
}

TMainForm::~TMainForm() = default;

} // namespace kavlon
