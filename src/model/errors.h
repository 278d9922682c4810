#pragma once

#include <stdexcept>
#include <string>

namespace model {

// The four run-time errors an operation can raise. Each ends the operation
// that raised it; whatever it had stored before stays stored.
enum class ErrorKind {
    SubscriptOutOfRange,
    Overflow,
    DivisionByZero,
    InvalidPropertyValue,
};

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(ErrorKind kind);
    ErrorKind kind() const noexcept { return kind_; }

private:
    ErrorKind kind_;
};

// The Russian text shown to the user for an error kind.
const char* ErrorMessage(ErrorKind kind) noexcept;

} // namespace model
