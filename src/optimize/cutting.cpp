#include "cutting.h"

#include "solve.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <map>
#include <string>

namespace cutting {

namespace {

// What writing the plan out takes after the solver stops, for each piece
// and size (checking the best packing, grouping its bars, handing out the
// pieces), with a wide margin.
constexpr double PlanSecondsPerPiece = 2e-6;

// A bar's content by its sizes in use, ordered as the whole count vectors
// would be: with thousands of sizes the whole vectors cost too much to compare.
using Content = std::vector<std::pair<int, int>>; // (-size index, count)

Content Key(detail::SparseBar bar) {
    std::sort(bar.begin(), bar.end());
    Content content;
    for (const auto& [type, count] : bar)
        content.push_back({-type, count});
    return content;
}

// What a kind of bar is to the plan.
struct KindInfo {
    int length = 0; // stock length, or offcut length
    int usable = 0;
    bool onHand = false;
};

void AddBars(std::vector<Bars>& list, int length, int count) {
    if (count <= 0)
        return;
    auto at = std::find_if(list.begin(), list.end(),
                           [length](const Bars& b) { return b.length == length; });
    if (at == list.end())
        list.push_back({length, count});
    else
        at->count += count;
}

void SortLongestFirst(std::vector<Bars>& list) {
    std::sort(list.begin(), list.end(),
              [](const Bars& a, const Bars& b) { return a.length > b.length; });
}

Plan MakePlan(const std::vector<CutItem>& items, const Settings& settings,
              const std::vector<int>& lengths, const std::vector<KindInfo>& kinds,
              const detail::Solution& solution) {
    // Pieces of one length wait in grille order, so that consecutive bars
    // serve the same grille where they can.
    std::vector<std::deque<Piece>> waiting(lengths.size());
    std::vector<CutItem> sorted = items;
    std::stable_sort(sorted.begin(), sorted.end(), [](const CutItem& a, const CutItem& b) {
        return a.grille < b.grille || (a.grille == b.grille && a.kind < b.kind);
    });
    auto lengthIndex = [&lengths](int length) {
        return static_cast<size_t>(
            std::lower_bound(lengths.begin(), lengths.end(), length, std::greater<>()) -
            lengths.begin());
    };
    for (const CutItem& item : sorted) {
        auto& queue = waiting[lengthIndex(item.length)];
        for (int k = 0; k < item.count; ++k)
            queue.push_back({item.grille, item.kind, item.length});
    }

    std::map<std::pair<int, Content>, int> counts;
    for (const detail::PlannedBar& bar : solution.bars)
        ++counts[{bar.kind, Key(bar.content)}];
    std::vector<std::pair<std::pair<int, Content>, int>> groups(counts.begin(), counts.end());
    std::stable_sort(groups.begin(), groups.end(), [&kinds](const auto& a, const auto& b) {
        const bool aHand = kinds[static_cast<size_t>(a.first.first)].onHand;
        const bool bHand = kinds[static_cast<size_t>(b.first.first)].onHand;
        return aHand != bHand ? aHand : a.second > b.second;
    });

    Plan plan;
    long long cutLength = 0;
    for (const auto& [key, count] : groups) {
        const KindInfo& kind = kinds[static_cast<size_t>(key.first)];
        Pattern pattern;
        pattern.count = count;
        pattern.stock = kind.length;
        pattern.onHand = kind.onHand;
        long long used = 0;
        for (const auto& [index, copies] : key.second)
            for (int k = 0; k < copies; ++k) {
                pattern.lengths.push_back(lengths[static_cast<size_t>(-index)]);
                used += lengths[static_cast<size_t>(-index)] + settings.kerf;
            }
        pattern.offcut = static_cast<int>(std::max(0LL, kind.usable - used));
        for (int b = 0; b < count; ++b) {
            std::vector<Piece> pieces;
            for (int length : pattern.lengths) {
                auto& queue = waiting[lengthIndex(length)];
                pieces.push_back(queue.front());
                queue.pop_front();
                plan.piecesLength += length;
            }
            pattern.bars.push_back(std::move(pieces));
        }
        cutLength += static_cast<long long>(count) * kind.length;
        if (kind.onHand) {
            plan.offcutsUsed += count;
        } else {
            plan.bars += count;
            plan.boughtLength += static_cast<long long>(count) * kind.length;
            AddBars(plan.purchases, kind.length, count);
        }
        if (pattern.offcut >= settings.minUseful && pattern.offcut > 0)
            AddBars(plan.keep, pattern.offcut, count);
        else if (pattern.offcut > 0)
            AddBars(plan.scrap, pattern.offcut, count);
        plan.patterns.push_back(std::move(pattern));
    }
    SortLongestFirst(plan.purchases);
    SortLongestFirst(plan.keep);
    SortLongestFirst(plan.scrap);
    if (cutLength > 0)
        plan.wastePercent = 100.0 * static_cast<double>(cutLength - plan.piecesLength) /
                            static_cast<double>(cutLength);
    plan.lowerBound = solution.lowerBound;
    plan.lowerBoundLength = solution.lowerBoundLength;
    plan.optimal = plan.boughtLength == plan.lowerBoundLength;
    return plan;
}

} // namespace

const char* KindName(PieceKind kind) {
    return kind == PieceKind::Horizontal ? "горизонтальный" : "вертикальный";
}

Result PlanCutting(const std::vector<CutItem>& items, const Settings& settings) {
    return PlanCutting(items, settings, Control{});
}

Result PlanCutting(const std::vector<CutItem>& items, const Settings& settings,
                   const Control& control) {
    const auto start = Clock::now();
    Result result;
    result.error = CheckInput(items, settings);
    if (!result.error.empty())
        return result;
    const auto budget = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(std::max(settings.timeLimit, 0.0)));
    detail::Reporter report(control, start);

    std::map<int, int, std::greater<>> demand; // length -> pieces, longest first
    long long pieces = 0;
    for (const CutItem& item : items) {
        demand[item.length] += item.count;
        pieces += item.count;
    }
    detail::Instance in;
    std::vector<int> lengths;
    for (const auto& [length, count] : demand) {
        lengths.push_back(length);
        in.size.push_back(length + settings.kerf);
        in.demand.push_back(count);
    }
    // Checking the best packing and writing the plan out take time after the
    // solver stops: the solver stops that much earlier, up to a quarter of
    // the limit.
    const auto work = static_cast<double>(pieces + static_cast<long long>(lengths.size()));
    const auto reserve =
        std::min(budget / 4, std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(work * PlanSecondsPerPiece)));
    const Stop stop(start + budget - reserve, control.cancel);

    const bool oneOfAny = settings.stocks.empty() ||
                          (settings.stocks.size() == 1 && settings.stocks[0].count == Unlimited);
    const bool offcuts = std::any_of(settings.offcuts.begin(), settings.offcuts.end(),
                                     [](const Offcut& o) { return o.count > 0; });
    if (oneOfAny && !offcuts) {
        const int stock = settings.stocks.empty() ? settings.stock : settings.stocks[0].length;
        const int usable = stock - 2 * settings.trim;
        in.capacity = usable + settings.kerf;
        const detail::Solution solution =
            detail::SolveSingle(in, stock, settings.timeLimit, stop, report);
        result.plan = MakePlan(items, settings, lengths, {{stock, usable, false}}, solution);
        result.ok = true;
        return result;
    }

    // Offcuts first, each distinct length once, then the stock lengths.
    detail::MixedProblem problem;
    problem.kerf = settings.kerf;
    problem.minUseful = settings.minUseful;
    std::vector<KindInfo> kinds;
    std::map<int, int, std::greater<>> onHand;
    for (const Offcut& o : settings.offcuts)
        onHand[o.length] += o.count;
    for (const auto& [length, count] : onHand)
        if (count > 0 && length + settings.kerf >= in.size.back()) {
            problem.kinds.push_back({length + settings.kerf, 0, count});
            kinds.push_back({length, length, true});
        }
    std::map<int, int, std::greater<>> stocks;
    for (const StockBar& b : settings.stocks.empty()
                                 ? std::vector<StockBar>{{settings.stock, Unlimited}}
                                 : settings.stocks) {
        auto [at, fresh] = stocks.insert({b.length, b.count});
        if (!fresh && at->second != Unlimited)
            at->second = b.count == Unlimited ? Unlimited : at->second + b.count;
    }
    for (const auto& [length, count] : stocks)
        if (count != 0) {
            const int usable = length - 2 * settings.trim;
            problem.kinds.push_back({usable + settings.kerf, length, count});
            kinds.push_back({length, usable, false});
        }
    in.capacity = 0;
    for (const detail::Kind& kind : problem.kinds)
        in.capacity = std::max(in.capacity, kind.capacity);
    problem.in = std::move(in);
    const detail::Solution solution = detail::SolveMixed(problem, settings.timeLimit, stop, report);
    if (solution.bars.empty() && solution.undecided) {
        result.error = "Раскрой остановлен раньше, чем найден хотя бы один план: на счётных "
                       "заготовках детали размещаются с трудом. Добавьте плети или снимите "
                       "ограничение их количества.";
        return result;
    }
    if (solution.bars.empty()) {
        result.error = "Не удалось разместить все детали на имеющихся заготовках: добавьте плети "
                       "или снимите ограничение их количества.";
        return result;
    }
    result.plan = MakePlan(items, settings, lengths, kinds, solution);
    result.ok = true;
    return result;
}

} // namespace cutting
