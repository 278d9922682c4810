#pragma once

#include "drawing/grille_geometry.h"

#include <QFrame>
#include <QRect>

#include <vector>

// The picture box into which the current grille is drawn. It keeps the bars of
// its last drawing and paints them itself, so the drawing survives the window
// being covered and uncovered.
//
// Coordinates are twips from the top left corner of the area inside the
// sunken border, 15 twips to a logical pixel, each rounded to the nearest
// pixel. The scale is taken from the outer size, border included.
class GrillePicture : public QFrame {
    Q_OBJECT
public:
    explicit GrillePicture(QWidget* parent = nullptr);

    float OuterWidthTwips() const;
    float OuterHeightTwips() const;

    // Clears the picture and keeps `bars` as its drawing. Asks for a repaint
    // only when that changes what the picture shows, so that drawing from a
    // paint handler cannot start a paint loop.
    void SetDrawing(std::vector<drawing::Bar> bars);
    void Clear() { SetDrawing({}); }
    const std::vector<drawing::Bar>& Bars() const { return bars_; }

    // The pixels a bar covers in widget coordinates, both ends included.
    QRect PixelBox(const drawing::Bar& bar) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<drawing::Bar> bars_;
};
