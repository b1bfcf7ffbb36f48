#pragma once

#include "ui/displays/DataDisplayFace.h"
#include "ui/displays/DisplayWindow.h"

#include "core/export/SheetFile.h"
#include "core/shot/ShotRecord.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace kavlon {

struct AcquisitionState;
class ShotTableModel;

// A Data display: one shot as a table of raw values and voltages, with the trigger
// and timebase of the shot. The other displays copy their shot from here.
class TMDIChild_Data : public TMDIChild {
    Q_OBJECT
public:
    static constexpr int kFourChannelWidth = 500;
    static constexpr int kTwoChannelWidth = 293;
    static constexpr int kMinimumHeight = 151;

    explicit TMDIChild_Data(DisplayHost& host);
    ~TMDIChild_Data() override;

    ShotRecord record;

    QTableView* DataSG = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* RefreshBtn = nullptr;
    QCheckBox* RepeatCB = nullptr;
    QPushButton* ExportBtn = nullptr;
    QCheckBox* incMeasureCB = nullptr;
    QPushButton* SaveShotBtn = nullptr;
    QWidget* Panel2 = nullptr;
    QLabel* Trigger_lb = nullptr;
    QLabel* Triggerlevel_lb = nullptr;
    QLabel* Timebase_lb = nullptr;
    QLabel* RealTimebase_lb = nullptr;
    // Says when the shot shown lost frames on the way.
    QLabel* ShotState_lb = nullptr;
    QWidget* ZeroLevel_Panel = nullptr;
    std::array<QLabel*, kChannels> ZeroLevelCH_lb{};

    // What the other displays may read of this one.
    DataDisplayFace face() const;

    // The grid's shown columns: 5 after a two-channel shot, 9 otherwise.
    int gridColumns() const;
    // Narrows the window and its grid for a two-channel instrument, or widens them back.
    void setTwoChannelLayout(bool twoChannels);

    // Takes the completed shot into this display; whole is false when frames of it
    // were lost, and the display then says so.
    void TransferRequestData(const AcquisitionState& state, bool whole = true);
    // A shot of this display's request lost frames. The first time the display keeps
    // what it shows and the answer is true: ask once more. After that it is false, and
    // the shot is to be taken, marked incomplete.
    bool askAgainAfterLostFrames();
    // Asked once more and waiting for that shot.
    bool askingAgain() const { return m_askedAgain; }
    // The instrument's answer to a request of this display is still to come.
    bool awaitingShot() const;
    // Repeat is ticked: each shot taken asks for the next.
    bool repeating() const;
    // The instrument was let go or went away: Repeat stops, nothing can be asked for,
    // and a request of this display that it still owed is dropped.
    void instrumentLetGo();
    // Shows a shot read from a file as if it had just been delivered.
    void openShot(const ShotRecord& shot);

    // SaveDialog1: the spreadsheet file the user names.
    static constexpr const char* kExportSuffix = "xls";
    static constexpr const char* kExportFilter = "Microsoft Excel (*.xls)";
    static constexpr const char* kExportFolder = "exports";
    // How many generated names there are (QV_00000.xls on); a test may make do with fewer.
    int exportNameCount = kExportNameCount;

signals:
    // A shot was taken in, from the instrument or from a file.
    void shotTaken();

public slots:
    void RefreshBtnClick();
    // Repeat ticked asks at once when Refresh could; unticked, the shot under way still
    // lands and nothing is asked after it.
    void RepeatCBClick(bool checked);
    void FormResize();
    // Writes the table, the settings and the matching Measure displays' results to a
    // spreadsheet file: named by the user when sender is ExportBtn, otherwise the next
    // free number in the "exports" folder. True when a file was written; a failure is
    // shown to the user and leaves no file.
    bool ExportBtnClick(QObject* sender);
    // Writes the shot to a CSV file the user names; true when it was written.
    bool SaveShotBtnClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // A request of a display that has gone is dropped: its answer has nowhere to go,
    // and must not land in a display opened later under the same caption.
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void setColumnWidths();
    // The labels show the texts the record keeps.
    void showLabels();
    // The table, layout, labels and buttons once the record holds a new shot.
    void finishShot(bool twoChannelLayout);
    void placeRepeatBox();
    // Repeat's next request, once the last shot's delivery is over.
    void repeatShot();
    QLabel* label(QWidget* parent, const QString& name, int left, int top);
    // Where an export goes (for a generated name, the folder) and whether it may
    // replace what has that name; nothing when the export ends here (cancelled, or no
    // folder to be had).
    std::optional<std::filesystem::path> exportTarget(QObject* sender, bool& replace);

    std::unique_ptr<ShotTableModel> m_model;
    bool m_resizing = false;
    // The shot came from a file: the window keeps the shot's layout, not the instrument's.
    bool m_fileShot = false;
    bool m_askedAgain = false;
    std::uint64_t m_shotSerial = 0;
};

} // namespace kavlon
