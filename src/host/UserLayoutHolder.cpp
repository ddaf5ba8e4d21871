#include "UserLayoutHolder.h"

#include "Connection.h"
#include "JsFormScript.h"
#include "Recordset.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "Value.h"

#include <QHeaderView>
#include <QTableView>

namespace {
// The layout applied to the form: its grids as the user left them.
class AppliedLayout : public LayoutObject {
public:
    void Close() override {}
};

QString formKey(const QString& program, const QString& structure) {
    return program + QLatin1Char('/') + structure;
}
}  // namespace

UserLayoutHolder::UserLayoutHolder(std::shared_ptr<Connection> connection, QString user, QString program,
                                   LogFactory log)
    : connection_(std::move(connection)),
      user_(std::move(user)),
      program_(std::move(program)),
      log_(std::move(log)),
      scriptTimeLimitMs_(JsFormScript::kDefaultTimeLimitMs) {}

void UserLayoutHolder::AddStructure(const QString& name, QWidget* widget) {
    for (Structure& s : structures_)
        if (s.name == name) {
            s.widget = widget;
            return;
        }
    structures_.append({name, widget});
}

QStringList UserLayoutHolder::StructureNames() const {
    QStringList names;
    for (const Structure& s : structures_) names.append(s.name);
    return names;
}

void UserLayoutHolder::ApplyLayout() {
    restored_.clear();
    for (const Structure& s : structures_) {
        auto* grid = qobject_cast<QTableView*>(s.widget.data());
        if (!grid && !(s.widget && s.widget->isWindow())) continue;
        Recordset rs;
        rs.Open(
            QStringLiteral("SELECT KV07_LAYOUT FROM KV07_LAYOUT WITH (NOLOCK) WHERE KV07_UTENTE_KV02 = ") +
                SqlText::quote(user_) + QStringLiteral(" AND KV07_FORM = ") +
                SqlText::quote(formKey(program_, s.name)),
            connection_);
        if (rs.AtEOF()) continue;
        const QByteArray state = QByteArray::fromBase64(Value::toText(rs.Fields(0).Value()).toLatin1());
        // A state that does not fit (another version's, or damaged) is left aside: the form
        // keeps its own.
        if (grid ? grid->horizontalHeader()->restoreState(state) : s.widget->restoreGeometry(state))
            restored_.append(s.name);
    }
    layout_ = std::make_shared<AppliedLayout>();
}

void UserLayoutHolder::SaveLayout() {
    for (const Structure& s : structures_) {
        auto* grid = qobject_cast<QTableView*>(s.widget.data());
        if (!grid && !(s.widget && s.widget->isWindow())) continue;
        const QString key = formKey(program_, s.name);
        const QString state = QString::fromLatin1(
            (grid ? grid->horizontalHeader()->saveState() : s.widget->saveGeometry()).toBase64());
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM KV07_LAYOUT WHERE KV07_UTENTE_KV02 = ") +
                    SqlText::quote(user_) + QStringLiteral(" AND KV07_FORM = ") + SqlText::quote(key),
                connection_);
        if (rs.AtEOF()) {
            rs.AddNew();
            rs.Fields(QStringLiteral("KV07_UTENTE_KV02")).setValue(user_);
            rs.Fields(QStringLiteral("KV07_FORM")).setValue(key);
        }
        rs.Fields(QStringLiteral("KV07_LAYOUT")).setValue(state);
        rs.Fields(QStringLiteral("KV07_DATAAGG")).setValue(QDateTime::currentDateTime());
        rs.UpdateBatch();
    }
}

QString UserLayoutHolder::ScriptText() const {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT KV09_TESTO FROM KV09_SCRIPT WITH (NOLOCK) WHERE KV09_UTENTE_KV02 = ") +
                SqlText::quote(user_) + QStringLiteral(" AND KV09_PROGRAMMA = ") + SqlText::quote(program_),
            connection_);
    return rs.AtEOF() ? QString() : Value::toText(rs.Fields(0).Value());
}

void UserLayoutHolder::SaveScript(const QString& text) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM KV09_SCRIPT WHERE KV09_UTENTE_KV02 = ") + SqlText::quote(user_) +
                QStringLiteral(" AND KV09_PROGRAMMA = ") + SqlText::quote(program_),
            connection_);
    if (rs.AtEOF()) {
        rs.AddNew();
        rs.Fields(QStringLiteral("KV09_UTENTE_KV02")).setValue(user_);
        rs.Fields(QStringLiteral("KV09_PROGRAMMA")).setValue(program_);
    }
    rs.Fields(QStringLiteral("KV09_TESTO")).setValue(text);
    rs.Fields(QStringLiteral("KV09_DATAAGG")).setValue(QDateTime::currentDateTime());
    rs.UpdateBatch();
}

void UserLayoutHolder::BuildScript() {
    script_.reset();
    const QString text = ScriptText();
    if (text.trimmed().isEmpty()) return;
    QWidget* form = structures_.isEmpty() ? nullptr : structures_.front().widget.data();
    const QString name = structures_.isEmpty() ? program_ : structures_.front().name;
    script_ = std::make_shared<JsFormScript>(text, form, name, log_ ? log_() : nullptr, scriptTimeLimitMs_);
}
