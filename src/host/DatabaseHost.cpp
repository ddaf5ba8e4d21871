#include "DatabaseHost.h"

#include "AttachmentDesk.h"
#include "Connection.h"
#include "DatabaseAttachmentStore.h"
#include "DatabaseHistoryWriter.h"
#include "DatabaseNumberingService.h"
#include "ExactCurrencyConverter.h"
#include "GuiLogService.h"
#include "ProgramLauncher.h"
#include "Recordset.h"
#include "Schema.h"
#include "SharedConnection.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "UserLayoutHolder.h"
#include "Value.h"

#include <QPainter>
#include <QPixmap>

namespace {

const QString kDatabaseHostSource = QStringLiteral("DatabaseHost");

std::shared_ptr<Recordset> query(const std::shared_ptr<Connection>& c, const QString& sql) {
    auto rs = std::make_shared<Recordset>();
    rs->Open(sql, c);
    return rs;
}

// The two program icons: a sheet, and a sheet with a paper clip when the record has attachments.
QIcon programIcon(bool withAttachment) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x33, 0x4e, 0x68), 1.5));
    p.setBrush(QColor(0xf4, 0xf7, 0xfb));
    p.drawRect(QRectF(6, 3, 20, 26));
    for (int y = 10; y <= 22; y += 4) p.drawLine(QPointF(10, y), QPointF(22, y));
    if (withAttachment) {
        p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(19, 1, 7, 16), 3.5, 3.5);
    }
    return QIcon(pixmap);
}

}  // namespace

DatabaseHost::DatabaseHost(const QString& connectionString, qint32 company, const QString& userCode)
    : DatabaseHost(ConnectionFactory(connectionString, Schema::catalogue()), company, userCode) {}

DatabaseHost::DatabaseHost(ConnectionFactory connections, qint32 company, const QString& userCode)
    : connections_(std::move(connections)),
      idle_(IdleConnections::create(connections_)),
      connection_(connections_.open()),
      desk_(std::make_shared<GuiAttachmentDesk>()) {
    // The forms' decodes read through it too: one connection fewer for each desk.
    SharedConnection::offer(connection_);
    company_.company = company;

    auto c = query(connection_,
                   QStringLiteral("SELECT CG18_RAGSOC FROM CG18_DITTE WITH (NOLOCK) WHERE CG18_DITTA = %1")
                       .arg(company));
    if (c->AtEOF())
        throw SuiteError(SuiteError::kOperationNotAllowed, kDatabaseHostSource,
                         QStringLiteral("La ditta %1 non esiste.").arg(company));
    companyName_ = Value::toText(c->Fields(0).Value()).trimmed();

    auto p = query(
        connection_,
        QStringLiteral("SELECT KV01_GRUPPO_CG10, KV01_CONTOCLI_CG24, KV01_CONTOFOR_CG24, KV01_FLGSEZIONALI,"
                       " KV01_DATAINIZSEZ, KV01_FLGDATARIF, KV01_DATARIF FROM KV01_PARAMDITTA WITH (NOLOCK)"
                       " WHERE KV01_DITTA_CG18 = %1")
            .arg(company));
    if (p->AtEOF())
        throw SuiteError(SuiteError::kOperationNotAllowed, kDatabaseHostSource,
                         QStringLiteral("Parametri della ditta %1 non impostati.").arg(company));
    CompanyParameters& params = company_.parameters;
    params.ledgerGroup = Value::toInt(p->Fields(0).Value());
    params.customerAccount = Value::toText(p->Fields(1).Value()).trimmed();
    params.supplierAccount = Value::toText(p->Fields(2).Value()).trimmed();
    params.sectionsInUse = Value::toInt(p->Fields(3).Value()) == 1;
    params.sectionsStart = Value::toDate(p->Fields(4).Value());
    params.referenceDateSet = Value::toInt(p->Fields(5).Value()) == 1;
    params.referenceDate = Value::toDate(p->Fields(6).Value());

    params.currencies = CurrencyTable::read(connection_);

    auto u = query(connection_,
                   QStringLiteral("SELECT KV02_UTENTE, KV02_GRUPPO_KV03, KV02_FLGPRIVIL FROM KV02_UTENTI"
                                  " WITH (NOLOCK) WHERE KV02_UTENTE = ") +
                       SqlText::quote(userCode.trimmed()));
    if (u->AtEOF())
        throw SuiteError(SuiteError::kOperationNotAllowed, kDatabaseHostSource,
                         QStringLiteral("L'utente %1 non esiste.").arg(userCode.trimmed()));
    user_.code = Value::toText(u->Fields(0).Value()).trimmed();
    user_.group = Value::toText(u->Fields(1).Value()).trimmed();
    user_.privileged = Value::toInt(u->Fields(2).Value()) == 1;
}

DatabaseHost::~DatabaseHost() = default;

LayoutScriptHolder& DatabaseHost::LayoutAndScript() {
    if (!layouts_)
        layouts_ = std::make_unique<UserLayoutHolder>(
            connection_, user_.code, QStringLiteral("KVUO_TARSELLO"), [this] { return CreateLogService(); });
    return *layouts_;
}

QString DatabaseHost::GetMessage(int number, const QVariantList& parameters) const {
    auto it = messages_.constFind(number);
    if (it == messages_.constEnd()) {
        QString text;
        try {
            auto m = query(
                connection_,
                QStringLiteral("SELECT KV06_TESTO FROM KV06_MESSAGGI WITH (NOLOCK) WHERE KV06_NUMERO = %1")
                    .arg(number));
            if (!m->AtEOF()) text = Value::toText(m->Fields(0).Value());
        } catch (const SuiteError&) {
            // A catalogue that cannot be read shows the number instead of the text.
        }
        if (text.isEmpty()) text = QStringLiteral("[%1]").arg(number);
        it = messages_.insert(number, text);
    }
    QString text = it.value();
    for (const QVariant& p : parameters) text = text.arg(Value::toText(p));
    return text;
}

QIcon DatabaseHost::MainWindowIcon(const QString& key) const {
    if (key != QStringLiteral("KProgramma") && key != QStringLiteral("KProgrammaMM"))
        throw SuiteError(SuiteError::kItemNotFound, kDatabaseHostSource,
                         QStringLiteral("Immagine %1 non presente.").arg(key));
    auto it = icons_.find(key);
    if (it == icons_.end()) it = icons_.insert(key, programIcon(key == QStringLiteral("KProgrammaMM")));
    return *it;
}

void DatabaseHost::RegisterMenuEntry(const MenuEntry& entry) {
    for (MenuEntry& e : menu_)
        if (e.progId == entry.progId) {
            e = entry;
            return;
        }
    menu_.append(entry);
}

bool DatabaseHost::RunProgram(const QString& progId, const QVariantList& parameters, QVariant* handedBack) {
    if (handedBack) *handedBack = QVariant();
    if (!launcher_ || !launcher_->knows(progId)) return false;
    return launcher_->run(progId, parameters, *this, handedBack);
}

std::unique_ptr<AttachmentStore> DatabaseHost::CreateAttachmentStore() const {
    return std::make_unique<DatabaseAttachmentStore>(desk_, CreateLogService());
}

std::shared_ptr<LogService> DatabaseHost::CreateLogService() const {
    return logFactory_ ? logFactory_() : std::make_shared<GuiLogService>();
}

std::unique_ptr<NumberingService> DatabaseHost::CreateNumberingService() const {
    return std::make_unique<DatabaseNumberingService>(connection_);
}

std::unique_ptr<HistoryWriter> DatabaseHost::CreateHistoryWriter() const {
    return std::make_unique<DatabaseHistoryWriter>();
}

std::unique_ptr<CurrencyConverter> DatabaseHost::CreateCurrencyConverter() const {
    return std::make_unique<ExactCurrencyConverter>(company_.parameters.currencies);
}
