#pragma once

// Column generation over bar contents and what is built on it: the pricing
// knapsack, the pattern relaxation with its proven bound, and the dive that
// rounds the relaxation into a packing. Every function here polls `stop`.

#include "price_bar.h"
#include "safe_bound.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <limits>
#include <memory>
#include <unordered_set>
#include <vector>

namespace cutting::detail {

// --- the pattern relaxation -------------------------------------------------------
// The column generation for one stock length; several kinds of bar have their
// own in master.h, which says how the two divide the work.
// One row per size (at least as many pieces as still needed), one column per
// bar content, each bar costing 1; bars with more pieces of a size than still
// needed are set aside. `in` must outlive it.
class PatternLp {
public:
    explicit PatternLp(const Instance& in);
    ~PatternLp();
    PatternLp(const PatternLp&) = delete;
    PatternLp& operator=(const PatternLp&) = delete;

    // What is still needed; bounds found before no longer hold.
    void SetDemand(const std::vector<int>& demand);
    // Adds the bar cut down to the demand; false when that adds nothing new.
    bool Add(const Bar& bar);
    // Whether a piece may be cut to a shorter size needed. Allowed at first:
    // the relaxation's value is the same either way, and it is reached in far
    // fewer rounds. A dive reads the bars themselves, which then hold longer
    // pieces where shorter ones are needed.
    void CutShorter(bool allowed);

    enum class Status { Optimal, Bounded, Stopped, Failed };
    // Generates columns until the relaxation is solved, or its proven bound
    // reaches `target` or the rounding up of the relaxation's value. Starts
    // no new round of pricing once it has done `rounds` steps of work, but
    // always solves the columns it has. Unless `exact`, it may end a little
    // short of the optimum when many bars are nearly as good as the best,
    // and its bound with it.
    // With `whole`, it goes on until the relaxation itself is solved, the
    // bound then its value, however soon the rounding up is reached.
    Status Solve(int target, const Stop& stop, long long rounds = Stop::Unlimited,
                 bool exact = true, bool whole = false);

    double Value() const { return value_; } // of the columns so far
    int Bound() const { return bound_; }    // proven: no packing of the demand uses fewer
    // Piece values behind the best bound: no bar is worth more than 1 at
    // them, and the demand is worth the unrounded bound.
    const std::vector<double>& BoundValues() const { return boundValues_; }
    int Columns() const { return static_cast<int>(columns_.size()); }
    const Bar& Column(int c) const { return columns_[static_cast<size_t>(c)]; }
    double Level(int c) const;

private:
    bool Simplex(const Stop& stop);
    // Keeps the bound that values `at`, made `whole`, prove when no bar is
    // worth more than `most` at them.
    void Keep(const std::vector<double>& at, const WholeValues& whole, long long most);
    // Prices at `at`, keeps the bound it proves and the bars that improve at
    // `duals`.
    void Price(const std::vector<double>& at, const std::vector<double>& duals,
               std::vector<Bar>& improving, const Stop& stop, bool exact);

    const Instance& in_;
    struct Problem;
    std::unique_ptr<Problem> lp_;
    std::vector<int> demand_;
    int shorter_ = 0;          // columns that cut a piece shorter, before the bars
    std::vector<Bar> columns_; // never change once added
    std::vector<char> active_; // fits the demand
    // The columns again, for finding repeats.
    std::unordered_set<Bar, CountsHash> known_;
    bool dual_ = true; // the next simplex starts from a new demand
    double value_ = 0.0;
    double proven_ = 0.0; // best bound seen, unrounded
    int bound_ = 0;
    std::vector<double> centre_; // duals of the best bound, for smoothing
    std::vector<double> boundValues_;
    PricingScratch scratch_;
};

} // namespace cutting::detail
