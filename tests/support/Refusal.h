#pragma once

#include "SuiteError.h"

#include <QString>
#include <functional>

// The message of the refusal `action` threw; empty when it went through.
inline QString refusal(const std::function<void()>& action) {
    try {
        action();
    } catch (const SuiteError& e) {
        return e.description();
    }
    return {};
}
