#include "plan_print.h"

#include "bar_picture.h"
#include "plan_texts.h"
#include "widgets/twips.h"

#include <QPainter>

namespace {

// Twips: the printable width of A4 with margins, a text line, a bar picture.
constexpr double PageWidth = 11000;
constexpr double LineHeight = 300;
constexpr double BarHeight = 360;
constexpr int HeadLines = 5;

} // namespace

PrintJob PlanPrintJob(const PlanValue& value) {
    const cutting::Plan& plan = value.result.plan;
    const QStringList head = {SettingsText(value.settings), TotalsText(plan), PurchasesText(plan),
                              LeftoversText(plan, value.settings.minUseful), StatusText(value)};
    PrintJob job;
    job.title = QStringLiteral("Раскрой");
    job.suggestedFileName = QStringLiteral("Раскрой.pdf");
    const double rowHeight = 2 * LineHeight + BarHeight + 120;
    const double top = (HeadLines + 1) * LineHeight;
    job.size = QSizeF(PageWidth, top + rowHeight * static_cast<double>(plan.patterns.size()));
    for (size_t k = 1; k <= plan.patterns.size(); ++k)
        job.breaks.push_back(top + rowHeight * static_cast<double>(k));
    const int kerf = value.settings.kerf;
    job.paint = [head, plan, kerf, top, rowHeight](QPainter& p, const QRectF&) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(9);
        p.setFont(FontInTwips(font));
        for (int k = 0; k < head.size(); ++k)
            p.drawText(QPointF(0, (k + 1) * LineHeight), head[k]);
        double y = top;
        for (const cutting::Pattern& pattern : plan.patterns) {
            p.drawText(QPointF(0, y + LineHeight), QStringLiteral("%1 × %2: %3, остаток %4 мм")
                                                       .arg(SourceText(pattern))
                                                       .arg(pattern.count)
                                                       .arg(LengthsText(pattern))
                                                       .arg(pattern.offcut));
            p.drawText(QPointF(0, y + 2 * LineHeight),
                       QStringLiteral("Решетки: %1").arg(GrillesText(pattern)));
            PaintBar(p, QRectF(0, y + 2 * LineHeight + 60, PageWidth, BarHeight), pattern, kerf);
            y += rowHeight;
        }
    };
    return job;
}
