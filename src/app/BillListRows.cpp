#include "BillListRows.h"

#include "Ageing.h"
#include "BillTypes.h"
#include "CounterpartNames.h"
#include "ItalianFormat.h"
#include "Recordset.h"
#include "Value.h"

QStringList BillListRows::headings() {
    return {QStringLiteral("Numero"),         QStringLiteral("Scadenza"),
            QStringLiteral("Giorni ritardo"), QStringLiteral("Importo €"),
            QStringLiteral("Valuta"),         QStringLiteral("Importo in valuta"),
            QStringLiteral("Codice"),         QStringLiteral("Ragione sociale o conto"),
            QStringLiteral("Stato"),          QStringLiteral("Tipo effetto"),
            QStringLiteral("Banca"),          QStringLiteral("Documento")};
}

QStringList BillListRows::texts(const ListRow& row) {
    const bool foreign = !row.currency.isEmpty();
    return {row.number > 0 ? QString::number(row.number) : QString(),
            ItalianFormat::date(row.due),
            row.overdue > 0 ? QString::number(row.overdue) : QString(),
            ItalianFormat::amount(row.amount),
            foreign ? row.currency : QStringLiteral("EURO"),
            foreign ? ItalianFormat::amount(row.amountCurrency) : QString(),
            row.code,
            row.name,
            row.closed ? QStringLiteral("Chiuso") : QStringLiteral("Aperto"),
            row.billType,
            row.bank,
            row.document + (row.documentDate.isValid()
                                ? QStringLiteral(" del ") + ItalianFormat::date(row.documentDate)
                                : QString())};
}

bool BillListRows::rightAligned(int column, int tipoArchivio) {
    return column == ColNumber || column == ColOverdue || column == ColAmount ||
           column == ColAmountCurrency || (column == ColCode && tipoArchivio <= 1);
}

BillListRows::BillListRows(const std::shared_ptr<Connection>& connection, const HeaderQuery& query,
                           const QDate& today, QHash<int, QString> bankNames,
                           std::shared_ptr<CounterpartNames> names, int pageSize)
    : rows_(std::make_unique<Recordset>()),
      tipoArchivio_(query.tipoArchivio),
      today_(today),
      bankNames_(std::move(bankNames)),
      names_(std::move(names)) {
    rows_->OpenPaged(query.selectText(), query.orderText(), connection, pageSize);
}

BillListRows::~BillListRows() = default;

bool BillListRows::atEnd() const {
    return rows_->AtEOF();
}

std::vector<ListRow> BillListRows::next(int count) {
    Recordset& rs = *rows_;
    auto value = [&](const char* column) { return rs.Fields(QString::fromLatin1(column)).Value(); };
    auto text = [&](const char* column) { return Value::toText(value(column)).trimmed(); };
    auto date = [&](const char* column) {
        const QVariant v = value(column);
        return Value::isNull(v) ? QDate() : Value::toDate(v);
    };
    const char* codeColumn = tipoArchivio_ <= 1 ? "EF01_CLIFOR_CG44" : "EF01_CONTO_CG24";
    std::vector<ListRow> page;
    QStringList codes;
    for (int added = 0; added < count && !rs.AtEOF(); ++added, rs.MoveNext()) {
        ListRow row;
        row.number = Value::toText(value("EF01_NUMEFF")).toLongLong();
        row.closed = Value::toInt(value("EF01_INDSTATO_S")) == 1;
        row.due = date("EF01_SCADE_S");
        row.overdue = Ageing::daysOverdue(row.due, today_, row.closed);
        row.amount = Value::toDecimal(value("EF01_IMPEFF_S"));
        const QString currency = text("EF01_CODICE_CG08");
        if (!currency.isEmpty() && currency.toUpper() != QStringLiteral("EURO")) {
            row.currency = currency;
            const QVariant inCurrency = value("EF01_IMPEFFVAL_S");
            row.amountCurrency = Value::isNull(inCurrency) ? Decimal() : Value::toDecimal(inCurrency);
        }
        row.code = text(codeColumn);
        row.billType = BillTypes::name(Value::toInt(value("EF01_TIPOEFF")));
        const QVariant bank = value("EF01_BANCAPRE_SCG12");
        if (!Value::isNull(bank))
            row.bank = bankNames_.value(Value::toInt(bank), QString::number(Value::toInt(bank)));
        row.document = text("EF01_NUMDOC");
        row.documentDate = date("EF01_DATADOC");
        row.key = QStringList{text("EF01_DITTA_CG18"), text("EF01_NUMREG_CO99"), text("EF01_RIGACONT_CG42"),
                              text("EF01_PROGEC_EC01"), text("EF01_PROGEFF")}
                      .join(QLatin1Char(','));
        codes << row.code;
        page.push_back(std::move(row));
    }
    names_->load(codes);
    for (ListRow& row : page) row.name = names_->nameOf(row.code);
    return page;
}
