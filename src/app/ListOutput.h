#pragma once

#include "HeaderQuery.h"
#include "ListTotals.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Connection;
class ListSink;

// The whole selection of the list printed or exported: its Bills read a page at a time, in the
// list's order, and handed to a sink (ListPrint, ListSpreadsheet) as they come, so that neither
// the time to the first page nor the memory grows with the selection. Run in a worker thread on
// a connection of its own, so that the clerk goes on working, sees how far it got and can give
// it up; given up, it leaves no file behind.
class ListOutput : public QObject {
    Q_OBJECT
public:
    struct Selection {
        HeaderQuery query;
        QDate today;
        QHash<int, QString> bankNames;
    };
    // Made in the worker thread, where it is used and dropped.
    using MakeSink = std::function<std::unique_ptr<ListSink>()>;
    static constexpr int kPageSize = 1000;

    // Reads the selection into `sink` and closes it with the totals of the rows it got; nullopt,
    // the sink not closed, when `cancelled` is set between two pages. Throws SuiteError.
    static std::optional<ListTotals> run(const std::shared_ptr<Connection>& connection,
                                         const Selection& selection, ListSink& sink,
                                         const std::atomic<bool>& cancelled,
                                         const std::function<void(int rows)>& progress = {},
                                         int pageSize = kPageSize);

    explicit ListOutput(QObject* parent = nullptr);
    // Gives up an output still running and waits for it.
    ~ListOutput() override;
    ListOutput(const ListOutput&) = delete;
    ListOutput& operator=(const ListOutput&) = delete;

    // Runs `run` in the background on a new connection to the database of `like`.
    void start(const std::shared_ptr<Connection>& like, const Selection& selection, MakeSink makeSink);
    // Gives the output up after the page being read: neither `finished` nor `failed` follows.
    void cancel();
    bool running() const;

signals:
    void progress(int rows);
    void finished(const ListTotals& totals);
    void failed(const QString& reason);

private:
    struct Job;
    std::shared_ptr<Job> job_;
    std::vector<std::shared_ptr<Job>> givenUp_;
};
