#pragma once

// A folder of its own for each test of the store, the bytes of its files,
// and the store a journal adds up to.

#include "stock/stock_store.h"

#include "testsupport/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>

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
