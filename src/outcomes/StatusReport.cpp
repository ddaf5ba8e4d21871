#include "StatusReport.h"

#include "SuiteError.h"

#include <QXmlStreamReader>

namespace {

const QString kStatusReportTitle = QStringLiteral("Esito SEPA");
const QString kNamespace = QStringLiteral("urn:iso:std:iso:20022:tech:xsd:pain.002.001.03");

// Walks the report keeping the path of element names from the message's root.
class Reader {
public:
    explicit Reader(const QByteArray& data) : xml_(data) {}

    StatusReport read() {
        StatusReport report;
        if (!next() || xml_.name() != QStringLiteral("Document") || xml_.namespaceUri() != kNamespace)
            fail(QStringLiteral("l'elemento Document del messaggio pain.002.001.03 (spazio dei nomi %1)")
                     .arg(kNamespace));
        if (!next() || xml_.name() != QStringLiteral("CstmrPmtStsRpt"))
            fail(QStringLiteral("l'elemento CstmrPmtStsRpt"));
        StatusReport::Transaction* tx = nullptr;
        QStringList path{QStringLiteral("CstmrPmtStsRpt")};
        while (!xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (token == QXmlStreamReader::StartElement) {
                path << xml_.name().toString();
                if (xml_.name() == QStringLiteral("TxInfAndSts")) {
                    report.transactions.append(StatusReport::Transaction{});
                    tx = &report.transactions.last();
                    tx->line = xml_.lineNumber();
                }
            } else if (token == QXmlStreamReader::EndElement) {
                if (xml_.name() == QStringLiteral("TxInfAndSts")) tx = nullptr;
                if (!path.isEmpty()) path.removeLast();
            } else if (token == QXmlStreamReader::Characters && !xml_.isWhitespace()) {
                take(report, tx, path, xml_.text().toString().trimmed());
            }
        }
        if (xml_.hasError())
            throw SuiteError(SuiteError::kTypeMismatch, kStatusReportTitle,
                             QStringLiteral("Il file non è un XML leggibile (riga %1): %2.")
                                 .arg(xml_.lineNumber())
                                 .arg(xml_.errorString()));
        if (report.messageId.isEmpty()) fail(QStringLiteral("GrpHdr/MsgId"), true);
        if (report.originalMessageId.isEmpty()) fail(QStringLiteral("OrgnlGrpInfAndSts/OrgnlMsgId"), true);
        for (const StatusReport::Transaction& t : report.transactions)
            if (t.endToEndId.isEmpty() || t.status.isEmpty())
                throw SuiteError(
                    SuiteError::kTypeMismatch, kStatusReportTitle,
                    QStringLiteral("Riga %1: l'operazione non ha OrgnlEndToEndId e TxSts.").arg(t.line));
        return report;
    }

private:
    bool next() {
        while (!xml_.atEnd()) {
            if (xml_.readNext() == QXmlStreamReader::StartElement) return true;
            if (xml_.hasError()) return false;
        }
        return false;
    }

    [[noreturn]] void fail(const QString& expected, bool atEnd = false) {
        throw SuiteError(
            SuiteError::kTypeMismatch, kStatusReportTitle,
            atEnd ? QStringLiteral("Il file non contiene %1: non è un esito pain.002.001.03.").arg(expected)
                  : QStringLiteral("Riga %1: era atteso %2.").arg(xml_.lineNumber()).arg(expected));
    }

    void take(StatusReport& report, StatusReport::Transaction* tx, const QStringList& path,
              const QString& value) {
        if (path.isEmpty()) return;
        const QString& leaf = path.last();
        const QString parent = path.size() > 1 ? path.at(path.size() - 2) : QString();
        if (parent == QStringLiteral("GrpHdr") && leaf == QStringLiteral("MsgId")) report.messageId = value;
        if (parent == QStringLiteral("GrpHdr") && leaf == QStringLiteral("CreDtTm")) {
            report.created = QDateTime::fromString(value.left(19), Qt::ISODate).date();
            if (!report.created.isValid()) fail(QStringLiteral("una data e ora ISO in CreDtTm"));
        }
        if (parent == QStringLiteral("OrgnlGrpInfAndSts")) {
            if (leaf == QStringLiteral("OrgnlMsgId")) report.originalMessageId = value;
            if (leaf == QStringLiteral("OrgnlMsgNmId")) report.originalMessageName = value;
            if (leaf == QStringLiteral("GrpSts")) report.groupStatus = value;
        }
        if (!tx) return;
        if (parent == QStringLiteral("TxInfAndSts") && leaf == QStringLiteral("OrgnlEndToEndId"))
            tx->endToEndId = value;
        if (parent == QStringLiteral("TxInfAndSts") && leaf == QStringLiteral("TxSts")) tx->status = value;
        if (path.contains(QStringLiteral("StsRsnInf"))) {
            if (parent == QStringLiteral("Rsn") &&
                (leaf == QStringLiteral("Cd") || leaf == QStringLiteral("Prtry")))
                tx->reason = value;
            if (leaf == QStringLiteral("AddtlInf"))
                tx->information += (tx->information.isEmpty() ? QString() : QStringLiteral(" ")) + value;
        }
        if (path.contains(QStringLiteral("CdtrSchmeId")) && parent == QStringLiteral("Othr") &&
            leaf == QStringLiteral("Id"))
            tx->creditorId = value;
    }

    QXmlStreamReader xml_;
};

}  // namespace

StatusReport StatusReport::parse(const QByteArray& data) {
    return Reader(data).read();
}
