#pragma once

// Lower bounds from linear programs, proved in whole numbers. GLPK's duals
// are floating point and never quite optimal, but any piece values that are
// not negative prove a bound: the Farley bound with one stock length, the
// Lagrangian bound with several kinds of bar. Here the values are scaled by a
// power of two and rounded down to whole numbers, which loses a hair of the
// bound and nothing of its proof: the demand's worth, the best bar's worth
// (priced by the knapsacks over these whole values) and the bound itself are
// then exact, with no margin for rounding errors. The tolerances that decide
// which columns to add stay in floating point: they cost time, not proofs.

#include "optimize/instance/instance.h"

#include <cmath>
#include <vector>

namespace cutting::detail {

// What one pricing proves: at the duals it was made for the pieces are worth
// `needed` together and a bar of kind k at most price[k], so the bars of any
// plan, offcuts on hand included, are worth at least `needed` together. The
// proof is in the whole numbers, exact (safe_bound.h); `needed` and `price`
// are the same divided by 2^shift, rounded, for choosing only.
struct PriceBound {
    double needed = 0.0;
    std::vector<double> price;
    long long wholeNeeded = 0;
    std::vector<long long> wholePrice;
    int shift = 0;
};
// 128 bits, a GCC and Clang extension: sums of products of whole values.
__extension__ typedef __int128 Wide;

// The most that whole values may add up to anywhere: a bar's worth, the
// demand's worth, a bound of the pricing on the rest of a bar. Twice this
// still fits 63 bits, so one such sum added to another never overflows.
constexpr long long MostWorth = 1LL << 60;

// Values made whole numbers: value[i] is the value given times 2^shift,
// rounded towards 0.
struct WholeValues {
    std::vector<long long> value;
    int shift = 0;
};

// Scales `value` by the largest power of two at which the sum over i of
// reach[i] * |value[i]| stays within `most`, and rounds each towards 0: any
// sum of at most reach[i] of each, whatever the signs, then stays within it.
// Values that are not finite count as 0.
WholeValues MakeWhole(const std::vector<double>& value, const std::vector<double>& reach,
                      long long most = MostWorth);

// The duals of the rows of the sizes, those below 0 set to 0, made whole for
// pricing bars of `in` (at most in.capacity / size of each size) and a demand
// of at most `demand`.
WholeValues WholePieceValues(const Instance& in, const std::vector<double>& dual,
                             const std::vector<int>& demand);

// The value given, before it was made whole: for choosing, never for proving.
inline double Real(long long value, int shift) {
    return std::ldexp(static_cast<double>(value), -shift);
}
inline double Real(Wide value, int shift) {
    return std::ldexp(static_cast<double>(value), -shift);
}

// Sum of count[i] * value[i], exactly.
Wide WorthOf(const std::vector<long long>& value, const std::vector<int>& count);

// The Farley bound: the fewest bars, each worth at most `best`, that are worth
// `needed` together, ceil(needed / best); 0 when `needed` is not above 0, and
// when `best` is not (then nothing is proved).
long long FarleyBound(Wide needed, Wide best);

// The Lagrangian bound with several kinds of bar: at the duals of one
// pricing the pieces are worth `needed` together and a bar of kind k at most
// price[k]. At a rate r, cost per worth, at which no kind of any number is
// worth more than it costs (r * price[k] <= cost[k]), every plan costs at
// least r * needed, less what the bars of the kinds of limited number are
// worth beyond their cost at that rate, count[k] * (r * price[k] - cost[k])
// where that is above 0. The bound bends only at the rates cost[k] /
// price[k] of those kinds and ends at the highest rate allowed: the best of
// these, as the least whole cost at least it. Costs below 2^24 (16 km), counts
// below 2^31, `needed` and prices within MostWorth; 0 when nothing is proved.
long long LeastCost(Wide needed, const std::vector<Kind>& kinds,
                    const std::vector<long long>& price);

// What bars in `counts` of each kind (each below 2^40) fall short of the
// worth of the pieces at one pricing, exactly: not above 0 when they may be
// enough.
Wide Shortfall(const PriceBound& bound, const std::vector<long long>& counts);
// The fewest bars worth `price` each that make up `shortfall`: 0 when
// nothing is short, -1 when no number of them can.
long long FewestBars(Wide shortfall, long long price);

// The relaxation's value as GLPK reports it, rounded up allowing for its
// rounding errors: a target for a bound to reach, never a bound itself.
int RoundedValue(double value);

} // namespace cutting::detail
