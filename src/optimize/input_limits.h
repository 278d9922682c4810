#pragma once

// What the optimiser accepts: the largest inputs it answers within its time
// limit.

#include <cstddef>

namespace cutting {

constexpr int MaxStock = 100000; // longer bars are not sold
constexpr long long MaxPieces = 10000;
constexpr size_t MaxStockRows = 20;
constexpr size_t MaxOffcutRows = 500;
constexpr long long MaxOffcuts = 10000;

} // namespace cutting
