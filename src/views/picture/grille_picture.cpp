#include "grille_picture.h"

#include "widgets/twips.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Nearest pixel, halves away from zero. Far-off coordinates are held to a
// range that still lies well outside the picture, so that the conversion to
// int stays defined.
int ToPixel(float twips) {
    const double limit = 1e6;
    const double px = std::clamp(static_cast<double>(twips) / TwipsPerPixel, -limit, limit);
    return static_cast<int>(std::lround(px));
}

} // namespace

GrillePicture::GrillePicture(QWidget* parent) : QFrame(parent) {
    // A two-pixel sunken border, like the classic three-dimensional picture box.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    // Like the classic picture box it stands in for, it takes the focus.
    // Set here, before any tab order is made: Qt leaves a widget without a
    // focus policy out of the links that setTabOrder makes.
    setFocusPolicy(Qt::StrongFocus);
}

float GrillePicture::OuterWidthTwips() const {
    return static_cast<float>(width() * TwipsPerPixel);
}

float GrillePicture::OuterHeightTwips() const {
    return static_cast<float>(height() * TwipsPerPixel);
}

void GrillePicture::SetDrawing(std::vector<drawing::Bar> bars) {
    if (bars == bars_)
        return;
    bars_ = std::move(bars);
    update();
}

QRect GrillePicture::PixelBox(const drawing::Bar& bar) const {
    const QPoint origin = contentsRect().topLeft();
    const int x1 = ToPixel(bar.x1), x2 = ToPixel(bar.x2);
    const int y1 = ToPixel(bar.y1), y2 = ToPixel(bar.y2);
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                 QPoint(std::max(x1, x2), std::max(y1, y2)))
        .translated(origin);
}

void GrillePicture::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    // Each bar is drawn as the outline of its box, one pixel wide; a box two
    // pixels thin or less is solid anyway.
    for (const drawing::Bar& bar : bars_) {
        const QRect box = PixelBox(bar);
        if (!box.intersects(event->rect()))
            continue;
        const int l = box.left(), t = box.top(), r = box.right(), b = box.bottom();
        painter.fillRect(QRect(l, t, r - l + 1, 1), Qt::black);
        painter.fillRect(QRect(l, b, r - l + 1, 1), Qt::black);
        painter.fillRect(QRect(l, t, 1, b - t + 1), Qt::black);
        painter.fillRect(QRect(r, t, 1, b - t + 1), Qt::black);
    }
}
