#include "order_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using orders::EncodeOrder;
using orders::OrderFileError;
using orders::OrderFilePath;
using orders::OrderNumberProblem;
using orders::ReadOrderFile;
using orders::WriteOrderFile;

namespace {

TEST(OrderNumber, UsableNumberNamesItsFileUnchanged) {
    EXPECT_EQ(OrderFilePath("/data/orders", "007"), "/data/orders/007.kxo");
    EXPECT_EQ(OrderFilePath("/data/orders", " 12 "), "/data/orders/ 12 .kxo");
    EXPECT_EQ(OrderFilePath("/data/orders/", "Иванов-5"), "/data/orders/Иванов-5.kxo");
    EXPECT_EQ(OrderFilePath("/", "..."), "/....kxo");
}

// Each rule at its edge, on both sides: the controls (C0, DEL and C1, the
// bytes C2 80 to C2 9F), the longest name, the characters Windows forbids.
TEST(OrderNumber, EachRuleAtItsEdge) {
    const struct {
        std::string_view number;
        bool usable;
    } rows[] = {
        // clang-format off
        {"", false}, {".", false}, {"..", false}, {"...", true}, {"1.2", true},
        {std::string_view("1\0", 2), false}, {"1\x1f", false}, {"1 2", true}, {"1~", true},
        {"1\x7f", false}, {"1\xc2\x80", false}, {"1\xc2\x85", false}, {"1\xc2\x9f", false},
        {"1\xc2\xa0", true}, {"1\xc3\x80", true},
        // The C2 lead byte last, the next byte outside the number.
        {std::string_view("1\xc2\x85", 2), true},
        {"Заказ №5 (копия)", true}, {"a/b", false}, {"../x", false}, {"a\\b", false},
        {"C:x", false}, {"1*", false}, {"1?", false}, {"1\"", false}, {"<1", false},
        {"1>", false}, {"1|2", false},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.number));
        EXPECT_EQ(OrderNumberProblem(row.number).empty(), row.usable);
        if (!row.usable) {
            EXPECT_THROW(OrderFilePath("/data/orders", row.number), OrderFileError);
        }
    }
    // 251 bytes and ".kxo" make the longest name a file system takes;
    // a Cyrillic letter takes two.
    std::string cyrillic;
    for (int k = 0; k < 125; ++k)
        cyrillic += "Ж";
    EXPECT_EQ(OrderNumberProblem(std::string(251, '7')), "");
    EXPECT_EQ(OrderNumberProblem(cyrillic + "7"), "");
    EXPECT_NE(OrderNumberProblem(std::string(252, '7')), "");
    EXPECT_NE(OrderNumberProblem(cyrillic + "Ж"), "");
}

// Saving over a longer file leaves exactly the new order, with the old
// file's permissions; a new file gets the usual ones; opening it restores the
// order. Both ways a save can go: through an unnamed file or a named one.
TEST(OrderFile, SaveReplacesTheWholeFileAndOpenRestoresTheOrder) {
    const mode_t umask = ::umask(022);
    BothWaysOfSaving([] {
        TempFolder folder;
        const std::string path = folder.File("12.kxo");
        WriteOrderFile(path, Numbered(10, 0));
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0644u);
        ::chmod(path.c_str(), 0640);
        const model::Order saved = Numbered(7, 300);
        WriteOrderFile(path, saved);
        EXPECT_EQ(ReadBytes(path), EncodeOrder(saved));
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u);

        model::Order loaded = Numbered(0, 300); // records above 7 as saved
        ReadOrderFile(path, loaded);
        EXPECT_TRUE(SameTables(saved, loaded));
        EXPECT_EQ(folder.Files(), Names{"12.kxo"});
    });
    ::umask(umask);
}

TEST(OrderFile, LongerFileLoadsLikeOneCutToLength) {
    TempFolder folder;
    const Bytes cut = EncodeOrder(Numbered(3, 0));
    Bytes longer = cut;
    longer.resize(5000, 0x5A);
    WriteBytes(folder.File("long.kxo"), longer);
    model::Order loaded = Numbered(10, 9000);
    model::Order expected = Numbered(10, 9000);
    ReadOrderFile(folder.File("long.kxo"), loaded);
    ASSERT_EQ(orders::DecodeOrder(cut, expected).status, orders::DecodeStatus::Loaded);
    EXPECT_TRUE(SameTables(loaded, expected));
    EXPECT_EQ(loaded.GrilleCount, 3);
}

TEST(OrderFile, RefusedFileChangesNeitherTablesNorFolder) {
    const struct {
        const char* name;
        bool create;
        Bytes bytes;
        const char* messagePart;
    } rows[] = {
        {"missing", false, {}, "не найден"},
        {"empty", true, {}, "пуст"},
        {"one byte", true, {0x00}, "повреждён"},
        {"short", true, Resized(EncodeOrder(Numbered(4, 0)), 129),
         "нужно 130 байт, а в файле только 129"},
        {"count -1", true, Resized({0xFF, 0xFF}, 1922), "-1"},
        {"count 61", true, Resized({61, 0}, 5000), "61"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder folder;
        const std::string path = folder.File("9.kxo");
        if (row.create)
            WriteBytes(path, row.bytes);
        const Names before = folder.Files();
        model::Order order = Numbered(10, 0);

        const std::string message = MessageOf([&] { ReadOrderFile(path, order); });
        EXPECT_NE(message.find(path), std::string::npos) << message;
        EXPECT_NE(message.find(row.messagePart), std::string::npos) << message;
        EXPECT_TRUE(SameTables(order, Numbered(10, 0)));
        EXPECT_EQ(folder.Files(), before);
        if (row.create) {
            EXPECT_EQ(ReadBytes(path), row.bytes);
        }
    }
}

// A folder under the order's name, a missing folder and a count no file can
// hold: each save or open is refused and the folder stays as it was.
TEST(OrderFile, RefusedSaveOrOpenLeavesTheFolderAsItWas) {
    TempFolder folder;
    fs::create_directory(folder.File("3.kxo"));
    WriteOrderFile(folder.File("7.kxo"), Numbered(3, 0));
    const Bytes seven = ReadBytes(folder.File("7.kxo"));
    model::Order order = Numbered(10, 0);

    EXPECT_NE(MessageOf([&] { ReadOrderFile(folder.File("3.kxo"), order); }), "");
    EXPECT_NE(MessageOf([&] { WriteOrderFile(folder.File("3.kxo"), order); }), "");
    EXPECT_TRUE(SameTables(order, Numbered(10, 0)));
    // A folder that was there when the order was saved last.
    fs::create_directory(folder.File("gone"));
    const std::string missing = folder.File("gone/4.kxo");
    WriteOrderFile(missing, order);
    fs::remove_all(folder.File("gone"));
    const std::string message = MessageOf([&] { WriteOrderFile(missing, order); });
    EXPECT_NE(message.find(missing), std::string::npos) << message;
    EXPECT_NE(message.find("папка не существует"), std::string::npos) << message;
    order.GrilleCount = -4;
    EXPECT_NE(MessageOf([&] { WriteOrderFile(folder.File("7.kxo"), order); }), "");

    EXPECT_EQ(ReadBytes(folder.File("7.kxo")), seven);
    EXPECT_TRUE(fs::is_directory(folder.File("3.kxo")));
    EXPECT_EQ(folder.Files(), (Names{"3.kxo", "7.kxo"}));
}

// The message of what `f` raises while the file size limit, as a full disk,
// stops writes at `bytes`: a write past it fails with EFBIG instead of
// killing the process.
std::string MessageUnderFileSizeLimit(rlim_t bytes, auto&& f) {
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit tight = old;
    tight.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &tight);
    const std::string message = MessageOf(f);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
    return message;
}

// A save of 60 grilles that fails half-way, after 1000 of its 1922 bytes,
// leaves the 3-grille order it was to replace byte for byte and no temporary.
// Both ways a save can go.
TEST(OrderFile, FailedSaveLeavesThePreviousFile) {
    BothWaysOfSaving([] {
        TempFolder folder;
        const std::string path = folder.File("8.kxo");
        WriteOrderFile(path, Numbered(3, 0));
        const Bytes before = ReadBytes(path);
        const std::string message =
            MessageUnderFileSizeLimit(1000, [&] { WriteOrderFile(path, Numbered(60, 7)); });
        EXPECT_NE(message.find("превышен допустимый размер файла"), std::string::npos) << message;
        EXPECT_NE(message.find(path), std::string::npos) << message;
        EXPECT_EQ(ReadBytes(path), before);
        EXPECT_EQ(folder.Files(), Names{"8.kxo"});
    });
}

// Gives up the rights of root, who reads and writes whatever it likes, for
// those of an ordinary user; runs `f` and prints its message.
void AsOrdinaryUser(auto&& f) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
        std::_Exit(2);
    std::fputs(MessageOf(f).c_str(), stderr);
    std::_Exit(0);
}

// Without the right to write into the folder or to read the file, a save or
// an open is refused and changes nothing; in a child process that has only an
// ordinary user's rights.
TEST(OrderFileDeathTest, WithoutTheRightsNothingChanges) {
    TempFolder folder;
    const std::string path = folder.File("4.kxo");
    WriteOrderFile(path, Numbered(3, 0));
    const Bytes before = ReadBytes(path);

    ::chmod(folder.path.c_str(), 0555);
    BothWaysOfSaving([&] {
        EXPECT_EXIT(AsOrdinaryUser([&] { WriteOrderFile(path, Numbered(60, 7)); }),
                    testing::ExitedWithCode(0), "нет доступа");
    });
    ::chmod(folder.path.c_str(), 0755);
    ::chmod(path.c_str(), 0200);
    model::Order order = Numbered(10, 0);
    EXPECT_EXIT(AsOrdinaryUser([&] { ReadOrderFile(path, order); }), testing::ExitedWithCode(0),
                "нет доступа");
    ::chmod(path.c_str(), 0644);

    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(folder.Files(), Names{"4.kxo"});
}

// After `prepare`, saves and opens a full order both ways, and exits with 0
// when it comes back whole, within a few seconds, and the lowest descriptor is
// free again.
[[noreturn]] void SaveAndOpenInTime(const std::string& path, void (*prepare)()) {
    prepare();
    const int lowest = ::open("/dev/null", O_RDONLY);
    ::close(lowest);
    const model::Order order = Numbered(60, 0);
    ::alarm(5);
    bool whole = true;
    BothWaysOfSaving([&] {
        model::Order loaded = Numbered(0, 1000);
        try {
            WriteOrderFile(path, order);
            ReadOrderFile(path, loaded);
        } catch (const OrderFileError& e) {
            std::fputs(e.what(), stderr);
        }
        whole = whole && SameTables(loaded, order);
    });
    const int free = ::open("/dev/null", O_RDONLY);
    std::_Exit(whole && free == lowest ? 0 : 1);
}

// A program started without standard input, where a new file may get the
// descriptor 0, and an errno left at EINTR by an interrupted call before,
// leave saving and opening as they are, and no descriptor open.
TEST(OrderFileDeathTest, DescriptorZeroAndALeftoverErrnoChangeNothing) {
    TempFolder folder;
    const std::string path = folder.File("3.kxo");
    EXPECT_EXIT(SaveAndOpenInTime(path, [] { ::close(0); }), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(SaveAndOpenInTime(path, [] { errno = EINTR; }), testing::ExitedWithCode(0), "");
}

// A pipe or a device under the order's name is refused at once, without
// waiting for a writer.
TEST(OrderFile, OpenRefusesWhatIsNotARegularFile) {
    TempFolder folder;
    const std::string pipe = folder.File("6.kxo");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    model::Order order = Numbered(10, 0);
    for (const std::string& path : {pipe, std::string("/dev/null")}) {
        const std::string message = MessageOf([&] { ReadOrderFile(path, order); });
        EXPECT_NE(message.find("это не обычный файл"), std::string::npos) << message;
    }
    EXPECT_TRUE(SameTables(order, Numbered(10, 0)));
}

} // namespace
