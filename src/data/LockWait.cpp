#include "LockWait.h"

#include "SqlDialect.h"

#include <atomic>

namespace {
std::atomic<int> wait{SqlDialect::kLockWaitMs};
}  // namespace

namespace LockWait {

int ms() {
    return wait.load(std::memory_order_relaxed);
}

void set(int ms) {
    wait.store(ms, std::memory_order_relaxed);
}

}  // namespace LockWait
