#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// One clerk at work: a kv_driver process of its own replaying a scenario from its standard
// input, as `kv_driver --db CONN --company 1 --user USER < scenario` does from a shell.
class ClerkProcess {
public:
    ClerkProcess(const QString& connectionString, const QString& user, const QString& scenario,
                 const QStringList& moreArguments = {});
    ~ClerkProcess();  // a process still running is killed
    ClerkProcess(const ClerkProcess&) = delete;
    ClerkProcess& operator=(const ClerkProcess&) = delete;

    // The command line, for a person to run it again by hand.
    QString commandLine() const;

    // Complete output lines so far (the events of the process are handled by pump()).
    const QByteArray& output() const { return output_; }
    QList<QByteArray> lines() const;
    // The output lines as JSON objects; an empty object for a line that is not one.
    QList<QJsonObject> observations() const;
    QByteArray errors() const { return errors_; }

    bool finished() const { return process_.state() == QProcess::NotRunning; }
    bool crashed() const { return process_.exitStatus() == QProcess::CrashExit; }
    int exitCode() const { return process_.exitCode(); }
    qint64 pid() const { return process_.processId(); }
    void kill();

    // Everything a failed assertion should show about this clerk.
    std::string describe() const;

    // Handles the events of every process (their output, their end) until `done` holds or
    // `milliseconds` have passed; answers whether `done` held.
    static bool pumpUntil(const std::function<bool()>& done, int milliseconds);

private:
    // The clerk's temporary files: a process killed on purpose cannot remove its own.
    QTemporaryDir scratch_;
    QProcess process_;
    QStringList arguments_;
    QByteArray output_;
    QByteArray errors_;
};
