// Reading and writing order files on disk. A save writes the new order into a
// file of its own in the same folder, flushes it to the disk and renames it
// over the order file, so the order file holds either the previous order or
// the new one, never a mixture or a part of one.
//
// The new file is made without a name (O_TMPFILE) and is named only just
// before the rename, so a save killed while it writes leaves nothing behind.
// Where the file system cannot make unnamed files, it is named from the
// start. Either way a save killed after naming its file leaves a temporary;
// the next save into that folder removes the temporaries of processes that no
// longer exist.

#include "order_file.h"

#include "platform/system_reason.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <span>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orders {

namespace {

std::string Quoted(const std::string& text) {
    return "«" + text + "»";
}

std::string Reason(int error) {
    if (error == EEXIST)
        return "не удалось подобрать свободное имя для временного файла";
    return platform::SystemReason(error);
}

[[noreturn]] void FailSave(const std::string& path, int error) {
    throw OrderFileError("Не удалось сохранить заказ в файл " + Quoted(path) + ": " +
                         Reason(error) + ". Прежнее содержимое файла не изменено.");
}

[[noreturn]] void FailOpen(const std::string& path, const std::string& why) {
    throw OrderFileError("Не удалось открыть файл заказа " + Quoted(path) + ": " + why +
                         ". Таблицы не изменены.");
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Closes a descriptor once, whatever way the scope is left.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n == -1 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// The replaced file keeps its permissions; false with errno set when the
// bytes did not reach the disk.
bool WriteAndFlush(int fd, const std::vector<std::uint8_t>& bytes, const struct stat* replaced) {
    if (replaced)
        (void)::fchmod(fd, replaced->st_mode & 07777);
    return WriteAll(fd, bytes) && ::fsync(fd) == 0;
}

// Temporaries are named ".order-<pid>-<serial>-<host>.tmp": the process id
// tells whether the save that made one may still be running, the host keeps
// a save from removing those of another computer in a shared folder. The name
// does not depend on the order number, so it fits whatever the number's
// length. Older versions left ".order-<pid>-<serial>.tmp".
constexpr std::string_view TemporaryPrefix = ".order-";
constexpr std::string_view TemporarySuffix = ".tmp";

const std::string& HostName() {
    static const std::string host = [] {
        char name[HOST_NAME_MAX + 1] = {};
        if (::gethostname(name, sizeof name - 1) != 0)
            return std::string();
        std::string text = name;
        std::replace(text.begin(), text.end(), '/', '_');
        return text;
    }();
    return host;
}

std::string TemporaryName(const std::string& folder) {
    static std::atomic<unsigned> serial{};
    return folder + "/" + std::string(TemporaryPrefix) + std::to_string(::getpid()) + "-" +
           std::to_string(serial++) + "-" + HostName() + std::string(TemporarySuffix);
}

// The process that made a temporary of this computer, from its name; 0 for
// any other file.
pid_t OwnerOf(std::string_view name) {
    if (!name.starts_with(TemporaryPrefix) || !name.ends_with(TemporarySuffix))
        return 0;
    name.remove_prefix(TemporaryPrefix.size());
    name.remove_suffix(TemporarySuffix.size());
    pid_t pid{};
    const char* end = name.data() + name.size();
    auto [afterPid, pidError] = std::from_chars(name.data(), end, pid);
    if (pidError != std::errc() || afterPid == end || *afterPid != '-')
        return 0;
    unsigned serial = 0;
    auto [afterSerial, serialError] = std::from_chars(afterPid + 1, end, serial);
    if (serialError != std::errc() || afterSerial == afterPid + 1)
        return 0;
    const std::string_view host(afterSerial, static_cast<std::size_t>(end - afterSerial));
    if (!host.empty() && host != "-" + HostName())
        return 0;
    return pid;
}

// Removes the temporaries left by saves that were killed: those whose process
// no longer exists. A live process's temporary is left alone, since its save
// may still be running; so are this process's own.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = OwnerOf(entry->d_name);
        if (owner > 0 && owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH)
            (void)::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// Names an unnamed file. Through /proc, since naming it by its descriptor
// alone (AT_EMPTY_PATH) needs a privilege users lack; that is the way left
// where /proc is not mounted.
bool NameUnnamed(int fd, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != ENOENT)
        return false;
    return ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
}

// Writes the bytes into an unnamed file in the folder and then names it.
// Returns the name, or "" when the file system cannot make or name unnamed
// files. A failure before the naming leaves nothing: the file goes with its
// descriptor.
std::string WriteUnnamed(const std::string& folder, const std::string& path,
                         const std::vector<std::uint8_t>& bytes, const struct stat* replaced) {
    Descriptor file(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (file.get() < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
            return {};
        FailSave(path, errno);
    }
    if (!WriteAndFlush(file.get(), bytes, replaced))
        FailSave(path, errno);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryName(folder);
        if (NameUnnamed(file.get(), name)) {
            if (!file.Close()) {
                const int error = errno;
                ::unlink(name.c_str());
                FailSave(path, error);
            }
            return name;
        }
        if (errno != EEXIST)
            return {};
    }
    FailSave(path, EEXIST);
}

// The same with a file that is named from the start.
std::string WriteNamed(const std::string& folder, const std::string& path,
                       const std::vector<std::uint8_t>& bytes, const struct stat* replaced) {
    std::string name;
    int fd = -1;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(folder);
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            break;
    }
    Descriptor file(fd);
    if (fd < 0)
        FailSave(path, errno);
    if (!WriteAndFlush(fd, bytes, replaced) || !file.Close()) {
        const int error = errno;
        ::unlink(name.c_str());
        FailSave(path, error);
    }
    return name;
}

thread_local bool namedTemporariesForTesting = false;

} // namespace

void NamedTemporariesForTesting(bool named) {
    namedTemporariesForTesting = named;
}

void WriteOrderFile(const std::string& path, const model::Order& order) {
    const std::vector<std::uint8_t> bytes = EncodeOrder(order);

    struct stat target {};
    const bool replacing = ::stat(path.c_str(), &target) == 0;
    if (replacing && S_ISDIR(target.st_mode))
        FailSave(path, EISDIR);

    const std::string folder = FolderOf(path);
    RemoveStaleTemporaries(folder);
    const struct stat* replaced = replacing ? &target : nullptr;
    std::string temporary =
        namedTemporariesForTesting ? std::string() : WriteUnnamed(folder, path, bytes, replaced);
    if (temporary.empty())
        temporary = WriteNamed(folder, path, bytes, replaced);
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        FailSave(path, error);
    }

    // Make the rename itself durable; the save has succeeded either way.
    Descriptor folderFile(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFile.get() >= 0)
        (void)::fsync(folderFile.get());
}

void ReadOrderFile(const std::string& path, model::Order& order) {
    // O_NONBLOCK keeps a pipe under the file's name from hanging the open.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        if (errno == ENOENT)
            throw OrderFileError("Файл заказа " + Quoted(path) +
                                 " не найден. Проверьте номер заказа. Таблицы не изменены.");
        FailOpen(path, Reason(errno));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        FailOpen(path, Reason(errno));
    if (S_ISDIR(info.st_mode))
        FailOpen(path, Reason(EISDIR));
    if (!S_ISREG(info.st_mode))
        FailOpen(path, "это не обычный файл");

    // Only the longest possible order is read; anything after it is ignored.
    std::vector<std::uint8_t> bytes(MaxOrderFileSize);
    std::span<std::uint8_t> rest(bytes);
    while (!rest.empty()) {
        const ssize_t n = ::read(file.get(), rest.data(), rest.size());
        if (n == -1 && errno == EINTR)
            continue;
        if (n == -1)
            FailOpen(path, Reason(errno));
        if (n == 0)
            break;
        rest = rest.subspan(static_cast<std::size_t>(n));
    }
    file.Close();
    bytes.resize(bytes.size() - rest.size());

    const DecodeResult result = DecodeOrder(bytes, order);
    switch (result.status) {
    case DecodeStatus::Loaded:
        return;
    case DecodeStatus::CountOutOfRange:
        throw OrderFileError(
            "Файл " + Quoted(path) + " не является файлом заказа: количество решёток в нём " +
            std::to_string(result.count) + ", а допустимо от 0 до 60. Таблицы не изменены.");
    case DecodeStatus::TooShort: {
        const std::size_t size = bytes.size();
        if (size == 0)
            throw OrderFileError("Файл заказа " + Quoted(path) + " пуст. Таблицы не изменены.");
        if (size < CountBytes)
            throw OrderFileError("Файл заказа " + Quoted(path) +
                                 " повреждён: в нём нет даже количества решёток. Таблицы не "
                                 "изменены.");
        throw OrderFileError(
            "Файл заказа " + Quoted(path) + " повреждён: количество решёток в нём " +
            std::to_string(result.count) + ", для них нужно " + std::to_string(result.needed) +
            " байт, а в файле только " + std::to_string(size) + ". Таблицы не изменены.");
    }
    }
}

} // namespace orders
