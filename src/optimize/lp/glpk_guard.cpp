#include "glpk_guard.h"

#include "optimize/instance/stop.h"

#include <glpk.h>

#include <chrono>
#include <csetjmp>

namespace cutting::detail {

namespace {

thread_local bool failForTesting = false;
thread_local int shares = 0;
thread_local unsigned failures = 0;

[[noreturn]] void JumpBack(void* info) {
    std::longjmp(*static_cast<std::jmp_buf*>(info), 1);
}

} // namespace

void FailLinearProgramsForTesting(bool fail) {
    failForTesting = fail;
}

GlpkShare::GlpkShare() : failures_(failures) {
    ++shares;
}

GlpkShare::~GlpkShare() {
    if (--shares == 0)
        glp_free_env();
}

bool GlpkShare::Alive() const {
    return failures_ == failures;
}

bool GlpkGuarded(void (*call)(void*), void* data) {
    std::jmp_buf jump;
    if (setjmp(jump) != 0) {
        // GLPK is in an undefined state now; only freeing it all is allowed.
        glp_free_env();
        ++failures;
        return false;
    }
    glp_error_hook(JumpBack, &jump);
    glp_term_out(GLP_OFF);
    if (failForTesting)
        glp_add_rows(glp_create_prob(), -1); // refused: an internal error
    call(data);
    glp_error_hook(nullptr, nullptr);
    return true;
}

GlpkProblem::~GlpkProblem() {
    Run([](glp_prob* problem) { glp_delete_prob(problem); });
}

SimplexEnd SimplexInSlices(glp_prob* lp, int method, int slice, int rows, const Stop& stop) {
    glp_smcp parm;
    glp_init_smcp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.meth = method;
    parm.it_lim = slice;
    int status = 0;
    for (bool again = true;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(stop.Deadline() - Clock::now());
        parm.tm_lim = static_cast<int>(std::clamp<long long>(left.count() + 1, 1, 1 << 30));
        const int before = glp_get_it_cnt(lp);
        status = glp_simplex(lp, &parm);
        stop.Spend(SimplexWork(glp_get_it_cnt(lp) - before, rows));
        if (status == GLP_EITLIM && !stop.Now())
            continue;
        if (status != 0 && status != GLP_ETMLIM && status != GLP_EITLIM && again) {
            again = false;
            glp_std_basis(lp);
            continue;
        }
        break;
    }
    if (status != 0)
        return SimplexEnd::Other;
    const int result = glp_get_status(lp);
    return result == GLP_OPT      ? SimplexEnd::Optimal
           : result == GLP_NOFEAS ? SimplexEnd::Infeasible
                                  : SimplexEnd::Other;
}

} // namespace cutting::detail
