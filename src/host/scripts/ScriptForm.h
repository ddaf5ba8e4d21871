#pragma once

#include "LogService.h"

#include <QJSEngine>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

// The `form` object a script is handed.
class ScriptForm : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER name_ CONSTANT)
public:
    ScriptForm(QJSEngine& engine, QWidget* form, QString name, std::shared_ptr<LogService> log)
        : engine_(engine), form_(form), name_(std::move(name)), log_(std::move(log)) {}

    Q_INVOKABLE QString field(const QString& name) {
        QWidget* w = form_ ? form_->findChild<QWidget*>(name) : nullptr;
        const QVariant text = w ? w->property("Text") : QVariant();
        if (!text.isValid()) {
            engine_.throwError(QJSValue::ReferenceError,
                               QStringLiteral("campo sconosciuto \"%1\"").arg(name));
            return {};
        }
        return text.toString();
    }

    Q_INVOKABLE void message(const QString& text) {
        if (log_) log_->MsgBox(text, 64, QStringLiteral("Informazione"));
    }

private:
    QJSEngine& engine_;
    QPointer<QWidget> form_;
    QString name_;
    std::shared_ptr<LogService> log_;
};
