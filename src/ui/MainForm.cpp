#include "MainForm.h"

#include <QMdiArea>

namespace kavlon {

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), m_acquisition(m_screen, m_link), m_mdiArea(new QMdiArea(this)) {
    setObjectName("MainForm");
    setWindowTitle("MDI-Anwendung");
    m_mdiArea->setObjectName("MdiArea");
    setCentralWidget(m_mdiArea);
    resize(1034, 745);
}

TMainForm::~TMainForm() = default;

} // namespace kavlon
