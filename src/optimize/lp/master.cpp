#include "master.h"

#include "glpk_guard.h"
#include "safe_bound.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <glpk.h>

#include <algorithm>
#include <chrono>
#include <climits>

namespace cutting::detail {

namespace {

bool Empty(const Bar& bar) {
    return std::all_of(bar.begin(), bar.end(), [](int k) { return k == 0; });
}

} // namespace

Master::Master(const Instance& in, const std::vector<Kind>& kinds)
    : in_(in), kinds_(kinds), limitedRow_(kinds.size(), 0) {
    int rows = in.Types();
    for (size_t k = 0; k < kinds.size(); ++k)
        if (kinds[k].count >= 0)
            limitedRow_[k] = ++rows;
    glp_prob* lp = nullptr;
    auto create = [&] {
        lp = glp_create_prob();
        glp_set_obj_dir(lp, GLP_MIN);
        glp_add_rows(lp, rows);
    };
    if (Guarded(create))
        lp_ = lp;
    sizeDual_.assign(in.size.size(), 0.0);
    kindDual_.assign(kinds.size(), 0.0);
    SetDemand(in.demand);
    std::vector<int> counts;
    for (const Kind& kind : kinds)
        counts.push_back(kind.count);
    SetCounts(counts);
}

Master::~Master() {
    if (lp_ != nullptr) {
        auto remove = [this] { glp_delete_prob(lp_); };
        Guarded(remove);
    }
}

void Master::SetDemand(const std::vector<int>& demand) {
    demand_ = demand;
    prices_.clear();
    if (lp_ == nullptr)
        return;
    auto set = [this] {
        for (int i = 0; i < in_.Types(); ++i)
            glp_set_row_bnds(lp_, i + 1, GLP_LO, demand_[static_cast<size_t>(i)], 0.0);
    };
    if (!Guarded(set))
        lp_ = nullptr;
}

void Master::SetCounts(const std::vector<int>& counts) {
    if (lp_ == nullptr)
        return;
    auto set = [&] {
        for (size_t k = 0; k < kinds_.size(); ++k)
            if (limitedRow_[k] > 0)
                glp_set_row_bnds(lp_, limitedRow_[k], GLP_UP, 0.0, std::max(counts[k], 0));
    };
    if (!Guarded(set))
        lp_ = nullptr;
}

void Master::Add(int kind, const Bar& bar) {
    if (lp_ == nullptr || Empty(bar) || !known_.insert({kind, bar}).second)
        return;
    std::vector<int> index{0};
    std::vector<double> coef{0.0};
    for (size_t i = 0; i < bar.size(); ++i)
        if (bar[i] > 0) {
            index.push_back(static_cast<int>(i) + 1);
            coef.push_back(bar[i]);
        }
    const int row = limitedRow_[static_cast<size_t>(kind)];
    if (row > 0) {
        index.push_back(row);
        coef.push_back(1.0);
    }
    const int length = static_cast<int>(index.size()) - 1;
    const auto cost = static_cast<double>(kinds_[static_cast<size_t>(kind)].cost);
    auto addColumn = [&] {
        const int col = glp_add_cols(lp_, 1);
        glp_set_mat_col(lp_, col, length, index.data(), coef.data());
        glp_set_col_bnds(lp_, col, GLP_LO, 0.0, 0.0);
        glp_set_obj_coef(lp_, col, cost);
    };
    if (!Guarded(addColumn)) {
        lp_ = nullptr;
        return;
    }
    columns_.push_back({kind, bar});
}

bool Master::Simplex(const Stop& stop) {
    if (stop.Now())
        return false;
    bool optimal = false;
    auto run = [&] {
        const int rows = glp_get_num_rows(lp_);
        optimal =
            SimplexInSlices(lp_, GLP_PRIMAL, SimplexSlice(rows), rows, stop) == SimplexEnd::Optimal;
    };
    if (!Guarded(run)) {
        lp_ = nullptr;
        return false;
    }
    return optimal;
}

bool Master::ReadDuals() {
    auto read = [this] {
        value_ = glp_get_obj_val(lp_);
        for (int i = 0; i < in_.Types(); ++i)
            sizeDual_[static_cast<size_t>(i)] = std::max(0.0, glp_get_row_dual(lp_, i + 1));
        for (size_t k = 0; k < kinds_.size(); ++k)
            kindDual_[k] =
                limitedRow_[k] > 0 ? std::min(0.0, glp_get_row_dual(lp_, limitedRow_[k])) : 0.0;
        const int n = glp_get_num_cols(lp_);
        for (int col = 1; col <= n; ++col)
            levels_[static_cast<size_t>(col - 1)] = glp_get_col_prim(lp_, col);
    };
    levels_.resize(columns_.size());
    if (!Guarded(read)) {
        lp_ = nullptr;
        return false;
    }
    return true;
}

// Whether a bar of kind `k` worth `price` lowers the cost of the relaxation.
// Its tolerance only decides which columns to add, and so how fast the
// relaxation gets on: the bound is proved in whole numbers whatever it is.
bool Master::Improves(size_t k, double price) const {
    const auto cost = static_cast<double>(kinds_[k].cost);
    return price + kindDual_[k] > cost * (1.0 + 1e-7) + (cost > 0 ? 0.0 : 1e-7);
}

bool Master::Solve(const std::function<bool(double)>& enough, double& bound, const Stop& stop) {
    std::vector<Bar> bars(kinds_.size());
    for (;;) {
        if (lp_ == nullptr || stop.Now() || !Simplex(stop) || !ReadDuals())
            return false;
        if (!choice_.Fill(in_, sizeDual_, demand_, stop) || !Prove(stop))
            return false;
        bound = std::max(bound, static_cast<double>(LeastCost(prices_.back().wholeNeeded, kinds_,
                                                              prices_.back().wholePrice)));
        std::vector<double> price(kinds_.size());
        bool improving = false;
        for (size_t k = 0; k < kinds_.size(); ++k) {
            price[k] = choice_.Best(kinds_[k].capacity, bars[k]);
            improving = improving || Improves(k, price[k]);
        }
        if (!improving || enough(bound))
            return true;
        const size_t before = columns_.size();
        for (size_t k = 0; k < kinds_.size(); ++k)
            if (Improves(k, price[k]))
                Add(static_cast<int>(k), bars[k]);
        if (lp_ == nullptr)
            return false;
        if (columns_.size() == before)
            return true; // the solver's duals are too inexact to go on
    }
}

// The pieces are worth `needed` at the duals made whole, a bar of each kind
// at most its price: the Lagrangian bound on the cost (safe_bound.h). The
// pricing repeats the one that chose the columns, on whole values, and is not
// counted again as work.
bool Master::Prove(const Stop& stop) {
    const WholeValues whole = WholePieceValues(in_, sizeDual_, demand_);
    if (!proof_.Fill(in_, whole.value, demand_, stop.Apart()))
        return false;
    PriceBound proof;
    proof.shift = whole.shift;
    proof.wholeNeeded = static_cast<long long>(WorthOf(whole.value, demand_));
    proof.needed = Real(proof.wholeNeeded, whole.shift);
    for (const Kind& kind : kinds_) {
        proof.wholePrice.push_back(proof_.Worth(kind.capacity));
        proof.price.push_back(Real(proof.wholePrice.back(), whole.shift));
    }
    prices_.push_back(std::move(proof));
    return true;
}

} // namespace cutting::detail
