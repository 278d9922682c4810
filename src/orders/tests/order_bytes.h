#pragma once

#include "model/order.h"
#include "testsupport/order_fixtures.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes Resized(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}
