#include "IdEditBox.h"

#include "Connection.h"
#include "DecodeRequest.h"
#include "DescriptionCache.h"
#include "LogService.h"
#include "LookupDialog.h"
#include "LookupRequest.h"
#include "SharedConnection.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "Value.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

IdEditBox::IdEditBox(QWidget* parent) : EditBox(parent) {
    auto* search = new QToolButton(this);
    search->setText(QStringLiteral("..."));
    search->setToolTip(QStringLiteral("Ricerca (F3)"));
    search->setFocusPolicy(Qt::NoFocus);
    row()->insertWidget(1, search);
    connect(search, &QToolButton::clicked, this, [this] { lookup(); });
}

void IdEditBox::setText(const QString& text) {
    EditBox::setText(text);
    // Shown from the row or written by the form: the description must follow. While the user is
    // in the box the decode waits for the exit.
    if (!isEntered()) decode(false);
}

QVariant IdEditBox::Value() const {
    return idColumns_ ? id_ : EditBox::Value();
}

void IdEditBox::setValue(const QVariant& value) {
    if (!idColumns_) {
        EditBox::setValue(value);
        return;
    }
    id_ = value;
    const QVariant code =
        ::Value::isNull(value)
            ? QVariant()
            : idTableValue(QStringLiteral("SELECT %1 FROM %2 WITH (NOLOCK) WHERE %3 = %4")
                               .arg(idColumns_->codeColumn, idColumns_->table, idColumns_->idColumn,
                                    QString::number(::Value::toInt(value))),
                           false);
    // An id whose row is gone shows nothing and keeps nothing.
    if (::Value::isNull(code)) id_ = QVariant();
    setText(::Value::toText(code).trimmed());
}

Connection& IdEditBox::reader(const QString& connectionString) const {
    if (!reader_ || reader_->ConnectionString() != connectionString)
        reader_ = SharedConnection::to(connectionString);
    return *reader_;
}

QVariantList IdEditBox::firstRow(const QString& connectionString, const QString& sql, bool fresh) const {
    if (cache_ && !fresh)
        if (std::optional<QVariantList> kept = cache_->find(connectionString, sql)) return *kept;
    const std::vector<ResultSet> results = reader(connectionString).Query(sql);
    QVariantList row;
    if (!results.empty() && !results.front().rows.empty())
        row = QVariantList(results.front().rows.front().begin(), results.front().rows.front().end());
    if (cache_) cache_->keep(connectionString, sql, row);
    return row;
}

QVariant IdEditBox::idTableValue(const QString& sql, bool fresh) const {
    return firstRow(idColumns_->connectionString, sql, fresh).value(0);
}

void IdEditBox::completeEntry() {
    // A code typed over with itself is read again too: the clerk may want its description anew.
    if (Text() != decodedText_ || lineEdit()->isModified()) decode();
    lineEdit()->setModified(false);
}

bool IdEditBox::handleKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (qtKey == Qt::Key_F3 && AcceptsInput()) {
        lookup();
        return true;
    }
    return EditBox::handleKey(qtKey, modifiers);
}

bool IdEditBox::lookup() {
    LookupRequest request;
    emit StartLookup(&request);
    if (request.query.isEmpty()) return false;
    QVariant value;
    QVariantList row;
    try {
        LookupDialog list(request, lookupKey_, this);
        if (list.exec() != QDialog::Accepted) return false;
        value = list.chosen();
        row = list.chosenRow();
    } catch (const SuiteError& e) {
        logService().MsgBox(e.description(), LogService::kExclamation, QStringLiteral("Attenzione"));
        return false;
    }
    // Back in the field the user started from, whatever the window system did on closing.
    window()->activateWindow();
    editor()->setFocus(Qt::OtherFocusReason);
    if (Value::isNull(value)) return false;
    EditBox::setText(Value::toText(value));
    emit LookupReturn(row);
    decode();
    return true;
}

QString IdEditBox::description() const {
    return hasDescription() ? lastTargets_.first()->Text().trimmed() : QString();
}

void IdEditBox::fill(const DecodeRequest& request, const QVariantList& values) {
    for (int i = 0; i < request.targets.size(); ++i)
        if (request.targets[i]) request.targets[i]->setValue(values.value(i));
}

void IdEditBox::decode(bool fresh) {
    decodedText_ = Text();
    if (Text().trimmed().isEmpty()) {
        // No code, no description: what the last decode filled is emptied.
        id_ = QVariant();
        for (const QPointer<FrameControl>& target : lastTargets_)
            if (target) target->setValue(QVariant());
        setValid(true);
        return;
    }
    if (idColumns_) {
        try {
            id_ = idTableValue(QStringLiteral("SELECT %1 FROM %2 WITH (NOLOCK) WHERE %3 = %4 AND %5 = %6")
                                   .arg(idColumns_->idColumn, idColumns_->table, idColumns_->companyColumn,
                                        QString::number(idColumns_->company), idColumns_->codeColumn,
                                        SqlText::quote(Text().trimmed())),
                               fresh);
        } catch (const SuiteError& e) {
            id_ = QVariant();
            logService().MsgBox(e.description(), LogService::kExclamation, QStringLiteral("Attenzione"));
        }
    }
    DecodeRequest request;
    emit StartDecode(&request);
    lastTargets_ = request.targets;
    if (request.handled || request.query.isEmpty()) return;
    try {
        const QVariantList row = firstRow(request.connectionString, request.query, fresh);
        fill(request, row);
        setValid(!row.isEmpty());
    } catch (const SuiteError& e) {
        fill(request, {});
        setValid(false);
        logService().MsgBox(e.description(), LogService::kExclamation, QStringLiteral("Attenzione"));
    }
}
