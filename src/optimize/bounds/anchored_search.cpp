#include "anchored.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/safe_bound.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace cutting::detail {

namespace {

// Bar contents found by the pricing below are kept only when worth more
// than this: it decides which columns to add, never what is proved.
constexpr double Improves = 1e-9;
// A relaxation whose rows are worth no more than this has a solution, up to
// GLPK's rounding: the node is split. A choice of where to branch; what is
// ruled out is proved in whole numbers.
constexpr double Margin = 1e-6;
// Flows closer than this to a whole number count as whole: a choice of where
// to branch, never a proof.
constexpr double Whole = 1e-6;
// A node with this many columns a row drops those it does not use; the root
// always does, as most of its columns were priced at duals far from its own.
constexpr size_t PurgeAt = 8;
// Branching deeper than this is not worth its time: the proof is given up.
constexpr int MostDepth = 64;

} // namespace

// Adds the bars worth more than `improves` at `dual` (the duals of the rows
// by index, of the wrong sign set to 0, made whole numbers) and returns how
// many; `best` receives the worth of the best bar of every anchor, 0 at
// least, exactly. No bar of a packing is worth more, so when the packing's
// rows are worth more than the bars times `best` together, no packing is
// left.
int AnchoredLp::Price(const std::vector<long long>& dual, long long improves, const Stop& stop,
                      long long& best) {
    const int m = in_.Types();
    const long long barWorth = dual[static_cast<size_t>(m) + 1];
    std::vector<long long> value(short_.type.size());
    std::vector<size_t> branched; // anchors with branches of their own, priced alone
    for (const Branch& b : branches_)
        if (std::find(branched.begin(), branched.end(), b.anchor) == branched.end())
            branched.push_back(b.anchor);
    best = 0;
    int added = 0;
    Bar content;
    // First every anchor without a branch from one table, then each other one.
    for (size_t pass = 0; pass <= branched.size(); ++pass) {
        for (size_t k = 0; k < value.size(); ++k)
            value[k] = dual[short_.type[k] + 1];
        long long extra = 0;
        if (pass > 0)
            for (const Branch& b : branches_)
                if (b.anchor == branched[pass - 1]) {
                    const long long d = dual[static_cast<size_t>(b.row)];
                    if (b.type == None)
                        extra += d;
                    else
                        for (size_t k = 0; k < value.size(); ++k)
                            if (short_.type[k] == b.type)
                                value[k] += d;
                }
        if (!pricing_.Fill(short_.in, value, short_.in.demand, stop))
            return -1;
        for (size_t a = 0; a < anchors_.size(); ++a) {
            const bool own = std::find(branched.begin(), branched.end(), a) != branched.end();
            if (pass == 0 ? own : a != branched[pass - 1])
                continue;
            const Anchor& anchor = anchors_[a];
            long long worth =
                barWorth + extra + dual[anchor.first + 1] + pricing_.Worth(anchor.capacity);
            if (anchor.second != None)
                worth += dual[anchor.second + 1];
            best = std::max(best, worth);
            if (worth <= improves)
                continue;
            pricing_.Best(anchor.capacity, content);
            Bar bar(static_cast<size_t>(m), 0);
            for (size_t k = 0; k < content.size(); ++k)
                bar[short_.type[k]] = content[k];
            ++bar[anchor.first];
            if (anchor.second != None)
                ++bar[anchor.second];
            if (known_.insert(bar).second) {
                AddColumn(a, std::move(bar));
                ++added;
            }
        }
    }
    return added;
}

AnchoredLp::Outcome AnchoredLp::Generate(const Stop& stop) {
    std::vector<double> dual;
    while (!stop.Now()) {
        if (!Simplex(stop))
            return Outcome::Unknown;
        Run([&](glp_prob* lp) {
            const int rows = glp_get_num_rows(lp);
            dual.assign(static_cast<size_t>(rows) + 1, 0.0);
            for (int r = 1; r <= rows; ++r)
                dual[static_cast<size_t>(r)] = glp_get_row_dual(lp, r);
        });
        if (problem_.lp == nullptr)
            return Outcome::Unknown;
        const Proof proof = MakeProof(dual);
        if (proof.value <= Margin)
            return Outcome::Open; // the relaxation has a solution here
        long long best = 0;
        const int added = Price(proof.dual, proof.improves, stop, best);
        if (added < 0)
            return Outcome::Unknown;
        if (proof.needed > static_cast<Wide>(best) * bars_)
            return Outcome::RuledOut;
        if (added == 0)
            return Outcome::Unknown;
    }
    return Outcome::Unknown;
}

// Duals of the wrong sign are rounding errors; without them the argument of
// Price() holds for any values, and made whole numbers it is exact.
AnchoredLp::Proof AnchoredLp::MakeProof(std::vector<double> dual) const {
    const int m = in_.Types();
    std::vector<double> reach(dual.size(), 0.0), rhs(dual.size(), 0.0);
    for (int r = 1; r <= m; ++r) {
        const auto t = static_cast<size_t>(r - 1);
        dual[static_cast<size_t>(r)] = std::max(0.0, dual[static_cast<size_t>(r)]);
        rhs[static_cast<size_t>(r)] = in_.demand[t];
        reach[static_cast<size_t>(r)] = std::max(in_.demand[t], in_.capacity / in_.size[t]);
    }
    dual[static_cast<size_t>(m) + 1] = std::min(0.0, dual[static_cast<size_t>(m) + 1]);
    rhs[static_cast<size_t>(m) + 1] = reach[static_cast<size_t>(m) + 1] = bars_;
    for (const Branch& b : branches_) {
        const auto r = static_cast<size_t>(b.row);
        dual[r] = b.up ? std::max(0.0, dual[r]) : std::min(0.0, dual[r]);
        rhs[r] = b.bound;
        const int most = b.type == None ? 1 : in_.capacity / in_.size[b.type];
        reach[r] = std::max(b.bound, static_cast<double>(most));
    }
    Proof proof;
    WholeValues whole = MakeWhole(dual, reach);
    proof.dual = std::move(whole.value);
    for (size_t r = 1; r < rhs.size(); ++r) {
        proof.needed += static_cast<Wide>(proof.dual[r]) * std::llround(rhs[r]);
        proof.value += dual[r] * rhs[r];
    }
    proof.improves = static_cast<long long>(
        std::min(std::ldexp(Improves, whole.shift), static_cast<double>(MostWorth)));
    return proof;
}

// Drops the columns the solution does not use, and the artificial columns of
// branches taken back: every column costs each simplex iteration its share,
// and the bars the branches below need are priced again anyway.
void AnchoredLp::Purge() {
    std::vector<int> gone;
    std::vector<Column> kept;
    std::vector<int> spent;
    Run([&](glp_prob* lp) {
        auto unused = [&](int col) {
            return glp_get_col_stat(lp, col) != GLP_BS && glp_get_col_prim(lp, col) <= 0.0;
        };
        for (Column& c : columns_)
            if (unused(c.col)) {
                gone.push_back(c.col);
                known_.erase(c.bar);
            } else {
                kept.push_back(std::move(c));
            }
        for (int col : spent_)
            (unused(col) ? gone : spent).push_back(col);
        std::sort(gone.begin(), gone.end());
        auto moved = [&](int col) {
            return col -
                   static_cast<int>(std::lower_bound(gone.begin(), gone.end(), col) - gone.begin());
        };
        for (Column& c : kept)
            c.col = moved(c.col);
        for (int& col : spent)
            col = moved(col);
        for (Branch& b : branches_)
            b.artificial = moved(b.artificial);
        gone.insert(gone.begin(), 0);
        if (gone.size() > 1)
            glp_del_cols(lp, static_cast<int>(gone.size()) - 1, gone.data());
    });
    columns_ = std::move(kept);
    spent_ = std::move(spent);
}

bool AnchoredLp::MostFractional(std::pair<size_t, size_t>& split, double& value) {
    std::map<std::pair<size_t, size_t>, double> flow;
    Run([&](glp_prob* lp) {
        for (const Column& c : columns_) {
            const double x = glp_get_col_prim(lp, c.col);
            if (x <= 0.0)
                continue;
            flow[{c.anchor, None}] += x;
            for (size_t k = 0; k < short_.type.size(); ++k)
                if (c.bar[short_.type[k]] > 0)
                    flow[{c.anchor, short_.type[k]}] += x * c.bar[short_.type[k]];
        }
    });
    if (problem_.lp == nullptr)
        return false;
    double farthest = Whole;
    for (const auto& [key, f] : flow)
        if (const double off = std::min(f - std::floor(f), std::ceil(f) - f); off > farthest) {
            farthest = off;
            split = key;
            value = f;
        }
    return split.first != None;
}

bool AnchoredLp::Search(const Stop& stop, int depth) {
    const Outcome outcome = Generate(stop);
    if (outcome != Outcome::Open || depth >= MostDepth)
        return outcome == Outcome::RuledOut;
    if (depth == 0 || columns_.size() > PurgeAt * static_cast<size_t>(in_.Types()))
        Purge();
    std::pair<size_t, size_t> split{None, None};
    double value = 0.0;
    if (!MostFractional(split, value))
        return false; // whole flows: a packing may be there, or GLPK failed
    for (const bool up : {true, false}) {
        Branch b{split.first, split.second, 0, 0, up, up ? std::ceil(value) : std::floor(value)};
        std::vector<int> index{0};
        std::vector<double> coef{0.0};
        for (const Column& c : columns_)
            if (const double v = Coefficient(b, c); v != 0.0) {
                index.push_back(c.col);
                coef.push_back(v);
            }
        Run([&](glp_prob* lp) {
            b.row = glp_add_rows(lp, 1);
            glp_set_row_bnds(lp, b.row, up ? GLP_LO : GLP_UP, b.bound, b.bound);
            glp_set_mat_row(lp, b.row, static_cast<int>(index.size()) - 1, index.data(),
                            coef.data());
        });
        b.artificial = AddArtificial(b.row, up ? 1.0 : -1.0);
        if (problem_.lp == nullptr)
            return false;
        branches_.push_back(b);
        dual_ = true;
        const bool ruledOut = Search(stop, depth + 1);
        b = branches_.back(); // its artificial column may have moved
        branches_.pop_back();
        spent_.push_back(b.artificial);
        // The row and its artificial column stay, free and held at 0:
        // taking them out would leave the basis short of a column and move
        // the columns after it.
        Run([&](glp_prob* lp) {
            glp_set_row_bnds(lp, b.row, GLP_FR, 0.0, 0.0);
            glp_set_col_bnds(lp, b.artificial, GLP_FX, 0.0, 0.0);
        });
        dual_ = true;
        if (!ruledOut || problem_.lp == nullptr)
            return false;
    }
    return true;
}

} // namespace cutting::detail
