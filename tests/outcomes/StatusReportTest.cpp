// The SEPA status report on a direct debit slip, on both engines: a file as a bank writes it, with
// a rejected, a returned, an unknown and a repeated transaction; the same file twice; the reports
// refused whole.
#include "PresentedSlip.h"
#include "Refusal.h"
#include "StatusReport.h"
#include "StatusReportImport.h"
#include "SuiteError.h"

namespace {

const QString kCreditor = QStringLiteral("IT66ZZZ0000012345678901");
const QString kMessage = QStringLiteral("DIST-1-2026-7");

struct Tx {
    QString endToEnd;
    QString status;
    QString reason;
};

// A pain.002.001.03 report for the file `original`, one payment information block per pair of
// transactions, written from the message's published element names.
QByteArray report(const QString& original, const QList<Tx>& transactions,
                  const QString& creditor = kCreditor) {
    QString xml =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.002.001.03\">\n"
            " <CstmrPmtStsRpt>\n"
            "  <GrpHdr><MsgId>ESITO-0001</MsgId><CreDtTm>%1T08:30:00</CreDtTm>\n"
            "   <DbtrAgt><FinInstnId><BIC>BCITITMMXXX</BIC></FinInstnId></DbtrAgt></GrpHdr>\n"
            "  <OrgnlGrpInfAndSts><OrgnlMsgId>%2</OrgnlMsgId><OrgnlMsgNmId>pain.008.001.02</OrgnlMsgNmId>"
            "<GrpSts>PART</GrpSts></OrgnlGrpInfAndSts>\n")
            .arg(QDate::currentDate().toString(Qt::ISODate), original);
    for (int i = 0; i < transactions.size(); ++i) {
        if (i % 2 == 0)
            xml += QStringLiteral("  <OrgnlPmtInfAndSts><OrgnlPmtInfId>PMT-%1</OrgnlPmtInfId>\n").arg(i);
        const Tx& t = transactions.at(i);
        xml += QStringLiteral(
                   "   <TxInfAndSts><StsId>S%1</StsId><OrgnlEndToEndId>%2</OrgnlEndToEndId><TxSts>%3</TxSts>")
                   .arg(i)
                   .arg(t.endToEnd, t.status);
        if (!t.reason.isEmpty())
            xml += QStringLiteral(
                       "<StsRsnInf><Orgtr><Id><OrgId><BICOrBEI>BCITITMMXXX</BICOrBEI></OrgId></Id></Orgtr>"
                       "<Rsn><Cd>%1</Cd></Rsn><AddtlInf>Esito banca</AddtlInf></StsRsnInf>")
                       .arg(t.reason);
        xml += QStringLiteral(
                   "<OrgnlTxRef><Amt><InstdAmt Ccy=\"EUR\">100.00</InstdAmt></Amt>"
                   "<ReqdColltnDt>2026-03-01</ReqdColltnDt><CdtrSchmeId><Id><PrvtId><Othr><Id>%1</Id>"
                   "<SchmeNm><Prtry>SEPA</Prtry></SchmeNm></Othr></PrvtId></Id></CdtrSchmeId>"
                   "</OrgnlTxRef></TxInfAndSts>\n")
                   .arg(creditor);
        if (i % 2 == 1 || i == transactions.size() - 1) xml += QStringLiteral("  </OrgnlPmtInfAndSts>\n");
    }
    xml += QStringLiteral(" </CstmrPmtStsRpt>\n</Document>\n");
    return xml.toUtf8();
}

}  // namespace

class StatusReportTest : public OutcomesTest {
protected:
    void SetUp() override {
        OutcomesTest::SetUp();
        if (!IsSkipped()) SlipBook(c_).recordSepaFile(slip_, kMessage, kCreditor);
    }
    StatusReportResult import(const QByteArray& data) {
        return StatusReportImport(c_, slip_).apply(StatusReport::parse(data), true);
    }
};

TEST_P(StatusReportTest, RejectedAndReturnedBecomeUnpaidOnceAndUnknownOnesAreOnlyReported) {
    const QList<Tx> txs = {
        {bills_[0], QStringLiteral("RJCT"), QStringLiteral("AM04")},
        {bills_[1], QStringLiteral("RJCT"), QStringLiteral("MD01")},
        {QStringLiteral("1,NONESISTE,1,1,1"), QStringLiteral("RJCT"), QStringLiteral("AC04")},
        {bills_[0], QStringLiteral("RJCT"), QStringLiteral("AM04")},
        {bills_[2], QStringLiteral("ACSC"), QString()}};
    const int before = movements();
    const StatusReportResult first = import(report(kMessage, txs));
    EXPECT_EQ(first.matched.size(), 2);
    EXPECT_TRUE(first.matched.first().contains(QStringLiteral("Fondi insufficienti")));
    EXPECT_EQ(first.alreadyDone, QStringList{bills_[0]}) << "the repeated transaction counts once";
    EXPECT_EQ(first.unknown, QStringList{QStringLiteral("1,NONESISTE,1,1,1")});
    EXPECT_EQ(first.accepted, 1);
    EXPECT_EQ(movements(), before + 2);
    EXPECT_EQ(
        demo_->count(QStringLiteral("SELECT COUNT(*) FROM KV24_INSOLUTI WHERE KV24_CAUSALE_KV23 = 'MD01' AND "
                                    "KV24_MSGIDESITO = 'ESITO-0001'")),
        1);
    EXPECT_EQ(SlipBook(c_).slip(slip_).unpaid, 2);

    const StatusReportResult again = import(report(kMessage, txs));
    EXPECT_TRUE(again.matched.isEmpty());
    EXPECT_EQ(again.alreadyDone.size(), 3);
    EXPECT_EQ(movements(), before + 2) << "the same file twice changes nothing";
}

TEST_P(StatusReportTest, ReportsForAnotherFileOrCreditorAndMalformedFilesAreRefusedWhole) {
    const int before = movements();
    const QList<Tx> one = {{bills_[0], QStringLiteral("RJCT"), QStringLiteral("AM04")}};
    EXPECT_TRUE(refusal([&] {
                    import(report(QStringLiteral("ALTRO-MSG"), one));
                }).contains(QStringLiteral("risponde al messaggio ALTRO-MSG")));
    EXPECT_TRUE(refusal([&] {
                    import(report(kMessage, one, QStringLiteral("IT11ZZZ999")));
                }).contains(QStringLiteral("del creditore IT11ZZZ999")));
    EXPECT_TRUE(refusal([&] {
                    import(report(kMessage, {{ bills_[0], QStringLiteral("RJCT"), QStringLiteral("ZZ99") }}));
                }).contains(QStringLiteral("causale \"ZZ99\" sconosciuta")));

    QByteArray cut = report(kMessage, one);
    cut.chop(40);
    EXPECT_TRUE(refusal([&] { StatusReport::parse(cut); }).contains(QStringLiteral("riga")));
    const QString wrongRoot = refusal(
        [&] { StatusReport::parse("<?xml version=\"1.0\"?>\n<Document xmlns=\"urn:x\"><A/></Document>"); });
    EXPECT_TRUE(wrongRoot.startsWith(QStringLiteral("Riga 2: era atteso l'elemento Document")))
        << wrongRoot.toStdString();
    const QString noEndToEnd = refusal([&] {
        StatusReport::parse(
            report(kMessage, one).replace("<OrgnlEndToEndId>", "<X>").replace("</OrgnlEndToEndId>", "</X>"));
    });
    EXPECT_TRUE(noEndToEnd.contains(QStringLiteral("non ha OrgnlEndToEndId"))) << noEndToEnd.toStdString();

    const SlipKey riba = present(2);
    EXPECT_TRUE(refusal([&] {
                    StatusReportImport(c_, riba).apply(StatusReport::parse(report(kMessage, one)), false);
                }).contains(QStringLiteral("non è di addebiti diretti SEPA")));
    EXPECT_EQ(movements(), before + 1) << "only the Ri.Ba. slip's presentation";
}

INSTANTIATE_ON_ENGINES(StatusReportTest);
