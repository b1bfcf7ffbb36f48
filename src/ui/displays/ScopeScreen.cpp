#include "ui/displays/ScopeScreen.h"

#include <QPainter>

#include <cstring>

namespace kavlon {

ScopeScreen::ScopeScreen(Drawing drawing, QWidget* parent)
    : QWidget(parent), m_drawing(std::move(drawing)),
      m_image(ScopeCanvas::kWidth, ScopeCanvas::kHeight, QImage::Format_Indexed8) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(ScopeCanvas::kWidth, ScopeCanvas::kHeight);
}

void ScopeScreen::invalidate() {
    m_stale = true;
    update();
}

const QImage& ScopeScreen::picture() {
    if (!m_stale)
        return m_image;
    const ScopeColours colours = m_drawing(m_canvas);
    for (int y = 0; y < ScopeCanvas::kHeight; ++y)
        std::memcpy(m_image.scanLine(y), m_canvas.row(y), ScopeCanvas::kWidth);
    QList<QRgb> table;
    for (std::uint32_t rgb : scopePalette(colours))
        table.append(0xFF000000u | rgb);
    m_image.setColorTable(table);
    m_stale = false;
    return m_image;
}

void ScopeScreen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture());
}

} // namespace kavlon
