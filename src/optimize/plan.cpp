#include "plan.h"

#include "cutting.h"

#include "optimize/instance/instance.h"
#include "optimize/solvers/solution.h"

#include <algorithm>
#include <deque>
#include <map>

namespace cutting::detail {

namespace {

// A bar's content by its sizes in use, ordered as the whole count vectors
// would be: with thousands of sizes the whole vectors cost too much to compare.
using Content = std::vector<std::pair<int, int>>; // (-size index, count)

Content Key(SparseBar bar) {
    std::sort(bar.begin(), bar.end());
    Content content;
    for (const auto& [type, count] : bar)
        content.push_back({-type, count});
    return content;
}

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

// The pieces of each length, longest first, waiting in grille order so that
// consecutive bars serve the same grille where they can.
class Waiting {
public:
    Waiting(const std::vector<CutItem>& items, const std::vector<int>& lengths)
        : lengths_(lengths), queues_(lengths.size()) {
        std::vector<CutItem> sorted = items;
        std::stable_sort(sorted.begin(), sorted.end(), [](const CutItem& a, const CutItem& b) {
            return a.grille < b.grille || (a.grille == b.grille && a.kind < b.kind);
        });
        for (const CutItem& item : sorted)
            for (int k = 0; k < item.count; ++k)
                queues_[Index(item.length)].push_back({item.grille, item.kind, item.length});
    }

    Piece Next(int length) {
        auto& queue = queues_[Index(length)];
        const Piece piece = queue.front();
        queue.pop_front();
        return piece;
    }

private:
    size_t Index(int length) const {
        return static_cast<size_t>(
            std::lower_bound(lengths_.begin(), lengths_.end(), length, std::greater<>()) -
            lengths_.begin());
    }

    const std::vector<int>& lengths_;
    std::vector<std::deque<Piece>> queues_;
};

// The bars cut alike, with their count: offcuts on hand first, then the
// most used first.
using Group = std::pair<std::pair<int, Content>, int>;
std::vector<Group> Groups(const Solution& solution, const std::vector<KindInfo>& kinds) {
    std::map<std::pair<int, Content>, int> counts;
    for (const PlannedBar& bar : solution.bars)
        ++counts[{bar.kind, Key(bar.content)}];
    std::vector<Group> groups(counts.begin(), counts.end());
    std::stable_sort(groups.begin(), groups.end(), [&kinds](const Group& a, const Group& b) {
        const bool aHand = kinds[static_cast<size_t>(a.first.first)].onHand;
        const bool bHand = kinds[static_cast<size_t>(b.first.first)].onHand;
        return aHand != bHand ? aHand : a.second > b.second;
    });
    return groups;
}

// The pattern of `count` bars of `kind` holding `content`, its pieces taken
// from `waiting`.
Pattern MakePattern(const KindInfo& kind, const Content& content, int count, int kerf,
                    const std::vector<int>& lengths, Waiting& waiting) {
    Pattern pattern;
    pattern.count = count;
    pattern.stock = kind.length;
    pattern.onHand = kind.onHand;
    long long used = 0;
    for (const auto& [index, copies] : content)
        for (int k = 0; k < copies; ++k) {
            pattern.lengths.push_back(lengths[static_cast<size_t>(-index)]);
            used += pattern.lengths.back() + kerf;
        }
    pattern.offcut = static_cast<int>(std::max(0LL, kind.usable - used));
    for (int b = 0; b < count; ++b) {
        std::vector<Piece> pieces;
        for (int length : pattern.lengths)
            pieces.push_back(waiting.Next(length));
        pattern.bars.push_back(std::move(pieces));
    }
    return pattern;
}

// Adds a pattern's bars to what the plan buys, cuts and leaves.
void Count(Plan& plan, const Pattern& pattern, int minUseful) {
    for (int length : pattern.lengths)
        plan.piecesLength += static_cast<long long>(length) * pattern.count;
    if (pattern.onHand) {
        plan.offcutsUsed += pattern.count;
    } else {
        plan.bars += pattern.count;
        plan.boughtLength += static_cast<long long>(pattern.count) * pattern.stock;
        AddBars(plan.purchases, pattern.stock, pattern.count);
    }
    if (pattern.offcut >= minUseful && pattern.offcut > 0)
        AddBars(plan.keep, pattern.offcut, pattern.count);
    else if (pattern.offcut > 0)
        AddBars(plan.scrap, pattern.offcut, pattern.count);
}

} // namespace

Plan MakePlan(const std::vector<CutItem>& items, const Settings& settings,
              const std::vector<int>& lengths, const std::vector<KindInfo>& kinds,
              const Solution& solution) {
    Waiting waiting(items, lengths);
    Plan plan;
    long long cutLength = 0;
    for (const auto& [key, count] : Groups(solution, kinds)) {
        const KindInfo& kind = kinds[static_cast<size_t>(key.first)];
        plan.patterns.push_back(
            MakePattern(kind, key.second, count, settings.kerf, lengths, waiting));
        Count(plan, plan.patterns.back(), settings.minUseful);
        cutLength += static_cast<long long>(count) * kind.length;
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

} // namespace cutting::detail
