#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace kavlon {

// What a save dialog offers: the folder it opens in, a name it proposes (may be
// empty), the extension a name typed without one gets, and the filters, each
// "description (*.ext)", the first one chosen.
struct SaveFileRequest {
    QString folder;
    QString proposedName;
    QString defaultSuffix;
    QStringList filters;
};

// The dialogs that would block: tests replace them.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual void showError(QWidget* parent, const QString& text, const QString& detail) = 0;
    // A file to open, or an empty text when the user cancels.
    virtual QString chooseOpenFile(QWidget* parent, const QString& filter) = 0;
    // The file to save to, or an empty text when the user cancels.
    virtual QString chooseSaveFile(QWidget* parent, const SaveFileRequest& request) = 0;
    // Runs a dialog modally; true when it was confirmed.
    virtual bool runModal(QDialog& dialog) = 0;
    // Asks before doing something that cannot be undone; true to go on.
    virtual bool confirm(QWidget* parent, const QString& question) = 0;
};

class DesktopDialogs : public UserDialogs {
public:
    void showError(QWidget* parent, const QString& text, const QString& detail) override;
    QString chooseOpenFile(QWidget* parent, const QString& filter) override;
    QString chooseSaveFile(QWidget* parent, const SaveFileRequest& request) override;
    bool runModal(QDialog& dialog) override;
    bool confirm(QWidget* parent, const QString& question) override;
};

} // namespace kavlon
