#pragma once

// 16-bit signed arithmetic in which every operation is checked: a result
// outside -32768..32767 raises the overflow error before anything is stored.

#include "errors.h"

#include <cstdint>

namespace model {

using int16 = std::int16_t;

inline int16 Checked(std::int32_t v) {
    if (v < INT16_MIN || v > INT16_MAX)
        throw RuntimeError(ErrorKind::Overflow);
    return static_cast<int16>(v);
}

inline int16 Add(int16 a, int16 b) {
    return Checked(std::int32_t{a} + b);
}
inline int16 Sub(int16 a, int16 b) {
    return Checked(std::int32_t{a} - b);
}
inline int16 Mul(int16 a, int16 b) {
    return Checked(std::int32_t{a} * b);
}
inline int16 Neg(int16 a) {
    return Checked(-std::int32_t{a});
}

// Integer division truncating toward zero (-200 div 164 = -1).
inline int16 Div(int16 a, int16 b) {
    if (b == 0)
        throw RuntimeError(ErrorKind::DivisionByZero);
    return Checked(std::int32_t{a} / b);
}

} // namespace model
