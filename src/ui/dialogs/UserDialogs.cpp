#include "ui/dialogs/UserDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kavlon {

void DesktopDialogs::showError(QWidget* parent, const QString& text, const QString& detail) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.setInformativeText(detail);
    box.exec();
}

QString DesktopDialogs::chooseOpenFile(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

QString DesktopDialogs::chooseSaveFile(QWidget* parent, const SaveFileRequest& request) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(request.folder);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setNameFilters(request.filters);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

bool DesktopDialogs::runModal(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

bool DesktopDialogs::confirm(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), question, QMessageBox::NoButton,
                    parent);
    QPushButton* ok = box.addButton("OK", QMessageBox::AcceptRole);
    box.addButton("Abbrechen", QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == ok;
}

} // namespace kavlon
