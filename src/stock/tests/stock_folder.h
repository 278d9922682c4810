#pragma once

// A folder of its own for each test of the store, the bytes of its files,
// and the store a journal adds up to.

#include "stock/stock_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include <stdlib.h>

struct TempFolder {
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "stock-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string File(const std::string& name) const { return (path / name).string(); }
    std::set<std::string> Files() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path))
            names.insert(entry.path().filename().string());
        return names;
    }
    std::filesystem::path path;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline stock::StockStore Opened(const std::string& path) {
    stock::Result<stock::StockStore> opened = stock::StockStore::Open(path);
    EXPECT_EQ(opened.error, "");
    return std::move(opened.value);
}

// The bar size's store that the journal's changes add up to from an empty
// one: each entry's taken, then its added. A torn write breaks the match.
inline stock::BarStock Replayed(const std::vector<stock::JournalEntry>& journal, int barSize) {
    std::map<int, int, std::greater<>> rows[2];
    const auto apply = [&](const stock::Change& change, int sign) {
        int place = 0;
        for (const auto* items : {&change.stock, &change.offcuts}) {
            auto& held = rows[place++];
            for (const stock::Bars& item : *items) {
                if (item.count == stock::Unlimited)
                    sign > 0 ? void(held[item.length] = stock::Unlimited)
                             : void(held.erase(item.length));
                else if ((held[item.length] += sign * item.count) == 0)
                    held.erase(item.length);
            }
        }
    };
    for (auto entry = journal.rbegin(); entry != journal.rend(); ++entry) {
        if (entry->barSize == barSize) {
            apply(entry->taken, -1);
            apply(entry->added, 1);
        }
    }
    stock::BarStock replayed;
    for (const auto& [length, count] : rows[0])
        replayed.stock.push_back({length, count});
    for (const auto& [length, count] : rows[1])
        replayed.offcuts.push_back({length, count});
    return replayed;
}
