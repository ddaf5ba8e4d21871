// The engine of one user's script, in a process of its own (kv_script_engine): the form's
// process sends it the script and the form's events and kills it when a run passes the time
// limit. Whatever the script does (loops, recursion that catches its own stack overflow, memory
// without end) it cannot hold the form: its address space and its processor time are capped,
// and it dies with the form's process.
#include "ScriptProtocol.h"

#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <QJSEngine>
#include <QJsonArray>
#include <QObject>
#include <csignal>
#include <cstdio>

namespace {

// Standard input and output, one message a line.
class Channel {
public:
    Channel() {
        in_.open(stdin, QIODevice::ReadOnly);
        out_.open(stdout, QIODevice::WriteOnly);
    }
    void send(const QJsonObject& message) {
        out_.write(ScriptProtocol::line(message));
        out_.flush();
    }
    // The next message; the form's process gone, the engine ends.
    QJsonObject receive() {
        const QByteArray line = in_.readLine();
        if (line.isEmpty()) std::exit(0);
        return ScriptProtocol::parse(line);
    }
    QJsonObject ask(const QJsonObject& question) {
        send(question);
        return receive();
    }

private:
    QFile in_;
    QFile out_;
};

// The `form` object a script is handed: its calls are answered by the form's process.
class ScriptForm : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER name_ CONSTANT)
public:
    ScriptForm(QJSEngine& engine, Channel& channel, QString name)
        : engine_(engine), channel_(channel), name_(std::move(name)) {}

    Q_INVOKABLE QString field(const QString& name) {
        const QJsonObject answer = channel_.ask({{QStringLiteral("field"), name}});
        if (answer.contains(QStringLiteral("unknown"))) {
            engine_.throwError(QJSValue::ReferenceError,
                               QStringLiteral("campo sconosciuto \"%1\"").arg(name));
            return {};
        }
        return answer.value(QStringLiteral("value")).toString();
    }

    Q_INVOKABLE void message(const QString& text) { channel_.ask({{QStringLiteral("message"), text}}); }

private:
    QJSEngine& engine_;
    Channel& channel_;
    QString name_;
};

void limitResources() {
    // Dies with the form's process, even one killed outright.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() == 1) std::exit(0);
    const rlimit memory{rlim_t(ScriptProtocol::kMemoryBytes), rlim_t(ScriptProtocol::kMemoryBytes)};
    setrlimit(RLIMIT_AS, &memory);
    const rlimit cpu{rlim_t(ScriptProtocol::kCpuSeconds), rlim_t(ScriptProtocol::kCpuSeconds)};
    setrlimit(RLIMIT_CPU, &cpu);
}

QJsonObject outcome(const QJSValue& result) {
    if (result.isError())
        return {{QStringLiteral("error"), result.toString()},
                {QStringLiteral("line"), result.property(QStringLiteral("lineNumber")).toInt()}};
    QJsonObject done{{QStringLiteral("done"), true}};
    if (!result.isUndefined() && !result.isNull())
        done.insert(QStringLiteral("result"), QJsonValue::fromVariant(result.toVariant()));
    return done;
}

}  // namespace

int main(int argc, char** argv) {
    limitResources();
    QCoreApplication app(argc, argv);
    Channel channel;
    QJSEngine engine;
    engine.installExtensions(QJSEngine::ConsoleExtension);  // console.log goes to standard error
    QJSValue form;
    for (;;) {
        const QJsonObject request = channel.receive();
        if (request.contains(QStringLiteral("load"))) {
            form = engine.newQObject(
                new ScriptForm(engine, channel, request.value(QStringLiteral("form")).toString()));
            engine.globalObject().setProperty(QStringLiteral("form"), form);
            channel.send(outcome(
                engine.evaluate(request.value(QStringLiteral("load")).toString(), QStringLiteral("script"))));
        } else if (request.contains(QStringLiteral("event"))) {
            QJSValue function =
                engine.globalObject().property(request.value(QStringLiteral("event")).toString());
            if (!function.isCallable()) {
                channel.send({{QStringLiteral("done"), true}});
                continue;
            }
            QJSValueList arguments{form};
            for (const QJsonValue& a : request.value(QStringLiteral("arguments")).toArray())
                arguments.append(engine.toScriptValue(a.toVariant()));
            channel.send(outcome(function.call(arguments)));
        }
    }
}

#include "ScriptEngineMain.moc"
