#include "ui/dialogs/SettingsForm.h"

#include "ui/FramePlacement.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kavlon {

TSettingsForm::TSettingsForm(const QuickPrintOptions& options, QWidget* parent)
    : QDialog(parent), m_options(options) {
    setObjectName("SettingsForm");
    setWindowTitle("Settings");
    setModal(true);

    auto* group = new QGroupBox("Quick Print Options");
    group->setObjectName("QuickPrintGroup");
    Grid_CB = new QCheckBox("Grid");
    Grid_CB->setObjectName("Grid_CB");
    Invert_CB = new QCheckBox("Invert");
    Invert_CB->setObjectName("Invert_CB");
    Color_CB = new QCheckBox("Color");
    Color_CB->setObjectName("Color_CB");

    PrintRG = new QGroupBox("Print as ...");
    PrintRG->setObjectName("PrintRG");
    PrintAsGroup = new QButtonGroup(this);
    auto* radios = new QVBoxLayout(PrintRG);
    const char* items[] = {"Printer", "BMP", "JPEG"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(items[i]);
        radio->setObjectName(QString("PrintRG_%1").arg(i));
        PrintAsGroup->addButton(radio, i);
        radios->addWidget(radio);
    }

    auto* boxes = new QVBoxLayout;
    boxes->addWidget(Grid_CB);
    boxes->addWidget(Invert_CB);
    boxes->addWidget(Color_CB);
    boxes->addStretch();
    auto* inside = new QHBoxLayout(group);
    inside->addLayout(boxes);
    inside->addWidget(PrintRG);

    CancelBtn = new QPushButton("Cancel");
    CancelBtn->setObjectName("CancelBtn");
    OkayBtn = new QPushButton("Okay");
    OkayBtn->setObjectName("OkayBtn");
    OkayBtn->setDefault(true);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(OkayBtn, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelBtn);
    buttons->addWidget(OkayBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QuickPrintOptions TSettingsForm::shownOptions() const {
    QuickPrintOptions o;
    o.Grid = Grid_CB->isChecked();
    o.Invert = Invert_CB->isChecked();
    o.Color = Color_CB->isChecked();
    o.PrintAs = std::max(0, PrintAsGroup->checkedId());
    return o;
}

void TSettingsForm::FormShow() {
    Grid_CB->setChecked(m_options.Grid);
    Invert_CB->setChecked(m_options.Invert);
    Color_CB->setChecked(m_options.Color);
    if (auto* radio = PrintAsGroup->button(m_options.PrintAs))
        radio->setChecked(true);
}

void TSettingsForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    // The toolkit's own guess at the frame differs between the first showing and later ones.
    centreOnOwner(*this);
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("Info");
    setModal(true);
    auto* icon = new QLabel;
    icon->setObjectName("ProgramIcon");
    icon->setPixmap(QApplication::windowIcon().isNull()
                        ? style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48)
                        : QApplication::windowIcon().pixmap(48, 48));
    auto* text = new QVBoxLayout;
    const QString lines[] = {"KavlonPC", "Companion of the Kavlon USB oscilloscopes",
                             "Version " + QApplication::applicationVersion(), "Copyright"};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(lines[i]);
        label->setObjectName(QString("AboutLabel%1").arg(i + 1));
        text->addWidget(label);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text);
    auto* ok = new QPushButton("OK");
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace kavlon
