#pragma once

#include "model/errors.h"

#include <gtest/gtest.h>

// The kind of run-time error an operation raises; a failure if it raises none.
template <class Operation> model::ErrorKind KindOf(Operation&& operation) {
    try {
        operation();
    } catch (const model::RuntimeError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "no run-time error";
    return model::ErrorKind::InvalidPropertyValue;
}
