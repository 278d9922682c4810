#pragma once

// Orders the tests of every layer build on.

#include "model/order.h"

// Grilles 1..count with varied values: double and single belts, negative
// inserts and areas below and above 1; GrilleCount is count.
inline void FillOrder(model::Order& order, int count) {
    const auto i16 = [](int v) { return static_cast<model::int16>(v); };
    order.GrilleCount = i16(count);
    for (int k = 1; k <= count; ++k) {
        order.OpeningAt(k) = {i16(900 + 10 * k), 1400, 20, 30, 25};
        // clang-format off
        order.GrilleAt(k) = {i16(850 + 10 * k), 1350, 164, i16(k % 7), i16(k % 3 == 0 ? -5 : 12),
                             14, i16(k % 2 == 0 ? -1 : 0), 0.85 + 0.01 * k};
        // clang-format on
    }
}

// An order in which every field of every record has a value of its own, so
// a record written, read or shown from the wrong place shows.
inline model::Order Numbered(int count, int base) {
    model::Order order;
    order.GrilleCount = static_cast<model::int16>(count);
    for (int i = 1; i <= model::MaxOpenings; ++i) {
        auto v = [&](int k) { return static_cast<model::int16>(base + 100 * i + k); };
        order.OpeningAt(i) = {v(1), v(2), v(3), v(4), v(5)};
        order.GrilleAt(i) = {v(6), v(7), v(8), v(9), v(10), v(11), v(12), base + i + 0.5};
    }
    return order;
}

// Both tables and the grille count alike.
inline bool SameTables(const model::Order& a, const model::Order& b) {
    if (a.GrilleCount != b.GrilleCount)
        return false;
    for (int i = 1; i <= model::MaxOpenings; ++i)
        if (!(a.OpeningAt(i) == b.OpeningAt(i)) || !(a.GrilleAt(i) == b.GrilleAt(i)))
            return false;
    return true;
}
