#pragma once

#include "ConnectionFactory.h"

#include <QMutex>
#include <memory>
#include <vector>

class Connection;
class QThread;

// The connections of one session that its forms have let go of, kept open for the next form
// that asks. On a server a new connection starts a server process, reads the user's rights and
// reads the catalogue again on each table's first use: a clerk opening the same form again
// finds all of it ready. A connection comes back when its last holder lets go, unless it is in a
// transaction, closed, or let go in another thread than the one it works in.
class IdleConnections : public std::enable_shared_from_this<IdleConnections> {
public:
    // Keeps at most `keep` connections waiting.
    static std::shared_ptr<IdleConnections> create(ConnectionFactory factory, int keep = 2);
    IdleConnections(const IdleConnections&) = delete;
    IdleConnections& operator=(const IdleConnections&) = delete;
    ~IdleConnections();

    // A waiting connection of this thread, made current (Connection::resume), or a new one from
    // the factory; throws SuiteError as the factory does.
    std::shared_ptr<Connection> open();

private:
    IdleConnections(ConnectionFactory factory, int keep);
    struct Waiting {
        std::unique_ptr<Connection> connection;
        QThread* thread = nullptr;
        int lockWaitMs = 0;  // what it was opened with: a test may shorten it for later ones
    };
    std::unique_ptr<Connection> takeWaiting();
    void letGo(Connection* connection, QThread* thread, int lockWaitMs);

    ConnectionFactory factory_;
    int keep_;
    QMutex mutex_;
    std::vector<Waiting> waiting_;
};
