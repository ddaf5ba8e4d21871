#include "TransactionScope.h"

#include "Connection.h"
#include "SuiteError.h"

TransactionScope::TransactionScope(Connection& connection) : connection_(connection) {
    connection_.BeginTrans();
    active_ = true;
}

TransactionScope::~TransactionScope() {
    try {
        rollback();
    } catch (const SuiteError&) {
        // The connection went away with its transaction: nothing is left to undo.
    }
}

void TransactionScope::commit() {
    if (!active_) return;
    active_ = false;  // a failed commit has rolled back already
    connection_.CommitTrans();
}

void TransactionScope::rollback() {
    if (!active_) return;
    active_ = false;
    if (connection_.State() == 1 && connection_.InTransaction()) connection_.RollbackTrans();
}
