#include "ArchivePrograms.h"
#include "ArchiveStore.h"
#include "AtomicFile.h"
#include "FailureText.h"
#include "Iban.h"
#include "Refusal.h"
#include "SlipFiles.h"
#include "SlipFixture.h"
#include "SlipKinds.h"
#include "SuiteError.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QDateTime kNow(QDate(2026, 3, 2), QTime(9, 30, 15));

QString italianIban(int abi, int cab, const char* account) {
    return Iban::make(QStringLiteral("IT"), Iban::italianBban(abi, cab, QString::fromLatin1(account)));
}

// A CBI file read back by the positions of its fields, apart from the writer.
struct CbiRecord {
    QByteArray bytes;
    QByteArray type() const { return bytes.mid(1, 2); }
    // Characters `from` to `to` (1-based, inclusive).
    QByteArray at(int from, int to) const { return bytes.mid(from - 1, to - from + 1); }
    long long number(int from, int to) const { return at(from, to).toLongLong(); }
};

std::vector<CbiRecord> readCbi(const QByteArray& file) {
    std::vector<CbiRecord> records;
    for (const QByteArray& line : file.split('\n'))
        if (!line.isEmpty()) records.push_back({line});
    return records;
}

// The demo company's Bills laid out for three customers: an accented name whose Bills carry
// their support bank, a Greek name with only an account and a one-off mandate, and a third whose
// recurrent mandate had its first collection.
class BankFiles : public SlipFixture {
protected:
    void SetUp() override {
        SlipFixture::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(dir_.isValid());
        today_ = kNow.date();
        customer({.code = 901,
                  .name = QStringLiteral("Società Àgricola Perché Ça Và è ì ò ù"),
                  .iban = italianIban(5034, 11102, "000000001234"),
                  .abi = 5034,
                  .cab = 11102});
        customer({.code = 902,
                  .name = QStringLiteral("Ελληνική Εταιρεία Ltd"),
                  .iban = italianIban(2008, 22203, "000000005678"),
                  .oneOff = true});
        customer({.code = 903,
                  .name = QStringLiteral("Ditta O'Brien & Figli"),
                  .iban = italianIban(3069, 33304, "000000009012"),
                  .abi = 3069,
                  .cab = 33304,
                  .firstDone = true});
    }

    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    // Writes slip `key`; answers what the clerk reads of the refusal, empty when the file was
    // written.
    QString fileRefusal(const SlipKey& key, const QString& target) {
        try {
            SlipFiles::write(demo_->connection, key, target, kNow);
        } catch (const SuiteError& e) {
            return FailureText::of(e, QString());
        }
        return {};
    }

    QTemporaryDir dir_;
};

TEST_P(BankFiles, RibaFileReadBackByPositions) {
    layOut({{.amount = Decimal::fromString(QStringLiteral("1234.56")), .due = {2026, 4, 30}, .customer = 901},
            {.amount = Decimal::fromString(QStringLiteral("80.05")), .due = {2026, 4, 15}, .customer = 902},
            {.amount = Decimal::fromString(QStringLiteral("99999999999.99")),
             .due = {2026, 5, 31},
             .customer = 903}});
    const SlipFiles::Written written =
        SlipFiles::write(demo_->connection, present(2), path("riba.txt"), kNow);
    EXPECT_EQ(written.bills, 3);
    QFile file(path("riba.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    // Every record 120 ASCII characters ended by CR LF.
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const std::vector<CbiRecord> records = readCbi(bytes);
    ASSERT_EQ(records.size(), 2U + 3 * 7);
    for (const CbiRecord& r : records) {
        ASSERT_EQ(r.bytes.size(), 121) << r.bytes.constData();
        EXPECT_TRUE(r.bytes.endsWith('\r'));
        for (const char ch : r.bytes.left(120)) EXPECT_TRUE(ch >= 0x20 && ch < 0x7f) << r.bytes.constData();
    }

    const CompanyBank ours = bank();
    const QByteArray abi = QByteArray::number(ours.abi).rightJustified(5, '0');
    const QByteArray cab = QByteArray::number(ours.cab).rightJustified(5, '0');
    // Header: sender's SIA, receiving bank's ABI, creation date, support name, currency.
    const CbiRecord& ib = records.front();
    EXPECT_EQ(ib.type(), "IB");
    EXPECT_EQ(ib.at(4, 8), "F7K2L");
    EXPECT_EQ(ib.at(9, 13), abi);
    EXPECT_EQ(ib.at(14, 19), "020326");
    EXPECT_FALSE(ib.at(20, 39).trimmed().isEmpty());
    EXPECT_EQ(ib.at(114, 114), "E");

    // Each disposal: its seven records in order with one progressive; the Bills by due date.
    const QList<QByteArray> order = {"14", "20", "30", "40", "50", "51", "70"};
    struct Expected {
        long long cents;
        const char* due;
        const char* abi;
        const char* cab;
        const char* customer;
    };
    const Expected expected[] = {{8005, "150426", "02008", "22203", "902"},
                                 {123456, "300426", "05034", "11102", "901"},
                                 {9999999999999, "310526", "03069", "33304", "903"}};
    long long total = 0;
    for (int d = 0; d < 3; ++d) {
        for (int k = 0; k < 7; ++k) {
            const CbiRecord& r = records[size_t(1 + d * 7 + k)];
            EXPECT_EQ(r.type(), order[k]);
            EXPECT_EQ(r.number(4, 10), d + 1) << r.bytes.constData();
        }
        const CbiRecord& r14 = records[size_t(1 + d * 7)];
        EXPECT_EQ(r14.at(23, 28), expected[d].due);
        EXPECT_EQ(r14.at(29, 33), "30000");
        EXPECT_EQ(r14.at(34, 46), QByteArray::number(expected[d].cents).rightJustified(13, '0'));
        EXPECT_EQ(r14.at(47, 47), "-");
        EXPECT_EQ(r14.at(48, 57), abi + cab);
        EXPECT_EQ(r14.at(58, 69), ours.iban.right(12).toLatin1());
        EXPECT_EQ(r14.at(70, 74), expected[d].abi);
        EXPECT_EQ(r14.at(75, 79), expected[d].cab);
        EXPECT_EQ(r14.at(92, 96), "F7K2L");
        EXPECT_EQ(r14.at(97, 97), "4");
        EXPECT_EQ(r14.at(98, 113).trimmed(), expected[d].customer);
        EXPECT_EQ(r14.at(120, 120), "E");
        EXPECT_EQ(records[size_t(1 + d * 7 + 5)].number(11, 20), d + 1);
        total += expected[d].cents;
    }

    // Texts upper-case ASCII: accents dropped, other scripts blanked, the creditor on record 20.
    EXPECT_EQ(records[1 + 7 + 2].at(11, 40), "SOCIETA AGRICOLA PERCHE CA VA ");
    EXPECT_EQ(records[1 + 7 + 2].at(41, 70).trimmed(), "E I O U");
    EXPECT_EQ(records[1 + 2].at(11, 40).trimmed(), "LTD");
    EXPECT_EQ(records[2].at(11, 34).trimmed(), "FERRAMENTA LOMBARDA DIST");
    EXPECT_EQ(records[1 + 4].at(11, 50).trimmed(), "DOC. N. 2/A DEL 14/02/2026");
    EXPECT_EQ(records[1 + 4].at(101, 116).trimmed(), "03927460161");

    // Trailer: the header's fields, disposals, total in cents, records counted with IB and EF.
    const CbiRecord& ef = records.back();
    EXPECT_EQ(ef.type(), "EF");
    EXPECT_EQ(ef.at(4, 45), ib.at(4, 45));
    EXPECT_EQ(ef.number(46, 52), 3);
    EXPECT_EQ(ef.number(53, 67), total);
    EXPECT_EQ(ef.at(53, 67).size(), 15);
    EXPECT_EQ(ef.number(68, 82), 0);
    EXPECT_EQ(ef.number(83, 89), long(records.size()));
    EXPECT_EQ(ef.at(114, 114), "E");
}

// Runs xmllint (libxml2, not our code) with `arguments`; answers its exit code, its output in
// `out`.
int xmllint(const QStringList& arguments, QString* out) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (program.isEmpty()) return -1;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    p.waitForFinished(60000);
    *out = QString::fromUtf8(p.readAll()).trimmed();
    return p.exitCode();
}

TEST_P(BankFiles, DirectDebitFileValidAgainstTheSchema) {
    layOut({{.type = 11,
             .amount = Decimal::fromString(QStringLiteral("150.10")),
             .due = {2026, 4, 30},
             .customer = 901},
            {.type = 11, .amount = Decimal(20), .due = {2026, 4, 30}, .customer = 902},
            {.type = 11,
             .amount = Decimal::fromString(QStringLiteral("35.25")),
             .due = {2026, 5, 15},
             .customer = 903}});
    const QString file = path("sdd.xml");
    SlipFiles::write(demo_->connection, present(11), file, kNow);

    QString out;
    const int code = xmllint(
        {QStringLiteral("--noout"), QStringLiteral("--schema"), QStringLiteral(KV_PAIN008_XSD), file}, &out);
    if (code == -1) SKIP_OR_FAIL("xmllint is missing: install libxml2-utils");
    EXPECT_EQ(code, 0) << out.toStdString();

    const auto xpath = [&](const char* expression) {
        QString value;
        xmllint({QStringLiteral("--xpath"), QString::fromLatin1(expression), file}, &value);
        return value;
    };
    EXPECT_EQ(xpath("string(//*[local-name()='GrpHdr']/*[local-name()='NbOfTxs'])"), QStringLiteral("3"));
    EXPECT_EQ(xpath("string(//*[local-name()='GrpHdr']/*[local-name()='CtrlSum'])"),
              QStringLiteral("205.35"));
    // One payment information per date and sequence: a first collection and a one-off on the
    // first date, a recurrent one on the second.
    EXPECT_EQ(xpath("count(//*[local-name()='PmtInf'])"), QStringLiteral("3"));
    EXPECT_EQ(xpath("count(//*[local-name()='SeqTp'][.='FRST'])"), QStringLiteral("1"));
    EXPECT_EQ(xpath("count(//*[local-name()='SeqTp'][.='OOFF'])"), QStringLiteral("1"));
    EXPECT_EQ(xpath("string(//*[local-name()='DrctDbtTxInf'][*[local-name()='DrctDbtTx']/*/*[local-name()="
                    "'MndtId']='MND-903']/*[local-name()='PmtId']/*[local-name()='EndToEndId'])"),
              keyTexts().at(2));
    EXPECT_EQ(xpath("string(//*[local-name()='PmtInf'][.//*[local-name()='SeqTp']='RCUR']"
                    "/*[local-name()='ReqdColltnDt'])"),
              QStringLiteral("2026-05-15"));
    EXPECT_EQ(xpath("string(//*[local-name()='Dbtr']/*[local-name()='Nm'])"),
              QStringLiteral("SOCIETA AGRICOLA PERCHE CA VA E I O U"));
}

// The mandate as the clerk types it in the archive window (the date as written, a wrong date
// refused, the row changed again) is the one the file carries.
TEST_P(BankFiles, MandateTypedInTheArchiveReachesTheFile) {
    customer({.code = 907,
              .name = QStringLiteral("Mandato Nuovo Srl"),
              .iban = italianIban(3069, 11101, "000000000044"),
              .mandate = false});
    layOut({{.type = 11, .amount = Decimal(25), .due = {2026, 4, 30}, .customer = 907}});
    const SlipKey slip = present(11);
    ArchiveStore store(ArchivePrograms::describe(QString::fromLatin1(ArchivePrograms::kMandates),
                                                 DemoGenerator::kCompany, {}),
                       demo_->connection);
    ArchiveStore::Record typed{{QStringLiteral("KV21_ID_MG35"), QStringLiteral("907")},
                               {QStringLiteral("KV21_IDMANDATO"), QStringLiteral("mnd-107")},
                               {QStringLiteral("KV21_DATAFIRMA"), QStringLiteral("31/02/2024")},
                               {QStringLiteral("KV21_INDSEQUENZA"), QStringLiteral("1")}};
    EXPECT_TRUE(store.check(typed, {}).contains(QStringLiteral("Data firma")));
    typed[QStringLiteral("KV21_DATAFIRMA")] = QStringLiteral("02/05/2024");
    ASSERT_EQ(store.check(typed, {}), QString());
    const ArchiveStore::Record stored = store.save(typed, {});
    ArchiveStore::Record changed = stored;
    changed[QStringLiteral("KV21_DATAFIRMA")] = QStringLiteral("03/05/2024");
    store.save(changed, stored);

    const QString file = path("sdd.xml");
    SlipFiles::write(demo_->connection, slip, file, kNow);
    QFile xml(file);
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    const QByteArray bytes = xml.readAll();
    EXPECT_TRUE(bytes.contains("<MndtId>MND-107</MndtId>")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("<DtOfSgntr>2024-05-03</DtOfSgntr>"));
    EXPECT_TRUE(bytes.contains("<SeqTp>OOFF</SeqTp>"));
}

// What the bank could not collect is refused naming the Bill, and nothing is written: a file
// already at the path keeps its content.
TEST_P(BankFiles, RefusalsNameTheBillAndWriteNothing) {
    customer({.code = 904, .name = QStringLiteral("Senza Banca Srl")});
    customer({.code = 905,
              .name = QStringLiteral("Iban Errato Snc"),
              .iban = italianIban(3069, 11101, "000000000042").replace(2, 2, QStringLiteral("00"))});
    customer({.code = 906,
              .name = QStringLiteral("Senza Mandato Spa"),
              .iban = italianIban(3069, 11101, "000000000043"),
              .mandate = false});
    // Presented by the writer alone: the bank file's checks are not part of its order.
    const QDate due(2026, 4, 30);
    layOut({{.amount = Decimal(10), .due = due, .customer = 901},
            {.amount = Decimal(10), .due = due, .customer = 904}});
    const SlipKey noBank = present(2);
    layOut({{.amount = Decimal::fromString(QStringLiteral("100000000000.00")), .due = due, .customer = 901}});
    const SlipKey wide = present(2);
    layOut({{.type = 11, .amount = Decimal(10), .due = due, .customer = 901},
            {.type = 11, .amount = Decimal(10), .due = due, .customer = 905}});
    const SlipKey badIban = present(11);
    layOut({{.type = 11, .amount = Decimal(10), .due = due, .customer = 906}});
    const SlipKey noMandate = present(11);
    const SlipKey empty{DemoGenerator::kCompany, SlipKinds::kSdd, 2026, 9};
    runSql(demo_->connection,
           QStringLiteral("INSERT INTO EF09_DISTINTE (EF09_DITTA_CG18, EF09_INDTIPODIST, EF09_ANNO,"
                          " EF09_NUMDIST, EF09_DATACRESUPP) VALUES (1, 1, 2026, 9, '20260302')"));

    const QString target = path("bank.txt");
    AtomicFile::save(target, "the file sent yesterday");
    const QList<std::pair<SlipKey, QString>> cases = {{noBank, keys_.at(1).registration},
                                                      {wide, keys_.at(2).registration},
                                                      {badIban, keys_.at(4).registration},
                                                      {noMandate, keys_.at(5).registration}};
    for (const auto& [key, bill] : cases) {
        const QString why = fileRefusal(key, target);
        EXPECT_TRUE(why.contains(bill)) << key.shown().toStdString() << ": " << why.toStdString();
    }
    EXPECT_TRUE(fileRefusal(empty, target).contains(QStringLiteral("non contiene effetti")));
    EXPECT_TRUE(
        fileRefusal({DemoGenerator::kCompany, 0, 2026, 99}, target).contains(QStringLiteral("non esiste")));

    // The company's own data: without SIA code no Ri.Ba., without creditor identifier no SDD.
    demo_->connection->Execute(
        QStringLiteral("UPDATE KV20_DATIBANCA SET KV20_CODSIA = NULL, KV20_IDCREDITORE = NULL"));
    EXPECT_TRUE(fileRefusal(noBank, target).contains(QStringLiteral("codice SIA")));
    EXPECT_TRUE(fileRefusal(badIban, target).contains(QStringLiteral("identificativo del creditore")));

    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "the file sent yesterday");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("bank.txt")});
}

// A presentation whose bank's file could not be made is refused naming the Bill, and writes
// nothing: a Ri.Ba. Bill without the debtor's bank, a RID without IBAN or without mandate.
TEST_P(BankFiles, APresentationTheBankCouldNotTakeIsRefused) {
    customer({.code = 904, .name = QStringLiteral("Senza Banca Srl")});
    customer({.code = 906,
              .name = QStringLiteral("Senza Mandato Spa"),
              .iban = italianIban(3069, 11101, "000000000043"),
              .mandate = false});
    for (const auto& [type, debtor] : {std::pair{2, 904}, {11, 904}, {11, 906}, {11, 901}}) {
        layOut({{.type = type, .customer = debtor}});
        SlipOrder checked = order(type);
        checked.check = &SlipFiles::check;
        const QStringList before = everything();
        const QString why = refusal([&] { SlipWriter(demo_->connection).write(checked); });
        if (debtor == 901) {
            EXPECT_EQ(why, QString()) << "a Bill the bank can collect is presented";
            continue;
        }
        EXPECT_TRUE(why.contains(keys_.last().registration)) << debtor << ": " << why.toStdString();
        EXPECT_EQ(everything(), before);
    }
}

INSTANTIATE_ON_ENGINES(BankFiles);

}  // namespace
