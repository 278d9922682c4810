#pragma once

#include "optimize/cutting.h"

#include <QRectF>
#include <QWidget>

class QPainter;

// One way of cutting a bar drawn to scale: the pieces in turn, each labelled
// with its length where there is room, the leftover hatched.
void PaintBar(QPainter& painter, const QRectF& box, const cutting::Pattern& pattern, int kerf);

// A table cell that draws one way of cutting a bar.
class BarPicture : public QWidget {
public:
    BarPicture(const cutting::Pattern& pattern, int kerf) : pattern_(pattern), kerf_(kerf) {}

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    cutting::Pattern pattern_;
    int kerf_;
};
