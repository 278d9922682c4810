#include "cover_proof.h"

#include "bar_list.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/glpk_guard.h"
#include "optimize/lp/safe_bound.h"

#include <glpk.h>

#include <algorithm>
#include <cmath>

namespace cutting::detail {

namespace {

// The cost of a piece too many or too few in the relaxation, for each bar
// allowed: it keeps every node's relaxation solvable, and where the pieces
// cannot be covered exactly its duals then prove a cost beyond the bars.
constexpr double Elastic = 1000.0;
// A level this close to a whole number counts as one: where to split, and
// whether a packing is worth checking, never a proof.
constexpr double Integral = 1e-6;
// Work counted for a node beyond its simplex steps: reading and checking its
// duals against every bar.
constexpr long long NodeWork = 20000;

} // namespace

CoverProof::CoverProof(const Instance& in, const BarList& list, int bars)
    : in_(in), list_(list), bars_(bars), rows_(in.Types()) {}

bool CoverProof::Build() {
    const auto m = static_cast<size_t>(rows_);
    const size_t n = list_.Size();
    lo_.assign(n, 0.0);
    hi_.assign(n, 0.0);
    reach_.assign(m + 1, 0.0);
    for (size_t t = 0; t < m; ++t)
        reach_[t] = in_.demand[t];
    for (size_t b = 0; b < n; ++b) {
        int most = bars_;
        for (const auto* it = list_.Begin(b); it != list_.End(b); ++it)
            most = std::min(most, in_.demand[static_cast<size_t>(it->type)] / it->count);
        hi_[b] = std::max(most, 0);
        for (const auto* it = list_.Begin(b); it != list_.End(b); ++it)
            reach_[static_cast<size_t>(it->type)] += hi_[b] * it->count;
        reach_[m] += hi_[b];
    }
    auto build = [&] {
        problem_.lp = glp_create_prob();
        glp_prob* lp = problem_.lp;
        glp_set_obj_dir(lp, GLP_MIN);
        glp_add_rows(lp, rows_);
        for (int t = 0; t < rows_; ++t) {
            const double d = in_.demand[static_cast<size_t>(t)];
            glp_set_row_bnds(lp, t + 1, GLP_FX, d, d);
        }
        std::vector<int> index;
        std::vector<double> coef;
        for (size_t b = 0; b < n; ++b) {
            index.assign(1, 0);
            coef.assign(1, 0.0);
            for (const auto* it = list_.Begin(b); it != list_.End(b); ++it) {
                index.push_back(it->type + 1);
                coef.push_back(it->count);
            }
            const int col = glp_add_cols(lp, 1);
            glp_set_mat_col(lp, col, static_cast<int>(index.size()) - 1, index.data(), coef.data());
            glp_set_col_bnds(lp, col, hi_[b] > 0.0 ? GLP_DB : GLP_FX, 0.0, hi_[b]);
            glp_set_obj_coef(lp, col, 1.0);
        }
        for (int t = 0; t < rows_; ++t)
            for (const double sign : {1.0, -1.0}) {
                const int col = glp_add_cols(lp, 1);
                const int row[] = {0, t + 1};
                const double value[] = {0.0, sign};
                glp_set_mat_col(lp, col, 1, row, value);
                glp_set_col_bnds(lp, col, GLP_LO, 0.0, 0.0);
                glp_set_obj_coef(lp, col, Elastic * (bars_ + 1.0));
            }
    };
    if (!Guarded(build))
        problem_.lp = nullptr;
    path_.clear();
    return problem_.lp != nullptr;
}

// Whether the duals prove the node empty: for any levels within the bars'
// bounds that cover the pieces exactly, the bars' count is the demand's worth
// plus each bar's level times its reduced cost, and the least that can be is
// more than the bars allowed. Whatever GLPK's rounding, the duals made whole
// numbers prove that exactly.
bool CoverProof::Proved(const std::vector<double>& dual) const {
    std::vector<double> value = dual;
    value.push_back(1.0);
    const WholeValues whole = MakeWhole(value, reach_);
    const long long cost = whole.value.back();
    if (cost <= 0)
        return false;
    Wide least = 0;
    for (size_t t = 0; t < dual.size(); ++t)
        least += static_cast<Wide>(whole.value[t]) * in_.demand[t];
    for (size_t b = 0; b < list_.Size(); ++b) {
        Wide reduced = cost;
        for (const auto* it = list_.Begin(b); it != list_.End(b); ++it)
            reduced -= static_cast<Wide>(whole.value[static_cast<size_t>(it->type)]) * it->count;
        const double level = reduced >= 0 ? lo_[b] : hi_[b];
        least += reduced * static_cast<long long>(level);
    }
    return least > static_cast<Wide>(bars_) * cost;
}

CoverProof::Node CoverProof::Evaluate(Packing& packing, int& bar, double& at) {
    const size_t n = list_.Size();
    std::vector<double> dual(static_cast<size_t>(rows_)), level(n);
    double elastic = 0.0;
    problem_.Run([&](glp_prob* lp) {
        for (int t = 0; t < rows_; ++t)
            dual[static_cast<size_t>(t)] = glp_get_row_dual(lp, t + 1);
        for (size_t b = 0; b < n; ++b)
            level[b] = glp_get_col_prim(lp, static_cast<int>(b) + 1);
        for (int col = static_cast<int>(n) + 1; col <= glp_get_num_cols(lp); ++col)
            elastic += glp_get_col_prim(lp, col);
    });
    if (Proved(dual))
        return Node::CutOff;
    double farthest = Integral;
    bar = -1;
    for (size_t b = 0; b < n; ++b)
        if (const double off =
                std::min(level[b] - std::floor(level[b]), std::ceil(level[b]) - level[b]);
            off > farthest) {
            farthest = off;
            bar = static_cast<int>(b);
            at = level[b];
        }
    if (bar >= 0)
        return Node::Split;
    if (elastic > Integral)
        return Node::Stuck;
    // Whole levels: a packing, when it covers the pieces exactly.
    std::vector<int> left = in_.demand;
    long long count = 0;
    packing.clear();
    for (size_t b = 0; b < n; ++b) {
        const long long copies = std::llround(level[b]);
        if (copies <= 0)
            continue;
        Bar content(in_.size.size(), 0);
        for (const auto* it = list_.Begin(b); it != list_.End(b); ++it) {
            content[static_cast<size_t>(it->type)] = it->count;
            left[static_cast<size_t>(it->type)] -= static_cast<int>(copies) * it->count;
        }
        count += copies;
        packing.insert(packing.end(), static_cast<size_t>(copies), content);
    }
    const bool covers = std::all_of(left.begin(), left.end(), [](int k) { return k == 0; });
    return covers && count <= bars_ ? Node::Found : Node::Stuck;
}

bool CoverProof::Bounds(int bar, double lo, double hi) {
    lo_[static_cast<size_t>(bar)] = lo;
    hi_[static_cast<size_t>(bar)] = hi;
    return problem_.Run(
        [&](glp_prob* lp) { glp_set_col_bnds(lp, bar + 1, lo < hi ? GLP_DB : GLP_FX, lo, hi); });
}

// Moves to the next node of the depth-first search: the second side of the
// deepest split whose first side is done. False when none is left.
bool CoverProof::Backtrack() {
    while (!path_.empty()) {
        Branch& b = path_.back();
        if (!b.down) {
            b.down = true;
            Bounds(b.bar, b.lo, std::floor(b.at));
            return true;
        }
        Bounds(b.bar, b.lo, b.hi);
        path_.pop_back();
    }
    return false;
}

CoverProof::Outcome CoverProof::Run(const Stop& stop, Packing& packing) {
    if (done_) {
        packing = found_;
        return !found_.empty() ? Outcome::Found : proof_ ? Outcome::None : Outcome::Open;
    }
    if (!built_) {
        built_ = true;
        if (!Build())
            return Outcome::Open;
    }
    if (problem_.lp == nullptr)
        return Outcome::Open;
    while (!stop.Now()) {
        bool optimal = false;
        if (!problem_.Run([&](glp_prob* lp) {
                optimal = SimplexInSlices(lp, GLP_DUALP, SimplexSlice(rows_), rows_, stop) ==
                          SimplexEnd::Optimal;
            }))
            return Outcome::Open;
        if (stop.Now())
            return Outcome::Open;
        stop.Spend(NodeWork);
        int bar = -1;
        double at = 0.0;
        const Node node = optimal ? Evaluate(packing, bar, at) : Node::Stuck;
        if (node == Node::Found) {
            done_ = true;
            found_ = packing;
            return Outcome::Found;
        }
        if (node == Node::Split) {
            path_.push_back(
                {bar, lo_[static_cast<size_t>(bar)], hi_[static_cast<size_t>(bar)], at, false});
            Bounds(bar, std::ceil(at), hi_[static_cast<size_t>(bar)]);
            continue;
        }
        proof_ = proof_ && node == Node::CutOff;
        if (!Backtrack()) {
            done_ = true;
            return proof_ ? Outcome::None : Outcome::Open;
        }
    }
    return Outcome::Open;
}

} // namespace cutting::detail
