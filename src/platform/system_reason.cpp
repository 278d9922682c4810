#include "system_reason.h"

#include <cerrno>
#include <cstring>

namespace platform {

std::string SystemReason(int error) {
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

} // namespace platform
