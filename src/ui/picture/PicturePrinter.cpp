#include "ui/picture/PicturePrinter.h"

#include "core/picture/PictureLayout.h"

#include <QPainter>
#include <QPrinter>

namespace kavlon {

namespace {

// A printer that would write a file nobody named has no printer behind it.
bool hasOutput(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::NativeFormat ? printer.isValid()
                                                            : !printer.outputFileName().isEmpty();
}

QString printerName(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::NativeFormat ? printer.printerName()
                                                            : printer.outputFileName();
}

} // namespace

QString QtPicturePrinter::printPicture(const QImage& picture, const QString& documentName) {
    QPrinter printer(QPrinter::HighResolution);
    if (m_setup)
        m_setup(printer);
    if (!hasOutput(printer))
        return "There is no printer to print on.";
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(documentName);
    QPainter painter;
    if (!painter.begin(&printer))
        return QString("The printer %1 could not start the page.").arg(printerName(printer));
    // The page's printable area in printer pixels, as the painter sees it.
    const PageRect target = printTarget(printer.width(), printer.height());
    painter.drawImage(QRect(target.left, target.top, target.right - target.left, target.bottom - target.top),
                      picture);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return QString("The printer %1 could not finish the page.").arg(printerName(printer));
    return {};
}

} // namespace kavlon
