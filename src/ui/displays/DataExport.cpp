// The Data display's files: the spreadsheet export (choosing the file and gathering what
// goes in) and the shot saved as CSV.
#include "ui/displays/DataDisplay.h"

#include "ui/DateTimeText.h"
#include "ui/DecimalSeparator.h"
#include "ui/dialogs/OutputFolders.h"
#include "ui/dialogs/UserDialogs.h"

#include "core/export/SheetFile.h"
#include "core/shot/ShotCsv.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QPushButton>

#include <deque>

namespace kavlon {

namespace {

QString shown(const std::filesystem::path& path) {
    return QDir::toNativeSeparators(QString::fromStdU16String(path.u16string()));
}

} // namespace

std::optional<std::filesystem::path> TMDIChild_Data::exportTarget(QObject* sender, bool& replace) {
    UserDialogs& dialogs = m_host.dialogs();
    QString why;
    const QString folder = outputFolder(m_host.programDirectory(), kExportFolder, &why);
    if (sender == ExportBtn) {
        // The user chose the name and was asked before an existing file is replaced.
        replace = true;
        const QString chosen = dialogs.chooseSaveFile(this, {folder, {}, kExportSuffix, {kExportFilter}});
        if (chosen.isEmpty())
            return std::nullopt;
        return toPath(chosen);
    }
    replace = false;
    if (folder.isEmpty()) {
        const QString wanted = outputRoot(m_host.programDirectory()) + kExportFolder;
        dialogs.showError(this, QString("Cannot create the folder %1").arg(QDir::toNativeSeparators(wanted)),
                          why);
        return std::nullopt;
    }
    // The export itself looks for the first free name in it.
    return toPath(folder);
}

bool TMDIChild_Data::ExportBtnClick(QObject* sender) {
    bool replace = true;
    const auto path = exportTarget(sender, replace);
    if (!path)
        return false;

    const std::string caption = windowTitle().toStdString();
    const std::string dateTime = localDateTimeText(QDateTime::currentDateTime()).toStdString();
    ExportContents contents;
    contents.record = &record;
    contents.dataCaption = caption;
    contents.includeMeasures = incMeasureCB->isChecked();
    contents.dateTime = dateTime;
    contents.decimalSeparator = localeDecimalSeparator();
    // The texts the contents point into live as long as the export.
    const std::vector<MeasureDisplayFace> faces = m_host.measureFaces();
    std::deque<std::string> texts;
    for (const MeasureDisplayFace& face : faces) {
        const std::string& measureCaption = texts.emplace_back(face.caption.toStdString());
        const std::string& source = texts.emplace_back(face.source.toStdString());
        contents.measures.push_back({measureCaption, source, &face.cells});
    }

    // A generated name that another program takes meanwhile gives way to the next free one.
    const NumberedSave result = replace ? NumberedSave{*path, exportSheet(*path, contents).result}
                                        : exportSheetUnderFreeName(*path, contents, exportNameCount);
    if (!replace && result.path.empty()) {
        // Taking the last name again would destroy an earlier export.
        m_host.dialogs().showError(
            this,
            QString("Every export name from %1 to %2 is taken in %3; nothing was exported.")
                .arg(QString::fromStdString(exportFileName(0)),
                     QString::fromStdString(exportFileName(exportNameCount - 1)), shown(*path)),
            "Move or delete earlier exports to make room.");
        return false;
    }
    if (!result.result.saved)
        m_host.dialogs().showError(
            this, QString("Cannot write %1").arg(shown(result.path.empty() ? *path : result.path)),
            QString::fromLocal8Bit(result.result.reason));
    return result.result.saved;
}

bool TMDIChild_Data::SaveShotBtnClick() {
    const QString folder = outputFolder(m_host.programDirectory(), kExportFolder);
    const QString chosen = m_host.dialogs().chooseSaveFile(
        this, {folder, windowTitle() + ".csv", "csv", {"Shot files (*.csv)", "All files (*)"}});
    if (chosen.isEmpty())
        return false;
    const std::filesystem::path path = toPath(chosen);
    const SaveResult result = saveShotCsv(path, record);
    if (!result.saved) {
        m_host.dialogs().showError(this, QString("Cannot write %1").arg(shown(path)),
                                   QString::fromLocal8Bit(result.reason));
        return false;
    }
    m_host.rememberShotFile(chosen);
    return true;
}

} // namespace kavlon
