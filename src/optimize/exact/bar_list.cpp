#include "bar_list.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/glpk_guard.h"

#include <glpk.h>

#include <algorithm>
#include <chrono>
#include <climits>

namespace cutting::detail {

bool BarList::AddLevel(const Instance& in, long long slack, int pieces, size_t most,
                       long long& steps) {
    const size_t bars = Size(), items = items_.size();
    in_ = &in;
    slack_ = slack;
    most_ = most;
    steps_ = steps;
    take_.assign(in.size.size(), 0);
    path_.clear();
    const bool done = Enumerate(0, in.capacity, pieces);
    steps = steps_;
    if (done)
        return true;
    start_.resize(bars + 1);
    pieces_.resize(bars);
    waste_.resize(bars);
    items_.resize(items);
    return false;
}

void BarList::Append(const std::vector<Item>& items, long long waste) {
    int pieces = 0;
    for (const Item& item : items) {
        items_.push_back(item);
        pieces += item.count;
    }
    start_.push_back(items_.size());
    pieces_.push_back(pieces);
    waste_.push_back(waste);
}

bool BarList::Enumerate(size_t from, long long room, int left) {
    if (--steps_ < 0)
        return false;
    if (left == 0) {
        if (room > slack_)
            return true;
        // The sizes on the path only grow shorter: copies of one are together.
        for (size_t k = 0; k < path_.size(); ++k)
            if (k == 0 || path_[k] != path_[k - 1])
                items_.push_back({static_cast<int>(path_[k]), take_[path_[k]]});
        start_.push_back(items_.size());
        pieces_.push_back(static_cast<int>(path_.size()));
        waste_.push_back(room);
        return Size() <= most_;
    }
    // The sizes are decreasing: a piece must leave room for the others
    // and, with them, fill the bar to within the slack.
    const std::vector<int>& size = in_->size;
    const long long least = (room - slack_ + left - 1) / left;
    auto t =
        static_cast<size_t>(std::partition_point(size.begin() + static_cast<std::ptrdiff_t>(from),
                                                 size.end(), [room](int s) { return s > room; }) -
                            size.begin());
    for (; t < size.size() && size[t] >= least; ++t) {
        if (take_[t] == in_->demand[t])
            continue;
        ++take_[t];
        path_.push_back(t);
        const bool ok = Enumerate(t, room - size[t], left - 1);
        path_.pop_back();
        --take_[t];
        if (!ok)
            return false;
    }
    return true;
}

CoverLp::CoverLp(const BarList& list, size_t types) : list_(list), types_(types) {
    std::vector<int> index{0};
    std::vector<double> coef{0.0};
    auto build = [&] {
        lp_ = glp_create_prob();
        glp_set_obj_dir(lp_, GLP_MIN);
        glp_add_rows(lp_, static_cast<int>(types));
        if (list.Size() > 0)
            glp_add_cols(lp_, static_cast<int>(list.Size()));
        for (size_t b = 0; b < list.Size(); ++b) {
            index.resize(1);
            coef.resize(1);
            for (const auto* it = list.Begin(b); it != list.End(b); ++it) {
                index.push_back(it->type + 1);
                coef.push_back(it->count);
            }
            const int col = static_cast<int>(b) + 1;
            glp_set_mat_col(lp_, col, static_cast<int>(index.size()) - 1, index.data(),
                            coef.data());
            glp_set_col_bnds(lp_, col, GLP_LO, 0.0, 0.0);
            glp_set_obj_coef(lp_, col, 1.0);
        }
    };
    if (!Guarded(build))
        lp_ = nullptr;
}

CoverLp::~CoverLp() {
    if (lp_ != nullptr && share_.Alive()) {
        auto remove = [this] { glp_delete_prob(lp_); };
        Guarded(remove);
    }
}

bool CoverLp::MayCover(const std::vector<int>& rem, const std::vector<int>& blocked,
                       const Stop& stop, std::vector<double>& level) {
    level.assign(list_.Size(), 0.0);
    if (!share_.Alive())
        lp_ = nullptr;
    if (lp_ == nullptr)
        return true;
    bool infeasible = false;
    auto solve = [&] {
        for (size_t t = 0; t < types_; ++t)
            glp_set_row_bnds(lp_, static_cast<int>(t) + 1, GLP_FX, rem[t], rem[t]);
        for (size_t b = 0; b < list_.Size(); ++b)
            glp_set_col_bnds(lp_, static_cast<int>(b) + 1, blocked[b] > 0 ? GLP_FX : GLP_LO, 0.0,
                             0.0);
        // Only bounds change from one call to the next: the last basis stays
        // dual feasible.
        const auto types = static_cast<int>(types_);
        const SimplexEnd end = SimplexInSlices(lp_, GLP_DUALP, SimplexSlice(types), types, stop);
        infeasible = end == SimplexEnd::Infeasible;
        if (end == SimplexEnd::Optimal)
            for (size_t b = 0; b < list_.Size(); ++b)
                level[b] = glp_get_col_prim(lp_, static_cast<int>(b) + 1);
    };
    if (!Guarded(solve)) {
        lp_ = nullptr;
        return true;
    }
    return !infeasible;
}

} // namespace cutting::detail
