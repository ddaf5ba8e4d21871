#include "JsFormScript.h"

#include "LogService.h"
#include "ScriptForm.h"
#include "SuiteError.h"

#include <QPointer>
#include <QWidget>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
const QString kSource = QStringLiteral("Script utente");

// Interrupts the engine when the time limit passes before the run ends.
class Watchdog {
public:
    Watchdog(QJSEngine& engine, int ms)
        : thread_([this, &engine, ms] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return finished_; })) {
                  expired_ = true;
                  engine.setInterrupted(true);
              }
          }) {}
    ~Watchdog() {
        {
            const std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }
    bool expired() {
        const std::lock_guard lock(mutex_);
        return expired_;
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    bool expired_ = false;
    std::thread thread_;
};
}  // namespace

JsFormScript::JsFormScript(const QString& text, QWidget* form, QString formName,
                           std::shared_ptr<LogService> log, int timeLimitMs)
    : timeLimitMs_(timeLimitMs) {
    engine_.installExtensions(QJSEngine::ConsoleExtension);
    auto* proxy = new ScriptForm(engine_, form, std::move(formName), std::move(log));
    engine_.globalObject().setProperty(QStringLiteral("form"), engine_.newQObject(proxy));
    guarded([&] { return engine_.evaluate(text, QStringLiteral("script")); }, QStringLiteral("caricamento"));
}

JsFormScript::~JsFormScript() = default;

void JsFormScript::Close(const QVariant&) {
    closed_ = true;
}

QVariant JsFormScript::RaiseFormEvent(bool open, const QVariantList& arguments) {
    const QString name = open ? QStringLiteral("tsOpen") : QStringLiteral("tsClose");
    QJSValue function = engine_.globalObject().property(name);
    if (closed_ || !function.isCallable()) return {};
    QJSValueList args{engine_.globalObject().property(QStringLiteral("form"))};
    for (const QVariant& a : arguments) args.append(engine_.toScriptValue(a));
    const QJSValue result = guarded([&] { return function.call(args); }, name);
    return result.isUndefined() || result.isNull() ? QVariant() : result.toVariant();
}

QJSValue JsFormScript::guarded(const std::function<QJSValue()>& call, const QString& what) {
    QJSValue result;
    bool expired = false;
    {
        Watchdog watchdog(engine_, timeLimitMs_);
        result = call();
        expired = watchdog.expired();
    }
    engine_.setInterrupted(false);
    if (expired)
        throw SuiteError(
            SuiteError::kTimeout, kSource,
            QStringLiteral("Lo script (%1) ha superato il tempo massimo di %2 secondi ed è stato "
                           "interrotto.")
                .arg(what)
                .arg(timeLimitMs_ / 1000.0));
    if (result.isError())
        throw SuiteError(
            SuiteError::kOperationNotAllowed, kSource,
            QStringLiteral("Errore nello script (%1) alla riga %2: %3")
                .arg(what, result.property(QStringLiteral("lineNumber")).toString(), result.toString()));
    return result;
}
