#pragma once

// What a failed system call's errno means to the user, in Russian, as the
// tail of a message ("Не удалось сохранить …: на диске нет места").

#include <string>

namespace platform {

std::string SystemReason(int error);

} // namespace platform
