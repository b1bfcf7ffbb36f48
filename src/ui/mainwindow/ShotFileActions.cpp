#include "ui/mainwindow/ShotFileActions.h"

#include "ui/DecimalSeparator.h"
#include "ui/dialogs/OutputFolders.h"
#include "ui/displays/DataDisplay.h"
#include "ui/mainwindow/MainForm.h"

#include "core/displays/DisplayNames.h"
#include "core/shot/ShotCsv.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace kavlon {

namespace {

QString fromPath(const std::string& path) {
    return QString::fromStdString(path);
}

QStringList droppedFiles(const QMimeData* data) {
    QStringList files;
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                files.append(url.toLocalFile());
    return files;
}

} // namespace

ShotFileActions::ShotFileActions(TMainForm& form) : QObject(&form), m_form(form) {
    OpenShot1 = new QAction("Open shot...", &form);
    OpenShot1->setObjectName("OpenShot1");
    OpenShot1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    OpenShot1->setStatusTip("Open a saved shot in a new Data display");
    OpenShot1->setIcon(form.style()->standardIcon(QStyle::SP_DialogOpenButton));
    // On the window itself, so the shortcut works wherever the focus is.
    form.addAction(OpenShot1);
    connect(OpenShot1, &QAction::triggered, this, &ShotFileActions::OpenShot1Execute);

    ShotMenu = new QMenu("&Shots", &form);
    ShotMenu->setObjectName("ShotMenu");
    form.menuBar()->insertMenu(form.WindowMenu->menuAction(), ShotMenu);
    // The recent files are looked at each time the menu opens.
    connect(ShotMenu, &QMenu::aboutToShow, this, &ShotFileActions::rebuildMenu);
    rebuildMenu();
    addToolButton();

    form.setAcceptDrops(true);
    form.installEventFilter(this);
}

void ShotFileActions::addToolButton() {
    auto* bar = m_form.findChild<QToolBar*>("ToolBar1");
    if (!bar)
        return;
    OpenShot_TB = new QToolButton;
    OpenShot_TB->setObjectName("OpenShot_TB");
    OpenShot_TB->setDefaultAction(OpenShot1);
    OpenShot_TB->setText("Open shot");
    OpenShot_TB->setToolTip("Open a saved shot");
    OpenShot_TB->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // After the display buttons, before the separator that leads to the demonstration.
    QAction* before = nullptr;
    const QList<QAction*> actions = bar->actions();
    for (qsizetype i = 1; i < actions.size(); ++i)
        if (bar->widgetForAction(actions[i]) == m_form.ToolButton17)
            before = actions[i - 1];
    bar->insertWidget(before, OpenShot_TB);
}

void ShotFileActions::rebuildMenu() {
    ShotMenu->clear();
    ShotMenu->addAction(OpenShot1);
    // A file that is gone or no longer a file leaves the list.
    std::erase_if(m_recent, [](const std::string& path) { return !QFileInfo(fromPath(path)).isFile(); });
    if (!m_recent.empty())
        ShotMenu->addSeparator();
    int index = 1;
    for (const std::string& path : m_recent) {
        const QString shown = QDir::toNativeSeparators(fromPath(path));
        QAction* entry = ShotMenu->addAction(QString("&%1 %2").arg(index++).arg(shown));
        entry->setObjectName(QString("RecentShot%1").arg(index - 1));
        connect(entry, &QAction::triggered, this, [this, path] { openShot(fromPath(path)); });
    }
}

void ShotFileActions::remember(const QString& path) {
    m_recent = withRecentShot(std::move(m_recent), QFileInfo(path).absoluteFilePath().toStdString());
}

void ShotFileActions::OpenShot1Execute() {
    const QString path = m_form.dialogs().chooseOpenFile(
        &m_form, "Shot files (*.csv);;Spreadsheet exports (*.xls);;All files (*)");
    if (!path.isEmpty())
        openShot(path);
}

void ShotFileActions::showOpenError(const QString& path, const QString& reason) {
    // The reason quotes the file's own bytes.
    m_form.dialogs().showError(&m_form,
                               QString("Cannot open %1").arg(shownFileText(QDir::toNativeSeparators(path))),
                               shownFileText(reason));
}

TMDIChild_Data* ShotFileActions::openShot(const QString& path) {
    const auto read =
        std::make_unique<ShotFileResult>(readShotFile(toPath(path), {localeDecimalSeparator()}));
    if (!read->ok) {
        std::erase(m_recent, QFileInfo(path).absoluteFilePath().toStdString());
        showOpenError(path, QString::fromStdString(read->error));
        return nullptr;
    }
    TMDIChild_Data* display = m_form.newDataDisplay(kind::Data);
    if (!display) {
        showOpenError(path, QString("All %1 displays are open; close one first.").arg(kMaxDisplays));
        return nullptr;
    }
    display->openShot(read->record);
    remember(path);
    // Scope, Measure and FFT displays can take it now, instrument or not; it comes to the front.
    m_form.enableOfflineDisplays();
    m_form.mdiArea()->setActiveSubWindow(display);
    display->raise();
    return display;
}

bool ShotFileActions::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_form)
        return false;
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (droppedFiles(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = droppedFiles(drop->mimeData());
        if (files.isEmpty())
            return false;
        drop->acceptProposedAction();
        for (const QString& file : files)
            openShot(file);
        return true;
    }
    return false;
}

void TMainForm::rememberShotFile(const QString& path) {
    m_shotFiles->remember(path);
}

} // namespace kavlon
