#pragma once

// GLPK reports an internal error (a failed assertion, memory exhausted, a call
// it refuses) by calling its error hook and, by default, aborting the process.
// Every call into GLPK goes through Guarded(), which sets a hook that jumps
// back out instead; GLPK's environment of the thread is freed then, as its
// manual asks, and every problem object of the thread goes with it.
//
// GLPK (Debian's libglpk40, 5.0) keeps its environment per thread, so a plan
// on a worker thread has its own; the relaxation frees it when it is done so
// that a worker thread keeps nothing of GLPK between plans.

namespace cutting::detail {

// Runs `call(data)`; false when GLPK failed inside it. The call may jump out
// of the middle, so it must only hold values that need no destructor.
bool GlpkGuarded(void (*call)(void*), void* data);

template <class F> bool Guarded(F& f) {
    return GlpkGuarded([](void* data) { (*static_cast<F*>(data))(); }, &f);
}

} // namespace cutting::detail
