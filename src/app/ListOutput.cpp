#include "ListOutput.h"

#include "BillListRows.h"
#include "Connection.h"
#include "CounterpartNames.h"
#include "ListSink.h"
#include "SuiteError.h"

#include <QMetaObject>
#include <QThread>

struct ListOutput::Job {
    QThread* thread = nullptr;
    std::atomic<bool> cancelled{false};
};

std::optional<ListTotals> ListOutput::run(const std::shared_ptr<Connection>& connection,
                                          const Selection& selection, ListSink& sink,
                                          const std::atomic<bool>& cancelled,
                                          const std::function<void(int)>& progress, int pageSize) {
    const HeaderQuery& q = selection.query;
    BillListRows rows(
        connection, q, selection.today, selection.bankNames,
        std::make_shared<CounterpartNames>(connection, q.company, q.tipoArchivio, q.ledgerGroup), pageSize);
    ListTotals totals;
    while (!rows.atEnd()) {
        if (cancelled) return std::nullopt;
        const std::vector<ListRow> page = rows.next(pageSize);
        for (const ListRow& row : page) totals.add(row);
        sink.add(page);
        if (progress) progress(totals.count());
    }
    if (cancelled) return std::nullopt;
    sink.close(totals);
    return totals;
}

ListOutput::ListOutput(QObject* parent) : QObject(parent) {}

ListOutput::~ListOutput() {
    cancel();
    for (const std::shared_ptr<Job>& job : givenUp_) {
        job->thread->wait();
        delete job->thread;
    }
}

bool ListOutput::running() const {
    return job_ && !job_->thread->isFinished();
}

void ListOutput::start(const std::shared_ptr<Connection>& like, const Selection& selection,
                       MakeSink makeSink) {
    cancel();
    auto job = std::make_shared<Job>();
    const ConnectionFactory connections = like->factory();
    job->thread = QThread::create([this, job, connections, selection, makeSink = std::move(makeSink)] {
        std::optional<ListTotals> totals;
        QString problem;
        try {
            std::unique_ptr<ListSink> sink = makeSink();
            totals = run(connections.open(), selection, *sink, job->cancelled, [this, job](int rows) {
                QMetaObject::invokeMethod(
                    this,
                    [this, job, rows] {
                        if (!job->cancelled && job_ == job) emit progress(rows);
                    },
                    Qt::QueuedConnection);
            });
        } catch (const SuiteError& e) {
            problem = e.description();
        }
        if (job->cancelled) return;
        // Told in the caller's thread; an output given up meanwhile stays silent there too.
        QMetaObject::invokeMethod(
            this,
            [this, job, totals, problem] {
                if (job->cancelled || job_ != job) return;
                if (totals)
                    emit finished(*totals);
                else
                    emit failed(problem);
            },
            Qt::QueuedConnection);
    });
    job_ = job;
    job->thread->start();
}

void ListOutput::cancel() {
    if (!job_) return;
    job_->cancelled = true;
    givenUp_.push_back(std::move(job_));
    std::erase_if(givenUp_, [](const std::shared_ptr<Job>& job) {
        if (!job->thread->isFinished()) return false;
        delete job->thread;
        return true;
    });
}
