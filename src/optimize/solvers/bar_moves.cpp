#include "bar_moves.h"

#include <algorithm>

namespace cutting::detail {
namespace {

class Moves {
public:
    Moves(const MixedProblem& p, Assigned bars) : p_(p), bars_(std::move(bars)) {
        left_.reserve(p.kinds.size());
        for (const Kind& kind : p.kinds)
            left_.push_back(kind.count);
        for (const PlannedBar& bar : bars_) {
            Take(bar.kind);
            fill_.push_back(Fill(p.in, bar.content));
        }
    }

    Assigned Run(const Stop& stop) {
        while (Merge(stop) || Downsize(stop) || Repack(stop))
            ;
        return std::move(bars_);
    }

private:
    long long Cost(int kind) const { return p_.kinds[static_cast<size_t>(kind)].cost; }
    int Capacity(int kind) const { return p_.kinds[static_cast<size_t>(kind)].capacity; }
    void Take(int kind) {
        int& left = left_[static_cast<size_t>(kind)];
        if (left > 0)
            --left;
    }
    void Give(int kind) {
        int& left = left_[static_cast<size_t>(kind)];
        if (p_.kinds[static_cast<size_t>(kind)].count >= 0)
            ++left;
    }

    // The cheapest kind to be had that holds `fill`, the smallest of equal
    // cost; -1 when none does.
    int Cheapest(long long fill) const { return Cheapest(fill, left_); }
    int Cheapest(long long fill, const std::vector<int>& left) const {
        int best = -1;
        for (size_t k = 0; k < p_.kinds.size(); ++k) {
            const Kind& kind = p_.kinds[k];
            if (kind.capacity < fill || left[k] == 0)
                continue;
            if (best < 0 || kind.cost < Cost(best) ||
                (kind.cost == Cost(best) && kind.capacity < Capacity(best)))
                best = static_cast<int>(k);
        }
        return best;
    }

    // The two bars that save most as one; false when no two save anything.
    bool Merge(const Stop& stop) {
        long long most = 0;
        size_t first = 0, second = 0;
        int into = -1;
        for (size_t i = 0; i < bars_.size(); ++i) {
            if (stop.Now())
                return false;
            stop.Spend(static_cast<long long>((bars_.size() - i) * p_.kinds.size()));
            for (size_t j = i + 1; j < bars_.size(); ++j) {
                const long long cost = Cost(bars_[i].kind) + Cost(bars_[j].kind);
                if (cost <= most)
                    continue;
                Give(bars_[i].kind), Give(bars_[j].kind);
                const int kind = Cheapest(fill_[i] + fill_[j]);
                Take(bars_[i].kind), Take(bars_[j].kind);
                if (kind >= 0 && cost - Cost(kind) > most)
                    most = cost - Cost(kind), first = i, second = j, into = kind;
            }
        }
        if (into < 0)
            return false;
        for (const auto& [type, count] : bars_[second].content)
            Add(bars_[first].content, type, count);
        Give(bars_[first].kind), Give(bars_[second].kind), Take(into);
        bars_[first].kind = into;
        fill_[first] += fill_[second];
        bars_.erase(bars_.begin() + static_cast<long>(second));
        fill_.erase(fill_.begin() + static_cast<long>(second));
        return true;
    }

    static void Add(SparseBar& bar, int type, int count) {
        auto at =
            std::find_if(bar.begin(), bar.end(), [type](const auto& c) { return c.first == type; });
        if (at == bar.end())
            bar.push_back({type, count});
        else
            at->second += count;
        std::sort(bar.begin(), bar.end());
        std::erase_if(bar, [](const auto& c) { return c.second == 0; });
    }

    // A bought bar that moves enough of its pieces, longest first, into the
    // room of other bars to go down to a cheaper kind or go; false when none
    // can.
    bool Downsize(const Stop& stop) {
        for (size_t i = 0; i < bars_.size(); ++i) {
            if (stop.Now())
                return false;
            stop.Spend(static_cast<long long>(bars_.size() * p_.kinds.size()));
            if (Cost(bars_[i].kind) == 0)
                continue;
            Give(bars_[i].kind);
            const bool done = DownsizeBar(i);
            if (!done)
                Take(bars_[i].kind);
            if (done)
                return true;
        }
        return false;
    }

    // The cheapest kind, or none, bar i can go down to by its moves.
    bool DownsizeBar(size_t i) {
        SparseBar pieces = bars_[i].content;
        std::vector<long long> room(bars_.size());
        for (size_t j = 0; j < bars_.size(); ++j)
            room[j] = j == i ? 0 : Capacity(bars_[j].kind) - fill_[j];
        std::vector<std::pair<size_t, int>> moves; // bar, type
        long long fill = fill_[i];
        const long long cost = Cost(bars_[i].kind);
        // Pieces in `pieces` go longest first: sizes are kept longest first.
        for (auto& [type, count] : pieces)
            for (; count > 0; --count) {
                const int kind = fill == 0 ? -2 : Cheapest(fill);
                if (kind == -2 || (kind >= 0 && Cost(kind) < cost))
                    return Apply(i, kind, moves);
                const int size = p_.in.size[static_cast<size_t>(type)];
                auto to = std::find_if(room.begin(), room.end(),
                                       [size](long long r) { return r >= size; });
                if (to == room.end())
                    break;
                *to -= size;
                fill -= size;
                moves.push_back({static_cast<size_t>(to - room.begin()), type});
            }
        const int kind = fill == 0 ? -2 : Cheapest(fill);
        if (kind == -2 || (kind >= 0 && Cost(kind) < cost))
            return Apply(i, kind, moves);
        return false;
    }

    // The m least filled bought bars, for m from 2 up, their pieces packed
    // anew first fit decreasing on bars of each stock length in turn and each
    // bar put on the cheapest kind: kept when that is cheaper; false when no
    // such repacking saves anything. It finds what the pairwise moves cannot,
    // such as four short bars, no two of which fit a long one, as two long.
    bool Repack(const Stop& stop) {
        std::vector<size_t> order;
        for (size_t i = 0; i < bars_.size(); ++i)
            if (Cost(bars_[i].kind) > 0)
                order.push_back(i);
        std::stable_sort(order.begin(), order.end(),
                         [this](size_t a, size_t b) { return fill_[a] < fill_[b]; });
        for (size_t m = 2; m <= std::min(order.size(), MostRepacked); ++m) {
            if (stop.Now())
                return false;
            std::vector<size_t> chosen(order.begin(), order.begin() + static_cast<long>(m));
            std::vector<int> pieces; // types, longest first
            long long cost = 0;
            std::vector<int> left = left_;
            for (size_t i : chosen) {
                cost += Cost(bars_[i].kind);
                if (p_.kinds[static_cast<size_t>(bars_[i].kind)].count >= 0)
                    ++left[static_cast<size_t>(bars_[i].kind)];
                for (const auto& [type, count] : bars_[i].content)
                    pieces.insert(pieces.end(), static_cast<size_t>(count), type);
            }
            std::sort(pieces.begin(), pieces.end());
            stop.Spend(static_cast<long long>(pieces.size() * p_.kinds.size() * m));
            for (size_t k = 0; k < p_.kinds.size(); ++k)
                if (Cost(static_cast<int>(k)) > 0 &&
                    TryRepack(chosen, pieces, Capacity(static_cast<int>(k)), left, cost))
                    return true;
        }
        return false;
    }

    // The pieces first fit decreasing on bars of `capacity`, each then on the
    // cheapest kind of `left`; applied when cheaper than `cost`.
    bool TryRepack(std::vector<size_t> chosen, const std::vector<int>& pieces, int capacity,
                   std::vector<int> left, long long cost) {
        std::vector<SparseBar> bins;
        std::vector<long long> fills;
        for (int type : pieces) {
            const int size = p_.in.size[static_cast<size_t>(type)];
            size_t b = 0;
            while (b < bins.size() && fills[b] + size > capacity)
                ++b;
            if (b == bins.size())
                bins.emplace_back(), fills.push_back(0);
            Add(bins[b], type, 1);
            fills[b] += size;
        }
        Assigned fresh;
        long long spent = 0;
        for (size_t b = 0; b < bins.size(); ++b) {
            const int kind = Cheapest(fills[b], left);
            if (kind < 0)
                return false;
            if (left[static_cast<size_t>(kind)] > 0)
                --left[static_cast<size_t>(kind)];
            spent += Cost(kind);
            fresh.push_back({kind, std::move(bins[b])});
        }
        if (spent >= cost)
            return false;
        std::sort(chosen.rbegin(), chosen.rend());
        for (size_t i : chosen) {
            bars_.erase(bars_.begin() + static_cast<long>(i));
            fill_.erase(fill_.begin() + static_cast<long>(i));
        }
        for (size_t b = 0; b < fresh.size(); ++b) {
            fill_.push_back(fills[b]);
            bars_.push_back(std::move(fresh[b]));
        }
        left_ = std::move(left);
        return true;
    }

    static constexpr size_t MostRepacked = 16;

    // Makes the moves and puts bar i on `kind` (-2: it goes).
    bool Apply(size_t i, int kind, const std::vector<std::pair<size_t, int>>& moves) {
        for (const auto& [j, type] : moves) {
            const int size = p_.in.size[static_cast<size_t>(type)];
            Add(bars_[j].content, type, 1);
            Add(bars_[i].content, type, -1);
            fill_[j] += size;
            fill_[i] -= size;
        }
        if (kind == -2) {
            bars_.erase(bars_.begin() + static_cast<long>(i));
            fill_.erase(fill_.begin() + static_cast<long>(i));
        } else {
            Take(kind);
            bars_[i].kind = kind;
        }
        return true;
    }

    const MixedProblem& p_;
    Assigned bars_;
    std::vector<long long> fill_;
    std::vector<int> left_; // bars of each kind still to be had, -1 for any number
};

} // namespace

Assigned CheaperByMoves(const MixedProblem& p, Assigned bars, const Stop& stop) {
    return Moves(p, std::move(bars)).Run(stop);
}

} // namespace cutting::detail
