#include "numbered_order.h"
#include "orders/order_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using orders::OrderFileError;
using orders::OrderFilePath;
using orders::OrderNumberProblem;
using orders::ReadOrderFile;
using orders::WriteOrderFile;
using Bytes = std::vector<std::uint8_t>;

namespace {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "orders-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::string str() const { return path_.string(); }

    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    fs::path path_;
};

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::string MessageOf(auto&& f) {
    try {
        f();
    } catch (const OrderFileError& e) {
        return e.what();
    }
    return {};
}

// --- Order numbers ------------------------------------------------------------

TEST(OrderNumber, KeepsLeadingZerosAndBlanks) {
    EXPECT_EQ(OrderFilePath("/data/orders", "007"), "/data/orders/007.kxo");
    EXPECT_EQ(OrderFilePath("/data/orders", " 12 "), "/data/orders/ 12 .kxo");
    EXPECT_EQ(OrderFilePath("/data/orders/", "Иванов-5"), "/data/orders/Иванов-5.kxo");
    EXPECT_EQ(OrderFilePath("/", "..."), "/....kxo");
}

struct BadNumber {
    const char* name;
    std::string number;
};

class OrderNumberRefused : public testing::TestWithParam<BadNumber> {};

TEST_P(OrderNumberRefused, NamesNoFile) {
    EXPECT_FALSE(OrderNumberProblem(GetParam().number).empty());
    EXPECT_THROW(OrderFilePath("/data/orders", GetParam().number), OrderFileError);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, OrderNumberRefused,
    testing::Values(BadNumber{"empty", ""}, BadNumber{"dot", "."}, BadNumber{"dot_dot", ".."},
                    BadNumber{"slash", "a/b"}, BadNumber{"up_and_out", "../x"},
                    BadNumber{"backslash", "a\\b"}, BadNumber{"colon", "C:x"},
                    BadNumber{"star", "1*"}, BadNumber{"question", "1?"}, BadNumber{"quote", "1\""},
                    BadNumber{"less", "<1"}, BadNumber{"greater", "1>"}, BadNumber{"bar", "1|2"},
                    BadNumber{"tab", "1\t2"}, BadNumber{"newline", "1\n"},
                    BadNumber{"nul", std::string("1\0", 2)}, BadNumber{"delete", "1\x7f"},
                    BadNumber{"c1_control", "1\xc2\x85"},
                    BadNumber{"too_long", std::string(252, '7')}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(OrderNumber, LongestNameStillFits) {
    EXPECT_EQ(OrderNumberProblem(std::string(251, '7')), "");
    EXPECT_EQ(OrderNumberProblem("1.2"), "");
    EXPECT_EQ(OrderNumberProblem("Заказ №5 (копия)"), "");
}

// --- Files ------------------------------------------------------------------

TEST(OrderFile, SaveThenOpenRestoresTheOrder) {
    TempFolder folder;
    const std::string path = folder.File("12.kxo");
    const model::Order saved = Numbered(7, 300);
    WriteOrderFile(path, saved);
    EXPECT_EQ(ReadBytes(path), orders::EncodeOrder(saved));

    model::Order loaded = Numbered(0, 300); // records above 7 as saved
    ReadOrderFile(path, loaded);
    EXPECT_TRUE(SameTables(saved, loaded));
    EXPECT_EQ(folder.Names(), std::set<std::string>{"12.kxo"});
}

TEST(OrderFile, SavingOverALongerFileLeavesExactlyTheNewOrder) {
    TempFolder folder;
    const std::string path = folder.File("5.kxo");
    WriteOrderFile(path, Numbered(5, 0));
    ::chmod(path.c_str(), 0640);
    WriteOrderFile(path, Numbered(2, 1000));
    EXPECT_EQ(ReadBytes(path).size(), 66u);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    model::Order loaded;
    ReadOrderFile(path, loaded);
    EXPECT_EQ(loaded.GrilleCount, 2);
}

TEST(OrderFile, EmptyOrderIsTwoBytes) {
    TempFolder folder;
    WriteOrderFile(folder.File("0.kxo"), model::Order{});
    EXPECT_EQ(ReadBytes(folder.File("0.kxo")), (Bytes{0, 0}));
}

TEST(OrderFile, LongerFileLoadsLikeOneCutToLength) {
    TempFolder folder;
    Bytes bytes = orders::EncodeOrder(Numbered(3, 0));
    WriteBytes(folder.File("cut.kxo"), bytes);
    bytes.resize(5000, 0x5A);
    WriteBytes(folder.File("long.kxo"), bytes);
    model::Order cut = Numbered(10, 9000);
    model::Order longer = Numbered(10, 9000);
    ReadOrderFile(folder.File("cut.kxo"), cut);
    ReadOrderFile(folder.File("long.kxo"), longer);
    EXPECT_TRUE(SameTables(cut, longer));
    EXPECT_EQ(longer.GrilleCount, 3);
}

struct BadFile {
    const char* name;
    Bytes bytes;
    bool create;
    const char* messagePart;
};

class OrderFileRefused : public testing::TestWithParam<BadFile> {};

TEST_P(OrderFileRefused, ChangesNeitherTablesNorFolder) {
    TempFolder folder;
    const std::string path = folder.File("9.kxo");
    if (GetParam().create)
        WriteBytes(path, GetParam().bytes);
    const auto namesBefore = folder.Names();
    model::Order order = Numbered(10, 0);
    const model::Order before = order;

    const std::string message = MessageOf([&] { ReadOrderFile(path, order); });
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find(GetParam().messagePart), std::string::npos) << message;
    EXPECT_TRUE(SameTables(order, before));
    EXPECT_EQ(folder.Names(), namesBefore);
    if (GetParam().create) {
        EXPECT_EQ(ReadBytes(path), GetParam().bytes);
    }
}

Bytes Counted(std::uint8_t low, std::uint8_t high, std::size_t size) {
    Bytes bytes(size, 0x00);
    bytes[0] = low;
    bytes[1] = high;
    return bytes;
}

Bytes Short(std::size_t size) {
    Bytes bytes = orders::EncodeOrder(Numbered(4, 0));
    bytes.resize(size);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, OrderFileRefused,
    testing::Values(BadFile{"missing", {}, false, "не найден"}, BadFile{"empty", {}, true, "пуст"},
                    BadFile{"one_byte", {0x00}, true, "повреждён"},
                    BadFile{"short", Short(129), true, "нужно 130 байт, а в файле только 129"},
                    BadFile{"count_minus_one", Counted(0xFF, 0xFF, 1922), true, "-1"},
                    BadFile{"count_61", Counted(61, 0, 5000), true, "61"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(OrderFile, FolderInsteadOfFileIsRefused) {
    TempFolder folder;
    fs::create_directory(folder.File("3.kxo"));
    model::Order order = Numbered(10, 0);
    EXPECT_NE(MessageOf([&] { ReadOrderFile(folder.File("3.kxo"), order); }), "");
    EXPECT_NE(MessageOf([&] { WriteOrderFile(folder.File("3.kxo"), order); }), "");
    EXPECT_TRUE(SameTables(order, Numbered(10, 0)));
    EXPECT_TRUE(fs::is_directory(folder.File("3.kxo")));
}

TEST(OrderFile, SaveIntoMissingFolderNamesTheFile) {
    TempFolder folder;
    const std::string path = folder.File("no-such-folder/4.kxo");
    const std::string message = MessageOf([&] { WriteOrderFile(path, Numbered(2, 0)); });
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_TRUE(folder.Names().empty());
}

TEST(OrderFile, CountNoFileCanHoldIsNotSaved) {
    TempFolder folder;
    WriteOrderFile(folder.File("7.kxo"), Numbered(3, 0));
    const Bytes before = ReadBytes(folder.File("7.kxo"));
    model::Order order = Numbered(0, 0);
    order.GrilleCount = -4;
    EXPECT_NE(MessageOf([&] { WriteOrderFile(folder.File("7.kxo"), order); }), "");
    EXPECT_EQ(ReadBytes(folder.File("7.kxo")), before);
}

// A save that fails half-way (here the file size limit stops the write after
// a few bytes) leaves the previous order whole and no stray file behind.
TEST(OrderFile, FailedSaveLeavesThePreviousFile) {
    TempFolder folder;
    const std::string path = folder.File("8.kxo");
    WriteOrderFile(path, Numbered(5, 0));
    const Bytes before = ReadBytes(path);

    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = old;
    tight.rlim_cur = 40;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    const std::string message = MessageOf([&] { WriteOrderFile(path, Numbered(60, 7)); });
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(folder.Names(), std::set<std::string>{"8.kxo"});
}

} // namespace
