#pragma once

#include "core/scope/ScopeCanvas.h"
#include "core/scope/ScopeDrawing.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace kavlon {

// The paint box of a Scope display. It keeps the last picture and shows it on every
// paint event; the picture is drawn again only after invalidate(), once, when it is
// next needed, so a burst of changes costs one drawing.
class ScopeScreen : public QWidget {
    Q_OBJECT
public:
    // Draws the whole picture onto the canvas and says which colours it is seen in.
    using Drawing = std::function<ScopeColours(ScopeCanvas&)>;

    ScopeScreen(Drawing drawing, QWidget* parent);

    // Something the picture shows has changed.
    void invalidate();
    // The picture as it is shown, drawn first when out of date.
    const QImage& picture();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Drawing m_drawing;
    ScopeCanvas m_canvas;
    QImage m_image;
    bool m_stale = true;
};

} // namespace kavlon
