#pragma once

#include "core/settings/SettingsFile.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;

namespace kavlon {

// The quick-print options dialog: shows the options each time it opens and
// hands them back only when closed with "Okay".
class TSettingsForm : public QDialog {
    Q_OBJECT
public:
    TSettingsForm(const QuickPrintOptions& options, QWidget* parent = nullptr);

    QCheckBox* Grid_CB = nullptr;
    QCheckBox* Invert_CB = nullptr;
    QCheckBox* Color_CB = nullptr;
    QGroupBox* PrintRG = nullptr;
    QButtonGroup* PrintAsGroup = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* OkayBtn = nullptr;

    // The options as the dialog's controls show them.
    QuickPrintOptions shownOptions() const;

public slots:
    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const QuickPrintOptions& m_options;
};

// The "Info" box.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

} // namespace kavlon
