// The temporaries of saves: those that killed saves left behind go with the
// next save, and a name taken by another file is passed over.

#include "order_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

using orders::EncodeOrder;
using orders::WriteOrderFile;

namespace {

// A process that has ended and been reaped, so its id names no process.
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

std::string HostName() {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    return host;
}

// Temporaries of saves that were killed (older versions' names too) go with
// the next save; those of a live process, of another computer sharing the
// folder and files that merely look alike stay.
TEST(OrderFile, SaveRemovesTemporariesOfEndedProcessesOnly) {
    TempFolder folder;
    const std::string host = HostName();
    const std::string ended = std::to_string(EndedProcess());
    const Names stale = {".order-" + ended + "-0.tmp", ".order-" + ended + "-17-" + host + ".tmp"};
    const Names kept = {".order-1-0.tmp",
                        ".order-1-3-" + host + ".tmp",
                        ".order-" + ended + "-0-other-computer.tmp",
                        ".order-" + ended + "-0-" + host + ".kxo",
                        ".order-" + ended + ".tmp",
                        ".order--" + ended + "-0.tmp",
                        ".order-" + ended + "-99999999999-" + host + ".tmp",
                        "order-" + ended + "-0.tmp",
                        "1.kxo.tmp"};
    for (const Names& names : {stale, kept})
        for (const std::string& name : names)
            WriteBytes(folder.File(name), {1, 2, 3});

    WriteOrderFile(folder.File("1.kxo"), Numbered(2, 0));
    Names expected = kept;
    expected.insert("1.kxo");
    EXPECT_EQ(folder.Files(), expected);
}

// The serial the next temporary of this process will take: a save into a
// folder watched for new files shows the name of its own. None where files
// cannot be watched.
std::optional<unsigned> NextSerial(const TempFolder& folder) {
    const int watch = ::inotify_init1(IN_CLOEXEC);
    if (watch < 0 || ::inotify_add_watch(watch, folder.path.c_str(), IN_CREATE) < 0) {
        ::close(watch);
        return std::nullopt;
    }
    WriteOrderFile(folder.File("probe.kxo"), Numbered(1, 0));
    alignas(inotify_event) char events[4096];
    const ssize_t size = ::read(watch, events, sizeof events);
    ::close(watch);
    const std::string prefix = ".order-" + std::to_string(::getpid()) + "-";
    std::optional<unsigned> next;
    for (ssize_t at = 0; at < size;) {
        const auto* event = reinterpret_cast<const inotify_event*>(events + at);
        const std::string name = event->len > 0 ? event->name : "";
        unsigned serial = 0;
        if (std::sscanf(name.c_str(), (prefix + "%u").c_str(), &serial) == 1)
            next = serial + 1;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
    return next;
}

// Files under the names of this process's next `count` temporaries.
Names TakeNames(const TempFolder& folder, unsigned first, unsigned count) {
    Names taken;
    for (unsigned serial = first; serial < first + count; ++serial) {
        const std::string name = ".order-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(serial) + "-" + HostName() + ".tmp";
        WriteBytes(folder.File(name), {1});
        taken.insert(name);
    }
    return taken;
}

// A temporary's name that a file has taken is passed over. With a hundred
// names in a row taken, the save gives up, says why, and leaves the order
// file as it was. Both ways a save can go.
TEST(OrderFile, SavePassesOverTakenTemporaryNames) {
    BothWaysOfSaving([] {
        TempFolder folder;
        const std::string path = folder.File("2.kxo");
        const std::optional<unsigned> first = NextSerial(folder);
        if (!first)
            GTEST_SKIP() << "new files cannot be watched here";
        Names expected = TakeNames(folder, *first, 3);
        WriteOrderFile(path, Numbered(3, 0));
        EXPECT_EQ(ReadBytes(path), EncodeOrder(Numbered(3, 0)));

        const std::optional<unsigned> next = NextSerial(folder);
        expected.merge(TakeNames(folder, next.value_or(0), 100));
        const std::string message = MessageOf([&] { WriteOrderFile(path, Numbered(60, 7)); });
        EXPECT_NE(message.find("временного файла"), std::string::npos) << message;
        EXPECT_EQ(ReadBytes(path), EncodeOrder(Numbered(3, 0)));
        expected.insert({"2.kxo", "probe.kxo"});
        EXPECT_EQ(folder.Files(), expected);
    });
}

// Given a path relative to the working folder, a save makes its temporary,
// and removes those of killed saves, in the order's own folder.
TEST(OrderFile, SaveByARelativePathWorksInTheOrdersFolder) {
    TempFolder folder;
    const std::filesystem::path orders = folder.path / "o";
    std::filesystem::create_directory(orders);
    WriteBytes((orders / (".order-" + std::to_string(EndedProcess()) + "-0.tmp")).string(), {1});
    const std::filesystem::path working = std::filesystem::current_path();
    std::filesystem::current_path(folder.path);
    WriteOrderFile("o/5.kxo", Numbered(2, 0));
    std::filesystem::current_path(working);
    EXPECT_EQ(folder.Files("o"), Names{"5.kxo"});
    EXPECT_EQ(folder.Files(), Names{"o"});
}

// A process saving different orders one after another is killed at random
// moments. After every kill the order file, once there, holds one of the
// orders whole; whatever a kill left behind goes with the next save.
// Both ways a save can go: the named temporary leaves a file at many kills,
// which the next save removes.
void KillSavesAtRandomMoments(bool named, int kills) {
    orders::NamedTemporariesForTesting(named);
    TempFolder folder;
    const std::string path = folder.File("5.kxo");
    const std::vector<model::Order> orders = {Numbered(60, 0), Numbered(1, 7), Numbered(30, 3),
                                              Numbered(0, 0)};
    std::vector<Bytes> images;
    for (const model::Order& order : orders)
        images.push_back(EncodeOrder(order));

    std::mt19937 random(20240611);
    std::uniform_int_distribution<useconds_t> delay(0, 4000);
    bool seen = false;
    int leftBehind = 0;
    for (int kill = 0; kill < kills; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (std::size_t i = 0;; ++i) {
                try {
                    WriteOrderFile(path, orders[i % orders.size()]);
                } catch (...) {
                    ::_exit(1);
                }
            }
        }
        ::usleep(delay(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "a save failed in the child, kill " << kill;

        const Names names = folder.Files();
        const bool there = names.count("5.kxo") == 1;
        EXPECT_TRUE(there || !seen) << "the order file vanished, kill " << kill;
        seen = seen || there;
        if (there) {
            EXPECT_NE(std::find(images.begin(), images.end(), ReadBytes(path)), images.end())
                << "kill " << kill;
        }
        leftBehind += names.size() > (there ? 1u : 0u) ? 1 : 0;
    }
    ::testing::Test::RecordProperty(
        named ? "NamedKillsLeavingATemporary" : "KillsLeavingATemporary", leftBehind);

    WriteOrderFile(path, orders[1]);
    EXPECT_EQ(ReadBytes(path), images[1]);
    EXPECT_EQ(folder.Files(), Names{"5.kxo"});
    orders::NamedTemporariesForTesting(false);
}

TEST(OrderFile, SavesKilledAtRandomMomentsLeaveOneWholeOrderAndNothingElse) {
    KillSavesAtRandomMoments(false, 150);
    KillSavesAtRandomMoments(true, 50);
}

} // namespace
