#include "JsFormScript.h"

#include "LogService.h"
#include "ScriptProtocol.h"
#include "SuiteError.h"

#include <dlfcn.h>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QWidget>

namespace {
const QString kJsFormScriptSource = QStringLiteral("Script utente");
constexpr int kStartMs = 10000;
}  // namespace

QString JsFormScript::enginePath() {
    // The engine sits beside this library, in the build tree as in the installed package: no
    // path is compiled in, so nothing of the build tree ends up in an installed file.
    Dl_info self{};
    ::dladdr(reinterpret_cast<const void*>(&JsFormScript::enginePath), &self);
    return QFileInfo(QFile::decodeName(self.dli_fname)).canonicalPath() + QStringLiteral("/kv_script_engine");
}

JsFormScript::JsFormScript(const QString& text, QWidget* form, QString formName,
                           std::shared_ptr<LogService> log, int timeLimitMs)
    : form_(form), log_(std::move(log)), timeLimitMs_(timeLimitMs) {
    engine_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    engine_.start(enginePath(), {});
    if (!engine_.waitForStarted(kStartMs))
        throw SuiteError(SuiteError::kOperationNotAllowed, kJsFormScriptSource,
                         QStringLiteral("Impossibile avviare il motore degli script (%1): %2")
                             .arg(enginePath(), engine_.errorString()));
    run({{QStringLiteral("load"), text}, {QStringLiteral("form"), formName}}, QStringLiteral("caricamento"));
}

JsFormScript::~JsFormScript() {
    if (engine_.state() == QProcess::NotRunning) return;
    engine_.kill();
    engine_.waitForFinished(kStartMs);
}

void JsFormScript::Close(const QVariant&) {
    closed_ = true;
}

QVariant JsFormScript::RaiseFormEvent(bool open, const QVariantList& arguments) {
    if (closed_ || discarded_) return {};
    const QString name = open ? QStringLiteral("tsOpen") : QStringLiteral("tsClose");
    const QJsonObject done = run({{QStringLiteral("event"), name},
                                  {QStringLiteral("arguments"), QJsonArray::fromVariantList(arguments)}},
                                 name);
    const QJsonValue result = done.value(QStringLiteral("result"));
    return result.isUndefined() || result.isNull() ? QVariant() : result.toVariant();
}

void JsFormScript::discard(const QString& why) {
    discarded_ = true;
    engine_.kill();
    engine_.waitForFinished(kStartMs);
    throw SuiteError(SuiteError::kTimeout, kJsFormScriptSource, why);
}

QJsonObject JsFormScript::run(const QJsonObject& request, const QString& what) {
    if (discarded_) return {};
    engine_.write(ScriptProtocol::line(request));
    // The time the script runs: a message waiting for the user does not count.
    qint64 used = 0;
    QElapsedTimer running;
    running.start();
    int messages = 0;
    for (;;) {
        const qint64 left = timeLimitMs_ - used - running.elapsed();
        if (left <= 0)
            discard(QStringLiteral("Lo script (%1) ha superato il tempo massimo di %2 secondi ed è stato "
                                   "interrotto.")
                        .arg(what)
                        .arg(timeLimitMs_ / 1000.0));
        if (!engine_.canReadLine()) {
            if (!engine_.waitForReadyRead(int(left)) && engine_.state() == QProcess::NotRunning)
                discard(QStringLiteral("Lo script (%1) si è interrotto: ha superato la memoria consentita o "
                                       "il motore degli script si è arrestato.")
                            .arg(what));
            continue;
        }
        QJsonObject message = ScriptProtocol::parse(engine_.readLine());
        if (message.contains(QStringLiteral("done"))) return message;
        if (message.contains(QStringLiteral("error")))
            throw SuiteError(SuiteError::kOperationNotAllowed, kJsFormScriptSource,
                             QStringLiteral("Errore nello script (%1) alla riga %2: %3")
                                 .arg(what)
                                 .arg(message.value(QStringLiteral("line")).toInt())
                                 .arg(message.value(QStringLiteral("error")).toString()));
        used += running.restart();
        engine_.write(ScriptProtocol::line(answer(message, &messages, what)));
        running.restart();
    }
}

QJsonObject JsFormScript::answer(const QJsonObject& question, int* messages, const QString& what) {
    if (question.contains(QStringLiteral("field"))) {
        const QString name = question.value(QStringLiteral("field")).toString();
        QWidget* w = form_ ? form_->findChild<QWidget*>(name) : nullptr;
        const QVariant text = w ? w->property("Text") : QVariant();
        if (!text.isValid()) return {{QStringLiteral("unknown"), true}};
        return {{QStringLiteral("value"), text.toString()}};
    }
    if (question.contains(QStringLiteral("message"))) {
        if (++*messages > kMaxMessages)
            discard(QStringLiteral("Lo script (%1) ha mostrato più di %2 messaggi ed è stato interrotto.")
                        .arg(what)
                        .arg(kMaxMessages));
        if (log_)
            log_->MsgBox(question.value(QStringLiteral("message")).toString(), LogService::kInformation,
                         QStringLiteral("Informazione"));
        return {{QStringLiteral("shown"), true}};
    }
    discard(QStringLiteral("Il motore degli script ha inviato una richiesta sconosciuta (%1).").arg(what));
}
