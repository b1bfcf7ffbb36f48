#pragma once

#include "ui/displays/DataDisplayFace.h"
#include "ui/displays/DisplayWindow.h"

#include "core/picture/PictureFiles.h"
#include "core/scope/ScopeDrawing.h"
#include "core/scope/ScopeState.h"
#include "core/settings/SettingsFile.h"
#include "core/shot/ShotRecord.h"

#include <QImage>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QPushButton;
class QScrollBar;

namespace kavlon {

class FollowBox;
class ScopeScreen;
class SourceBox;

// A Scope display: the waveforms of a Data display's shot on a graticule, with the
// source box, zoom and scrolling. It keeps its own copy of the shot until the user
// chooses a source or presses Refresh again.
class TMDIChild_Scope : public TMDIChild {
    Q_OBJECT
public:
    // Quick-print modes from this one on export the shot instead of printing it.
    static constexpr int kQuickExportMode = 3;

    explicit TMDIChild_Scope(DisplayHost& host);

    ScopeState state;
    // The last picture printed or saved, kept until the next one.
    QImage Picture;

    ScopeScreen* ScreenPB = nullptr;
    QFrame* Panel1 = nullptr;
    SourceBox* ComboBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QCheckBox* GridCKB = nullptr;
    QCheckBox* InvertCkB = nullptr;
    QCheckBox* ColorCkB = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* ZerosCkB = nullptr;
    QCheckBox* CursorHCkB = nullptr;
    QCheckBox* CursorVCkB = nullptr;
    QComboBox* Zoom_TB = nullptr;
    QPushButton* PrintBtn = nullptr;
    FollowBox* FollowCB = nullptr;
    QScrollBar* SigOff_ScrollBar = nullptr;

    // The screen as drawn from the current state and controls.
    const QImage& screenImage();
    // Takes a Data display's shot: samples, settings, scroll range and zoom
    // entries, then redraws.
    void loadShot(const ShotRecord& source);
    // The same for the next shot of the source it follows: the zoom the user chose
    // stays while the timebase does, and so does the scroll position where it fits.
    void followShot(const ShotRecord& source);
    void sourceShotTaken(const QString& caption) override;
    // The instrument's quick print: picks the quick-print Data display in the source
    // box, takes its shot and the quick-print options, and prints or saves the screen
    // as mode says (modes from kQuickExportMode on only show it).
    void quickPrint(int mode, const QuickPrintOptions& options, const DataDisplayFace& data);

public slots:
    void RefreshScreen();
    void ColorCkBClick();
    void ComboBox1Enter();
    void ComboBox1Change();
    void Zoom_TBChange(int index);
    void SigOff_ScrollBarChange();
    // Prints or saves the screen as a picture, as state.PrintKind says. The Print
    // button takes the kind from the settings first; the program's own callers
    // (the quick print) set it beforehand.
    void PrintBtnClick(QObject* Sender = nullptr);

private:
    void buildPanel(QWidget* client);
    void fitPanel();
    void connectControls();
    void fillZoomBox();
    ScopeView view() const;
    void printPicture();
    void savePicture(const PictureFileType& type);

    bool m_loaded = false;
};

} // namespace kavlon
