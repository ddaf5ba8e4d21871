// The header's coded fields on both engines, as a clerk uses them: the search list filtered and
// paged, the customer's bank account with its bank from the IBAN, the CIG/CUP pair checked
// against the pairs registered for the Bill's counterpart, the management lists.
#include "ArchiveBrowser.h"
#include "BillFormFixture.h"
#include "BillFormTexts.h"
#include "IdEditBox.h"
#include "LookupDialog.h"
#include "ModalWindow.h"
#include "SqlText.h"
#include "VirtualFrame.h"

#include <QLineEdit>
#include <QTableWidget>

class BillLookupsTest : public BillFormTest {
protected:
    // The first value of a query on the demo database (Null when no row).
    QVariant one(const QString& sql) const {
        Recordset rs;
        rs.Open(sql, demo_->connection);
        return rs.AtEOF() ? QVariant() : rs.Fields(0).Value();
    }
    QString text(const QString& sql) const { return Value::toText(one(sql)).trimmed(); }
    // Opens the form on the first customer Bill meeting `condition`.
    FRMKV_TARSELLO* openBill(const QString& condition) {
        module_->ChiaveEffettoInGestione = keyWhere(condition);
        return module_->ChiaveEffettoInGestione.toString().isEmpty() ? nullptr : show();
    }
    bool save() { return form()->FME_TESTATA->UpdateRecord(true, false); }
    // F3 in `box`; `act` works the search list while it is shown.
    void inSearchList(IdEditBox* box, const std::function<void(LookupDialog*)>& act) {
        box->setFocus();
        EXPECT_TRUE(onModal<LookupDialog>([&] { QTest::keyClick(box->editor(), Qt::Key_F3); },
                                          [&](LookupDialog& list) { act(&list); }));
    }
};

INSTANTIATE_ON_ENGINES(BillLookupsTest);

TEST_P(BillLookupsTest, TheSearchListFiltersAsTheClerkTypesPagesThroughTheArchiveAndGivesBackTheCode) {
    // A customer archive larger than a page, with names holding the wildcards of LIKE.
    const int first = Value::toInt(one(QStringLiteral("SELECT MAX(CG44_CLIFOR) FROM CG44_CLIFOR"))) + 1;
    const int registry = Value::toInt(one(QStringLiteral("SELECT MAX(CG16_CODICE) FROM CG16_ANAGGEN"))) + 1;
    for (int i = 0; i < 120; ++i) {
        const QString name = i == 7   ? QStringLiteral("Sconto 100% S.r.l.")
                             : i == 8 ? QStringLiteral("Rossi_Bianchi S.n.c.")
                             : i == 9 ? QStringLiteral("L'Òrafo d'Italia")
                                      : QStringLiteral("Cliente di prova %1").arg(i);
        demo_->connection->Execute(
            QStringLiteral("INSERT INTO CG16_ANAGGEN (CG16_CODICE, CG16_RAGSOANAG) VALUES (%1, %2)")
                .arg(registry + i)
                .arg(SqlText::quote(name)));
        demo_->connection->Execute(
            QStringLiteral(
                "INSERT INTO CG44_CLIFOR (CG44_DITTA_CG18, CG44_TIPOCF, CG44_CLIFOR, CG44_ANAGEN_CG16)"
                " VALUES (1, 0, %1, %2)")
                .arg(first + i)
                .arg(registry + i));
        demo_->connection->Execute(
            QStringLiteral("INSERT INTO CG45_CLIFORANAG (CG45_DITTA_CG18, CG45_TIPOCF_CG44, CG45_CLIFOR_CG44,"
                           " CG45_DATAINIZIO, CG45_DATAFINE, CG45_ANAGEN_CG16) VALUES (1, 0, %1, '19000101',"
                           " '99991231', %2)")
                .arg(first + i)
                .arg(registry + i));
    }
    const int customers =
        Value::toInt(one(QStringLiteral("SELECT COUNT(*) FROM CG44_CLIFOR WHERE CG44_TIPOCF = 0")));
    FRMKV_TARSELLO* f = openBill(QString());
    ASSERT_TRUE(f);

    auto codes = [](LookupDialog* list) {
        QList<int> out;
        for (int r = 0; r < list->table()->rowCount(); ++r) out << list->table()->item(r, 0)->text().toInt();
        return out;
    };
    auto names = [](LookupDialog* list) {
        QStringList out;
        for (int r = 0; r < list->table()->rowCount(); ++r) out << list->table()->item(r, 1)->text();
        return out;
    };
    inSearchList(f->TXT_CLIFOR, [&](LookupDialog* list) {
        // A page at a time, in code order, each row once.
        EXPECT_EQ(list->table()->rowCount(), LookupDialog::kPageSize);
        while (list->fetchMore()) {
        }
        const QList<int> all = codes(list);
        EXPECT_EQ(all.size(), customers);
        for (int i = 1; i < all.size(); ++i) EXPECT_LT(all[i - 1], all[i]);

        // Typed text narrows the list on code or name, in any case; wildcards count as themselves.
        QTest::keyClicks(list->filter(), QStringLiteral("100%"));
        EXPECT_EQ(names(list), QStringList{QStringLiteral("Sconto 100% S.r.l.")});
        list->filter()->clear();
        QTest::keyClicks(list->filter(), QStringLiteral("_"));
        EXPECT_EQ(names(list), QStringList{QStringLiteral("Rossi_Bianchi S.n.c.")});
        list->filter()->clear();
        QTest::keyClicks(list->filter(), QStringLiteral("l'"));
        EXPECT_EQ(names(list), QStringList{QStringLiteral("L'Òrafo d'Italia")});
        list->filter()->clear();
        QTest::keyClicks(list->filter(), QStringLiteral("DI PROVA 1"));
        for (const QString& n : names(list))
            EXPECT_TRUE(n.startsWith(QStringLiteral("Cliente di prova 1"))) << n.toStdString();
        EXPECT_EQ(names(list).size(), 1 + 10 + 20);  // 1, 10-19, 100-119

        // The arrow keys move through the list from the filter; Enter gives the code back.
        QTest::keyClick(list->filter(), Qt::Key_Down);
        QTest::keyClick(list->filter(), Qt::Key_Down);
        EXPECT_EQ(list->table()->currentRow(), 2);
        QTest::keyClick(list->filter(), Qt::Key_Return);
    });
    EXPECT_EQ(f->TXT_CLIFOR->Text(), QString::number(first + 11));
    EXPECT_EQ(c("TXT_DESCLFOPDC")->Text(), QStringLiteral("Cliente di prova 11"));
    // Leaving the field the clerk came back to stores the code.
    QApplication::setActiveWindow(f);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return QApplication::focusWidget() == f->TXT_CLIFOR->editor(); }, 2000));
    QTest::keyClick(f->TXT_CLIFOR->editor(), Qt::Key_Tab);
    EXPECT_EQ(Value::toInt(column("EF01_CLIFOR_CG44")), first + 11);
}

TEST_P(BillLookupsTest, TheBankAccountIsFoundByItsProgressiveWithItsBankFromTheIban) {
    FRMKV_TARSELLO* f = openBill(QStringLiteral(" AND EF01_INDEXP = 0 AND EF01_CODICE_CG08 = 'EURO'"));
    ASSERT_TRUE(f);
    const QString customer = Value::toText(column("EF01_CLIFOR_CG44"));
    const int id = Value::toInt(one(QStringLiteral("SELECT MAX(MG35_ID) FROM MG35_CLIFORCC"))) + 1;
    if (Value::isNull(one(QStringLiteral("SELECT CG12_BANCA FROM CG12_BANCHE WHERE CG12_BANCA = 5428"))))
        demo_->connection->Execute(QStringLiteral(
            "INSERT INTO CG12_BANCHE (CG12_BANCA, CG12_DESCR) VALUES (5428, 'Banca di prova')"));
    const QString bank5428 =
        text(QStringLiteral("SELECT CG12_DESCR FROM CG12_BANCHE WHERE CG12_BANCA = 5428"));
    const QString bank = text(QStringLiteral("SELECT MIN(CG12_BANCA) FROM CG12_BANCHE"));
    struct Account {
        int progr;
        const char* iban;
        QString abi;
        QString expected;
    };
    const Account accounts[] = {
        {71, "it60X0542811101000000123456", QString(), QStringLiteral("(05428) ") + bank5428},
        {72, "DE89370400440532013000", QString(), QStringLiteral("DE89370400440532013000")},
        {73, "IT60XABCDE11101000000123456", bank,
         QStringLiteral("(%1) %2").arg(
             bank, text(QStringLiteral("SELECT CG12_DESCR FROM CG12_BANCHE WHERE CG12_BANCA = ") + bank))},
    };
    for (const Account& a : accounts)
        demo_->connection->Execute(
            QStringLiteral(
                "INSERT INTO MG35_CLIFORCC (MG35_ID, MG35_DITTA_CG18, MG35_TIPOCF_CG44, MG35_CLIFOR_CG44,"
                " MG35_PROGR, MG35_IBAN, MG35_CCABI) VALUES (%1, 1, 0, %2, %3, '%4', %5)")
                .arg(id + a.progr)
                .arg(customer)
                .arg(a.progr)
                .arg(QString::fromLatin1(a.iban))
                .arg(a.abi.isEmpty() ? QStringLiteral("NULL") : SqlText::quote(a.abi)));
    for (const Account& a : accounts) {
        typeInto(f->TXT_PROGR_MG35, QString::number(a.progr));
        EXPECT_EQ(Value::toInt(column("EF01_ID_MG35")), id + a.progr);
        EXPECT_EQ(c("TXT_DESCR_CG12")->Text(), a.expected);
        EXPECT_TRUE(f->TXT_PROGR_MG35->Valid());
    }

    // A progressive the customer does not have, or no number at all: no account, refused at save,
    // and the clerk's edits wait for a better one.
    typeInto(c("TXT_NUMDOCORIG"), QStringLiteral("ORIG-9"));
    for (const char* bad : {"99", "x'1"}) {
        typeInto(f->TXT_PROGR_MG35, QString::fromLatin1(bad));
        EXPECT_TRUE(Value::isNull(column("EF01_ID_MG35"))) << bad;
        EXPECT_TRUE(c("TXT_DESCR_CG12")->Text().isEmpty()) << bad;
        EXPECT_FALSE(save()) << bad;
        EXPECT_EQ(lastMessage(), BillFormTexts::kBancaNonValida);
        EXPECT_TRUE(f->FME_TESTATA->RecordChanged());
    }
    typeInto(f->TXT_PROGR_MG35, QStringLiteral("71"));
    ASSERT_TRUE(save()) << lastMessage().toStdString();
    const QString where = QStringLiteral(" FROM EF01_SCADENZE WHERE EF01_NUMREG_CO99 = ") +
                          SqlText::quote(shownNumReg()) + QStringLiteral(" AND EF01_PROGEFF = ") +
                          Value::toText(column("EF01_PROGEFF"));
    EXPECT_EQ(Value::toInt(one(QStringLiteral("SELECT EF01_ID_MG35") + where)), id + 71);
    EXPECT_EQ(text(QStringLiteral("SELECT EF01_NUMDOCORIG") + where), QStringLiteral("ORIG-9"));

    // The list offers the customer's own accounts only.
    inSearchList(f->TXT_PROGR_MG35, [&](LookupDialog* list) {
        const int own =
            Value::toInt(one(QStringLiteral("SELECT COUNT(*) FROM MG35_CLIFORCC WHERE MG35_TIPOCF_CG44 = 0"
                                            " AND MG35_CLIFOR_CG44 = ") +
                             customer));
        EXPECT_EQ(list->table()->rowCount(), own);
    });
}

TEST_P(BillLookupsTest, TheCigCupPairMustBeRegisteredForTheBillsCustomer) {
    Recordset pair;
    pair.Open(
        QStringLiteral("SELECT CO1H_CIG, CO1H_CUP, CO1I_CLIFOR_CG44 FROM CO1H_CIGCUP INNER JOIN CO1I_CFCIGCUP"
                       " ON CO1I_IDCIGCUP_CO1H = CO1H_ID WHERE CO1I_TIPOCF_CG44 = 0 ORDER BY CO1H_ID"),
        demo_->connection);
    ASSERT_FALSE(pair.AtEOF());
    const QString cig = Value::toText(pair.Fields(0).Value()).trimmed();
    const QString cup = Value::toText(pair.Fields(1).Value()).trimmed();
    const QString owner = Value::toText(pair.Fields(2).Value());

    // Another customer's Bill: the pair is not theirs.
    FRMKV_TARSELLO* f = openBill(
        QStringLiteral(" AND EF01_INDEXP = 0 AND EF01_CODICE_CG08 = 'EURO' AND EF01_CLIFOR_CG44 <> ") +
        owner + QStringLiteral(" AND EF01_CIG IS NULL"));
    ASSERT_TRUE(f);
    auto* cupBox = static_cast<IdEditBox*>(c("TXT_CUP"));
    typeInto(f->TXT_CIG, cig.toLower());
    typeInto(cupBox, cup);
    EXPECT_EQ(f->TXT_CIG->Text(), cig);
    EXPECT_FALSE(f->TXT_CIG->Valid());
    EXPECT_FALSE(cupBox->Valid());
    EXPECT_FALSE(save());
    EXPECT_TRUE(lastMessage().contains(cig) && lastMessage().contains(cup)) << lastMessage().toStdString();
    EXPECT_TRUE(f->FME_TESTATA->RecordChanged());
    EXPECT_EQ(Value::toText(column("EF01_CIG")), cig);

    // The owner's Bill: registered. The same CIG without its CUP, or with a quote, is not.
    typeInto(f->TXT_CLIFOR, owner);
    typeInto(cupBox, cup);
    EXPECT_TRUE(f->TXT_CIG->Valid());
    typeInto(cupBox, QString());
    EXPECT_FALSE(f->TXT_CIG->Valid());
    typeInto(cupBox, cup.left(cup.size() - 1) + QStringLiteral("'"));
    EXPECT_FALSE(cupBox->Valid());
    typeInto(cupBox, cup);
    ASSERT_TRUE(save()) << lastMessage().toStdString();

    // Both codes empty: no public contract, nothing to check.
    typeInto(f->TXT_CIG, QString());
    typeInto(cupBox, QString());
    EXPECT_TRUE(f->TXT_CIG->Valid());
    EXPECT_TRUE(cupBox->Valid());
}

TEST_P(BillLookupsTest, OnSupplierBillsAPairAssignedWithinTheCompanyIsValid) {
    Recordset pair;
    pair.Open(QStringLiteral("SELECT CO1H_CIG, CO1H_CUP FROM CO1H_CIGCUP INNER JOIN CO1I_CFCIGCUP"
                             " ON CO1I_IDCIGCUP_CO1H = CO1H_ID WHERE CO1I_TIPOCF_CG44 = 0 ORDER BY CO1H_ID"),
              demo_->connection);
    ASSERT_FALSE(pair.AtEOF());
    module_->TipoArchivio = 1;
    module_->StringaDiSelezioneEffetti = QStringLiteral("EF01_DITTA_CG18 = 1 AND EF01_TIPOCF_CG44 = 1");
    FRMKV_TARSELLO* f = show();
    ASSERT_TRUE(f);
    auto* cupBox = static_cast<IdEditBox*>(c("TXT_CUP"));
    typeInto(f->TXT_CIG, Value::toText(pair.Fields(0).Value()).trimmed());
    typeInto(cupBox, Value::toText(pair.Fields(1).Value()).trimmed());
    EXPECT_TRUE(f->TXT_CIG->Valid());
    EXPECT_TRUE(cupBox->Valid());
    typeInto(cupBox, QStringLiteral("B00000000000000"));
    EXPECT_FALSE(cupBox->Valid());
}

TEST_P(BillLookupsTest, TheManagementListSendsTheChosenRowBackIntoTheFieldsItWasOpenedFor) {
    FRMKV_TARSELLO* f = openBill(QStringLiteral(" AND EF01_INDEXP = 0 AND EF01_CODICE_CG08 = 'EURO'"));
    ASSERT_TRUE(f);
    // Works the management list of `field` with `act`, which ends it or leaves it to be closed.
    auto manage = [&](const char* field, const std::function<void(ArchiveBrowser*)>& act) {
        EXPECT_TRUE(onModal<ArchiveBrowser>(
            [&] { emit static_cast<EditBox*>(c(field))->KeyButtonMenuPress(BillFormTexts::kKeyGestione); },
            [&](ArchiveBrowser& list) { act(&list); }))
            << field;
    };
    const QVariant support = column("EF01_BANCAAPP_CG12");
    const QVariant supportAgency = column("EF01_AGENAPP_CG13");
    QVariant abi, cab;
    manage("TXT_CODAGENPRES", [&](ArchiveBrowser* list) {
        list->table()->setCurrentCell(3, 1);
        abi = list->currentValue(QStringLiteral("ABI"));
        cab = list->currentValue(QStringLiteral("CAB"));
        list->transfer();
    });
    EXPECT_EQ(Value::toInt(column("EF01_BANCAPRE_SCG12")), Value::toInt(abi));
    EXPECT_EQ(Value::toInt(column("EF01_AGENPRE_SCG13")), Value::toInt(cab));
    EXPECT_EQ(c("TXT_DESAGENPRES")->Text(),
              text(QStringLiteral(
                       "SELECT CG13_DESCR FROM CG13_AGENZIE WHERE CG13_BANCA_CG12 = %1 AND CG13_CODCAB = %2")
                       .arg(Value::toInt(abi))
                       .arg(Value::toInt(cab))));
    EXPECT_TRUE(Value::same(column("EF01_BANCAAPP_CG12"), support));
    EXPECT_TRUE(Value::same(column("EF01_AGENAPP_CG13"), supportAgency));

    manage("TXT_CODPAG", [&](ArchiveBrowser* list) {
        QTest::keyClicks(list->filter(), QStringLiteral("rb30"));
        list->transfer();
    });
    EXPECT_EQ(Value::toText(column("EF01_CODPAG_CG62")).trimmed(), QStringLiteral("RB30"));
    EXPECT_FALSE(c("TXT_DESPAG")->Text().isEmpty());

    // A section chosen for the item section goes there, not into the document section.
    const QString docSection = c("TXT_SEZDOC")->Text();
    manage("TXT_SEZPART", [&](ArchiveBrowser* list) {
        list->table()->setCurrentCell(list->table()->rowCount() - 1, 0);
        list->transfer();
    });
    EXPECT_EQ(c("TXT_SEZPART")->Text(), text(QStringLiteral("SELECT MAX(CG19_CODICE) FROM CG19_SEZIONALI")));
    EXPECT_EQ(c("TXT_SEZDOC")->Text(), docSection);

    // The customers' list sends nothing back.
    manage("TXT_CLIFOR", [&](ArchiveBrowser* list) { list->transfer(); });
    EXPECT_TRUE(f->FME_TESTATA->RecordChanged());
    ASSERT_TRUE(save()) << lastMessage().toStdString();
}

TEST_P(BillLookupsTest, TheCompanyBanksListOffersThoseAtTheCustomersBanksAndTutteLeBancheAll) {
    // A customer whose only account is at the bank of the company's first account.
    const QString abi =
        text(QStringLiteral("SELECT MIN(EF08_BANCA_CG12) FROM EF08_BANCHEAZ WHERE EF08_DITTA_CG18 = 1"));
    const QString customer = text(QStringLiteral("SELECT MIN(EF01_CLIFOR_CG44)") + kCustomerBills +
                                  QStringLiteral(" AND EF01_INDEXP = 0"));
    demo_->connection->Execute(
        QStringLiteral("DELETE FROM MG35_CLIFORCC WHERE MG35_TIPOCF_CG44 = 0 AND MG35_CLIFOR_CG44 = ") +
        customer);
    demo_->connection->Execute(
        QStringLiteral("UPDATE EF01_SCADENZE SET EF01_ID_MG35 = NULL WHERE EF01_CLIFOR_CG44 = ") + customer);
    demo_->connection->Execute(
        QStringLiteral("INSERT INTO MG35_CLIFORCC (MG35_ID, MG35_DITTA_CG18, MG35_TIPOCF_CG44,"
                       " MG35_CLIFOR_CG44, MG35_PROGR, MG35_CCABI) VALUES (990001, 1, 0, ") +
        customer + QStringLiteral(", 1, '") + abi + QStringLiteral("')"));
    FRMKV_TARSELLO* f = openBill(QStringLiteral(" AND EF01_INDEXP = 0 AND EF01_CLIFOR_CG44 = ") + customer);
    ASSERT_TRUE(f);
    const auto companyBanks = [&](const QString& condition) {
        return Value::toInt(
            one(QStringLiteral("SELECT COUNT(*) FROM EF08_BANCHEAZ WHERE EF08_DITTA_CG18 = 1") + condition));
    };
    ASSERT_LT(companyBanks(QStringLiteral(" AND EF08_BANCA_CG12 = ") + abi), companyBanks(QString()));
    inSearchList(f->TXT_PROGR_EF08, [&](LookupDialog* list) {
        EXPECT_EQ(list->table()->rowCount(), companyBanks(QStringLiteral(" AND EF08_BANCA_CG12 = ") + abi));
    });
    EXPECT_TRUE(onModal<LookupDialog>(
        [&] { emit f->TXT_PROGR_EF08->KeyButtonMenuPress(BillFormTexts::kKeyPers1); },
        [&](LookupDialog& list) { EXPECT_EQ(list.table()->rowCount(), companyBanks(QString())); }));
}

// A pick from the CIG list or from the CUP list writes both codes of the pair picked; a CIG typed
// alone is completed only from the pairs of the Bill's own customer.
TEST_P(BillLookupsTest, EitherCigCupListWritesBothCodesAndOnlyTheCustomersPairsComplete) {
    Recordset pair;
    pair.Open(
        QStringLiteral("SELECT CO1H_CIG, CO1H_CUP, CO1I_CLIFOR_CG44 FROM CO1H_CIGCUP INNER JOIN CO1I_CFCIGCUP"
                       " ON CO1I_IDCIGCUP_CO1H = CO1H_ID WHERE CO1I_TIPOCF_CG44 = 0 AND CO1H_CUP <> ''"
                       " ORDER BY CO1H_ID"),
        demo_->connection);
    ASSERT_FALSE(pair.AtEOF());
    const QString cig = Value::toText(pair.Fields(0).Value()).trimmed();
    const QString cup = Value::toText(pair.Fields(1).Value()).trimmed();
    const QString owner = Value::toText(pair.Fields(2).Value());
    FRMKV_TARSELLO* f = openBill(QStringLiteral(" AND EF01_INDEXP = 0 AND EF01_CLIFOR_CG44 <> ") + owner +
                                 QStringLiteral(" AND EF01_CIG IS NULL"));
    ASSERT_TRUE(f);
    auto* cupBox = static_cast<IdEditBox*>(c("TXT_CUP"));
    // Another customer's CIG: nothing completes the CUP.
    typeInto(f->TXT_CIG, cig);
    EXPECT_TRUE(cupBox->Text().isEmpty());
    EXPECT_FALSE(f->TXT_CIG->Valid());
    typeInto(f->TXT_CIG, QString());

    typeInto(f->TXT_CLIFOR, owner);
    for (IdEditBox* box : {f->TXT_CIG, cupBox}) {
        typeInto(f->TXT_CIG, QString());
        typeInto(cupBox, QString());
        QApplication::setActiveWindow(box->window());  // the clerk presses F3 in the field
        box->setFocus();
        QApplication::processEvents();
        inSearchList(box, [&](LookupDialog* list) {
            for (int r = 0; r < list->table()->rowCount(); ++r)
                if (list->table()->item(r, 0)->text().trimmed() == cig &&
                    list->table()->item(r, 1)->text().trimmed() == cup)
                    list->table()->setCurrentCell(r, 0);
            list->accept();
        });
        // Back in the field after the list, the clerk moves on.
        QApplication::setActiveWindow(box->window());
        box->editor()->setFocus();
        QApplication::processEvents();
        QTest::keyClick(box->editor(), Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_EQ(Value::toText(column("EF01_CIG")).trimmed(), cig) << box->objectName().toStdString();
        EXPECT_EQ(Value::toText(column("EF01_CUP")).trimmed(), cup) << box->objectName().toStdString();
        EXPECT_TRUE(f->TXT_CIG->Valid() && cupBox->Valid()) << box->objectName().toStdString();
    }
    ASSERT_TRUE(save()) << lastMessage().toStdString();
}
