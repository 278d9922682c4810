#include "order.h"

namespace model {

void CheckIndex(long long i) {
    if (i < 1 || i > MaxOpenings)
        throw RuntimeError(ErrorKind::SubscriptOutOfRange);
}

Opening& Order::OpeningAt(long long i) {
    CheckIndex(i);
    return openings_[static_cast<std::size_t>(i - 1)];
}

const Opening& Order::OpeningAt(long long i) const {
    CheckIndex(i);
    return openings_[static_cast<std::size_t>(i - 1)];
}

Grille& Order::GrilleAt(long long i) {
    CheckIndex(i);
    return grilles_[static_cast<std::size_t>(i - 1)];
}

const Grille& Order::GrilleAt(long long i) const {
    CheckIndex(i);
    return grilles_[static_cast<std::size_t>(i - 1)];
}

void Order::ClearTables() {
    openings_.fill(Opening{});
    grilles_.fill(Grille{});
}

} // namespace model
