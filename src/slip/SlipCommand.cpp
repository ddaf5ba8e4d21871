#include "SlipCommand.h"

#include "CompanyBank.h"
#include "ItalianFormat.h"
#include "SlipCandidates.h"
#include "SlipFilter.h"
#include "SlipKinds.h"
#include "SlipTexts.h"
#include "SlipWithdrawal.h"
#include "SlipWriter.h"
#include "SuiteError.h"

namespace {

[[noreturn]] void wrong(const QString& why) {
    throw SuiteError(SuiteError::kOperationNotAllowed, SlipTexts::kTitle, why);
}

int billTypeOf(const QString& text) {
    const QString t = text.trimmed().toLower();
    if (t == QStringLiteral("riba") || t == QStringLiteral("2"))
        return SlipKinds::billTypeOf(SlipKinds::kRiba);
    if (t == QStringLiteral("rid") || t == QStringLiteral("sdd") || t == QStringLiteral("11"))
        return SlipKinds::billTypeOf(SlipKinds::kSdd);
    wrong(SlipTexts::kWrongType + QStringLiteral(" (\"%1\": riba oppure rid)").arg(text));
}

QString bound(const QString& text) {
    return text.trimmed() == QStringLiteral("-") ? QString() : text;
}

}  // namespace

SlipCommand::SlipCommand(std::shared_ptr<Connection> connection, qint32 company, SlipCheck check)
    : connection_(std::move(connection)), company_(company), check_(std::move(check)) {}

SlipCommand::Written SlipCommand::present(const QString& billType, const QString& from, const QString& to,
                                          const QString& bank, const QDate& date) const {
    SlipFilter filter;
    filter.billType = billTypeOf(billType);
    if (const QString problem = filter.setDueDates(bound(from), bound(to)); !problem.isEmpty())
        wrong(problem);
    SlipOrder order;
    order.company = company_;
    order.kind = *SlipKinds::forBillType(filter.billType);
    order.date = date;
    order.check = check_;
    bool whole = false;
    const int progressive = bank.trimmed().toInt(&whole);
    if (!whole) wrong(SlipTexts::kNoBank);
    for (const CompanyBank& b : CompanyBank::of(connection_, company_))
        if (b.progressive == progressive) order.bank = b;
    if (order.bank.progressive == 0)
        wrong(QStringLiteral("La banca %1 non è tra le banche della ditta.").arg(progressive));
    order.bills = SlipCandidates(connection_, company_).read(QString(), filter);
    if (order.bills.isEmpty())
        wrong(QStringLiteral("Nessun effetto aperto e non presentato con questi criteri."));
    const SlipKey key = SlipWriter(connection_).write(order);
    return {key, int(order.bills.size()), order.total()};
}

int SlipCommand::withdraw(const QString& key) const {
    return SlipWithdrawal(connection_).withdraw(SlipKey::parse(company_, key, SlipTexts::kWithdrawTitle));
}

QString SlipCommand::told(const Written& written, const QDate& date) {
    return SlipTexts::kCreated.arg(written.key.shown(), ItalianFormat::date(date))
        .arg(written.count)
        .arg(ItalianFormat::amount(written.total));
}
