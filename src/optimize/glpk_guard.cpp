#include "glpk_guard.h"

#include "packing.h"

#include <glpk.h>

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

} // namespace cutting::detail
