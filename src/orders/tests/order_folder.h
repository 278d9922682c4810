#pragma once

// A folder of its own for each test of saving and opening order files, and
// the files' bytes.

#include "order_bytes.h"
#include "orders/order_file.h"

#include "testsupport/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

using Names = std::set<std::string>;

inline Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// The message of the OrderFileError that `f` raises; empty when none.
inline std::string MessageOf(auto&& f) {
    try {
        f();
    } catch (const orders::OrderFileError& e) {
        return e.what();
    }
    return {};
}

// Runs `f` once for each way a save can go: through an unnamed temporary file
// and through a named one.
inline void BothWaysOfSaving(auto&& f) {
    for (const bool named : {false, true}) {
        SCOPED_TRACE(named ? "named temporary" : "unnamed temporary");
        orders::NamedTemporariesForTesting(named);
        f();
    }
    orders::NamedTemporariesForTesting(false);
}
