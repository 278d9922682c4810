#pragma once

// What the optimiser accepts: the largest inputs it answers within its time
// limit, and the check of an order and its stock against them.

#include "cutting.h"

#include <cstddef>
#include <string>
#include <vector>

namespace cutting {

constexpr int MaxStock = 100000; // longer bars are not sold
constexpr long long MaxPieces = 10000;
constexpr size_t MaxStockRows = 20;
constexpr size_t MaxOffcutRows = 500;
constexpr long long MaxOffcuts = 10000;

// The message for input that cannot be planned, or an empty string.
std::string CheckInput(const std::vector<CutItem>& items, const Settings& settings);

} // namespace cutting
