#include "plan_texts.h"

#include "sheets/plan_sheet.h"

#include <QDate>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <map>

namespace {

// One stock length only and no offcuts: the bound counts bars.
bool SingleStock(const cutting::Settings& settings) {
    return settings.stocks.size() <= 1 && settings.offcuts.empty();
}

QString BarsList(const std::vector<cutting::Bars>& bars) {
    QStringList parts;
    for (const cutting::Bars& b : bars)
        parts << QStringLiteral("%1 мм × %2").arg(b.length).arg(b.count);
    return parts.join(QStringLiteral(", "));
}

} // namespace

// The words of a pattern are the plan sheet's, so the window, the printed
// plan and the workbook say the same.
QString LengthsText(const cutting::Pattern& pattern) {
    return QString::fromStdString(sheets::CutsText(pattern));
}

QString GrillesText(const cutting::Pattern& pattern) {
    return QString::fromStdString(sheets::GrillesText(pattern));
}

QString SourceText(const cutting::Pattern& pattern) {
    return QString::fromStdString(sheets::SourceText(pattern));
}

QString PatternText(const cutting::Pattern& pattern) {
    return QStringLiteral("%1 × %2: %3, остаток %4 мм")
        .arg(SourceText(pattern))
        .arg(pattern.count)
        .arg(LengthsText(pattern))
        .arg(pattern.offcut);
}

QString SettingsText(const cutting::Settings& s) {
    const QString cuts = QStringLiteral("рез %1 мм, обрезка %2 мм").arg(s.kerf).arg(s.trim);
    if (SingleStock(s))
        return QStringLiteral("Раскрой плетей длиной %1 мм (%2)")
            .arg(s.stocks.empty() ? s.stock : s.stocks.front().length)
            .arg(cuts);
    QStringList stock;
    for (const cutting::StockBar& bar : s.stocks)
        stock << (bar.count == cutting::Unlimited
                      ? QStringLiteral("%1 мм без ограничения").arg(bar.length)
                      : QStringLiteral("%1 мм × %2").arg(bar.length).arg(bar.count));
    QStringList offcuts;
    for (const cutting::Offcut& offcut : s.offcuts)
        offcuts << QStringLiteral("%1 мм × %2").arg(offcut.length).arg(offcut.count);
    QString text = QStringLiteral("Раскрой: плети %1").arg(stock.join(QStringLiteral(", ")));
    if (!offcuts.isEmpty())
        text += QStringLiteral("; обрезки на складе %1").arg(offcuts.join(QStringLiteral(", ")));
    return text + QStringLiteral(" (%1)").arg(cuts);
}

QString TotalsText(const cutting::Plan& plan) {
    QString text = QStringLiteral("Плетей: %1, общая длина %2 мм, отход %3 %")
                       .arg(plan.bars)
                       .arg(plan.boughtLength)
                       .arg(plan.wastePercent, 0, 'f', 1);
    if (plan.offcutsUsed > 0)
        text += QStringLiteral(", обрезков со склада: %1").arg(plan.offcutsUsed);
    return text;
}

QString PurchasesText(const cutting::Plan& plan) {
    return plan.purchases.empty() ? QStringLiteral("Купить: ничего")
                                  : QStringLiteral("Купить: %1").arg(BarsList(plan.purchases));
}

QString LeftoversText(const cutting::Plan& plan, int minUseful) {
    const QString keep = plan.keep.empty() ? QStringLiteral("нет") : BarsList(plan.keep);
    const QString scrap = plan.scrap.empty() ? QStringLiteral("нет") : BarsList(plan.scrap);
    return QStringLiteral("Деловые остатки (от %1 мм): %2; в отход: %3")
        .arg(minUseful)
        .arg(keep, scrap);
}

QString StatusText(const PlanValue& value) {
    const cutting::Plan& plan = value.result.plan;
    QString text;
    if (plan.optimal)
        text = QStringLiteral("оптимально");
    else if (SingleStock(value.settings))
        text = QStringLiteral("не доказано: нижняя граница %1, разница %2 плет.")
                   .arg(plan.lowerBound)
                   .arg(plan.bars - plan.lowerBound);
    else
        text = QStringLiteral("не доказано: нижняя граница %1 мм, разница %2 мм")
                   .arg(plan.lowerBoundLength)
                   .arg(plan.boughtLength - plan.lowerBoundLength);
    if (value.stopped && !plan.optimal)
        text = QStringLiteral("остановлено, лучший найденный раскрой; ") + text;
    return text;
}

QString SheetHeading(const QString& orderNumber, const QDate& date) {
    const QString day = date.toString(QStringLiteral("dd.MM.yyyy"));
    if (orderNumber.trimmed().isEmpty())
        return QStringLiteral("Карта раскроя, %1").arg(day);
    return QStringLiteral("Карта раскроя — заказ № %1, %2").arg(orderNumber.trimmed(), day);
}

QString GrilleLabel(int grille) {
    return QStringLiteral("реш. %1").arg(grille);
}

QString PieceText(const cutting::Piece& piece) {
    return QStringLiteral("%1 (%2)").arg(piece.length).arg(GrilleLabel(piece.grille));
}

QString LeftoverNote(int leftover, int minUseful) {
    if (leftover <= 0)
        return QString();
    return QStringLiteral("остаток %1 мм — %2")
        .arg(leftover)
        .arg(QString::fromStdString(sheets::LeftoverText(leftover, minUseful)));
}

QStringList StopTexts(const cutting::Plan& plan) {
    // Pieces per length, longest first, and per grille within each length.
    std::map<int, std::map<int, int>, std::greater<>> pieces;
    for (const cutting::Pattern& pattern : plan.patterns)
        for (const auto& bar : pattern.bars)
            for (const cutting::Piece& piece : bar)
                ++pieces[piece.length][piece.grille];
    QStringList lines;
    for (const auto& [length, grilles] : pieces) {
        int total = 0;
        QStringList parts;
        for (const auto& [grille, count] : grilles) {
            total += count;
            parts << QStringLiteral("%1 × %2").arg(GrilleLabel(grille)).arg(count);
        }
        lines << QStringLiteral("%1 мм — %2 шт. (%3)")
                     .arg(length)
                     .arg(total)
                     .arg(parts.join(QStringLiteral(", ")));
    }
    return lines;
}
