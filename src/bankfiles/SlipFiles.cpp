#include "SlipFiles.h"
#include "SlipKinds.h"

#include "AtomicFile.h"
#include "CbiRibaWriter.h"
#include "Pain008Writer.h"
#include "SlipBook.h"
#include "SlipReader.h"
#include "SuiteError.h"

QByteArray SlipFiles::content(Connection& connection, const SlipKey& key, const QDateTime& now,
                              Written* summary) {
    if (key.kind != SlipKinds::kRiba && key.kind != SlipKinds::kSdd)
        throw SuiteError(
            SuiteError::kOperationNotAllowed, QStringLiteral("SlipFiles"),
            QStringLiteral("La distinta %1 non è né di Ri.Ba. né di RID/SDD: non ha un file per la "
                           "banca.")
                .arg(key.shown()));
    const SlipContent slip = SlipReader(connection).read(key);
    const bool riba = key.kind == SlipKinds::kRiba;
    QByteArray bytes = riba ? CbiRibaWriter::write(slip, now) : Pain008Writer::write(slip, now);
    if (summary) {
        summary->format = riba ? QStringLiteral("CBI Ri.Ba.") : QStringLiteral("SEPA pain.008");
        summary->bills = int(slip.bills.size());
        summary->total = Decimal();
        for (const SlipContent::Bill& b : slip.bills) summary->total = summary->total + b.amount.rounded(2);
        summary->bytes = bytes.size();
        if (!riba) {
            summary->messageId = Pain008Writer::messageId(key, now);
            summary->creditorId = slip.creditor.creditorId;
        }
    }
    return bytes;
}

void SlipFiles::check(Connection& connection, const SlipKey& key) {
    content(connection, key, QDateTime::currentDateTime());
}

SlipFiles::Written SlipFiles::write(const std::shared_ptr<Connection>& connection, const SlipKey& key,
                                    const QString& path, const QDateTime& now) {
    Written written;
    AtomicFile::save(path, content(*connection, key, now, &written));
    if (!written.messageId.isEmpty())
        SlipBook(connection).recordSepaFile(key, written.messageId, written.creditorId);
    return written;
}
