#include "ui/dialogs/UserDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace kavlon {

void DesktopDialogs::showError(QWidget* parent, const QString& text, const QString& detail) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.setInformativeText(detail);
    box.exec();
}

QString DesktopDialogs::chooseOpenFile(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

bool DesktopDialogs::runModal(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

QString DesktopDialogs::chooseSaveFile(QWidget* parent, const QString& folder, const QString& defaultSuffix,
                                       const QString& filter) {
    QFileDialog dialog(parent, QString(), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace kavlon
