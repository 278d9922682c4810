#include "cutting.h"

#include "colgen.h"
#include "packing.h"

#include <algorithm>
#include <deque>
#include <map>
#include <string>

namespace cutting {

namespace {

// Longer bars are not sold, and the solver works over every millimetre of one.
constexpr int MaxStock = 100000;
constexpr long long MaxPieces = 10000;

std::string Num(long long v) {
    return std::to_string(v);
}

std::string ItemName(const CutItem& item) {
    return "Решетка №" + Num(item.grille) + ", " + KindName(item.kind) + " пруток";
}

int Usable(const Settings& s) {
    return s.stock - 2 * s.trim;
}

using detail::Clock;

detail::Packing BetterOf(const detail::Instance& in, detail::Packing best,
                         detail::Packing candidate) {
    if (!candidate.empty() && (best.empty() || candidate.size() < best.size()) &&
        detail::IsValidPacking(in, candidate))
        return candidate;
    return best;
}

constexpr long long FullestFillTable = 4000000;

struct Solution {
    detail::Packing packing;
    int lowerBound = 0;
};

Solution Solve(const detail::Instance& in, double timeLimit) {
    const auto start = Clock::now();
    const auto budget = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(std::max(timeLimit, 0.0)));
    const auto deadline = start + budget;
    Solution s;
    s.lowerBound = std::max(detail::BoundBySize(in), detail::BoundMartelloToth(in));
    s.packing = BetterOf(in, detail::FirstFitDecreasing(in), detail::BestFitDecreasing(in));
    auto gap = [&] { return static_cast<int>(s.packing.size()) > s.lowerBound; };

    // Its table holds every length of the bar for every size, rebuilt for each bar.
    if (gap() && static_cast<long long>(in.capacity) * in.types() <= FullestFillTable)
        s.packing = BetterOf(in, s.packing, detail::FullestFill(in, 3, 1u, start + budget / 10));
    if (gap()) {
        // A short search for a packing that meets the bound often settles the
        // matter before the relaxation is worth its price.
        bool exhausted = false;
        s.packing = BetterOf(
            in, s.packing, detail::SearchPacking(in, s.lowerBound, start + budget / 10, exhausted));
        if (gap() && exhausted)
            ++s.lowerBound;
    }
    if (gap()) {
        // The pattern relaxation's bound, and a dive into it for a packing
        // that meets the bound. The search below keeps the last third of the
        // time: where the relaxation is too slow to guide a dive, it often
        // still saves a bar or two.
        detail::CloseGap(in, s.packing, s.lowerBound, Stop(deadline - budget / 3));
    }
    while (gap() && Clock::now() < deadline) {
        bool exhausted = false;
        const int bars = static_cast<int>(s.packing.size());
        detail::Packing found = detail::SearchPacking(in, bars - 1, deadline, exhausted);
        if (!found.empty())
            s.packing = BetterOf(in, s.packing, std::move(found));
        else if (exhausted)
            s.lowerBound = bars;
        else
            break;
    }
    s.lowerBound = std::min(s.lowerBound, static_cast<int>(s.packing.size()));
    return s;
}

Plan MakePlan(const std::vector<CutItem>& items, const Settings& settings,
              const std::vector<int>& lengths, const Solution& solution) {
    // Pieces of one length wait in grille order, so that consecutive bars
    // serve the same grille where they can.
    std::vector<std::deque<Piece>> waiting(lengths.size());
    std::vector<CutItem> sorted = items;
    std::stable_sort(sorted.begin(), sorted.end(), [](const CutItem& a, const CutItem& b) {
        return a.grille < b.grille || (a.grille == b.grille && a.kind < b.kind);
    });
    for (const CutItem& item : sorted) {
        const auto at = std::find(lengths.begin(), lengths.end(), item.length);
        auto& queue = waiting[static_cast<size_t>(at - lengths.begin())];
        for (int k = 0; k < item.count; ++k)
            queue.push_back({item.grille, item.kind, item.length});
    }

    std::map<detail::Bar, int> counts;
    for (const detail::Bar& bar : solution.packing)
        ++counts[bar];
    std::vector<std::pair<detail::Bar, int>> groups(counts.begin(), counts.end());
    std::stable_sort(groups.begin(), groups.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });

    Plan plan;
    const int usable = Usable(settings);
    for (const auto& [bar, count] : groups) {
        Pattern pattern;
        pattern.count = count;
        long long used = 0;
        for (size_t i = 0; i < bar.size(); ++i)
            for (int k = 0; k < bar[i]; ++k) {
                pattern.lengths.push_back(lengths[i]);
                used += lengths[i] + settings.kerf;
            }
        pattern.offcut = static_cast<int>(std::max(0LL, usable - used));
        for (int b = 0; b < count; ++b) {
            std::vector<Piece> pieces;
            for (int length : pattern.lengths) {
                const auto at = std::find(lengths.begin(), lengths.end(), length);
                auto& queue = waiting[static_cast<size_t>(at - lengths.begin())];
                pieces.push_back(queue.front());
                queue.pop_front();
                plan.piecesLength += length;
            }
            pattern.bars.push_back(std::move(pieces));
        }
        plan.bars += count;
        plan.patterns.push_back(std::move(pattern));
    }
    plan.boughtLength = static_cast<long long>(plan.bars) * settings.stock;
    if (plan.boughtLength > 0)
        plan.wastePercent = 100.0 * static_cast<double>(plan.boughtLength - plan.piecesLength) /
                            static_cast<double>(plan.boughtLength);
    plan.lowerBound = solution.lowerBound;
    plan.optimal = plan.bars == plan.lowerBound;
    return plan;
}

} // namespace

const char* KindName(PieceKind kind) {
    return kind == PieceKind::Horizontal ? "горизонтальный" : "вертикальный";
}

std::string CheckInput(const std::vector<CutItem>& items, const Settings& s) {
    if (s.stock <= 0)
        return "Длина плети должна быть положительным числом миллиметров.";
    if (s.stock > MaxStock)
        return "Длина плети " + Num(s.stock) + " мм слишком велика: допускается не более " +
               Num(MaxStock) + " мм.";
    if (s.kerf < 0)
        return "Ширина реза не может быть отрицательной.";
    if (s.trim < 0)
        return "Торцевая обрезка не может быть отрицательной.";
    const long long usable = static_cast<long long>(s.stock) - 2LL * s.trim;
    if (usable <= 0)
        return "Торцевая обрезка " + Num(s.trim) + " мм с каждого конца не оставляет ничего " +
               "от плети длиной " + Num(s.stock) + " мм.";
    if (s.kerf >= usable)
        return "Ширина реза " + Num(s.kerf) + " мм не оставляет места на рабочей длине плети " +
               Num(usable) + " мм.";
    long long pieces = 0;
    for (const CutItem& item : items) {
        if (item.count <= 0)
            return ItemName(item) + ": количество " + Num(item.count) +
                   " шт. — должно быть положительным.";
        if (item.length <= 0)
            return ItemName(item) + ": длина " + Num(item.length) +
                   " мм — решетка рассчитана по нулевому или отрицательному проёму.";
        if (item.length > usable)
            return ItemName(item) + ": длина " + Num(item.length) +
                   " мм больше рабочей длины плети " + Num(usable) + " мм.";
        pieces += item.count;
    }
    if (pieces == 0)
        return "В заказе нет ни одной рассчитанной решетки: раскраивать нечего.";
    if (pieces > MaxPieces)
        return "В заказе " + Num(pieces) + " деталей: раскрой рассчитывается не более чем для " +
               Num(MaxPieces) + " деталей.";
    return {};
}

Result PlanCutting(const std::vector<CutItem>& items, const Settings& settings) {
    Result result;
    result.error = CheckInput(items, settings);
    if (!result.error.empty())
        return result;

    std::map<int, int, std::greater<>> demand; // length -> pieces, longest first
    for (const CutItem& item : items)
        demand[item.length] += item.count;
    detail::Instance in;
    in.capacity = Usable(settings) + settings.kerf;
    std::vector<int> lengths;
    for (const auto& [length, count] : demand) {
        lengths.push_back(length);
        in.size.push_back(length + settings.kerf);
        in.demand.push_back(count);
    }
    result.plan = MakePlan(items, settings, lengths, Solve(in, settings.timeLimit));
    result.ok = true;
    return result;
}

} // namespace cutting
