#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "Connection.h"

// One read-only query over a caller's selection (its count and sum, its ageing) run on a
// connection of its own in a worker thread, so that the list can be used while a large selection
// is read and the clerk can give the read up. Giving up cancels the statement on the server where
// the engine allows it; on an embedded database the read runs out in the background and its
// answer is dropped.
class BackgroundRead : public QObject {
    Q_OBJECT
public:
    explicit BackgroundRead(QObject* parent = nullptr);
    // Gives up a count still running and waits for the threads of counts given up.
    ~BackgroundRead() override;
    BackgroundRead(const BackgroundRead&) = delete;
    BackgroundRead& operator=(const BackgroundRead&) = delete;

    // Runs `query` (one read-only query) on a new connection to the same database as `like`; a
    // read already running is given up first.
    void start(const std::shared_ptr<Connection>& like, const QString& query);
    // Gives up the running read at once: neither `answered` nor `failed` follows.
    void cancel();
    bool running() const;

signals:
    void answered(const ResultSet& result);
    void failed(const QString& reason);

private:
    struct Job;
    std::shared_ptr<Job> job_;
    std::vector<std::shared_ptr<Job>> givenUp_;  // still running out, never waited for by the clerk
    std::weak_ptr<Connection> like_;
};
