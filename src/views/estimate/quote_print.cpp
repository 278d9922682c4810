#include "quote_print.h"

#include "drawing/grille_geometry.h"
#include "estimate/estimate_text.h"
#include "widgets/twips.h"

#include <QPainter>

namespace {

// Twips: the printable width of A4 with margins, a text line, the box each
// grille is drawn in and the room its dimension lines take.
constexpr double PageWidth = 11000;
constexpr double LineHeight = 300;
constexpr float PictureWidth = 6000;
constexpr float PictureHeight = 3600;
constexpr double DimensionGap = 250;
constexpr double HeadHeight = 4 * LineHeight;
constexpr double BlockHeight = 2 * LineHeight + PictureHeight + 2 * DimensionGap + LineHeight;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The box the bars take, in the picture's twips.
QRectF Extent(const std::vector<drawing::Bar>& bars) {
    QRectF extent;
    for (const drawing::Bar& b : bars)
        extent |= QRectF(QPointF(b.x1, b.y1), QPointF(b.x2, b.y2)).normalized();
    return extent;
}

// A dimension line from `a` to `b` with ticks at both ends and its text in
// the middle, on the outer side.
void PaintDimension(QPainter& p, QPointF a, QPointF b, const QString& text) {
    const QPointF along = b - a;
    const QPointF tick = along.x() != 0 ? QPointF(0, 60) : QPointF(60, 0);
    p.drawLine(a, b);
    p.drawLine(a - tick, a + tick);
    p.drawLine(b - tick, b + tick);
    const QPointF middle = (a + b) / 2;
    p.save();
    p.translate(middle);
    if (along.x() == 0)
        p.rotate(-90);
    p.drawText(QRectF(-1500, -LineHeight - 20, 3000, LineHeight), Qt::AlignCenter, text);
    p.restore();
}

void PaintGrille(QPainter& p, const model::Order& built, int i, QPointF at) {
    const drawing::GrilleDrawing drawing =
        drawing::PlanGrille(built, i, PictureWidth, PictureHeight);
    p.save();
    p.translate(at);
    p.setBrush(Qt::NoBrush);
    for (const drawing::Bar& b : drawing.bars)
        p.drawRect(QRectF(QPointF(b.x1, b.y1), QPointF(b.x2, b.y2)).normalized());
    const QRectF extent = Extent(drawing.bars);
    if (!extent.isEmpty()) {
        const model::Grille& g = built.GrilleAt(i);
        const double below = extent.bottom() + DimensionGap;
        const double right = extent.right() + DimensionGap;
        PaintDimension(p, {extent.left(), below}, {extent.right(), below},
                       QStringLiteral("%1 мм").arg(g.B));
        PaintDimension(p, {right, extent.bottom()}, {right, extent.top()},
                       QStringLiteral("%1 мм").arg(g.H));
    }
    p.restore();
}

} // namespace

PrintJob QuoteJob(const model::Order& built, const QString& orderNumber,
                  const estimate::OrderEstimate& estimate, const QDate& date) {
    const int grilles = static_cast<int>(estimate.grilles.size());
    PrintJob job;
    job.title = QStringLiteral("Коммерческое предложение");
    job.suggestedFileName = QStringLiteral("Коммерческое предложение %1.pdf").arg(orderNumber);
    job.size = QSizeF(PageWidth, HeadHeight + BlockHeight * grilles + 2 * LineHeight);
    for (int k = 1; k <= grilles; ++k)
        job.breaks.push_back(HeadHeight + BlockHeight * k);
    const QString heading = QStringLiteral("Заказ № %1 от %2")
                                .arg(orderNumber, date.toString(QStringLiteral("dd.MM.yyyy")));
    job.paint = [built, estimate, heading, grilles](QPainter& p, const QRectF&) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(14);
        font.setBold(true);
        p.setFont(FontInTwips(font));
        p.drawText(QPointF(0, 2 * LineHeight), QStringLiteral("Коммерческое предложение"));
        font.setPointSizeF(10);
        font.setBold(false);
        p.setFont(FontInTwips(font));
        p.drawText(QPointF(0, 3 * LineHeight), heading);
        for (int i = 1; i <= grilles; ++i) {
            const double top = HeadHeight + BlockHeight * (i - 1);
            const model::Grille& g = built.GrilleAt(i);
            const estimate::GrilleEstimate& e = estimate.grilles[static_cast<size_t>(i - 1)];
            p.drawText(QPointF(0, top + LineHeight),
                       QStringLiteral("Решетка №%1: %2 × %3 мм, шагов %4, цена %5")
                           .arg(i)
                           .arg(g.B)
                           .arg(g.H)
                           .arg(g.n)
                           .arg(Q(estimate::MoneyText(e.price))));
            PaintGrille(p, built, i, QPointF(0, top + 2 * LineHeight));
        }
        p.drawText(QPointF(0, HeadHeight + BlockHeight * grilles + LineHeight),
                   QStringLiteral("Итого: %1").arg(Q(estimate::MoneyText(estimate.price))));
    };
    return job;
}
