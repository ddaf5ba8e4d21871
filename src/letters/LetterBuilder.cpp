#include "LetterBuilder.h"

#include "BillKey.h"
#include "Connection.h"
#include "LetterArchive.h"
#include "SimpleInterest.h"
#include "SqlDialect.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "Value.h"

#include <QHash>
#include <QMap>

namespace {

const QString kLetterBuilderTitle = QStringLiteral("Lettere di sollecito");

// One result's rows with their columns found by name.
struct Rows {
    ResultSet result;
    size_t size() const { return result.rows.size(); }
    QVariant at(size_t row, const QString& column) const {
        for (size_t c = 0; c < result.columns.size(); ++c)
            if (result.columns[c].name.compare(column, Qt::CaseInsensitive) == 0)
                return Value::natural(result.rows[row].value(static_cast<int>(c)));
        return {};
    }
    QString text(size_t row, const QString& column) const { return Value::toText(at(row, column)).trimmed(); }
    Decimal amount(size_t row, const QString& column) const {
        const QVariant v = at(row, column);
        return Value::isNull(v) ? Decimal::fromMantissa(0, 2) : Value::toDecimal(v).rounded(2);
    }
};

Rows first(std::vector<ResultSet> results) {
    return Rows{results.empty() ? ResultSet{} : std::move(results.front())};
}

QString dateLiteral(const QDate& d) {
    return QLatin1Char('\'') + d.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('\'');
}

QString keyOf(const Rows& r, size_t row) {
    return QStringList{
        r.text(row, QStringLiteral("EF01_DITTA_CG18")), r.text(row, QStringLiteral("EF01_NUMREG_CO99")),
        r.text(row, QStringLiteral("EF01_RIGACONT_CG42")), r.text(row, QStringLiteral("EF01_PROGEC_EC01")),
        r.text(row, QStringLiteral("EF01_PROGEFF"))}
        .join(QLatin1Char(','));
}

LetterLine billLine(const Rows& r, size_t row) {
    LetterLine l;
    l.key = keyOf(r, row);
    l.billNumber = r.text(row, QStringLiteral("EF01_NUMEFF"));
    l.documentNumber = r.text(row, QStringLiteral("EF01_NUMDOC"));
    l.documentDate = Value::toDate(r.at(row, QStringLiteral("EF01_DATADOC")));
    return l;
}

}  // namespace

LetterBuilder::LetterBuilder(std::shared_ptr<Connection> connection, qint32 company)
    : connection_(std::move(connection)), company_(company) {}

LetterLine LetterBuilder::line(const QDate& due, const Decimal& amount, const LetterOptions& options) {
    LetterLine l;
    l.due = due;
    l.amount = amount.rounded(2);
    l.daysOverdue = static_cast<int>(due.daysTo(options.date));
    l.interest = Decimal::fromMantissa(0, 2);
    l.charges = options.charges.rounded(2);
    if (options.rate && !options.rate->isZero()) {
        l.rate = options.rate;
        l.interestFrom = due;
        l.interestTo = options.date;
        l.interest = SimpleInterest::of(l.amount, *options.rate, due, options.date)
                         .value_or(Decimal::fromMantissa(0, 2));
    }
    return l;
}

QList<ReminderLetter> LetterBuilder::forSelection(const QString& selectText,
                                                  const LetterOptions& options) const {
    const LetterArchive archive(*connection_, company_);
    if (archive.isEmpty())
        throw SuiteError(
            SuiteError::kTypeMismatch, kLetterBuilderTitle,
            QStringLiteral("L'archivio dei testi non ha lettere di sollecito: aggiungerne una con "
                           "\"Testi delle lettere di sollecito\"."));
    // A Bill at the bank (its presentation bank set) waits for the bank's outcome, not for a
    // letter: the customer pays the bank. Back unpaid, it loses that bank and is reminded.
    const QString overdue =
        QStringLiteral("SELECT * FROM (\r\n") + selectText +
        QStringLiteral(
            "\r\n) KVL WHERE KVL.EF01_INDSTATO_S = 0 AND KVL.EF01_BANCAPRE_SCG12 IS NULL AND "
            "KVL.EF01_SCADE_S < ") +
        dateLiteral(options.date);
    const Rows bills = first(connection_->QueryReadOnly(connection_->dialect().limited(
        QStringLiteral("SELECT * FROM (\r\n") + overdue +
            QStringLiteral(
                "\r\n) KVO ORDER BY EF01_CLIFOR_CG44, EF01_SCADE_S, EF01_NUMREG_CO99, EF01_PROGEFF"),
        kMostBills + 1)));
    if (bills.size() > kMostBills)
        throw SuiteError(
            SuiteError::kTypeMismatch, kLetterBuilderTitle,
            QStringLiteral("La selezione ha più di %1 effetti scaduti: restringerla (per cliente o "
                           "per scadenza) e stampare le lettere a gruppi.")
                .arg(kMostBills));
    // The last reminder of each Bill of the selection.
    const Rows reminders = first(connection_->QueryReadOnly(
        QStringLiteral(
            "SELECT S.EF05_NUMREG_CO99, S.EF05_RIGACONT_EF01, S.EF05_PROGEC_EF01, S.EF05_PROGEFF_EF01,"
            " S.EF05_PROGAVVISI, S.EF05_SIGLALETTERA FROM EF05_SCADSOLLEC S INNER JOIN (\r\n") +
        overdue +
        QStringLiteral(
            "\r\n) KVB ON S.EF05_DITTA_CG18 = KVB.EF01_DITTA_CG18 AND S.EF05_NUMREG_CO99 = "
            "KVB.EF01_NUMREG_CO99 AND S.EF05_RIGACONT_EF01 = KVB.EF01_RIGACONT_CG42 AND "
            "S.EF05_PROGEC_EF01 = KVB.EF01_PROGEC_EC01 AND S.EF05_PROGEFF_EF01 = KVB.EF01_PROGEFF")));
    QHash<QString, std::pair<int, QString>> last;
    for (size_t r = 0; r < reminders.size(); ++r) {
        const QString key = QString::number(company_) + QLatin1Char(',') +
                            QStringList{reminders.text(r, QStringLiteral("EF05_NUMREG_CO99")),
                                        reminders.text(r, QStringLiteral("EF05_RIGACONT_EF01")),
                                        reminders.text(r, QStringLiteral("EF05_PROGEC_EF01")),
                                        reminders.text(r, QStringLiteral("EF05_PROGEFF_EF01"))}
                                .join(QLatin1Char(','));
        const int progressive = Value::toInt(reminders.at(r, QStringLiteral("EF05_PROGAVVISI")));
        if (!last.contains(key) || last.value(key).first < progressive)
            last.insert(key, {progressive, reminders.text(r, QStringLiteral("EF05_SIGLALETTERA"))});
    }

    QList<ReminderLetter> letters;
    for (size_t r = 0; r < bills.size(); ++r) {
        const QString customer = bills.text(r, QStringLiteral("EF01_CLIFOR_CG44"));
        if (letters.isEmpty() || letters.last().customerCode != customer) {
            ReminderLetter letter;
            letter.customerCode = customer;
            letter.date = options.date;
            letters << letter;
        }
        LetterLine l = line(Value::toDate(bills.at(r, QStringLiteral("EF01_SCADE_S"))),
                            bills.amount(r, QStringLiteral("EF01_IMPEFF_S")), options);
        const LetterLine bill = billLine(bills, r);
        l.key = bill.key;
        l.billNumber = bill.billNumber;
        l.documentNumber = bill.documentNumber;
        l.documentDate = bill.documentDate;
        l.returnCharges = bills.amount(r, QStringLiteral("EF01_SPESERIT_S"));
        l.charges = l.charges + l.returnCharges;
        const auto before = last.value(l.key, {0, QString()});
        l.level = before.first + 1;
        l.letterCode = archive.next(before.second);
        ReminderLetter& letter = letters.last();
        // The letter speaks with the voice of its most advanced Bill.
        if (letter.letterCode.isEmpty() || archive.level(l.letterCode) > archive.level(letter.letterCode))
            letter.letterCode = l.letterCode;
        letter.lines << l;
    }
    for (ReminderLetter& letter : letters) fillTexts(letter, archive);
    addCustomers(letters);
    return letters;
}

ReminderLetter LetterBuilder::forReminder(const QString& keyText, int progressive) const {
    const BillKey key = BillKey::parse(keyText, kLetterBuilderTitle);
    const Rows bill = first(connection_->Query(QStringLiteral("SELECT * FROM EF01_SCADENZE WITH (NOLOCK)") +
                                               key.where(QStringLiteral("EF01"))));
    const Rows reminder = first(connection_->Query(
        QStringLiteral("SELECT * FROM EF05_SCADSOLLEC WITH (NOLOCK)") + key.where(QStringLiteral("EF05")) +
        QStringLiteral(" AND EF05_PROGAVVISI = %1").arg(progressive)));
    if (bill.size() == 0 || reminder.size() == 0)
        throw SuiteError(
            SuiteError::kTypeMismatch, kLetterBuilderTitle,
            QStringLiteral("Il sollecito non è nel database: salvare l'effetto prima di stamparne "
                           "la lettera."));
    ReminderLetter letter;
    letter.customerCode = bill.text(0, QStringLiteral("EF01_CLIFOR_CG44"));
    letter.date = Value::toDate(reminder.at(0, QStringLiteral("EF05_DATAAVVISO")));
    if (!letter.date.isValid()) letter.date = QDate::currentDate();
    LetterLine l = billLine(bill, 0);
    l.due = Value::toDate(bill.at(0, QStringLiteral("EF01_SCADE_S")));
    l.amount = bill.amount(0, QStringLiteral("EF01_IMPEFF_S"));
    l.daysOverdue = static_cast<int>(l.due.daysTo(letter.date));
    l.level = progressive;
    l.letterCode = reminder.text(0, QStringLiteral("EF05_SIGLALETTERA")).toUpper();
    l.interest = reminder.amount(0, QStringLiteral("EF05_IMPINTERES"));
    if (Value::toInt(reminder.at(0, QStringLiteral("EF05_FLGCALCINT"))) == 1) {
        const QVariant rate = reminder.at(0, QStringLiteral("EF05_TASSOINT"));
        if (!Value::isNull(rate)) l.rate = Value::toDecimal(rate);
        l.interestFrom = Value::toDate(reminder.at(0, QStringLiteral("EF05_DADATACALC")));
        l.interestTo = Value::toDate(reminder.at(0, QStringLiteral("EF05_ADATACALC")));
    }
    l.returnCharges = reminder.amount(0, QStringLiteral("EF05_SPESERIT"));
    l.charges = l.returnCharges + reminder.amount(0, QStringLiteral("EF05_SPBOLLO")) +
                reminder.amount(0, QStringLiteral("EF05_SPPOST")) +
                reminder.amount(0, QStringLiteral("EF05_SPVARIE"));
    letter.letterCode = l.letterCode;
    letter.lines << l;
    fillTexts(letter, LetterArchive(*connection_, company_));
    QList<ReminderLetter> one{letter};
    addCustomers(one);
    return one.first();
}

void LetterBuilder::fillTexts(ReminderLetter& letter, const LetterArchive& archive) const {
    letter.subject = archive.description(letter.letterCode);
    if (letter.subject.isEmpty()) letter.subject = QStringLiteral("Sollecito di pagamento");
    letter.head = archive.head(letter.letterCode);
    letter.foot = archive.foot(letter.letterCode);
}

void LetterBuilder::addCustomers(QList<ReminderLetter>& letters) const {
    QStringList codes;
    for (const ReminderLetter& l : letters) {
        bool ok = false;
        const qint64 n = l.customerCode.toLongLong(&ok);
        if (ok) codes << QString::number(n);
    }
    QHash<QString, std::pair<QString, QStringList>> found;
    // A few hundred codes a statement, as the list reads names.
    for (qsizetype at = 0; at < codes.size(); at += 500) {
        const Rows rows = first(connection_->Query(
            QStringLiteral(
                "SELECT CG44_CLIFOR, CG16_RAGSOANAG, CG16_INDIRIZZO, CG16_CAP, CG16_CITTA, CG16_PROV"
                " FROM CG44_CLIFOR WITH (NOLOCK) INNER JOIN CG16_ANAGGEN WITH (NOLOCK)"
                " ON CG16_CODICE = CG44_ANAGEN_CG16 WHERE CG44_DITTA_CG18 = %1 AND CG44_TIPOCF = 0"
                " AND CG44_CLIFOR IN (%2)")
                .arg(company_)
                .arg(codes.mid(at, 500).join(QStringLiteral(", ")))));
        for (size_t r = 0; r < rows.size(); ++r) {
            QString town = (rows.text(r, QStringLiteral("CG16_CAP")) + QLatin1Char(' ') +
                            rows.text(r, QStringLiteral("CG16_CITTA")))
                               .trimmed();
            const QString province = rows.text(r, QStringLiteral("CG16_PROV"));
            if (!province.isEmpty()) town += QStringLiteral(" (") + province + QLatin1Char(')');
            QStringList address{rows.text(r, QStringLiteral("CG16_INDIRIZZO")), town};
            address.removeAll(QString());
            found.insert(rows.text(r, QStringLiteral("CG44_CLIFOR")),
                         {rows.text(r, QStringLiteral("CG16_RAGSOANAG")), address});
        }
    }
    for (ReminderLetter& l : letters) {
        const auto who = found.value(l.customerCode);
        l.customerName = who.first.isEmpty() ? QStringLiteral("Cliente %1").arg(l.customerCode) : who.first;
        l.address = who.second;
    }
}

LetterSender LetterBuilder::sender() const {
    LetterSender s;
    const Rows company =
        first(connection_->Query(QStringLiteral("SELECT CG18_RAGSOC, CG18_PARTIVA, CG18_CITTA FROM "
                                                "CG18_DITTE WITH (NOLOCK) WHERE CG18_DITTA = %1")
                                     .arg(company_)));
    if (company.size() > 0) {
        s.name = company.text(0, QStringLiteral("CG18_RAGSOC"));
        s.vatNumber = company.text(0, QStringLiteral("CG18_PARTIVA"));
        s.city = company.text(0, QStringLiteral("CG18_CITTA"));
    }
    const Rows bank = first(connection_->Query(connection_->dialect().limited(
        QStringLiteral(
            "SELECT EF08_DESCR, EF08_IBAN FROM EF08_BANCHEAZ WITH (NOLOCK) WHERE EF08_DITTA_CG18 = %1"
            " AND EF08_IBAN IS NOT NULL AND EF08_IBAN <> '' ORDER BY EF08_PROGR")
            .arg(company_),
        1)));
    if (bank.size() > 0) {
        s.bankName = bank.text(0, QStringLiteral("EF08_DESCR"));
        s.iban = bank.text(0, QStringLiteral("EF08_IBAN"));
    }
    return s;
}
