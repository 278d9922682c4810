#include "plan_print.h"

#include "saw_sheet.h"

#include <QPainter>

namespace {

// Twips: the outlines, the spacing of the hatching on a leftover and the
// white ground left and right of a text on it.
constexpr double LineWidth = 12;
constexpr double HatchStep = 90;
constexpr double TextGround = 40;

const QColor PieceColour(200, 220, 240);
const QColor HatchColour(140, 140, 140);

void Hatch(QPainter& p, const QRectF& box) {
    p.save();
    p.setClipRect(box, Qt::IntersectClip);
    p.setPen(QPen(HatchColour, LineWidth));
    for (double x = box.left() - box.height(); x < box.right(); x += HatchStep)
        p.drawLine(QPointF(x, box.bottom()), QPointF(x + box.height(), box.top()));
    p.restore();
}

void PaintBar(QPainter& p, const SheetBar& bar) {
    p.setPen(QPen(Qt::black, LineWidth));
    p.setBrush(Qt::NoBrush);
    p.drawRect(bar.tick);
    for (const SheetPiece& piece : bar.pieces)
        p.fillRect(piece.box, PieceColour);
    if (!bar.leftover.isEmpty())
        Hatch(p, bar.leftover);
    for (const SheetPiece& piece : bar.pieces)
        p.drawRect(piece.box);
    p.drawRect(bar.bar);
}

void PaintSheet(QPainter& p, const SawSheet& sheet) {
    p.save();
    for (const SheetBar& bar : sheet.bars)
        PaintBar(p, bar);
    p.setPen(Qt::black);
    for (const SheetText& text : sheet.texts) {
        p.setFont(SheetFont(text.style));
        const int align = static_cast<int>(text.align);
        if (text.opaque) {
            const QRectF ground = p.boundingRect(text.box, align, text.text);
            p.fillRect(ground.adjusted(-TextGround, 0, TextGround, 0), Qt::white);
        }
        p.drawText(text.box, align, text.text);
    }
    p.restore();
}

} // namespace

PrintJob PlanPrintJob(const PlanValue& value, const QString& orderNumber, const QDate& date) {
    const SawSheet sheet = LayOutSawSheet(value, orderNumber, date);
    PrintJob job;
    job.title = QStringLiteral("Карта раскроя");
    job.suggestedFileName = orderNumber.trimmed().isEmpty()
                                ? QStringLiteral("Раскрой.pdf")
                                : QStringLiteral("Раскрой %1.pdf").arg(orderNumber.trimmed());
    job.size = QSizeF(SawSheetWidth, sheet.height);
    job.breaks = sheet.breaks;
    job.paint = [sheet](QPainter& p, const QRectF&) { PaintSheet(p, sheet); };
    return job;
}
