#include "valued_cover.h"

#include "bar_list.h"
#include "cover_proof.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/pricing.h"
#include "optimize/lp/safe_bound.h"
#include "optimize/lp/suffix_knapsack.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace cutting::detail {

namespace {

// The table of bounds is given up beyond this many entries (32 MB), the list
// beyond this many steps of listing it, and the integer program beyond this
// many bars on the list: a few thousand columns keep its branch and bound to
// a few tenths of a second, more rarely finish in time.
constexpr long long MostTable = 1LL << 22;
constexpr long long MostSteps = 1LL << 23;
constexpr size_t MostBars = 2000;
// The share of the size bound in the values the bars are listed by (see
// ValuedCover::List), as a fraction: enough to give pieces that the values
// leave at nothing a worth, so that adding them to a bar is not free.
constexpr long long SizeShare = 1, Share = 100;

// Every bar whose worth at `value` is at least `need`, each handed to `keep`
// with the length it leaves free. A depth-first walk over the sizes, longest
// first, cut short where even the most valuable rest of the bar cannot bring
// it to `need`. Values are whole numbers, their sums within MostWorth.
class ValuedList {
public:
    using Item = BarList::Item;
    using Keep = std::function<bool(const std::vector<Item>&, long long waste)>;

    ValuedList(const Instance& in, const std::vector<long long>& value, long long need)
        : in_(in), value_(value), need_(need), m_(in.size.size()),
          width_(static_cast<size_t>(in.capacity) + 1) {}

    // False when the table or the listing would take too much, when stopped
    // first, or when `keep` returns false.
    bool Run(const Keep& keep, const Stop& stop) {
        if (!ValuedCover::Fits(in_))
            return false;
        // The most the sizes from t on are worth in each length, within
        // their demand.
        std::vector<SuffixKnapsack::Item> items;
        for (size_t t = 0; t < m_; ++t)
            items.push_back({in_.size[t], value_[t], in_.demand[t]});
        bound_.Fill(items, in_.capacity, 1, static_cast<long long>(width_), stop, false);
        if (stop.Now())
            return false;
        steps_ = MostSteps;
        keep_ = &keep;
        const bool done = Enumerate(0, static_cast<size_t>(in_.capacity), 0);
        stop.Spend(MostSteps - steps_);
        return done && !stop.Now();
    }

private:
    bool Enumerate(size_t from, size_t room, long long worth) {
        if (--steps_ < 0)
            return false;
        if (worth >= need_ && !items_.empty() && !(*keep_)(items_, static_cast<long long>(room)))
            return false;
        for (size_t t = from; t < m_; ++t) {
            if (worth + bound_.Bound(t, static_cast<int>(room)) < need_)
                break; // fewer sizes are worth no more
            const auto s = static_cast<size_t>(in_.size[t]);
            for (int k = 1; k <= in_.demand[t] && static_cast<size_t>(k) * s <= room; ++k) {
                const size_t left = room - static_cast<size_t>(k) * s;
                const long long w = worth + k * value_[t];
                if (w + bound_.Bound(t + 1, static_cast<int>(left)) < need_)
                    continue;
                items_.push_back({static_cast<int>(t), k});
                const bool ok = Enumerate(t + 1, left, w);
                items_.pop_back();
                if (!ok)
                    return false;
            }
        }
        return true;
    }

    const Instance& in_;
    const std::vector<long long>& value_;
    long long need_;
    size_t m_, width_;
    SuffixKnapsack bound_;
    long long steps_ = 0;
    const Keep* keep_ = nullptr;
    std::vector<Item> items_;
};

} // namespace

ValuedCover::ValuedCover(const Instance& in, std::vector<double> value, int bars)
    : in_(in), value_(std::move(value)), bars_(bars) {
    // The bars of a packing into `bars` bars leave `free_` of their length
    // unused together: no bar leaves more free.
    free_ = static_cast<long long>(bars) * in.capacity - in.TotalSize();
    none_ = bars <= 0 || free_ < 0;
}

ValuedCover::~ValuedCover() = default;

bool ValuedCover::Fits(const Instance& in) {
    return (static_cast<long long>(in.size.size()) + 1) * (in.capacity + 1LL) <= MostTable;
}

bool ValuedCover::List(const Stop& stop) {
    if (none_)
        return true;
    if (value_.size() != in_.size.size() || !Fits(in_))
        return false;
    // The values as whole numbers, small enough that the mix below stays
    // within MostWorth; the best bar is worth `best` at them, exactly.
    const long long c = in_.capacity;
    std::vector<double> value(value_.size()), reach(value_.size());
    for (size_t i = 0; i < value.size(); ++i) {
        value[i] = std::max(0.0, value_[i]);
        reach[i] = std::max(in_.demand[i], in_.capacity / in_.size[i]);
    }
    const std::vector<long long> v =
        MakeWhole(value, reach, MostWorth / (Share * 2 * (c + 1))).value;
    Pricing pricing;
    if (!pricing.Fill(in_, v, in_.demand, stop))
        return false;
    const long long best = pricing.Worth(in_.capacity);
    // In a packing into `bars` bars the bars fall short of `best` by at most
    // `slack` together, so no bar falls short by more.
    const Wide slack = static_cast<Wide>(bars_) * best - WorthOf(v, in_.demand);
    if (slack < 0) {
        none_ = true;
        return true;
    }
    // Both limits hold for any mix of the values with those in proportion to
    // the sizes, at which no bar is worth more than a whole bar either.
    // Listing by a mix that leans to the values gives pieces the values
    // leave at nothing a little worth, so that a bar with room for more of
    // them is not listed again with each.
    std::vector<long long> mixed(v.size());
    for (size_t i = 0; i < v.size(); ++i)
        mixed[i] = (Share - SizeShare) * c * v[i] + SizeShare * best * in_.size[i];
    const Wide need = static_cast<Wide>(Share) * c * best - (Share - SizeShare) * c * slack -
                      static_cast<Wide>(SizeShare) * best * free_;
    auto keep = [&](const std::vector<BarList::Item>& items, long long waste) {
        Wide worth = 0;
        for (const auto& item : items)
            worth += static_cast<Wide>(item.count) * v[static_cast<size_t>(item.type)];
        if (best - worth <= slack && waste <= free_)
            list_.Append(items, waste);
        return list_.Size() <= MostBars;
    };
    const auto least = static_cast<long long>(std::clamp<Wide>(need, -1, MostWorth * 2));
    if (!ValuedList(in_, mixed, least).Run(keep, stop))
        return false;
    none_ = list_.Size() == 0;
    return true;
}

ValuedCover::Outcome ValuedCover::Search(const Stop& stop, Packing& packing) {
    if (none_)
        return Outcome::None;
    // GLPK failed: this search ends, a later one starts it afresh.
    if (!search_ || search_->Failed())
        search_ = std::make_unique<CoverProof>(in_, list_, bars_);
    switch (search_->Run(stop, packing)) {
    case CoverProof::Outcome::Found:
        return Outcome::Found;
    case CoverProof::Outcome::None:
        none_ = true;
        return Outcome::None;
    case CoverProof::Outcome::Open:
        break;
    }
    return Outcome::Open;
}

} // namespace cutting::detail
