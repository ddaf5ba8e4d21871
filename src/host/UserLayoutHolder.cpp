#include "UserLayoutHolder.h"

#include "Connection.h"
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

UserLayoutHolder::UserLayoutHolder(std::shared_ptr<Connection> connection, QString user, QString program)
    : connection_(std::move(connection)), user_(std::move(user)), program_(std::move(program)) {}

void UserLayoutHolder::AddStructure(const QString& name, QWidget* widget) {
    for (Structure& s : structures_)
        if (s.name == name) {
            s.widget = widget;
            return;
        }
    structures_.append({name, widget});
}

void UserLayoutHolder::ApplyLayout() {
    for (const Structure& s : structures_) {
        auto* grid = qobject_cast<QTableView*>(s.widget.data());
        if (!grid) continue;
        Recordset rs;
        rs.Open(
            QStringLiteral("SELECT KV07_LAYOUT FROM KV07_LAYOUT WITH (NOLOCK) WHERE KV07_UTENTE_KV02 = ") +
                SqlText::quote(user_) + QStringLiteral(" AND KV07_FORM = ") +
                SqlText::quote(formKey(program_, s.name)),
            connection_);
        if (rs.AtEOF()) continue;
        grid->horizontalHeader()->restoreState(
            QByteArray::fromBase64(Value::toText(rs.Fields(0).Value()).toLatin1()));
    }
    layout_ = std::make_shared<AppliedLayout>();
}

void UserLayoutHolder::SaveLayout() {
    for (const Structure& s : structures_) {
        auto* grid = qobject_cast<QTableView*>(s.widget.data());
        if (!grid) continue;
        const QString key = formKey(program_, s.name);
        const QString state = QString::fromLatin1(grid->horizontalHeader()->saveState().toBase64());
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
