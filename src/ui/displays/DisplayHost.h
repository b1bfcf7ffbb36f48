#pragma once

#include "ui/displays/DataDisplayFace.h"
#include "ui/displays/MeasureDisplayFace.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kavlon {

class AcquisitionControl;
class PicturePrinter;
class TMDIChild;
class UserDialogs;

// What a display may ask of the main window that holds it.
class DisplayHost {
public:
    virtual ~DisplayHost() = default;
    // A display's window is being destroyed: free its number and list entry.
    virtual void removeDisplay(const QString& caption) = 0;
    virtual AcquisitionControl& acquisition() = 0;
    // Asks the instrument for the next shot on behalf of the display with this caption.
    virtual void requestShot(const QString& caption) = 0;
    // Entries of the display list that a source box offers, in list order.
    virtual QStringList sourceCandidates() const = 0;
    // The last open display with this caption, or null.
    virtual TMDIChild* findDisplay(const QString& caption) const = 0;
    // The read-only face of the last open Data display with this caption, if there is one.
    virtual std::optional<DataDisplayFace> findDataFace(const QString& caption) const = 0;
    // A Measure display has measured this Data display's shot: it may export them now.
    virtual void enableMeasureExport(const QString& caption) = 0;
    // The read-only faces of the open Measure displays, in child order.
    virtual std::vector<MeasureDisplayFace> measureFaces() const = 0;
    // The dialogs and the printer a display's operations use.
    virtual UserDialogs& dialogs() = 0;
    virtual PicturePrinter& printer() = 0;
    // The quick-print option "Print as ...": 0 printer, 1 BMP, 2 JPEG.
    virtual int printAsOption() const = 0;
    // The folder the program runs from; generated files go below it.
    virtual QString programDirectory() const = 0;
    // A shot file was written: it joins the recent files.
    virtual void rememberShotFile(const QString& path) { (void)path; }
    // The Data display of this caption took a new shot: the displays that follow it
    // are told (TMDIChild::sourceShotTaken), each once control is back in the event loop.
    virtual void shotTaken(const QString& caption) { (void)caption; }
    // The Follow box a new display starts with: the user's last choice, kept in the settings.
    virtual bool followChosen() const { return false; }
    virtual void chooseFollow(bool on) { (void)on; }
};

} // namespace kavlon
