#include "exact_cover.h"

#include "bar_completion.h"
#include "bar_list.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <algorithm>
#include <numeric>

namespace cutting::detail {

ExactCover::ExactCover(const Instance& in, const BarList& list, int bars, long long slack,
                       int fewest)
    : in_(in), list_(list), m_(in.size.size()), fewest_(fewest), rem_(in.demand), reserved_(m_, 0),
      openAt_(m_, 0), alive_(m_, 0), blocked_(list.Size(), 0), bySize_(m_), barsLeft_(bars),
      slack_(slack) {
    for (size_t b = 0; b < list.Size(); ++b)
        for (const auto* it = list.Begin(b); it != list.End(b); ++it) {
            bySize_[static_cast<size_t>(it->type)].push_back({static_cast<int>(b), it->count});
            ++alive_[static_cast<size_t>(it->type)];
        }
    for (size_t t = 0; t < m_; ++t)
        if (rem_[t] > 0) {
            openAt_[t] = open_.size();
            open_.push_back(t);
        }
    pieces_ = in.Pieces();
    byWaste_.resize(list.Size());
    std::iota(byWaste_.begin(), byWaste_.end(), 0);
    std::stable_sort(byWaste_.begin(), byWaste_.end(),
                     [&](int a, int b) { return Waste(a) > Waste(b); });
    long long steps = MostSteps;
    longerPath_ = Excess() == 1 && longer_.AddLevel(in_, slack_, fewest_ + 1, MostBars, steps);
}

Packing ExactCover::Run(const Stop& stop, bool& exhausted) {
    stop_ = &stop;
    stopped_ = false;
    exhausted = false;
    if (longerPath_)
        return RunLonger(exhausted);
    // Restarts with a growing budget of nodes and, after the first, the
    // bars of each step in random order: a search that went wrong early
    // rarely recovers by backtracking, a fresh start often does. Where
    // it finds nothing soon, many packings nearly meet the bound and the
    // other searches do better.
    for (; nodes_ < MostNodes; ++restart_) {
        timedOut_ = false;
        nodeLimit_ = nodes_ + RestartNodes * Luby(restart_);
        proof_ = true;
        if (Node()) {
            exhausted = true;
            return Result();
        }
        if (!timedOut_) {
            exhausted = proof_;
            return {};
        }
        if (stop_->Now()) {
            stopped_ = true;
            return {};
        }
        shuffle_ = true;
    }
    return {};
}

void ExactCover::OrderLonger() {
    std::vector<double> score(longer_.Size(), 0.0);
    for (size_t b = 0; b < longer_.Size(); ++b)
        for (const auto* it = longer_.Begin(b); it != longer_.End(b); ++it)
            score[b] += it->count / (1.0 + alive_[static_cast<size_t>(it->type)]);
    order_.resize(longer_.Size());
    std::iota(order_.begin(), order_.end(), size_t{0});
    std::stable_sort(order_.begin(), order_.end(),
                     [&](size_t a, size_t b) { return score[a] > score[b]; });
    verdict_.assign(longer_.Size(), Open);
    lp_ = std::make_unique<CoverLp>(list_, m_);
}

Packing ExactCover::RunLonger(bool& exhausted) {
    if (!lp_)
        OrderLonger();
    for (;; ++round_, next_ = 0) {
        const size_t taken = std::min(order_.size(), FirstRound << std::min<size_t>(round_, 40));
        const long long nodes = RestartNodes << std::min<size_t>(round_, 20);
        // Taken up again after a stop, the round goes on where it was.
        bool open = std::any_of(order_.begin(), order_.begin() + static_cast<std::ptrdiff_t>(next_),
                                [&](size_t b) { return verdict_[b] != Out; });
        if (nodes_ >= MostLongerNodes)
            return {};
        for (size_t k = next_; k < order_.size(); ++k) {
            const size_t b = order_[k];
            if (verdict_[b] == Out)
                continue;
            open = true;
            if (k >= taken)
                break;
            if (stop_->Now())
                return Interrupted(k);
            Use(longer_, b, 1);
            bool found = false;
            nodes_ += RelaxationNodes;
            if (!lp_->MayCover(rem_, blocked_, *stop_, level_)) {
                verdict_[b] = Out;
                proofLonger_ = false; // floating point, not a proof
            } else if (!stop_->Now()) {
                verdict_[b] = Relaxed;
                timedOut_ = false;
                proof_ = true;
                nodeLimit_ = nodes_ + nodes;
                found = Node();
                if (!found && !timedOut_) {
                    verdict_[b] = Out;
                    proofLonger_ = proofLonger_ && proof_;
                }
            }
            if (found) {
                Packing packing = Result();
                packing.push_back(Content(longer_, b));
                exhausted = true;
                return packing;
            }
            Use(longer_, b, -1);
            if (verdict_[b] != Out && stop_->Now())
                return Interrupted(k); // this bar's search was cut short
        }
        if (!open) {
            exhausted = proofLonger_;
            return {};
        }
    }
}

void ExactCover::Count(size_t t, int from, int to) {
    rem_[t] = to;
    if (from > 0 && to == 0) {
        const size_t last = open_.back();
        open_[openAt_[t]] = last;
        openAt_[last] = openAt_[t];
        open_.pop_back();
    } else if (from == 0 && to > 0) {
        openAt_[t] = open_.size();
        open_.push_back(t);
    }
    for (const auto& [b, count] : bySize_[t])
        if (count > std::min(from, to) && count <= std::max(from, to)) {
            if (to < from)
                Block(b);
            else
                Unblock(b);
        }
}

void ExactCover::Slack(long long from, long long to) {
    slack_ = to;
    const long long high = std::max(from, to), low = std::min(from, to);
    auto first = std::partition_point(byWaste_.begin(), byWaste_.end(),
                                      [&](int b) { return Waste(b) > high; });
    for (; first != byWaste_.end() && Waste(*first) > low; ++first)
        if (to < from)
            Block(*first);
        else
            Unblock(*first);
}

void ExactCover::Use(const BarList& list, size_t b, int by) {
    for (const auto* it = list.Begin(b); it != list.End(b); ++it) {
        const auto t = static_cast<size_t>(it->type);
        Count(t, rem_[t], rem_[t] - by * it->count);
        // Long lists make a step costly: the budget counts their length.
        nodes_ += static_cast<long long>(bySize_[t].size()) / ListPerNode;
    }
    pieces_ -= by * list.Pieces(b);
    barsLeft_ -= by;
    Slack(slack_, slack_ - by * list.Waste(b));
}

void ExactCover::Reserve(size_t t, int by) {
    Count(t, rem_[t], rem_[t] - by);
    reserved_[t] += by;
    pieces_ -= by;
    reservedPieces_ += by;
    reservedLength_ += static_cast<long long>(by) * in_.size[t];
}

bool ExactCover::Node() {
    if ((nodes_ & 255) == 0)
        stop_->Spend(256 * NodeWork);
    if (++nodes_ > nodeLimit_ || ((nodes_ & 255) == 0 && stop_->Now()))
        timedOut_ = true;
    if (timedOut_)
        return false;
    if (pieces_ == 0)
        return reservedPieces_ == 0 || Residual();
    if (barsLeft_ == 0)
        return false;
    size_t best = m_;
    long long orphans = 0;
    for (const size_t t : open_) {
        if (alive_[t] == 0)
            orphans += static_cast<long long>(rem_[t]) * in_.size[t];
        else if (best == m_ || alive_[t] < alive_[best] || (alive_[t] == alive_[best] && t < best))
            best = t;
    }
    // Every bar of more than `fewest` pieces takes one or more of the
    // excess: so many bars at most take what is set aside.
    const long long longer = Excess();
    if (reservedLength_ + orphans > longer * in_.capacity)
        return false;
    if (best == m_)
        return Residual();
    const size_t base = PushOptions(best);
    const size_t count = options_.size() - base;
    size_t tried = 0;
    bool found = false;
    for (size_t k = 0; k < count; ++k) {
        const int b = options_[base + k];
        Take(b);
        found = Node();
        if (found)
            break;
        Put(b);
        Block(b);
        ++tried;
        if (timedOut_)
            break;
    }
    for (size_t k = 0; k < tried; ++k)
        Unblock(options_[base + k]);
    options_.resize(base);
    if (!found && !timedOut_ &&
        reservedLength_ + orphans + in_.size[best] <= longer * in_.capacity) {
        Reserve(best, 1);
        found = Node();
        if (!found)
            Reserve(best, -1);
    }
    return found;
}

size_t ExactCover::PushOptions(size_t t) {
    // The options of every node on the path share one stack: a node costs
    // well under a microsecond, an allocation would be a good part of that.
    const size_t base = options_.size();
    for (const auto& [b, count] : bySize_[t])
        if (blocked_[static_cast<size_t>(b)] == 0)
            options_.push_back(b);
    const auto first = options_.begin() + static_cast<std::ptrdiff_t>(base);
    if (shuffle_)
        std::shuffle(first, options_.end(), rng_);
    else if (!level_.empty())
        std::stable_sort(first, options_.end(), [this](int a, int b) {
            return level_[static_cast<size_t>(a)] > level_[static_cast<size_t>(b)];
        });
    return base;
}

bool ExactCover::Residual() {
    nodes_ += ResidualNodes;
    std::vector<int> left(m_);
    for (size_t t = 0; t < m_; ++t)
        left[t] = rem_[t] + reserved_[t];
    const Remainder rest = RemainderOf(in_, left);
    bool exhausted = false;
    const Packing packing =
        SearchPacking(rest.in, barsLeft_, stop_->Within(ResidualBudget), exhausted);
    if (packing.empty()) {
        proof_ = proof_ && exhausted;
        return false;
    }
    residual_.clear();
    for (const Bar& bar : packing) {
        Bar full(m_, 0);
        for (size_t k = 0; k < rest.type.size(); ++k)
            full[rest.type[k]] = bar[k];
        residual_.push_back(std::move(full));
    }
    return true;
}

Bar ExactCover::Content(const BarList& list, size_t b) const {
    Bar bar(m_, 0);
    for (const auto* it = list.Begin(b); it != list.End(b); ++it)
        bar[static_cast<size_t>(it->type)] = it->count;
    return bar;
}

Packing ExactCover::Result() const {
    Packing packing;
    for (int b : chosen_)
        packing.push_back(Content(list_, static_cast<size_t>(b)));
    // Filled only by the residual search that completed the packing.
    packing.insert(packing.end(), residual_.begin(), residual_.end());
    return packing;
}

} // namespace cutting::detail
