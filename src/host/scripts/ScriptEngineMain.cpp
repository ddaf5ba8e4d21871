// The engine of one user's script, in a process of its own (kv_script_engine): the form's
// process sends it the script and the form's events and kills it when a run passes the time
// limit. Whatever the script does (loops, recursion that catches its own stack overflow, memory
// without end) it cannot hold the form: its address space and its processor time are capped,
// and it dies with the form's process.
#include "ScriptChannel.h"
#include "ScriptEngineForm.h"
#include "ScriptProtocol.h"

#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QJSEngine>
#include <QJsonArray>
#include <csignal>

namespace {

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
    ScriptChannel channel;
    QJSEngine engine;
    engine.installExtensions(QJSEngine::ConsoleExtension);  // console.log goes to standard error
    QJSValue form;
    for (;;) {
        const QJsonObject request = channel.receive();
        if (request.contains(QStringLiteral("load"))) {
            form = engine.newQObject(
                new ScriptEngineForm(engine, channel, request.value(QStringLiteral("form")).toString()));
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
            for (const auto& a : request.value(QStringLiteral("arguments")).toArray())
                arguments.append(engine.toScriptValue(a.toVariant()));
            channel.send(outcome(function.call(arguments)));
        }
    }
}
