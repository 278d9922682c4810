#include "errors.h"

namespace model {

RuntimeError::RuntimeError(ErrorKind kind) : std::runtime_error(ErrorMessage(kind)), kind_(kind) {}

const char* ErrorMessage(ErrorKind kind) noexcept {
    switch (kind) {
    case ErrorKind::SubscriptOutOfRange:
        return "Индекс вне допустимого диапазона: номер проёма или решётки должен быть от 1 до 60.";
    case ErrorKind::Overflow:
        return "Переполнение: число выходит за пределы от -32768 до 32767.";
    case ErrorKind::DivisionByZero:
        return "Деление на ноль.";
    case ErrorKind::InvalidPropertyValue:
        return "Недопустимое значение свойства: значение вне диапазона полосы прокрутки.";
    }
    return "Ошибка выполнения.";
}

} // namespace model
