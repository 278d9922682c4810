#pragma once

// The integer program of ValuedCover (valued_cover.h) by a branch and bound
// of its own, so that its "no packing" is a proof. GLPK solves the linear
// relaxation of each node; a node is cut off only when its duals, made whole
// numbers, prove exactly that no whole packing below it has few enough bars
// (safe_bound.h). GLPK's own branch and cut decides with tolerances and cuts
// of its own, and its "no feasible solution" proves nothing of the kind.

#include "bar_list.h"

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"
#include "optimize/lp/glpk_guard.h"

#include <vector>

namespace cutting::detail {

class CoverProof {
public:
    // Covers the pieces of `in` exactly with at most `bars` of the bars on
    // `list`. Both must outlive it.
    CoverProof(const Instance& in, const BarList& list, int bars);

    enum class Outcome { Found, None, Open };
    // Searches until found, ruled out or stopped; a later call goes on where
    // this one ended. `packing` receives what was found. None only when every
    // node was cut off by a proof; a node neither cut off nor split (the
    // relaxation looks whole but is not quite) leaves the outcome Open.
    Outcome Run(const Stop& stop, Packing& packing);
    // Whether GLPK failed: the problems of the thread are gone with it, and
    // only a search made afresh can go on.
    bool Failed() const { return built_ && problem_.lp == nullptr; }

private:
    // A bar's bounds before a branch changed them, and the value it split.
    struct Branch {
        int bar;
        double lo, hi;
        double at;
        bool down; // the second side, at most floor(at), is being searched
    };
    enum class Node { CutOff, Found, Split, Stuck };

    bool Build();
    Node Evaluate(Packing& packing, int& bar, double& at);
    bool Proved(const std::vector<double>& dual) const;
    bool Bounds(int bar, double lo, double hi);
    bool Backtrack();

    const Instance& in_;
    const BarList& list_;
    int bars_;
    int rows_;
    GlpkProblem problem_; // null once GLPK failed
    std::vector<double> lo_, hi_;
    std::vector<double> reach_; // of each dual, and last of the cost of a bar
    std::vector<Branch> path_;
    Packing found_;
    bool built_ = false;
    bool proof_ = true; // every node left so far was cut off by a proof
    bool done_ = false;
};

} // namespace cutting::detail
