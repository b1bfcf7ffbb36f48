#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace kavlon {

// The dialogs that would block: tests replace them.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual void showError(QWidget* parent, const QString& text, const QString& detail) = 0;
    // A file to open, or an empty text when the user cancels.
    virtual QString chooseOpenFile(QWidget* parent, const QString& filter) = 0;
    // Runs a dialog modally; true when it was confirmed.
    virtual bool runModal(QDialog& dialog) = 0;
    // A file to write, starting in folder; a name typed without an extension gets
    // defaultSuffix. An empty text when the user cancels.
    virtual QString chooseSaveFile(QWidget* parent, const QString& folder, const QString& defaultSuffix,
                                   const QString& filter) = 0;
};

class DesktopDialogs : public UserDialogs {
public:
    void showError(QWidget* parent, const QString& text, const QString& detail) override;
    QString chooseOpenFile(QWidget* parent, const QString& filter) override;
    bool runModal(QDialog& dialog) override;
    QString chooseSaveFile(QWidget* parent, const QString& folder, const QString& defaultSuffix,
                           const QString& filter) override;
};

} // namespace kavlon
