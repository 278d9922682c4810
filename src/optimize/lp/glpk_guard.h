#pragma once

// GLPK reports an internal error (a failed assertion, memory exhausted, a call
// it refuses) by calling its error hook and, by default, aborting the process.
// Every call into GLPK goes through Guarded(), which sets a hook that jumps
// back out instead; GLPK's environment of the thread is freed then, as its
// manual asks, and every problem object of the thread goes with it.
//
// GLPK (Debian's libglpk40, 5.0) keeps its environment per thread, so a plan
// on a worker thread has its own.

#include "optimize/instance/stop.h"

#include <algorithm>

typedef struct glp_prob glp_prob; // as glpk.h has it

namespace cutting::detail {

// Runs `call(data)`; false when GLPK failed inside it. The call may jump out
// of the middle, so it must only hold values that need no destructor.
bool GlpkGuarded(void (*call)(void*), void* data);

template <class F> bool Guarded(F& f) {
    return GlpkGuarded([](void* data) { (*static_cast<F*>(data))(); }, &f);
}

// A share in GLPK's environment of the thread, held by each user of GLPK
// (a problem, a relaxation): the environment is freed when the last share
// goes, so that a worker thread keeps nothing of GLPK between plans, and not
// before, so that a relaxation may use a problem of its own for a while.
class GlpkShare {
public:
    GlpkShare();
    ~GlpkShare();
    GlpkShare(const GlpkShare&) = delete;
    GlpkShare& operator=(const GlpkShare&) = delete;

    // False once GLPK has failed since the share was taken: the environment,
    // and every problem of the thread with it, is gone.
    bool Alive() const;

private:
    unsigned failures_;
};

// A GLPK problem of its own and a share in the environment that holds it;
// null once GLPK has failed, when its whole environment of the thread has gone
// with it. Deletes the problem when it goes.
struct GlpkProblem {
    GlpkShare share;
    glp_prob* lp = nullptr;

    GlpkProblem() = default;
    ~GlpkProblem();
    GlpkProblem(const GlpkProblem&) = delete;
    GlpkProblem& operator=(const GlpkProblem&) = delete;

    // Runs `f` on the problem; false, and the problem gone, when GLPK fails,
    // here or anywhere else on the thread.
    template <class F> bool Run(F&& f) {
        if (!share.Alive())
            lp = nullptr;
        if (lp == nullptr)
            return false;
        auto call = [&] { f(lp); };
        if (!Guarded(call))
            lp = nullptr;
        return lp != nullptr;
    }
};

// Simplex iterations between two looks at the request to stop: a few
// milliseconds of work whatever the rows, as an iteration costs about as much
// as there are rows. A number, not a time, so that a plan does not depend on
// the machine's speed.
inline int SimplexSlice(int rows) {
    return std::clamp(200000 / std::max(rows, 1), 50, 1000);
}

// The work of `iterations` of the simplex, in the steps of stop.h.
inline long long SimplexWork(int iterations, int rows) {
    return 170LL * std::max(iterations, 0) * std::max(rows, 1);
}

// How a run of the simplex ended.
enum class SimplexEnd { Optimal, Infeasible, Other };

// Runs the simplex `method` (GLP_PRIMAL, GLP_DUALP) on `lp` in slices of
// `slice` iterations until it ends or `stop` does, counting each iteration
// as the work of `rows` rows; after a failure that is no limit, once more
// from the standard basis. The one simplex loop of the optimiser: every
// linear program goes through it. Only inside Guarded().
SimplexEnd SimplexInSlices(glp_prob* lp, int method, int slice, int rows, const Stop& stop);

// Makes every later GLPK call of this thread fail as GLPK does on an internal
// error, so that tests can walk the path that follows.
void FailLinearProgramsForTesting(bool fail);

} // namespace cutting::detail
