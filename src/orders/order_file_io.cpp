// Reading and writing order files on disk. A save goes to a temporary file in
// the same folder, is flushed to the disk and then renamed over the order
// file, so the file holds either the previous order or the new one, never a
// mixture or a part of one.

#include "order_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orders {

namespace {

std::string Quoted(const std::string& text) {
    return "«" + text + "»";
}

std::string Reason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "нет доступа";
    case ENOENT:
    case ENOTDIR:
        return "папка не существует";
    case ENOSPC:
    case EDQUOT:
        return "на диске нет места";
    case EROFS:
        return "диск доступен только для чтения";
    case EISDIR:
        return "под этим именем находится папка";
    case ENAMETOOLONG:
        return "слишком длинное имя файла";
    case EFBIG:
        return "превышен допустимый размер файла";
    case EIO:
        return "ошибка ввода-вывода";
    default:
        return "системная ошибка " + std::to_string(error) + " (" + std::strerror(error) + ")";
    }
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

bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Creates a temporary file of its own in the folder; the name does not
// depend on the order number, so it fits whatever the number's length.
int CreateTemporary(const std::string& folder, std::string& name) {
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/.order-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) +
               ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

void WriteOrderFile(const std::string& path, const model::Order& order) {
    const std::vector<std::uint8_t> bytes = EncodeOrder(order);

    struct stat target {};
    const bool replacing = ::stat(path.c_str(), &target) == 0;
    if (replacing && S_ISDIR(target.st_mode))
        FailSave(path, EISDIR);

    std::string temporary;
    Descriptor file(CreateTemporary(FolderOf(path), temporary));
    if (file.get() < 0)
        FailSave(path, errno);

    auto fail = [&](int error) {
        ::unlink(temporary.c_str());
        FailSave(path, error);
    };
    // The replaced file keeps its permissions.
    if (replacing)
        (void)::fchmod(file.get(), target.st_mode & 07777);
    if (!WriteAll(file.get(), bytes) || ::fsync(file.get()) != 0)
        fail(errno);
    if (!file.Close())
        fail(errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        fail(errno);

    // Make the rename itself durable; the save has succeeded either way.
    Descriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        (void)::fsync(folder.get());
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
    std::size_t size = 0;
    while (size < bytes.size()) {
        const ssize_t n = ::read(file.get(), bytes.data() + size, bytes.size() - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            FailOpen(path, Reason(errno));
        if (n == 0)
            break;
        size += static_cast<std::size_t>(n);
    }
    file.Close();
    bytes.resize(size);

    const DecodeResult result = DecodeOrder(bytes, order);
    switch (result.status) {
    case DecodeStatus::Loaded:
        return;
    case DecodeStatus::CountOutOfRange:
        throw OrderFileError(
            "Файл " + Quoted(path) + " не является файлом заказа: количество решёток в нём " +
            std::to_string(result.count) + ", а допустимо от 0 до 60. Таблицы не изменены.");
    case DecodeStatus::TooShort:
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

} // namespace orders
