#include "ClerkProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QProcessEnvironment>
#include <QThread>

ClerkProcess::ClerkProcess(const QString& connectionString, const QString& user, const QString& scenario,
                           const QStringList& moreArguments)
    : arguments_(QStringList{QStringLiteral("--db"), connectionString, QStringLiteral("--company"),
                             QStringLiteral("1"), QStringLiteral("--user"), user,
                             QStringLiteral("--trusted")} +
                 moreArguments) {
    process_.setProgram(QStringLiteral(KV_DRIVER));
    process_.setArguments(arguments_);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TMPDIR"), scratch_.path());
    process_.setProcessEnvironment(environment);
    QObject::connect(&process_, &QProcess::readyReadStandardOutput,
                     [this] { output_ += process_.readAllStandardOutput(); });
    QObject::connect(&process_, &QProcess::readyReadStandardError,
                     [this] { errors_ += process_.readAllStandardError(); });
    process_.start();
    process_.write(scenario.toUtf8());
    process_.closeWriteChannel();
}

ClerkProcess::~ClerkProcess() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString ClerkProcess::commandLine() const {
    return QStringLiteral("kv_driver ") + arguments_.join(u' ') + QStringLiteral(" < scenario");
}

QList<QByteArray> ClerkProcess::lines() const {
    QList<QByteArray> out = output_.split('\n');
    out.removeLast();  // the part after the last line end: empty, or a line not complete yet
    return out;
}

QList<QJsonObject> ClerkProcess::observations() const {
    QList<QJsonObject> out;
    for (const QByteArray& line : lines()) out << QJsonDocument::fromJson(line).object();
    return out;
}

void ClerkProcess::kill() {
    process_.kill();  // SIGKILL: the process gets no chance to tidy up
    process_.waitForFinished(10000);
}

std::string ClerkProcess::describe() const {
    return (commandLine().toUtf8() + "\nstate " + QByteArray::number(int(process_.state())) + ", exit " +
            QByteArray::number(process_.exitCode()) + (crashed() ? " (crashed)" : "") + "\nstdout:\n" +
            output_ + "stderr:\n" + errors_)
        .toStdString();
}

bool ClerkProcess::pumpUntil(const std::function<bool()>& done, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}
