#include "IdleConnections.h"

#include "Connection.h"
#include "LockWait.h"
#include "SuiteError.h"

#include <QMutexLocker>
#include <QThread>

std::shared_ptr<IdleConnections> IdleConnections::create(ConnectionFactory factory, int keep) {
    return std::shared_ptr<IdleConnections>(new IdleConnections(std::move(factory), keep));
}

IdleConnections::IdleConnections(ConnectionFactory factory, int keep)
    : factory_(std::move(factory)), keep_(keep) {}

IdleConnections::~IdleConnections() = default;

std::unique_ptr<Connection> IdleConnections::takeWaiting() {
    QThread* here = QThread::currentThread();
    std::unique_ptr<Connection> found;
    std::vector<std::unique_ptr<Connection>> stale;
    {
        QMutexLocker lock(&mutex_);
        for (auto it = waiting_.begin(); it != waiting_.end();) {
            if (it->thread != here) {
                ++it;
            } else if (it->lockWaitMs != LockWait::ms()) {
                stale.push_back(std::move(it->connection));
                it = waiting_.erase(it);
            } else {
                found = std::move(it->connection);
                waiting_.erase(it);
                break;
            }
        }
    }
    return found;  // the stale ones close here, outside the lock
}

std::shared_ptr<Connection> IdleConnections::open() {
    std::unique_ptr<Connection> connection = takeWaiting();
    if (connection) {
        try {
            connection->resume();
        } catch (const SuiteError&) {
            // A user no longer allowed, a file replaced: a new connection says so as it opens.
            connection.reset();
        }
    }
    if (!connection) {
        connection = std::make_unique<Connection>();
        connection->Open(factory_);
        connection->setCatalogue(factory_.catalogue());
    }
    std::weak_ptr<IdleConnections> pool = weak_from_this();
    QThread* thread = QThread::currentThread();
    const int lockWaitMs = LockWait::ms();
    return std::shared_ptr<Connection>(connection.release(), [pool, thread, lockWaitMs](Connection* c) {
        if (auto kept = pool.lock())
            kept->letGo(c, thread, lockWaitMs);
        else
            delete c;
    });
}

void IdleConnections::letGo(Connection* connection, QThread* thread, int lockWaitMs) {
    std::unique_ptr<Connection> owned(connection);
    if (thread != QThread::currentThread() || owned->State() != 1 || owned->InTransaction()) return;
    QMutexLocker lock(&mutex_);
    if (int(waiting_.size()) >= keep_) return;
    waiting_.push_back({std::move(owned), thread, lockWaitMs});
}
