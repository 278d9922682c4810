#include "bar_picture.h"

#include <QPainter>

void PaintBar(QPainter& p, const QRectF& r, const cutting::Pattern& pattern, int kerf) {
    p.save();
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    const double scale = r.width() / std::max(pattern.stock, 1);
    double x = r.left();
    for (int length : pattern.lengths) {
        const QRectF piece(x, r.top(), length * scale, r.height());
        p.fillRect(piece, QColor(200, 220, 240));
        p.drawRect(piece);
        const QString text = QString::number(length);
        if (p.fontMetrics().horizontalAdvance(text) < piece.width())
            p.drawText(piece, Qt::AlignCenter, text);
        x += (length + kerf) * scale;
    }
    if (x < r.right())
        p.fillRect(QRectF(x, r.top(), r.right() - x, r.height()),
                   QBrush(Qt::gray, Qt::BDiagPattern));
    p.restore();
}

void BarPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintBar(p, QRectF(rect()).adjusted(2, 3, -3, -4), pattern_, kerf_);
}
