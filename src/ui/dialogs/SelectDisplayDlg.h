#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace kavlon {

// Asks which kind of display the Add button makes. Made once with the main window
// and shown again each time; it starts with nothing chosen.
class TSelectDisplayDlg : public QDialog {
    Q_OBJECT
public:
    // The list's rows; there is no FFT display to choose here.
    enum Choice { ScopeDisplay = 0, DataDisplay = 1, MeasureDisplay = 2 };

    explicit TSelectDisplayDlg(QWidget* parent = nullptr);

    QListWidget* SelectListBox = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // The chosen row, or -1 when none is chosen.
    int chosen() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void SelectListBoxDblClick();
};

} // namespace kavlon
