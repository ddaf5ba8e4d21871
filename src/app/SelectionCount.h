#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class Connection;

// The number of Bills a selection holds, counted on a connection of its own in a worker thread,
// so that the list can be used while a large selection is counted and the clerk can give the
// count up. Giving up cancels the statement on the server where the engine allows it; on an
// embedded database the count runs out in the background and its answer is dropped.
class SelectionCount : public QObject {
    Q_OBJECT
public:
    explicit SelectionCount(QObject* parent = nullptr);
    // Gives up a count still running and waits for the threads of counts given up.
    ~SelectionCount() override;
    SelectionCount(const SelectionCount&) = delete;
    SelectionCount& operator=(const SelectionCount&) = delete;

    // Counts the rows of `countQuery` (one read-only query) on a new connection to the same
    // database as `like`; a count already running is given up first.
    void start(const std::shared_ptr<Connection>& like, const QString& countQuery);
    // Gives up the running count at once: neither `counted` nor `failed` follows.
    void cancel();
    bool running() const;

signals:
    void counted(qint64 rows);
    void failed(const QString& reason);

private:
    struct Job;
    std::shared_ptr<Job> job_;
    std::vector<std::shared_ptr<Job>> givenUp_;  // still running out, never waited for by the clerk
    std::weak_ptr<Connection> like_;
};
