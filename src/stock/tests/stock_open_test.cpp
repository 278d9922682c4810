#include "stock_folder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <csignal>
#include <cstdint>
#include <cstdio>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using stock::StockStore;

// Runs `sql` on the file as another program would; the first value it yields.
std::string Sql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    std::string value;
    const auto first = [](void* out, int, char** values, char**) {
        *static_cast<std::string*>(out) = values[0] ? values[0] : "";
        return 0;
    };
    EXPECT_EQ(sqlite3_exec(db, sql, first, &value, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    return value;
}

// A store with a row in it, written through to the file and closed.
std::string Filled(const TempFolder& folder) {
    const std::string path = folder.File("stock.db");
    EXPECT_TRUE(Opened(path).ReplaceOffcuts(14, {{1500, 2}}).ok);
    return path;
}

TEST(StockOpen, NewFileAndItsFoldersAreMadeAndKeepWhatWasStored) {
    TempFolder folder;
    const std::string path = folder.File("a/b/stock.db");
    ASSERT_TRUE(Opened(path).ReplaceOffcuts(14, {{1500, 2}}).ok);
    EXPECT_EQ(Opened(path).Stock(14).value.offcuts, (std::vector<stock::Bars>{{1500, 2}}));
    EXPECT_EQ(Sql(path, "PRAGMA user_version"), "1");
}

TEST(StockOpen, EmptyFileIsBroughtUpToTheCurrentLayout) {
    TempFolder folder;
    const std::string path = folder.File("stock.db");
    WriteBytes(path, "");
    ASSERT_EQ(Sql(path, "PRAGMA user_version"), "0");
    EXPECT_TRUE(Opened(path).ReplaceStock(14, {{6000, 2}}).ok);
    EXPECT_EQ(Sql(path, "PRAGMA user_version"), "1");
}

// A stored store changed by another program, or its bytes from `garbageFrom`
// on overwritten: the header (not a database) or the pages after it.
TEST(StockOpen, RefusedFileIsLeftByteForByte) {
    const struct {
        const char* sql;
        size_t garbageFrom;
        const char* reason;
    } rows[] = {
        {nullptr, 0, "файл не является базой данных склада. Файл не изменён."},
        {nullptr, 4096, "файл повреждён"},
        {"PRAGMA user_version = 2", SIZE_MAX,
         "более новой версией программы (версия склада 2, эта программа знает версии до 1)"},
        {"PRAGMA application_id = 7", SIZE_MAX, "это база данных другой программы"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.reason);
        TempFolder folder;
        const std::string path = Filled(folder);
        if (row.sql)
            Sql(path, row.sql);
        std::string bytes = ReadBytes(path);
        if (row.garbageFrom < bytes.size())
            WriteBytes(path, bytes.replace(row.garbageFrom, bytes.npos,
                                           bytes.size() - row.garbageFrom, '\xAB'));
        bytes = ReadBytes(path);
        const std::string error = StockStore::Open(path).error;
        EXPECT_NE(error.find("Не удалось открыть склад «" + path + "»: "), std::string::npos);
        EXPECT_NE(error.find(row.reason), std::string::npos) << error;
        EXPECT_EQ(ReadBytes(path), bytes);
        EXPECT_EQ(folder.Files(), std::set<std::string>{"stock.db"});
    }
}

// Gives up the rights of root for those of an ordinary user and prints the
// message of opening the store at `path`.
void OpenAsOrdinaryUser(const std::string& path) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
        std::_Exit(2);
    std::fputs(StockStore::Open(path).error.c_str(), stderr);
    std::_Exit(0);
}

TEST(StockOpenDeathTest, WithoutTheRightToWriteTheStoreIsRefused) {
    TempFolder folder;
    const std::string path = Filled(folder);
    const std::string bytes = ReadBytes(path);
    ::chmod(folder.path.c_str(), 0777);
    ::chmod(path.c_str(), 0444);
    EXPECT_EXIT(OpenAsOrdinaryUser(path), testing::ExitedWithCode(0), "нет права записи в файл");
    ::chmod(path.c_str(), 0666);
    ::chmod(folder.path.c_str(), 0555);
    for (const std::string& file : {path, folder.File("new.db")})
        EXPECT_EXIT(OpenAsOrdinaryUser(file), testing::ExitedWithCode(0),
                    "«" + file + "»: нет права записи в папку");
    EXPECT_EXIT(OpenAsOrdinaryUser(folder.File("new/stock.db")), testing::ExitedWithCode(0),
                "нет доступа");
    ::chmod(folder.path.c_str(), 0755);
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_EQ(folder.Files(), std::set<std::string>{"stock.db"});
}

// With the file size limit at one byte, as a full disk, no write reaches the
// file: the correction is refused, and the store is as it was and goes on.
TEST(StockWrite, FailedWriteChangesNothing) {
    TempFolder folder;
    StockStore store = Opened(Filled(folder));
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit tight = old;
    tight.rlim_cur = 1;
    ::setrlimit(RLIMIT_FSIZE, &tight);
    const std::string error = store.ReplaceOffcuts(14, {{700, 9}}).error;
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);

    EXPECT_NE(error.find("Не удалось записать склад"), std::string::npos) << error;
    EXPECT_NE(error.find("Склад не изменён."), std::string::npos) << error;
    EXPECT_EQ(store.Stock(14).value.offcuts, (std::vector<stock::Bars>{{1500, 2}}));
    EXPECT_EQ(store.Journal().value.size(), 1u);
    EXPECT_TRUE(store.ReplaceOffcuts(14, {{700, 9}}).ok);
}

} // namespace
