#include "ui/mainwindow/MainForm.h"

#include "ui/dialogs/SelectDisplayDlg.h"
#include "ui/dialogs/SettingsForm.h"
#include "ui/mainwindow/FrontPanel.h"
#include "ui/mainwindow/GuidedDemo.h"
#include "ui/mainwindow/ShotFileActions.h"
#include "ui/mainwindow/ToolbarIcons.h"

#include "device/session/Backends.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace kavlon {

namespace {

constexpr int kDesignWidth = 1034;
constexpr int kDesignHeight = 745;

QToolButton* toolButton(QToolBar* bar, const QString& name, const QString& text, const QString& hint,
                        const QIcon& icon = {}) {
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setText(text);
    b->setIcon(icon);
    b->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    bar->addWidget(b);
    return b;
}

QAction* action(QWidget* owner, const QString& name, const QString& caption,
                const QKeySequence& shortcut = {}) {
    auto* a = new QAction(caption, owner);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    // Added to the window itself, so its shortcut works with its menu hidden.
    owner->addAction(a);
    return a;
}

// Holds the front panel. A window lower than the panel's layout scrolls the panel
// rather than squash its controls; the scroll bar then takes room beside it.
class PanelScroller : public QScrollArea {
public:
    explicit PanelScroller(QWidget* panel) {
        setObjectName("LeftPanelScroller");
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setWidgetResizable(true);
        setWidget(panel);
        fitWidth();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        fitWidth();
    }

private:
    void fitWidth() {
        const bool scrolls = widget()->minimumSizeHint().height() > height();
        setFixedWidth(FrontPanel::kWidth + (scrolls ? verticalScrollBar()->sizeHint().width() : 0));
    }
};

// The clipboard actions work on the edit control that has the focus, if any.
QLineEdit* focusedEdit() {
    return qobject_cast<QLineEdit*>(QApplication::focusWidget());
}

} // namespace

TMainForm::TMainForm(const QString& programDirectory, UserDialogs* dialogs,
                     std::unique_ptr<HidBackend> backend, QWidget* parent)
    : QMainWindow(parent), ProgramDirectory(programDirectory),
      m_dialogs(dialogs ? dialogs : &m_desktopDialogs),
      m_session(backend ? std::move(backend) : makeHidBackend(false)), m_mdiArea(new QMdiArea) {
    setObjectName("MainForm");
    setWindowTitle("MDI-Anwendung");
    m_mdiArea->setObjectName("MdiArea");
    m_mdiArea->setBackground(QColor(128, 128, 128));
    // Displays placed or dragged past the edge stay reachable.
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    m_panel = new FrontPanel(m_session.acquisition());
    auto* centre = new QWidget;
    auto* row = new QHBoxLayout(centre);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(new PanelScroller(m_panel));
    row->addWidget(m_mdiArea, 1);
    setCentralWidget(centre);

    buildActions();
    buildToolBar();
    buildMenus();
    m_shotFiles = new ShotFileActions(*this);
    statusBar()->setObjectName("StatusBar1");
    statusBar()->setFixedHeight(19);

    connect(m_panel->Add_Btn, &QPushButton::clicked, this, &TMainForm::Add_BtnClick);
    connect(m_panel->Delete_Btn, &QPushButton::clicked, this, &TMainForm::Delete_BtnClick);
    connect(m_panel->Reset_Btn, &QPushButton::clicked, this, &TMainForm::Reset_BtnClick);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    Timer1->start();

    // The demonstration shot takes 12.8 s; keep the window painted meanwhile but
    // let no click start anything else.
    m_session.acquisition().setDemoPause([](std::chrono::milliseconds pause) {
        QEventLoop wait;
        QTimer::singleShot(pause, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    });

    resize(kDesignWidth, kDesignHeight);
    FormCreate();

    SettingsForm = new TSettingsForm(QuickPrintOptions, this);
    AboutBox = new TAboutBox(this);
    SelectDisplayDlg = new TSelectDisplayDlg(this);
    m_demo = new GuidedDemo(*this);

    wireSession();
    // The start-up device change: an instrument plugged in before start is found now.
    m_session.start();
}

TMainForm::~TMainForm() {
    // Displays tell this window when they go; let them go while it is whole,
    // those already closed and waiting for deletion included.
    m_tearingDown = true;
    const auto windows = m_mdiArea->findChildren<QMdiSubWindow*>();
    for (QMdiSubWindow* w : windows)
        delete w;
}

void TMainForm::ToolButton17Click() {
    m_demo->ToolButton17Click();
}

void TMainForm::buildToolBar() {
    auto* bar = addToolBar("Toolbar");
    m_toolBar = bar;
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setFixedHeight(30);
    bar->setIconSize(QSize(18, 18));

    // New, open, save, cut, copy and paste have buttons, kept out of sight.
    for (auto* a : {FileNew1, FileOpen1, FileSave1, EditCut1, EditCopy1, EditPaste1}) {
        auto* b = new QToolButton;
        b->setObjectName(a->objectName() + "Btn");
        b->setDefaultAction(a);
        bar->addWidget(b)->setVisible(false);
    }
    for (auto* a : {WindowCascade1, WindowTileHorizontal1, WindowTileVertical1}) {
        auto* b =
            toolButton(bar, a->objectName() + "Btn", a->text(), QString(a->text()).remove('&'), a->icon());
        b->setDefaultAction(a);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    bar->addSeparator();
    Open_TBtn = toolButton(bar, "Open_TBtn", "Connect", "Connect to Scope", icons::connect());
    Open_TBtn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Open_TBtn->setEnabled(false);
    // An icon alone: the toolbar must still fit a small screen at a large scale.
    Disconnect_TBtn = toolButton(bar, "Disconnect_TBtn", "Disconnect", "Disconnect: let the instrument go",
                                 icons::disconnect());
    Disconnect_TBtn->setEnabled(false);
    ToolButton15 = toolButton(bar, "ToolButton15", "Options", "Quick print options", icons::printOptions());
    connect(ToolButton15, &QToolButton::clicked, this, &TMainForm::ToolButton15Click);

    Receive_ProgressBar = new QProgressBar;
    Receive_ProgressBar->setObjectName("Receive_ProgressBar");
    Receive_ProgressBar->setFixedWidth(150);
    Receive_ProgressBar->setRange(0, 128);
    Receive_ProgressBar->setValue(0);
    Receive_ProgressBar->setTextVisible(false);
    Receive_ProgressBar->setStatusTip("Shot transfer from the instrument");
    bar->addWidget(Receive_ProgressBar);
    bar->addSeparator();

    Data_TB = toolButton(bar, "Data_TB", "Data", "Add Data Display", icons::dataTable());
    Scope_TB = toolButton(bar, "Scope_TB", "Scope", "Add Scope Display", icons::scopeTrace());
    Measure_TB = toolButton(bar, "Measure_TB", "Measure", "Add Measure Display", icons::measure());
    FFT_TB = toolButton(bar, "FFT_TB", "FFT", {}, icons::spectrum());
    for (auto* b : {Data_TB, Scope_TB, Measure_TB, FFT_TB}) {
        b->setEnabled(false);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    connect(Data_TB, &QToolButton::clicked, this, &TMainForm::Data_TBClick);
    connect(Scope_TB, &QToolButton::clicked, this, &TMainForm::Scope_TBClick);
    connect(Measure_TB, &QToolButton::clicked, this, &TMainForm::Measure_TBClick);
    connect(FFT_TB, &QToolButton::clicked, this, &TMainForm::FFT_TBClick);
    bar->addSeparator();
    ToolButton17 = toolButton(bar, "ToolButton17", "Demo", "Guided demonstration", icons::demo());
    ToolButton17->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(ToolButton17, &QToolButton::clicked, this, &TMainForm::ToolButton17Click);

    Label1 = new QLabel("0");
    Label1->setObjectName("Label1");
    Label2 = new QLabel("0");
    Label2->setObjectName("Label2");
    for (auto* l : {Label1, Label2})
        bar->addWidget(l)->setVisible(false);
}

void TMainForm::buildActions() {
    FileNew1 = action(this, "FileNew1", "&Neu", QKeySequence(Qt::CTRL | Qt::Key_N));
    FileOpen1 = action(this, "FileOpen1", "Ö&ffnen", QKeySequence(Qt::CTRL | Qt::Key_O));
    FileClose1 = action(this, "FileClose1", "S&chließen");
    FileSave1 = action(this, "FileSave1", "&Speichern", QKeySequence(Qt::CTRL | Qt::Key_S));
    FileSaveAs1 = action(this, "FileSaveAs1", "Speichern &unter...");
    FileExit1 = action(this, "FileExit1", "&Beenden");
    EditCut1 = action(this, "EditCut1", "&Ausschneiden", QKeySequence(Qt::CTRL | Qt::Key_X));
    EditCopy1 = action(this, "EditCopy1", "&Kopieren", QKeySequence(Qt::CTRL | Qt::Key_C));
    EditPaste1 = action(this, "EditPaste1", "&Einfügen", QKeySequence(Qt::CTRL | Qt::Key_V));
    HelpAbout1 = action(this, "HelpAbout1", "&Info...");
    WindowCascade1 = action(this, "WindowCascade1", "Ü&berlappend");
    WindowTileHorizontal1 = action(this, "WindowTileHorizontal1", "Hori&zontal anordnen");
    WindowTileVertical1 = action(this, "WindowTileVertical1", "&Vertikal anordnen");
    WindowMinimizeAll1 = action(this, "WindowMinimizeAll1", "&Alle verkleinern");
    WindowArrangeAll1 = action(this, "WindowArrangeAll1", "Alle an&ordnen");

    WindowCascade1->setIcon(icons::cascade());
    WindowTileHorizontal1->setIcon(icons::tileHorizontal());
    WindowTileVertical1->setIcon(icons::tileVertical());

    connect(FileOpen1, &QAction::triggered, this, &TMainForm::FileOpen1Execute);
    connect(FileExit1, &QAction::triggered, this, &QWidget::close);
    connect(FileClose1, &QAction::triggered, this, [this] {
        if (auto* active = m_mdiArea->activeSubWindow())
            active->close();
    });
    connect(HelpAbout1, &QAction::triggered, this, &TMainForm::HelpAbout1Execute);
    connect(EditCut1, &QAction::triggered, this, [] {
        if (auto* edit = focusedEdit())
            edit->cut();
    });
    connect(EditCopy1, &QAction::triggered, this, [] {
        if (auto* edit = focusedEdit())
            edit->copy();
    });
    connect(EditPaste1, &QAction::triggered, this, [] {
        if (auto* edit = focusedEdit())
            edit->paste();
    });
    connect(WindowCascade1, &QAction::triggered, this, &TMainForm::cascade);
    connect(WindowTileHorizontal1, &QAction::triggered, this, [this] { tile(Qt::Vertical); });
    connect(WindowTileVertical1, &QAction::triggered, this, [this] { tile(Qt::Horizontal); });
    connect(WindowMinimizeAll1, &QAction::triggered, this, [this] {
        for (auto* w : m_mdiArea->subWindowList())
            w->showMinimized();
    });
    connect(WindowArrangeAll1, &QAction::triggered, this, [this] {
        // Lines the minimised windows up along the bottom of the area.
        int x = 0;
        for (auto* w : m_mdiArea->subWindowList())
            if (w->isMinimized()) {
                w->move(x, m_mdiArea->viewport()->height() - w->height());
                x += w->width();
            }
    });
}

void TMainForm::buildMenus() {
    auto* file = menuBar()->addMenu("&Datei");
    file->setObjectName("FileMenu");
    file->addActions({FileNew1, FileOpen1, FileClose1, FileSave1, FileSaveAs1});
    file->addSeparator();
    file->addAction(FileExit1);
    auto* edit = menuBar()->addMenu("B&earbeiten");
    edit->setObjectName("EditMenu");
    edit->addActions({EditCut1, EditCopy1, EditPaste1});
    WindowMenu = menuBar()->addMenu("&Fenster");
    WindowMenu->setObjectName("WindowMenu");
    auto* help = menuBar()->addMenu("&Hilfe");
    help->setObjectName("HelpMenu");
    help->addAction(HelpAbout1);
    for (auto* hidden : {file, edit, help})
        hidden->menuAction()->setVisible(false);

    // The window list is rebuilt each time the menu opens.
    connect(WindowMenu, &QMenu::aboutToShow, this, [this] {
        WindowMenu->clear();
        WindowMenu->addActions({WindowCascade1, WindowTileHorizontal1, WindowTileVertical1,
                                WindowMinimizeAll1, WindowArrangeAll1});
        const auto windows = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
        if (!windows.isEmpty())
            WindowMenu->addSeparator();
        int index = 1;
        for (QMdiSubWindow* w : windows) {
            auto* entry = WindowMenu->addAction(QString("&%1 %2").arg(index++).arg(w->windowTitle()));
            entry->setCheckable(true);
            entry->setChecked(w == m_mdiArea->activeSubWindow());
            connect(entry, &QAction::triggered, w, [this, w] { m_mdiArea->setActiveSubWindow(w); });
        }
    });
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    fitToolBar();
}

void TMainForm::fitToolBar() {
    const QList<QToolButton*> labelled = m_toolBar->findChildren<QToolButton*>();
    if (m_labelledToolBarWidth == 0) {
        // Measured once, with every label showing.
        if (m_toolBar->actions().isEmpty())
            return;
        m_labelledToolBarWidth = m_toolBar->sizeHint().width();
        for (QToolButton* b : labelled)
            b->setProperty("labelledStyle", int(b->toolButtonStyle()));
    }
    const bool narrow = m_toolBar->width() < m_labelledToolBarWidth;
    for (QToolButton* b : labelled) {
        const QVariant style = b->property("labelledStyle");
        if (!style.isValid() || style.toInt() != Qt::ToolButtonTextBesideIcon)
            continue;
        b->setToolButtonStyle(narrow ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    }
}

void TMainForm::Timer1Timer() {
    const QPoint pointer = QCursor::pos();
    Label1->setText(QString::number(pointer.x() - x()));
    Label2->setText(QString::number(pointer.y() - y()));
}

void TMainForm::HelpAbout1Execute() {
    m_dialogs->runModal(*AboutBox);
}

} // namespace kavlon
