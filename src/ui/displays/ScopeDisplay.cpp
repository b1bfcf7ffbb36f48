#include "ui/displays/ScopeDisplay.h"

#include "ui/displays/FollowBox.h"
#include "ui/displays/ScopeScreen.h"
#include "ui/displays/SourceBox.h"

#include "core/scope/ScopeSource.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>

namespace kavlon {

namespace {

QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& caption, int left, bool checked) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setGeometry(left, 13, 60, 16);
    box->adjustSize();
    box->setChecked(checked);
    return box;
}

QGroupBox* groupBox(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    group->setGeometry(geometry);
    return group;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    return b;
}

} // namespace

TMDIChild_Scope::TMDIChild_Scope(DisplayHost& host) : TMDIChild(host, "Scope", new QWidget) {
    QWidget* client = widget();
    QFont font = client->font();
    font.setPixelSize(11);
    client->setFont(font);
    client->setAutoFillBackground(true);
    QPalette dark = client->palette();
    dark.setColor(QPalette::Window, QColor(QRgb(kScopeWindowColour)));
    client->setPalette(dark);

    ScreenPB = new ScopeScreen(
        [this](ScopeCanvas& canvas) {
            drawScreen(canvas, state, view());
            return scopeColours(ColorCkB->isChecked(), InvertCkB->isChecked());
        },
        client);
    ScreenPB->setObjectName("ScreenPB");
    ScreenPB->move(11, 74);

    buildPanel(client);
    SigOff_ScrollBar = new QScrollBar(Qt::Horizontal, client);
    SigOff_ScrollBar->setObjectName("SigOff_ScrollBar");
    SigOff_ScrollBar->setGeometry(8, 48, 617, 16);
    SigOff_ScrollBar->setPalette(Panel1->palette());
    SigOff_ScrollBar->setRange(0, 100);
    SigOff_ScrollBar->setSingleStep(1);
    SigOff_ScrollBar->setPageStep(1);
    connectControls();
}

void TMDIChild_Scope::buildPanel(QWidget* client) {
    Panel1 = new QFrame(client);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setGeometry(8, 6, 617, 37);
    // The panel keeps the usual control colours on the dark window.
    QPalette normal = Panel1->palette();
    normal.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    Panel1->setPalette(normal);
    Panel1->setAutoFillBackground(true);

    ComboBox1 = new SourceBox(m_host, Panel1);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setGeometry(8, 8, 81, 21);
    Button1 = button(Panel1, "Button1", "Refresh", {96, 6, 57, 25});

    GroupBox2 = groupBox(Panel1, "GroupBox2", "Display - Print", {156, 1, 155, 32});
    GridCKB = checkBox(GroupBox2, "GridCKB", "Grid", 6, true);
    InvertCkB = checkBox(GroupBox2, "InvertCkB", "Invert", 52, false);
    ColorCkB = checkBox(GroupBox2, "ColorCkB", "Color", 104, true);

    GroupBox1 = groupBox(Panel1, "GroupBox1", "Cursor", {312, 1, 177, 31});
    ZerosCkB = checkBox(GroupBox1, "ZerosCkB", "Zero", 6, true);
    CursorHCkB = checkBox(GroupBox1, "CursorHCkB", "Horizontal", 52, false);
    CursorVCkB = checkBox(GroupBox1, "CursorVCkB", "Vertical", 120, false);
    CursorHCkB->hide();
    CursorVCkB->hide();

    Zoom_TB = new QComboBox(Panel1);
    Zoom_TB->setObjectName("Zoom_TB");
    Zoom_TB->setEditable(true);
    // Typed text chooses nothing and must never become an entry.
    Zoom_TB->setInsertPolicy(QComboBox::NoInsert);
    Zoom_TB->setGeometry(500, 8, 51, 21);
    Zoom_TB->setEditText("1:1");
    PrintBtn = button(Panel1, "PrintBtn", "Print", {555, 6, 54, 25});
    FollowCB = new FollowBox(m_host, Panel1);
    fitPanel();
}

namespace {

// Places a group's shown check boxes one after another at their own widths and
// widens the group to hold them and its title. Returns the group's right edge.
int fitGroup(QGroupBox* group, std::initializer_list<QCheckBox*> boxes, int left) {
    int x = 6;
    for (QCheckBox* box : boxes) {
        if (box->isHidden())
            continue;
        box->adjustSize();
        box->move(x, std::min(box->y(), group->height() - box->height()));
        x += box->width() + 4;
    }
    const int width = std::max({group->width(), x + 2, group->minimumSizeHint().width()});
    group->setGeometry(left, group->y(), width, group->height());
    return left + width;
}

} // namespace

void TMDIChild_Scope::fitPanel() {
    // The designed pixel positions cut "Invert" and "1 : 2.5" in common fonts: the
    // controls take the room their texts need, the panel keeps its width.
    ComboBox1->resize(std::max(ComboBox1->width(), comboWidthFor(*ComboBox1, SourceBox::kWidestCaption)),
                      ComboBox1->height());
    Button1->move(ComboBox1->x() + ComboBox1->width() + 7, Button1->y());
    const int displayLeft = Button1->x() + Button1->width() + 3;
    const int displayRight = fitGroup(GroupBox2, {GridCKB, InvertCkB, ColorCkB}, displayLeft);
    fitGroup(GroupBox1, {ZerosCkB, CursorHCkB, CursorVCkB}, displayRight + 1);
    // The widest entry any timebase offers.
    const int zoomWidth = std::max(Zoom_TB->width(), comboWidthFor(*Zoom_TB, "1 : 2.5"));
    Zoom_TB->setGeometry(PrintBtn->x() - 4 - zoomWidth, Zoom_TB->y(), zoomWidth, Zoom_TB->height());
    FollowCB->move(Zoom_TB->x() - 6 - FollowCB->width(), (Panel1->height() - FollowCB->height()) / 2);
    // The cursor group gives up what it does not need of its designed width.
    const int cursorRoom = FollowCB->x() - 4 - GroupBox1->x();
    GroupBox1->resize(
        std::max(GroupBox1->minimumSizeHint().width(), std::min(GroupBox1->width(), cursorRoom)),
        GroupBox1->height());
}

void TMDIChild_Scope::connectControls() {
    connect(ComboBox1, &QComboBox::activated, this, &TMDIChild_Scope::ComboBox1Change);
    connect(Button1, &QPushButton::clicked, this, &TMDIChild_Scope::ComboBox1Change);
    for (QCheckBox* box : {GridCKB, InvertCkB, ZerosCkB, CursorHCkB, CursorVCkB})
        connect(box, &QCheckBox::toggled, this, &TMDIChild_Scope::RefreshScreen);
    connect(ColorCkB, &QCheckBox::toggled, this, &TMDIChild_Scope::ColorCkBClick);
    connect(Zoom_TB, &QComboBox::activated, this, &TMDIChild_Scope::Zoom_TBChange);
    connect(SigOff_ScrollBar, &QScrollBar::valueChanged, this, &TMDIChild_Scope::SigOff_ScrollBarChange);
    connect(PrintBtn, &QPushButton::clicked, this, [this] { PrintBtnClick(PrintBtn); });
}

ScopeView TMDIChild_Scope::view() const {
    return {GridCKB->isChecked(), ZerosCkB->isChecked(), CursorHCkB->isChecked(), CursorVCkB->isChecked(),
            SigOff_ScrollBar->value()};
}

const QImage& TMDIChild_Scope::screenImage() {
    return ScreenPB->picture();
}

void TMDIChild_Scope::RefreshScreen() {
    ScreenPB->invalidate();
}

void TMDIChild_Scope::ColorCkBClick() {
    InvertCkB->setEnabled(ColorCkB->isChecked());
    if (!ColorCkB->isChecked())
        InvertCkB->setChecked(false);
    RefreshScreen();
}

void TMDIChild_Scope::ComboBox1Enter() {
    ComboBox1->refill();
}

void TMDIChild_Scope::ComboBox1Change() {
    // A display closed since the list was built, or one of another kind, is no source.
    const auto source = m_host.findDataFace(ComboBox1->chosen());
    if (!source || !source->record.HasShot)
        return;
    loadShot(source->record);
}

void TMDIChild_Scope::loadShot(const ShotRecord& source) {
    m_loaded = true;
    copyShot(source, state);
    // The position is kept, or brought down to the new maximum.
    SigOff_ScrollBar->setRange(0, scrollMaximum(state.TimebaseIndex, state.SamplesPerPixel));
    fillZoomBox();
    RefreshScreen();
}

void TMDIChild_Scope::followShot(const ShotRecord& source) {
    const bool loaded = m_loaded;
    const int timebase = state.TimebaseIndex;
    const int samplesPerPixel = state.SamplesPerPixel;
    const int zoom = Zoom_TB->currentIndex();
    const int scroll = SigOff_ScrollBar->value();
    loadShot(source);
    if (loaded && state.TimebaseIndex == timebase) {
        state.SamplesPerPixel = samplesPerPixel;
        Zoom_TB->setCurrentIndex(zoom);
        SigOff_ScrollBar->setRange(0, scrollMaximum(state.TimebaseIndex, state.SamplesPerPixel));
    }
    SigOff_ScrollBar->setValue(scroll);
    RefreshScreen();
}

void TMDIChild_Scope::sourceShotTaken(const QString& caption) {
    if (!FollowCB->follows(*ComboBox1, caption))
        return;
    if (const auto source = m_host.findDataFace(caption); source && source->record.HasShot)
        followShot(source->record);
}

void TMDIChild_Scope::quickPrint(int mode, const QuickPrintOptions& options, const DataDisplayFace& data) {
    state.PrintKind = mode;
    // The last quick-print Data display the list offers is the one shown.
    ComboBox1->refill();
    for (int i = ComboBox1->count() - 1; i >= 0; --i)
        if (ComboBox1->itemText(i).startsWith("QP_D")) {
            ComboBox1->setCurrentIndex(i);
            break;
        }
    GridCKB->setChecked(options.Grid);
    ColorCkB->setChecked(options.Color);
    InvertCkB->setChecked(options.Invert);
    if (data.record.HasShot)
        loadShot(data.record);
    RefreshScreen();
    if (mode < kQuickExportMode)
        PrintBtnClick();
}

void TMDIChild_Scope::fillZoomBox() {
    const QString text = Zoom_TB->currentText();
    Zoom_TB->clear();
    const std::optional<ZoomRow> row = zoomRow(state.TimebaseIndex);
    if (!row) {
        Zoom_TB->setEditText(text);
        return;
    }
    for (std::string_view entry : row->entries)
        Zoom_TB->addItem(QString::fromUtf8(entry.data(), qsizetype(entry.size())));
    state.ZoomFactor = row->factors;
    // The shot's own zoom step names the entry; one the box does not offer names
    // none, and the box stays blank rather than show a ratio the trace is not at.
    // Showing it is no choice: the samples per pixel stay as the shot has them.
    const bool offered = state.ZoomIndex >= 0 && state.ZoomIndex < Zoom_TB->count();
    Zoom_TB->setCurrentIndex(offered ? state.ZoomIndex : -1);
}

void TMDIChild_Scope::Zoom_TBChange(int index) {
    if (index < 0 || index >= int(state.ZoomFactor.size()))
        return;
    state.SamplesPerPixel = state.ZoomFactor[std::size_t(index)];
    SigOff_ScrollBar->setRange(0, scrollMaximum(state.TimebaseIndex, state.SamplesPerPixel));
    RefreshScreen();
}

void TMDIChild_Scope::SigOff_ScrollBarChange() {
    RefreshScreen();
}

} // namespace kavlon
