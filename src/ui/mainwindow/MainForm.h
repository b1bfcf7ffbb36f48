#pragma once

#include "ui/dialogs/UserDialogs.h"
#include "ui/displays/DisplayHost.h"
#include "ui/mainwindow/QuickPrint.h"
#include "ui/picture/PicturePrinter.h"

#include "device/session/InstrumentSession.h"

#include "core/displays/DisplayNames.h"
#include "core/settings/SettingsFile.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class QTimer;
class QToolBar;
class QToolButton;

namespace kavlon {

class ConnectionStatus;
class FrontPanel;
class ShotFileActions;
class TMDIChild;
class TMDIChild_Data;
class TMDIChild_FFT;
class TMDIChild_Math;
class TMDIChild_Scope;
class TAboutBox;
class TSelectDisplayDlg;
class TSettingsForm;
class GuidedDemo;

// The program's one window: toolbar, the front panel on the left, and the
// displays inside. It owns the instrument session and the options, and wires what
// the session reports to the panel, the progress bar and the displays.
class TMainForm : public QMainWindow, public DisplayHost {
    Q_OBJECT
public:
    // programDirectory holds the settings file; empty means the program's own directory.
    // Without a backend the window works with the real HID devices.
    explicit TMainForm(const QString& programDirectory = {}, UserDialogs* dialogs = nullptr,
                       std::unique_ptr<HidBackend> backend = nullptr, QWidget* parent = nullptr);
    ~TMainForm() override;

    InstrumentSession& session() { return m_session; }
    AcquisitionControl& acquisition() override { return m_session.acquisition(); }
    void requestShot(const QString& caption) override { m_session.requestShot(caption.toStdString()); }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    FrontPanel* frontPanel() const { return m_panel; }
    ShotFileActions* shotFiles() const { return m_shotFiles; }
    QString ProgramDirectory;
    kavlon::QuickPrintOptions QuickPrintOptions;

    // Toolbar
    QToolButton* Open_TBtn = nullptr;
    QToolButton* Disconnect_TBtn = nullptr;
    QToolButton* ToolButton15 = nullptr;
    QProgressBar* Receive_ProgressBar = nullptr;
    QToolButton* Data_TB = nullptr;
    QToolButton* Scope_TB = nullptr;
    QToolButton* Measure_TB = nullptr;
    QToolButton* FFT_TB = nullptr;
    QToolButton* ToolButton17 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QTimer* Timer1 = nullptr;

    // Actions, reachable by their shortcuts even where their menus are hidden.
    QAction* FileNew1 = nullptr;
    QAction* FileOpen1 = nullptr;
    QAction* FileClose1 = nullptr;
    QAction* FileSave1 = nullptr;
    QAction* FileSaveAs1 = nullptr;
    QAction* FileExit1 = nullptr;
    QAction* EditCut1 = nullptr;
    QAction* EditCopy1 = nullptr;
    QAction* EditPaste1 = nullptr;
    QAction* HelpAbout1 = nullptr;
    QAction* WindowCascade1 = nullptr;
    QAction* WindowTileHorizontal1 = nullptr;
    QAction* WindowTileVertical1 = nullptr;
    QAction* WindowMinimizeAll1 = nullptr;
    QAction* WindowArrangeAll1 = nullptr;
    QMenu* WindowMenu = nullptr;
    // Only with the simulated instrument: its own buttons, pressed from here.
    QMenu* SimulatorMenu = nullptr;
    QAction* PressQuickPrint1 = nullptr;
    ConnectionStatus* connectionStatus() const { return m_connectionStatus; }

    TSettingsForm* SettingsForm = nullptr;
    TAboutBox* AboutBox = nullptr;
    TSelectDisplayDlg* SelectDisplayDlg = nullptr;
    GuidedDemo& demo() { return *m_demo; }

    // Display list and numbering.
    TMDIChild_Data* CreateDataDisplay(const QString& caption);
    TMDIChild_Scope* CreateScopeDisplay(const QString& caption);
    TMDIChild_Math* CreateMeasureDisplay(const QString& caption);
    TMDIChild_FFT* CreateFFTDisplay(const QString& caption);
    // A new listed display named by its kind word and the first free number, unless
    // `limit` displays are open already (then null).
    TMDIChild_Data* newDataDisplay(std::string_view kindWord, int limit = kMaxDisplays);
    TMDIChild_Scope* newScopeDisplay(std::string_view kindWord, int limit = kMaxDisplays);
    // Closes every listed display and lets its number and entry go, one by one.
    void closeListedDisplays();
    // A shot was opened from a file: displays can be made of it without an instrument.
    void enableOfflineDisplays();
    // The program runs on the simulated instrument (--simulate): a menu offers its
    // buttons. Nothing happens over any other backend.
    void showSimulatorMenu();
    // The guided demonstration begins: no instrument is reached from now on.
    void startDemonstration();
    // It ends: the made-up connection is given up and the panel goes back to how
    // it was before any instrument reported.
    void endDemonstration();
    // The open displays in child order (those being closed left out).
    QList<TMDIChild*> childDisplays() const;
    // The last open display with this caption, or null.
    TMDIChild* findDisplay(const QString& caption) const override;
    std::optional<DataDisplayFace> findDataFace(const QString& caption) const override;
    void enableMeasureExport(const QString& caption) override;
    std::vector<MeasureDisplayFace> measureFaces() const override;
    UserDialogs& dialogs() override { return *m_dialogs; }
    PicturePrinter& printer() override { return *m_printer; }
    int printAsOption() const override { return QuickPrintOptions.PrintAs; }
    QString programDirectory() const override { return ProgramDirectory; }
    void rememberShotFile(const QString& path) override;
    void shotTaken(const QString& caption) override;
    bool followChosen() const override { return m_follow; }
    void chooseFollow(bool on) override { m_follow = on; }
    // Pictures go to this printer from now on; null means the default printer.
    void setPrinter(PicturePrinter* printer) { m_printer = printer ? printer : &m_defaultPrinter; }
    // Entries of the display list a source box offers, in list order.
    QStringList sourceCandidates() const override;
    void removeDisplay(const QString& caption) override;

public slots:
    void Data_TBClick();
    void Scope_TBClick();
    void Measure_TBClick();
    void FFT_TBClick();
    void Add_BtnClick();
    void Delete_BtnClick();
    void Reset_BtnClick();
    void ToolButton15Click();
    void ToolButton17Click();
    void FileOpen1Execute();
    void HelpAbout1Execute();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormCloseQuery();
    void buildToolBar();
    void buildActions();
    void buildMenus();
    // A display named by its kind word and the first free number, unless `limit`
    // displays are open already.
    using DisplayMaker = std::function<TMDIChild*(const QString&)>;
    TMDIChild* createNumberedDisplay(std::string_view kindWord, const DisplayMaker& create,
                                     int limit = kMaxDisplays);
    // The number the next display gets, or none while `limit` windows are open.
    std::optional<int> nextDisplayNumber(int limit = kMaxDisplays) const;
    TMDIChild* listNumberedDisplay(std::string_view kindWord, int number, const DisplayMaker& create);
    // The panel and the toolbar as they are before any instrument has reported.
    void returnToStartState();
    // What the session reports, to the panel, the progress bar and the displays.
    void wireSession();
    void enableDisplayButtons();
    void enableDataRefreshButtons();
    // The instrument was let go: nothing can send it commands or ask it for a shot.
    void instrumentLetGo();
    void updateDisconnectButton();
    // Where the toolbar with its labels is wider than the window (a small screen at a
    // large scale), its labelled buttons show their icons alone, so none is pushed out.
    void fitToolBar();
    ShotDelivery takeShot(const CompletedShot& shot);
    // A shot for this display lost frames: the status bar says so, and it is asked for
    // once more unless it was the second try.
    void shotLostFrames(const QString& caption);
    template <class Display> Display* adopt(const QString& caption);
    void placeNewDisplay(TMDIChild* display);
    void cascade();
    void tile(Qt::Orientation stacking);

    DesktopDialogs m_desktopDialogs;
    UserDialogs* m_dialogs;
    QtPicturePrinter m_defaultPrinter;
    PicturePrinter* m_printer = &m_defaultPrinter;
    InstrumentSession m_session;
    QMdiArea* m_mdiArea = nullptr;
    FrontPanel* m_panel = nullptr;
    QuickPrint m_quickPrint{*this};
    GuidedDemo* m_demo = nullptr;
    ConnectionStatus* m_connectionStatus = nullptr;
    ShotFileActions* m_shotFiles = nullptr;
    // Where the settings go at close, decided at start; empty: nowhere.
    QString m_settingsPath;
    bool m_shown = false;
    QToolBar* m_toolBar = nullptr;
    int m_labelledToolBarWidth = 0;
    bool m_tearingDown = false;
    // The Follow box new displays start with; kept in the settings file.
    bool m_follow = false;
};

} // namespace kavlon
