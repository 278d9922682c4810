#pragma once

#include "model/order.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

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

inline bool SameTables(const model::Order& a, const model::Order& b) {
    if (a.GrilleCount != b.GrilleCount)
        return false;
    for (int i = 1; i <= model::MaxOpenings; ++i)
        if (!(a.OpeningAt(i) == b.OpeningAt(i)) || !(a.GrilleAt(i) == b.GrilleAt(i)))
            return false;
    return true;
}

inline Bytes Resized(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}
