#pragma once

#include "model/order.h"

#include <QString>

#include <string>

// Fills grilles 1..count with varied values: double and single belts,
// negative inserts and areas below and above 1.
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

// A report text as a text box shows it: line ends without CR.
inline QString Lf(const std::string& text) {
    return QString::fromStdString(text).remove(QLatin1Char('\r'));
}
