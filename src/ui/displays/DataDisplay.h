#pragma once

#include "ui/displays/DataDisplayFace.h"
#include "ui/displays/DisplayWindow.h"

#include "core/export/SheetFile.h"
#include "core/shot/ShotRecord.h"

#include <array>
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
    QPushButton* ExportBtn = nullptr;
    QCheckBox* incMeasureCB = nullptr;
    QPushButton* SaveShotBtn = nullptr;
    QWidget* Panel2 = nullptr;
    QLabel* Trigger_lb = nullptr;
    QLabel* Triggerlevel_lb = nullptr;
    QLabel* Timebase_lb = nullptr;
    QLabel* RealTimebase_lb = nullptr;
    QWidget* ZeroLevel_Panel = nullptr;
    std::array<QLabel*, kChannels> ZeroLevelCH_lb{};

    // What the other displays may read of this one.
    DataDisplayFace face() const;

    // The grid's shown columns: 5 after a two-channel shot, 9 otherwise.
    int gridColumns() const;
    // Narrows the window and its grid for a two-channel instrument, or widens them back.
    void setTwoChannelLayout(bool twoChannels);

    // Takes the completed shot into this display.
    void TransferRequestData(const AcquisitionState& state);
    // Shows a shot read from a file as if it had just been delivered.
    void openShot(const ShotRecord& shot);

    // SaveDialog1: the spreadsheet file the user names.
    static constexpr const char* kExportSuffix = "xls";
    static constexpr const char* kExportFilter = "Microsoft Excel (*.xls)";
    static constexpr const char* kExportFolder = "exports";
    // How many generated names there are (QV_00000.xls on); a test may make do with fewer.
    int exportNameCount = kExportNameCount;

public slots:
    void RefreshBtnClick();
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

private:
    void FormCreate();
    void setColumnWidths();
    // The labels show the texts the record keeps.
    void showLabels();
    // The table, layout, labels and buttons once the record holds a new shot.
    void finishShot(bool twoChannelLayout);
    QLabel* label(QWidget* parent, const QString& name, int left, int top);
    // Where an export goes and whether it may replace what has that name; nothing
    // when the export ends here (cancelled, or no name to be had).
    std::optional<std::filesystem::path> exportTarget(QObject* sender, bool& replace);

    std::unique_ptr<ShotTableModel> m_model;
    bool m_resizing = false;
    // The shot came from a file: the window keeps the shot's layout, not the instrument's.
    bool m_fileShot = false;
};

} // namespace kavlon
