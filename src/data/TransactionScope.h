#pragma once

class Connection;

// A transaction on a connection that rolls back unless committed: when the scope ends without
// commit (an error left the block, the caller gave up) and when the commit itself fails. Rows a
// recordset wrote inside it become pending again on rollback (Connection::onRollback).
// The connection must outlive the scope.
class TransactionScope {
public:
    explicit TransactionScope(Connection& connection);
    ~TransactionScope();
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;

    // Throws SuiteError when the engine refuses the commit; the transaction is rolled back then.
    void commit();
    void rollback();
    bool active() const { return active_; }

private:
    Connection& connection_;
    bool active_ = false;
};
