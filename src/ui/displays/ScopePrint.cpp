// Printing and saving a Scope display's picture.
#include "ui/displays/ScopeDisplay.h"

#include "ui/DateTimeText.h"
#include "ui/dialogs/OutputFolders.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/picture/PictureEncoding.h"
#include "ui/picture/PicturePrinter.h"
#include "ui/picture/ScopePicture.h"

#include "core/files/AtomicFile.h"
#include "core/files/NumberedNames.h"
#include "core/picture/PictureLayout.h"

#include <QDateTime>
#include <QDir>
#include <QPushButton>

namespace kavlon {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The first free numbered name in the folder, proposed so that a quick print
// needs no typing; the user may still pick another.
QString proposedName(const QString& folder, const PictureFileType& type) {
    if (folder.isEmpty())
        return {};
    const auto path = firstFreeNumberedName(toPath(folder), "." + std::string(type.defaultExtension));
    return path ? QString::fromStdU16String(path->filename().u16string()) : QString();
}

} // namespace

void TMDIChild_Scope::PrintBtnClick(QObject* Sender) {
    if (Sender == PrintBtn)
        state.PrintKind = m_host.printAsOption();
    const QString now = localDateTimeText(QDateTime::currentDateTime());
    Picture =
        scopePicture(screenImage(), pictureTexts(state, windowTitle().toStdString(), now.toStdString()));
    // Any other kind builds the picture and leaves it at that.
    if (state.PrintKind == int(PrintKind::Printer))
        printPicture();
    else if (const std::optional<PictureFileType> type = pictureFileType(state.PrintKind))
        savePicture(*type);
}

void TMDIChild_Scope::printPicture() {
    const QString failure = m_host.printer().printPicture(Picture, windowTitle());
    if (!failure.isEmpty())
        m_host.dialogs().showError(this, "The picture was not printed.", failure);
}

void TMDIChild_Scope::savePicture(const PictureFileType& type) {
    SaveFileRequest request;
    request.folder = outputFolder(m_host.programDirectory(), "images");
    request.proposedName = proposedName(request.folder, type);
    request.defaultSuffix = fromView(type.defaultExtension);
    for (std::string_view filter : type.filters)
        request.filters.append(fromView(filter));
    const QString path = m_host.dialogs().chooseSaveFile(this, request);
    if (path.isEmpty())
        return;
    const EncodedPicture encoded = type.defaultExtension == "bmp" ? encodeBmp(Picture) : encodeJpeg(Picture);
    QString failure = encoded.error;
    if (failure.isEmpty()) {
        const SaveResult saved = saveFileWhole(
            toPath(path), std::string_view(encoded.bytes.constData(), std::size_t(encoded.bytes.size())));
        failure = saved.saved ? QString() : QString::fromStdString(saved.reason);
    }
    if (!failure.isEmpty())
        m_host.dialogs().showError(
            this, QString("The picture was not saved as %1.").arg(QDir::toNativeSeparators(path)), failure);
}

} // namespace kavlon
