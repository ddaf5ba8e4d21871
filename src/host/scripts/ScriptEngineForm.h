#pragma once

#include "ScriptChannel.h"

#include <QJSEngine>
#include <QObject>

// The `form` object a script is handed, in the engine's process: its calls are answered by the
// form's process.
class ScriptEngineForm : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER name_ CONSTANT)
public:
    ScriptEngineForm(QJSEngine& engine, ScriptChannel& channel, QString name)
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
    ScriptChannel& channel_;
    QString name_;
};
