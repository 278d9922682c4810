#include "pattern_lp.h"

#include "glpk_guard.h"
#include "price_bar.h"
#include "safe_bound.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <glpk.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace cutting::detail {

namespace {

// A bar is worth adding when its duals sum beyond its cost by more than the
// simplex's own error. This tolerance only decides which columns to add, and
// so how fast the relaxation gets on: the bounds are proved in whole numbers
// (safe_bound.h) whatever it is.
constexpr double Improves = 1e-9;
// Duals are priced halfway between the last ones and those of the best bound
// so far: the raw duals of a degenerate relaxation swing from one extreme to
// another, and far fewer columns are needed when they are held back.
constexpr double Smoothing = 0.5;
// A column's level above the simplex's own error: the solution uses it.
constexpr double Used = 1e-9;

bool OfOneSize(const Bar& bar) {
    return std::count(bar.begin(), bar.end(), 0) + 1 == std::ssize(bar);
}

// Whether a bar holds at most a few pieces: the relaxation then needs many
// rounds of pricing, each new bar covering only a few sizes.
bool FewPiecesABar(const Instance& in) {
    return !in.size.empty() && in.capacity / in.size.back() <= 5;
}

// Sizes that get a bar of their own in each round of pricing: more when the
// bar holds few pieces and is long, so that each round of pricing is costly
// (it goes through the branch and bound) and fewer rounds pay.
size_t Around(const Instance& in) {
    const bool costly = static_cast<double>(in.Types()) * (in.capacity + 1.0) > (1 << 20);
    return FewPiecesABar(in) && costly ? 40 : 10;
}

double Worth(const Bar& bar, const std::vector<double>& duals) {
    double worth = 0.0;
    for (size_t i = 0; i < bar.size(); ++i)
        worth += bar[i] * duals[i];
    return worth;
}

} // namespace

struct PatternLp::Problem : GlpkProblem {};

PatternLp::PatternLp(const Instance& in) : in_(in), lp_(std::make_unique<Problem>()) {
    auto create = [this] {
        lp_->lp = glp_create_prob();
        glp_set_obj_dir(lp_->lp, GLP_MIN);
        glp_add_rows(lp_->lp, in_.Types());
        // A piece may always be cut shorter: a column of cost 0 that turns one
        // piece of a size into one of the next shorter size. In the duals,
        // a longer piece is worth at least as much as a shorter one, which
        // holds for some optimal duals anyway; the relaxation's value stays
        // the same, but far fewer rounds of pricing reach it when a bar holds
        // only a few pieces and every size is needed about once. With more
        // pieces a bar the relaxation is quick anyway, and the dives after it
        // then take the time the search would have saved a bar with.
        const int m = in_.Types();
        if (m > 1 && FewPiecesABar(in_)) {
            glp_add_cols(lp_->lp, m - 1);
            for (int i = 1; i < m; ++i) {
                const int index[] = {0, i, i + 1};
                const double coef[] = {0.0, -1.0, 1.0};
                glp_set_col_bnds(lp_->lp, i, GLP_LO, 0.0, 0.0);
                glp_set_mat_col(lp_->lp, i, 2, index, coef);
            }
            shorter_ = m - 1;
        }
    };
    if (!Guarded(create))
        lp_->lp = nullptr;
    SetDemand(in.demand);
    // Bars of one size each keep every demand coverable.
    for (size_t i = 0; i < in.size.size(); ++i) {
        Bar single(in.size.size(), 0);
        single[i] = in.capacity / in.size[i];
        Add(single);
    }
}

PatternLp::~PatternLp() = default;

void PatternLp::SetDemand(const std::vector<int>& demand) {
    // What the last solution uses, read before the bounds change it.
    std::vector<char> used(columns_.size(), 0);
    lp_->Run([&](glp_prob* lp) {
        for (size_t c = 0; c < columns_.size(); ++c)
            used[c] = active_[c] && glp_get_col_prim(lp, shorter_ + static_cast<int>(c) + 1) > Used;
    });
    demand_ = demand;
    lp_->Run([&](glp_prob* lp) {
        for (int i = 0; i < in_.Types(); ++i)
            glp_set_row_bnds(lp, i + 1, GLP_LO, demand[static_cast<size_t>(i)], 0.0);
    });
    // A column with more pieces of a size than still needed is set aside
    // rather than changed. When the last solution used it, its cut-down copy
    // takes its place: the basis stays valid, and the dual simplex picks up
    // from it in a few steps. So does a bar of one size, which keeps every
    // demand coverable. The others are left to the pricing: their copies
    // would pile up node after node of a dive, thousands of columns that
    // every simplex goes over.
    const int columns = Columns();
    for (int c = 0; c < columns; ++c) {
        const Bar& bar = columns_[static_cast<size_t>(c)];
        bool fits = true;
        for (size_t i = 0; i < bar.size() && fits; ++i)
            fits = bar[i] <= demand[i];
        if (fits != static_cast<bool>(active_[static_cast<size_t>(c)])) {
            lp_->Run([&](glp_prob* lp) {
                glp_set_col_bnds(lp, shorter_ + c + 1, fits ? GLP_LO : GLP_FX, 0.0, 0.0);
            });
            active_[static_cast<size_t>(c)] = fits;
        }
        if (!fits && (used[static_cast<size_t>(c)] || OfOneSize(bar)))
            Add(bar);
    }
    // Bounds and smoothing belong to the demand they were found for.
    proven_ = 0.0;
    bound_ = 0;
    centre_.clear();
    boundValues_.clear();
    dual_ = true;
}

bool PatternLp::Add(const Bar& bar) {
    Bar capped(bar.size());
    for (size_t i = 0; i < bar.size(); ++i)
        capped[i] = std::min(bar[i], demand_[i]);
    if (std::all_of(capped.begin(), capped.end(), [](int k) { return k == 0; }) ||
        !known_.insert(capped).second)
        return false;
    std::vector<int> index{0};
    std::vector<double> coef{0.0};
    for (size_t i = 0; i < capped.size(); ++i)
        if (capped[i] > 0) {
            index.push_back(static_cast<int>(i) + 1);
            coef.push_back(capped[i]);
        }
    const bool added = lp_->Run([&](glp_prob* lp) {
        const int col = glp_add_cols(lp, 1);
        glp_set_col_bnds(lp, col, GLP_LO, 0.0, 0.0);
        glp_set_obj_coef(lp, col, 1.0);
        glp_set_mat_col(lp, col, static_cast<int>(index.size()) - 1, index.data(), coef.data());
    });
    if (!added)
        return false;
    columns_.push_back(std::move(capped));
    active_.push_back(1);
    return true;
}

void PatternLp::CutShorter(bool allowed) {
    if (shorter_ == 0)
        return;
    lp_->Run([&](glp_prob* lp) {
        for (int k = 1; k <= shorter_; ++k)
            glp_set_col_bnds(lp, k, allowed ? GLP_LO : GLP_FX, 0.0, 0.0);
    });
    dual_ = true;
}

double PatternLp::Level(int c) const {
    double level = 0.0;
    if (active_[static_cast<size_t>(c)])
        lp_->Run([&](glp_prob* lp) { level = glp_get_col_prim(lp, shorter_ + c + 1); });
    return level;
}

bool PatternLp::Simplex(const Stop& stop) {
    // A new demand keeps the last basis dual feasible, new columns keep it
    // primal feasible.
    const int method = dual_ ? GLP_DUALP : GLP_PRIMAL;
    dual_ = false;
    bool optimal = false;
    const bool ran = lp_->Run([&](glp_prob* lp) {
        optimal = SimplexInSlices(lp, method, SimplexSlice(in_.Types()), in_.Types(), stop) ==
                  SimplexEnd::Optimal;
    });
    return ran && optimal;
}

void PatternLp::Keep(const std::vector<double>& at, const WholeValues& whole, long long most) {
    // Any values give the Farley bound: no bar is worth more than `most`, so
    // the demand's worth needs at least its ratio to it in bars.
    const Wide needed = WorthOf(whole.value, demand_);
    const double bound = Real(needed, whole.shift) / Real(most, whole.shift);
    bound_ = std::max(bound_, static_cast<int>(std::min<long long>(
                                  FarleyBound(needed, most), std::numeric_limits<int>::max())));
    if (bound > proven_) {
        proven_ = bound;
        centre_ = at;
        boundValues_.resize(at.size());
        for (size_t i = 0; i < at.size(); ++i)
            boundValues_[i] = static_cast<double>(whole.value[i]) / static_cast<double>(most);
    }
}

void PatternLp::Price(const std::vector<double>& at, const std::vector<double>& duals,
                      std::vector<Bar>& improving, const Stop& stop, bool exact) {
    std::vector<Bar> found;
    const WholeValues whole = WholePieceValues(in_, at, demand_);
    // A bar's cost, and what an improving bar is worth, in the same whole
    // numbers. Bars worth less than a bar's cost count as worth it, so that
    // the values of the best bound leave no bar worth more than 1.
    auto scaled = [&](double v) {
        return static_cast<long long>(
            std::min(std::ldexp(v, whole.shift), static_cast<double>(MostWorth)));
    };
    const long long one = scaled(1.0), wanted = scaled(1.0 + Improves);
    const long long best =
        PriceBar(in_, whole.value, demand_, wanted, found, stop, exact, &scratch_);
    if (best != NoBound)
        Keep(at, whole, std::max(best, one));
    // Bars already in the relaxation that seem to improve only show the
    // simplex's tolerance.
    for (Bar& bar : found)
        if (Worth(bar, duals) > 1.0 + Improves && known_.count(bar) == 0)
            improving.push_back(std::move(bar));
    if (improving.empty())
        return;
    // One bar per round leaves most sizes waiting for many rounds, each a
    // costly simplex: add the best bar around each of a few of the sizes
    // the duals value most for their length and no bar found covers.
    std::vector<char> covered(demand_.size(), 0);
    for (const Bar& bar : improving)
        for (size_t i = 0; i < bar.size(); ++i)
            covered[i] = covered[i] || bar[i] > 0;
    std::vector<size_t> wanting;
    for (size_t i = 0; i < demand_.size(); ++i)
        if (!covered[i] && demand_[i] > 0 && duals[i] > 0.0)
            wanting.push_back(i);
    const size_t around = std::min(wanting.size(), Around(in_));
    std::partial_sort(
        wanting.begin(), wanting.begin() + static_cast<std::ptrdiff_t>(around), wanting.end(),
        [&](size_t a, size_t b) { return duals[a] * in_.size[b] > duals[b] * in_.size[a]; });
    Instance rest = in_;
    std::vector<int> limit = demand_;
    for (size_t k = 0; k < around && !stop.Now(); ++k) {
        const size_t i = wanting[k];
        if (covered[i])
            continue;
        rest.capacity = in_.capacity - in_.size[i];
        --limit[i];
        found.clear();
        PriceBar(rest, whole.value, limit, wanted - whole.value[i], found, stop, false, &scratch_);
        ++limit[i];
        if (found.empty())
            continue;
        Bar& bar = found.back();
        ++bar[i];
        if (Worth(bar, duals) > 1.0 + Improves && known_.count(bar) == 0) {
            for (size_t j = 0; j < bar.size(); ++j)
                covered[j] = covered[j] || bar[j] > 0;
            improving.push_back(std::move(bar));
        }
    }
}

PatternLp::Status PatternLp::Solve(int target, const Stop& stop, long long rounds, bool exact,
                                   bool whole) {
    const long long begin = stop.Done();
    std::vector<double> duals(demand_.size()), at(demand_.size());
    std::vector<Bar> improving;
    if (centre_.empty()) {
        // Duals in proportion to the sizes are worth at most 1 for every bar:
        // the size bound, and a centre that is optimal when bars fill up exactly.
        centre_.resize(demand_.size());
        long long total = 0;
        for (size_t i = 0; i < centre_.size(); ++i) {
            centre_[i] = static_cast<double>(in_.size[i]) / in_.capacity;
            total += static_cast<long long>(demand_[i]) * in_.size[i];
        }
        proven_ = static_cast<double>(total) / in_.capacity;
        bound_ = static_cast<int>((total + in_.capacity - 1) / in_.capacity);
        boundValues_ = centre_;
    }
    for (bool first = true;; first = false) {
        if (stop.Now() || (!first && stop.Done() - begin >= rounds))
            return Status::Stopped;
        if (!Simplex(stop))
            return stop.Now() ? Status::Stopped : Status::Failed;
        if (!lp_->Run([&](glp_prob* lp) {
                value_ = glp_get_obj_val(lp);
                for (int i = 0; i < in_.Types(); ++i)
                    duals[static_cast<size_t>(i)] = std::max(0.0, glp_get_row_dual(lp, i + 1));
            }))
            return Status::Failed;
        improving.clear();
        for (size_t i = 0; i < at.size(); ++i)
            at[i] = Smoothing * centre_[i] + (1.0 - Smoothing) * duals[i];
        Price(at, duals, improving, stop, false);
        // Nothing found between the two: price the duals themselves; to the
        // last bit when asked, which settles whether any bar improves.
        if (improving.empty())
            Price(duals, duals, improving, stop, exact);
        if (bound_ >= target || (!whole && bound_ >= RoundedValue(value_)))
            return Status::Bounded;
        if (stop.Now())
            return Status::Stopped;
        bool added = false;
        for (const Bar& bar : improving)
            added = Add(bar) || added;
        // No new bar: the relaxation is solved, or its duals are too inexact
        // to go on; the bound holds either way.
        if (!added)
            return Status::Optimal;
    }
}

} // namespace cutting::detail
