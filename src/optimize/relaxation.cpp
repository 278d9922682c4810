#include "packing.h"

#include <glpk.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <set>

namespace cutting::detail {

namespace {

constexpr double Tolerance = 1e-9;

// Most valuable bar for the given piece values: a bounded knapsack over whole
// millimetres, each size split into 1, 2, 4, ... copies so that a 0-1 table
// can be walked back.
class Pricing {
public:
    explicit Pricing(const Instance& in) : in_(in) {}

    double best(const std::vector<double>& value, const std::vector<int>& limit, Bar& bar) {
        const size_t width = static_cast<size_t>(in_.capacity) + 1;
        lots_.clear();
        for (size_t i = 0; i < in_.size.size(); ++i) {
            int copies = std::min(limit[i], in_.capacity / in_.size[i]);
            if (value[i] <= Tolerance)
                continue;
            for (int k = 1; copies > 0; k *= 2) {
                const int take = std::min(k, copies);
                lots_.push_back({i, take});
                copies -= take;
            }
        }
        table_.assign(std::max<size_t>(lots_.size(), 1) * width, 0);
        best_.assign(width, 0.0);
        for (size_t l = 0; l < lots_.size(); ++l) {
            const auto [i, k] = lots_[l];
            const size_t w = static_cast<size_t>(in_.size[i]) * static_cast<size_t>(k);
            const double v = value[i] * k;
            std::uint8_t* chosen = &table_[l * width];
            for (size_t c = width; c-- > w;) {
                if (best_[c - w] + v > best_[c] + Tolerance) {
                    best_[c] = best_[c - w] + v;
                    chosen[c] = 1;
                }
            }
        }
        bar.assign(in_.size.size(), 0);
        size_t c = width - 1;
        const double result = best_[c];
        for (size_t l = lots_.size(); l-- > 0;) {
            if (table_[l * width + c]) {
                bar[lots_[l].first] += lots_[l].second;
                c -= static_cast<size_t>(in_.size[lots_[l].first]) *
                     static_cast<size_t>(lots_[l].second);
            }
        }
        return result;
    }

private:
    const Instance& in_;
    std::vector<std::pair<size_t, int>> lots_;
    std::vector<std::uint8_t> table_;
    std::vector<double> best_;
};

struct ProblemDeleter {
    void operator()(glp_prob* p) const { glp_delete_prob(p); }
};

// The relaxation as a GLPK problem: one row per size (at least as many pieces
// as still needed), one column per bar content, each bar costing 1.
class Master {
public:
    explicit Master(const Instance& in) : in_(in), lp_(glp_create_prob()), pricing_(in) {
        glp_term_out(GLP_OFF);
        glp_set_obj_dir(lp_.get(), GLP_MIN);
        glp_add_rows(lp_.get(), in.types());
        setDemand(in.demand);
    }

    void setDemand(const std::vector<int>& demand) {
        demand_ = demand;
        for (int i = 0; i < in_.types(); ++i)
            glp_set_row_bnds(lp_.get(), i + 1, GLP_LO, demand[static_cast<size_t>(i)], 0.0);
    }

    void add(const Bar& bar) {
        if (std::all_of(bar.begin(), bar.end(), [](int k) { return k == 0; }))
            return;
        if (!known_.insert(bar).second)
            return;
        const int col = glp_add_cols(lp_.get(), 1);
        std::vector<int> index{0};
        std::vector<double> coef{0.0};
        for (size_t i = 0; i < bar.size(); ++i)
            if (bar[i] > 0) {
                index.push_back(static_cast<int>(i) + 1);
                coef.push_back(bar[i]);
            }
        glp_set_mat_col(lp_.get(), col, static_cast<int>(index.size()) - 1, index.data(),
                        coef.data());
        glp_set_col_bnds(lp_.get(), col, GLP_LO, 0.0, 0.0);
        glp_set_obj_coef(lp_.get(), col, 1.0);
        columns_.push_back(bar);
    }

    // Generates columns until none improves; false when out of time or the
    // solver failed. `bound` receives the best bound seen, and generation
    // stops as soon as it reaches `target`.
    bool solve(int target, int& bound, Clock::time_point deadline) {
        glp_smcp parm;
        glp_init_smcp(&parm);
        parm.msg_lev = GLP_MSG_OFF;
        std::vector<double> value(in_.size.size());
        Bar bar;
        for (;;) {
            if (Clock::now() > deadline)
                return false;
            if (glp_simplex(lp_.get(), &parm) != 0 || glp_get_status(lp_.get()) != GLP_OPT)
                return false;
            value_ = glp_get_obj_val(lp_.get());
            for (int i = 0; i < in_.types(); ++i)
                value[static_cast<size_t>(i)] = std::max(0.0, glp_get_row_dual(lp_.get(), i + 1));
            const double price = pricing_.best(value, demand_, bar);
            // Every bar is worth at most `price`, so value / price bars are needed.
            if (price > Tolerance)
                bound = std::max(bound, RoundUp(value_ / std::max(price, 1.0)));
            if (price <= 1.0 + 1e-7) {
                bound = std::max(bound, RoundUp(value_));
                return true;
            }
            if (bound >= target)
                return true;
            const size_t before = columns_.size();
            add(bar);
            if (columns_.size() == before)
                return true; // the solver's duals are too inexact to go on
        }
    }

    double value() const { return value_; }
    const std::vector<Bar>& columns() const { return columns_; }
    double level(size_t column) const {
        return glp_get_col_prim(lp_.get(), static_cast<int>(column) + 1);
    }

private:
    static int RoundUp(double v) { return static_cast<int>(std::ceil(v - 1e-6)); }

    const Instance& in_;
    std::unique_ptr<glp_prob, ProblemDeleter> lp_;
    Pricing pricing_;
    std::vector<int> demand_;
    std::set<Bar> known_;
    std::vector<Bar> columns_;
    double value_ = 0.0;
};

// Cuts `bar` down to what is still needed and takes it off `rem`.
Bar TakeBar(const Bar& bar, std::vector<int>& rem) {
    Bar taken(bar.size(), 0);
    for (size_t i = 0; i < bar.size(); ++i) {
        taken[i] = std::min(bar[i], rem[i]);
        rem[i] -= taken[i];
    }
    return taken;
}

bool Empty(const Bar& bar) {
    return std::all_of(bar.begin(), bar.end(), [](int k) { return k == 0; });
}

} // namespace

Relaxation SolveRelaxation(const Instance& in, int target, bool round, Clock::time_point deadline) {
    Relaxation result;
    Master master(in);
    for (const Bar& bar : FirstFitDecreasing(in))
        master.add(bar);
    for (size_t i = 0; i < in.size.size(); ++i) {
        Bar single(in.size.size(), 0);
        single[i] = std::min(in.demand[i], in.capacity / in.size[i]);
        master.add(single);
    }
    result.solved = master.solve(target, result.bound, deadline);
    result.value = master.value();
    if (!round || !result.solved || result.bound >= target)
        return result;

    // Fix the bars the relaxation uses whole, or else its most used bar, and
    // solve again for what is left.
    std::vector<int> rem = in.demand;
    Packing packing;
    while (!Empty(rem)) {
        master.setDemand(rem);
        int ignored = 0;
        if (!master.solve(in.pieces() + 1, ignored, deadline))
            return result;
        bool fixed = false;
        size_t most = 0;
        double mostLevel = -1.0;
        for (size_t p = 0; p < master.columns().size(); ++p) {
            const double x = master.level(p);
            if (x > mostLevel)
                most = p, mostLevel = x;
            for (int k = static_cast<int>(std::floor(x + 1e-6)); k > 0; --k) {
                Bar bar = TakeBar(master.columns()[p], rem);
                if (!Empty(bar)) {
                    packing.push_back(std::move(bar));
                    fixed = true;
                }
            }
        }
        if (!fixed) {
            Bar bar = TakeBar(master.columns()[most], rem);
            if (Empty(bar))
                return result;
            packing.push_back(std::move(bar));
        }
    }
    result.packing = std::move(packing);
    return result;
}

} // namespace cutting::detail
