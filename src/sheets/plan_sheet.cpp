#include "plan_sheet.h"

#include <algorithm>
#include <charconv>

namespace sheets {
namespace {

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : separator) + part;
    return text;
}

Section PatternsSection(const cutting::Plan& plan, int minUseful) {
    Section patterns;
    patterns.header = {"Количество, шт", "Из",      "Длина, мм", "Резы",
                       "Остаток, мм",    "Остаток", "Решётки"};
    for (const cutting::Pattern& p : plan.patterns)
        patterns.rows.push_back({Integer(p.count), Text(p.onHand ? "обрезок" : "плеть"),
                                 Integer(p.stock), Text(CutsText(p)), Integer(p.offcut),
                                 Text(LeftoverText(p.offcut, minUseful)), Text(GrillesText(p))});
    return patterns;
}

Section PurchasesSection(const cutting::Plan& plan) {
    Section buy{"Купить", {"Длина, мм", "Количество, шт", "Всего, мм"}, {}};
    for (const cutting::Bars& b : plan.purchases)
        buy.rows.push_back({Integer(b.length), Integer(b.count),
                            Integer(static_cast<long long>(b.length) * b.count)});
    buy.rows.push_back({Text("Итого"), Integer(plan.bars), Integer(plan.boughtLength)});
    return buy;
}

Section LeftoversSection(const cutting::Plan& plan) {
    Section leftovers{"Остатки", {"Длина, мм", "Количество, шт", "Куда"}, {}};
    for (const cutting::Bars& b : plan.keep)
        leftovers.rows.push_back({Integer(b.length), Integer(b.count), Text("в запас")});
    for (const cutting::Bars& b : plan.scrap)
        leftovers.rows.push_back({Integer(b.length), Integer(b.count), Text("в отход")});
    return leftovers;
}

Section FiguresSection(const cutting::Plan& plan) {
    // to_chars ignores the C locale, which Qt sets from the environment.
    char buffer[64];
    std::string waste(buffer, std::to_chars(buffer, buffer + sizeof buffer, plan.wastePercent,
                                            std::chars_format::fixed, 1)
                                  .ptr);
    std::replace(waste.begin(), waste.end(), '.', ',');
    Section figures{"Итог", {"Показатель", "Значение"}, {}};
    const auto add = [&](const char* name, Cell value) {
        figures.rows.push_back({Text(name), std::move(value)});
    };
    add("Купить плетей, шт", Integer(plan.bars));
    add("Купить, мм", Integer(plan.boughtLength));
    add("Обрезков со склада, шт", Integer(plan.offcutsUsed));
    add("Длина деталей, мм", Integer(plan.piecesLength));
    add("Отход, %", Rounded(plan.wastePercent, 1, waste));
    add("Нижняя граница, плетей", Integer(plan.lowerBound));
    add("Нижняя граница, мм", Integer(plan.lowerBoundLength));
    add("Разница с границей, мм", Integer(plan.boughtLength - plan.lowerBoundLength));
    add("Результат", Text(plan.optimal ? "оптимально" : "не доказано"));
    return figures;
}

} // namespace

std::string CutsText(const cutting::Pattern& pattern) {
    std::vector<std::string> parts;
    const std::vector<int>& lengths = pattern.lengths;
    for (size_t k = 0; k < lengths.size();) {
        size_t same = k;
        while (same < lengths.size() && lengths[same] == lengths[k])
            ++same;
        const std::string length = std::to_string(lengths[k]);
        parts.push_back(same - k > 1 ? length + " × " + std::to_string(same - k) : length);
        k = same;
    }
    return Joined(parts, " + ");
}

std::string GrillesText(const cutting::Pattern& pattern) {
    std::vector<int> seen;
    for (const auto& bar : pattern.bars)
        for (const cutting::Piece& piece : bar)
            seen.push_back(piece.grille);
    std::sort(seen.begin(), seen.end());
    seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
    std::vector<std::string> parts;
    for (int g : seen)
        parts.push_back(std::to_string(g));
    return Joined(parts, ", ");
}

std::string SourceText(const cutting::Pattern& pattern) {
    return (pattern.onHand ? "обрезок " : "плеть ") + std::to_string(pattern.stock);
}

std::string LeftoverText(int leftover, int minUseful) {
    if (leftover <= 0)
        return {};
    return leftover >= minUseful ? "в запас" : "в отход";
}

Sheet PlanSheet(const cutting::Plan& plan, const cutting::Settings& settings) {
    return {"Раскрой",
            {PatternsSection(plan, settings.minUseful), PurchasesSection(plan),
             LeftoversSection(plan), FiguresSection(plan)}};
}

} // namespace sheets
