#include "ui/dialogs/SelectDisplayDlg.h"

#include "ui/FramePlacement.h"

#include <QFrame>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace kavlon {

namespace {

constexpr int kClientWidth = 384;
constexpr int kClientHeight = 94;

} // namespace

TSelectDisplayDlg::TSelectDisplayDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("SelectDisplayDlg");
    setWindowTitle("Select Display");
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);

    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Abbrechen", this);
    CancelBtn->setObjectName("CancelBtn");
    // The buttons take the width their captions need, the bevel what is left.
    const int buttonWidth = std::max({75, OKBtn->sizeHint().width(), CancelBtn->sizeHint().width()});
    const int buttonLeft = kClientWidth - 8 - buttonWidth;
    OKBtn->setGeometry(buttonLeft, 8, buttonWidth, 25);
    CancelBtn->setGeometry(buttonLeft, 38, buttonWidth, 25);

    auto* bevel = new QFrame(this);
    bevel->setObjectName("Bevel1");
    bevel->setFrameShape(QFrame::Panel);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(8, 8, buttonLeft - 16, kClientHeight - 16);
    bevel->lower();

    SelectListBox = new QListWidget(this);
    SelectListBox->setObjectName("SelectListBox");
    SelectListBox->addItems({"Scope Display", "Data Display", "Measure Display"});
    SelectListBox->setGeometry(16, 16, std::min(265, buttonLeft - 32), kClientHeight - 32);
    connect(SelectListBox, &QListWidget::itemDoubleClicked, this, &TSelectDisplayDlg::SelectListBoxDblClick);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

int TSelectDisplayDlg::chosen() const {
    const QListWidgetItem* item = SelectListBox->currentItem();
    return item && item->isSelected() ? SelectListBox->row(item) : -1;
}

void TSelectDisplayDlg::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    // The toolkit's own guess at the frame differs between the first showing and later ones.
    centreOnOwner(*this);
}

void TSelectDisplayDlg::FormShow() {
    SelectListBox->clearSelection();
    SelectListBox->setCurrentItem(nullptr);
}

void TSelectDisplayDlg::SelectListBoxDblClick() {
    accept();
}

} // namespace kavlon
