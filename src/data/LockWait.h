#pragma once

// How long a statement waits for another session's lock before giving up, for the connections
// opened from now on: a clerk's SqlDialect::kLockWaitMs unless a test shortens it.
namespace LockWait {

int ms();
void set(int ms);

}  // namespace LockWait
