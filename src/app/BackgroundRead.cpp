#include "BackgroundRead.h"

#include "SqlDialect.h"
#include "SuiteError.h"

#include <QMetaObject>
#include <QThread>
#include <atomic>

struct BackgroundRead::Job {
    QThread* thread = nullptr;
    std::atomic<bool> cancelled{false};
    std::atomic<qint64> sessionId{0};  // the worker's server session, once known
};

BackgroundRead::BackgroundRead(QObject* parent) : QObject(parent) {}

BackgroundRead::~BackgroundRead() {
    cancel();
    for (const std::shared_ptr<Job>& job : givenUp_) {
        job->thread->wait();
        delete job->thread;
    }
}

bool BackgroundRead::running() const {
    return job_ && job_->thread && !job_->thread->isFinished();
}

void BackgroundRead::start(const std::shared_ptr<Connection>& like, const QString& query) {
    cancel();
    std::erase_if(givenUp_, [](const std::shared_ptr<Job>& job) {
        if (!job->thread->isFinished()) return false;
        delete job->thread;
        return true;
    });
    like_ = like;
    auto job = std::make_shared<Job>();
    const ConnectionFactory connections = like->factory();
    const QString sessionQuery = like->dialect().sessionIdQuery();
    job->thread = QThread::create([this, job, connections, sessionQuery, query] {
        ResultSet answer;
        QString problem;
        try {
            const std::shared_ptr<Connection> opened = connections.open();
            Connection& worker = *opened;
            for (const QString& statement : worker.dialect().backgroundSession()) worker.Execute(statement);
            if (!sessionQuery.isEmpty()) {
                const std::vector<ResultSet> id = worker.Query(sessionQuery);
                if (!id.empty() && !id.front().rows.empty())
                    job->sessionId = id.front().rows.front().value(0).toLongLong();
            }
            if (!job->cancelled) {
                std::vector<ResultSet> result = worker.QueryReadOnly(query);
                if (!result.empty()) answer = std::move(result.front());
            }
        } catch (const SuiteError& e) {
            problem = e.description();
        }
        if (job->cancelled) return;
        // Answered in the caller's thread; a read given up meanwhile stays silent there too.
        QMetaObject::invokeMethod(
            this,
            [this, job, answer = std::move(answer), problem] {
                if (job->cancelled || job_ != job) return;
                if (problem.isEmpty())
                    emit answered(answer);
                else
                    emit failed(problem);
            },
            Qt::QueuedConnection);
    });
    job_ = job;
    job->thread->start();
}

void BackgroundRead::cancel() {
    if (!job_) return;
    const std::shared_ptr<Job> job = std::move(job_);
    job->cancelled = true;
    const std::shared_ptr<Connection> like = like_.lock();
    const qint64 session = job->sessionId;
    if (!job->thread->isFinished() && like && session != 0) {
        try {
            like->Query(like->dialect().cancelStatement(session));
        } catch (const SuiteError&) {
            // The read may have ended meanwhile; its answer is dropped all the same.
        }
    }
    givenUp_.push_back(job);
}
