#pragma once

// What the optimiser's tests share: random numbers, a stop that never comes,
// and orders made from pieces or read from the published instance files in
// instances/ (the bar's capacity, the number of pieces, then each piece).

#include "optimize/instance/instance.h"
#include "optimize/instance/stop.h"

#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

inline int Rand(std::mt19937& rng, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
}

inline const cutting::Stop Never(cutting::Clock::now() + std::chrono::hours(1));

// The solver's view of pieces: one size a length, longest first.
inline cutting::detail::Instance FromPieces(int capacity, const std::vector<int>& pieces) {
    std::map<int, int, std::greater<>> count;
    for (int p : pieces)
        ++count[p];
    cutting::detail::Instance in;
    in.capacity = capacity;
    for (const auto& [size, n] : count) {
        in.size.push_back(size);
        in.demand.push_back(n);
    }
    return in;
}

// A published instance by its name, such as "BPP175".
inline cutting::detail::Instance Published(const std::string& name) {
    std::ifstream file(std::string(OPTIMIZE_TEST_INSTANCES) + "/" + name + ".txt");
    int capacity = 0, count = 0;
    if (!(file >> capacity >> count))
        throw std::runtime_error("no instance " + name);
    std::vector<int> pieces(static_cast<size_t>(count));
    for (int& p : pieces)
        file >> p;
    return FromPieces(capacity, pieces);
}
